#!/usr/bin/env bash
# The Windows walk-through under Wine, met as a user meets it: the sample scene beside the
# program, the prompt answered No with the N key, a window titled "Quellmark" with the model
# drawn, the pointer held at the centre of its client area, and Escape ending the program with
# status 0.
#   tests/windows/smoke.sh WALKTHROUGH_EXE MAKE_SAMPLE_EXE
# Needs the display and Wine prefix of run-under-wine.sh, and xdotool, xwininfo and ImageMagick.
set -euo pipefail
: "${DISPLAY:?run me through tests/windows/run-under-wine.sh}" "${WINEPREFIX:?}"

run=$(mktemp -d "${TMPDIR:-/tmp}/walkthrough-smoke.XXXXXX")
program_pid=""
cleanup() {
    [[ -z $program_pid ]] || kill "$program_pid" 2>/dev/null || true
    rm -rf "$run"
}
trap cleanup EXIT

fail() {
    echo "windows smoke: $*" >&2
    grep -v '^ALSA' "$run/program.log" 2>/dev/null | tail -n 20 >&2 || true
    exit 1
}

# Runs the command every 0.5 s until it succeeds; fails when the given seconds have passed.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) && kill -0 "$program_pid" 2>/dev/null || return 1
        sleep 0.5
    done
}
find_window() { window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1); }
# A picture rather than one colour: at least two colours, none on more than 95 % of the pixels.
shows_a_picture() {
    import -window root -crop "${width}x${height}+${left}+${top}" +repage "$run/client.png" &&
        convert "$run/client.png" -format %c histogram:info:- | awk -F: '
            { n = $1 + 0; total += n; if (n > most) most = n; colours++ }
            END { exit !(colours >= 2 && most < 0.95 * total) }'
}
pointer_at() {
    [[ $(xdotool getmouselocation --shell | grep -E '^[XY]=' | tr '\n' ' ') == "X=$1 Y=$2 " ]]
}

cp "$1" "$run/walkthrough.exe"
(cd "$run" && timeout 120 wine "$2" . >"$run/make-sample.log" 2>&1) ||
    fail "make-sample.exe could not write the sample scene: $(cat "$run/make-sample.log")"
cd "$run"
timeout 150 wine ./walkthrough.exe >"$run/program.log" 2>&1 &
program_pid=$!

# The caption arrives whole only through the wide-character call: the ANSI code page is 1252.
wait_until 90 find_window '^说明$' || fail "no prompt titled 说明 appeared"
xdotool key --clearmodifiers n
wait_until 60 find_window '^Quellmark$' || fail "no window titled Quellmark after answering No"

# Wine shows the client area as the X window, inside an undrawn frame.
read -r left top width height < <(xwininfo -id "$window" | awk -F: '
    /Absolute upper-left X/ { l = $2 + 0 } /Absolute upper-left Y/ { t = $2 + 0 }
    /^ *Width/ { w = $2 + 0 } /^ *Height/ { h = $2 + 0 } END { print l, t, w, h }')
wait_until 20 shows_a_picture || fail "the window stays one colour: the model is not drawn"
xdotool mousemove $((left + 30)) $((top + 30))
centre_x=$((left + width / 2)) centre_y=$((top + height / 2))
wait_until 10 pointer_at $centre_x $centre_y ||
    fail "the pointer is not held at the client centre ($centre_x, $centre_y): $(xdotool getmouselocation)"

xdotool key --clearmodifiers Escape
wait_until 30 eval '! kill -0 "$program_pid" 2>/dev/null' || true
kill -0 "$program_pid" 2>/dev/null && fail "the program is still running 30 s after Escape"
status=0
wait "$program_pid" || status=$?
program_pid=""
((status == 0)) || fail "the program ended with status $status after Escape"
echo "windows smoke: drawn, pointer held at ($centre_x, $centre_y), Escape ended it with 0"
