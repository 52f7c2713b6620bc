#!/usr/bin/env bash
# The Windows walk-through under Wine, met as a user meets it: the sample scene beside the
# program, the prompt answered No with the N key, an 800x600 window titled "Quellmark" centred
# on the screen, the model drawn, and Escape ending the program with status 0.
#   tests/windows/smoke.sh WALKTHROUGH_EXE MAKE_SAMPLE_EXE
# Needs the display and Wine prefix of run-under-wine.sh, and xdotool, xwininfo and ImageMagick.
set -euo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 WALKTHROUGH_EXE MAKE_SAMPLE_EXE" >&2
    exit 2
fi
program=$1
make_sample=$2
: "${DISPLAY:?run me through tests/windows/run-under-wine.sh}"
: "${WINEPREFIX:?run me through tests/windows/run-under-wine.sh}"

run=$(mktemp -d "${TMPDIR:-/tmp}/walkthrough-smoke.XXXXXX")
program_pid=""

cleanup() {
    if [[ -n $program_pid ]] && kill -0 "$program_pid" 2>/dev/null; then
        kill "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
    fi
    rm -rf "$run"
}
trap cleanup EXIT

fail() {
    echo "windows smoke: $*" >&2
    if [[ -s $run/program.log ]]; then
        echo "--- the program's output:" >&2
        grep -v '^ALSA' "$run/program.log" | tail -n 20 >&2 || true
    fi
    exit 1
}

# The id of the first visible window whose title matches, within the given seconds.
wait_for_window() {
    local pattern=$1
    local deadline=$((SECONDS + $2))
    local id
    while ((SECONDS < deadline)); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1 || true)
        if [[ -n $id ]]; then
            echo "$id"
            return 0
        fi
        kill -0 "$program_pid" 2>/dev/null || return 1
        sleep 0.5
    done
    return 1
}

# Sets left, top, width and height to a window's place on the screen.
read_geometry() {
    local info
    info=$(xwininfo -id "$1")
    left=$(awk -F: '/Absolute upper-left X/ {print $2 + 0}' <<<"$info")
    top=$(awk -F: '/Absolute upper-left Y/ {print $2 + 0}' <<<"$info")
    width=$(awk -F: '/^ *Width/ {print $2 + 0}' <<<"$info")
    height=$(awk -F: '/^ *Height/ {print $2 + 0}' <<<"$info")
}

# Whether the area holds a picture rather than one colour: at least two colours, and no colour
# on more than 95 % of its pixels.
shows_a_picture() {
    local image=$1
    local histogram
    histogram=$(convert "$image" -format %c histogram:info:- 2>/dev/null) || return 1
    awk -F: '{ n = $1 + 0; total += n; if (n > most) most = n; colours++ }
             END { exit !(colours >= 2 && most < 0.95 * total) }' <<<"$histogram"
}

cp "$program" "$run/walkthrough.exe"
(cd "$run" && timeout 120 wine "$make_sample" . >"$run/make-sample.log" 2>&1) ||
    fail "make-sample.exe could not write the sample scene: $(cat "$run/make-sample.log")"
[[ -s $run/kelm.3ds && -s $run/groud.wav ]] || fail "make-sample.exe wrote no kelm.3ds or groud.wav"

cd "$run"
timeout 150 wine ./walkthrough.exe >"$run/program.log" 2>&1 &
program_pid=$!

# The prompt's caption arrives whole only through the wide-character call: the ANSI code page
# here is 1252, not 936.
wait_for_window '^说明$' 90 >/dev/null || fail "no prompt titled 说明 appeared"
echo "windows smoke: the prompt is up"
xdotool key --clearmodifiers n

window=$(wait_for_window '^Quellmark$' 60) || fail "no window titled Quellmark after answering No"
[[ $(xdotool getwindowname "$window") == Quellmark ]] || fail "the window's title is not Quellmark"
xdotool search --onlyvisible --name '^说明$' >/dev/null 2>&1 && fail "the prompt is still up"

# Wine shows the client area as the X window, inside an undrawn frame. An 800x600 outer
# rectangle centred on the screen leaves equal borders left, right and below, and a caption
# at least as tall above.
read -r screen_width screen_height < <(xwininfo -root | awk -F: '
    /^ *Width/ {w = $2 + 0} /^ *Height/ {h = $2 + 0} END {print w, h}')
outer_left=$(((screen_width - 800) / 2))
outer_top=$(((screen_height - 600) / 2))
read_geometry "$window"
border_left=$((left - outer_left))
border_right=$((outer_left + 800 - left - width))
border_bottom=$((outer_top + 600 - top - height))
caption=$((top - outer_top))
echo "windows smoke: client ${width}x${height} at ($left, $top) on ${screen_width}x${screen_height}"
if ((border_left < 0 || border_left != border_right || border_left != border_bottom ||
     caption < border_left)); then
    fail "the window is not 800x600 centred on the screen (borders $border_left, $border_right," \
         "$border_bottom, caption $caption)"
fi

# Frames come back to back; the first ones may still be on their way.
drawn=false
for _ in $(seq 40); do
    import -window root -crop "${width}x${height}+${left}+${top}" +repage "$run/client.png" \
        2>/dev/null || true
    if [[ -s $run/client.png ]] && shows_a_picture "$run/client.png"; then
        drawn=true
        break
    fi
    sleep 0.5
done
$drawn || fail "the window stays one colour: the model is not drawn"
echo "windows smoke: the model is drawn"

# Escape acts on its release; xdotool presses and releases it.
xdotool key --clearmodifiers Escape
for _ in $(seq 60); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.5
done
kill -0 "$program_pid" 2>/dev/null && fail "the program is still running 30 s after Escape"
status=0
wait "$program_pid" || status=$?
program_pid=""
((status == 0)) || fail "the program ended with status $status after Escape"
echo "windows smoke: Escape ended the program with status 0"
