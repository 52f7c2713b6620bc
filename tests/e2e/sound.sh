#!/usr/bin/env bash
# The sound file plays in the background: SDL's disk audio driver records what the program
# plays, which must be the file's own samples (the device is opened on the file's format, so
# nothing is converted), while the program goes on and still ends on Escape.
#   sound.sh WALKTHROUGH MAKE_SAMPLE
program=$1
test_name="sound"
source "$(dirname "$0")/e2e_lib.sh"

# The offset of the first byte other than zero in a file, from a given offset on.
first_nonzero_byte() {
    od -An -tu1 -v -w1 -j "$2" "$1" 2>/dev/null | awk '$1 != 0 { print NR - 1; exit }' || true
}

write_sample "$2"
wav=$work/run/groud.wav
played=$work/played.raw
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$played
start_display 1024x768
start_program
answer_prompt Escape
wait_for_main_window

# The samples follow the "data" chunk's id and length. The device may play silence before the
# sound starts, so both are compared from their first sound on, once enough has been played.
data_id=$(grep -obUa data "$wav" | awk -F: 'NR == 1 { print $1 }')
samples_start=$((data_id + 8))
sound_in_file=$(first_nonzero_byte "$wav" "$samples_start")
[[ -n $data_id && -n $sound_in_file ]] || fail "the sample sound has no data or is silent"
compared=8192
enough_played() {
    sound_played=$(first_nonzero_byte "$played" 0)
    [[ -n $sound_played ]] && (($(stat -c %s "$played") >= sound_played + compared))
}
wait_until 15 enough_played || fail "no sound was played within 15 s"
cmp -s -n "$compared" -i "$((samples_start + sound_in_file)):$sound_played" "$wav" "$played" ||
    fail "the first $compared bytes played are not the file's samples"

xdotool key Escape
expect_exit_status_zero 10
