#!/usr/bin/env bash
# The sound file plays in the background: SDL's disk audio driver records what the program
# plays, which must be the file's own samples (the device is opened on the file's format, so
# nothing is converted), while the program goes on and still ends on Escape.
#   sound.sh WALKTHROUGH MAKE_SAMPLE
program=$1
make_sample=$2
test_name="sound"
source "$(dirname "$0")/e2e_lib.sh"

# The offset of the first byte other than zero in a file, from a given offset on.
first_nonzero_byte() {
    # awk stops reading at the first hit, which may end od by a broken pipe.
    od -An -tu1 -v -w1 -j "$2" "$1" 2>/dev/null | awk '$1 != 0 { print NR - 1; exit }' || true
}

mkdir -p "$work/run"
"$make_sample" "$work/run" >/dev/null || fail "make-sample could not write the sample scene"
wav=$work/run/groud.wav
played=$work/played.raw
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$played
start_display 1024x768
start_program
answer_prompt Escape
wait_for_main_window
expect_running_for 1 "the sound started"

# The samples follow the "data" chunk's id and length. Before the sound starts the device
# may have played some silence, so both are compared from their first sound on.
data_id=$(grep -obUa data "$wav" | awk -F: 'NR == 1 { print $1 }')
[[ -n $data_id ]] || fail "the sample sound has no data chunk"
samples_start=$((data_id + 8))
compared=8192
sound_in_file=$(first_nonzero_byte "$wav" "$samples_start")
[[ -n $sound_in_file ]] || fail "the sample sound is silent"
# The device plays in real time: wait until enough of the sound has gone through it.
deadline=$((SECONDS + 15))
while true; do
    sound_played=$(first_nonzero_byte "$played" 0 2>/dev/null)
    if [[ -n $sound_played ]] &&
        (($(stat -c %s "$played") >= sound_played + compared)); then
        break
    fi
    ((SECONDS < deadline)) || fail "no sound was played within 15 s"
    sleep 0.2
done
cmp -s -n "$compared" -i "$((samples_start + sound_in_file)):$sound_played" "$wav" "$played" ||
    fail "the first $compared bytes played are not the file's samples"

xdotool key Escape
expect_exit_status_zero 10
