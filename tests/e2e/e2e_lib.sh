# Shared steps of the window tests, on a private X server or Wine's (no window manager: a
# client area is a whole X window). Callers set test_name, and program for start_program.
set -euo pipefail
work=$(mktemp -d "${TMPDIR:-/tmp}/walkthrough-e2e.XXXXXX")
xvfb_pid="" program_pid="" window="" window_wait=${window_wait:-20}
cleanup() {
    [[ -z $program_pid ]] || kill -KILL "$program_pid" 2>/dev/null || true
    [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
fail() {
    echo "$test_name: $*" >&2
    tail -n 30 "$work/program.log" >&2 2>/dev/null || true
    exit 1
}

# Runs the command every 0.2 s until it succeeds; false once the given seconds have passed.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do ((SECONDS < deadline)) && sleep 0.2 || return 1; done
}

# Xvfb as DISPLAY. SDL states "borderless" only where the Motif hints atom exists: made, kept.
start_display() {
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_until 15 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=:$(head -n 1 "$work/display")
    xprop -root -f _MOTIF_WM_HINTS 32c -set _MOTIF_WM_HINTS 0
    xprop -root -remove _MOTIF_WM_HINTS
}

# Runs the command in the background in $work/run, its output kept for a failure's report.
start_in_run() {
    mkdir -p "$work/run"
    (cd "$work/run" && exec "$@") >"$work/program.log" 2>&1 &
    program_pid=$!
}

# The program, given the arguments, held to OpenGL 1.1 and to X; sound goes nowhere unless
# SDL_AUDIODRIVER is set.
start_program() {
    start_in_run env -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" \
        MESA_GL_VERSION_OVERRIDE=1.1 "$program" "$@"
}

# Sets window to a shown top-level window titled $1; xdotool's search misses UTF-8 titles.
window_titled() {
    for window in $(xwininfo -root -children | awk -v t=" \"$1\": " 'index($0, t) { print $1 }'); do
        xwininfo -id "$window" | grep -q IsViewable && return 0
    done
    return 1
}

# Answers the start-up question with a key, or with "close": a window manager's close request.
answer_prompt() {
    wait_until "$window_wait" window_titled 说明 ||
        fail "no prompt titled 说明 appeared (are the X core fonts, xfonts-base, installed?)"
    if [[ $1 == close ]]; then "$send_close_request" "$window"; else
        xdotool windowfocus --sync "$window" key --clearmodifiers "$1"; fi
}

# Waits for the main window (titled $1, Quellmark by default), lets it draw a few frames, gives
# it the focus and reads its place.
wait_for_main_window() {
    local title=${1:-Quellmark}
    wait_until "$window_wait" window_titled "$title" || fail "no window titled $title appeared"
    sleep 1
    xdotool windowfocus --sync "$window"
    read -r left top width height < <(xwininfo -id "$window" | awk -F: '
        /Absolute upper-left X/ { l = $2 + 0 } /Absolute upper-left Y/ { t = $2 + 0 }
        /^ *Width/ { w = $2 + 0 } /^ *Height/ { h = $2 + 0 } END { print l, t, w, h }')
}

# The window's picture as it is on the screen, in $work/look.png.
capture_window() {
    import -window root -crop "${width}x${height}+${left}+${top}" +repage "$work/look.png"
}

# Whether more than the given fraction of the window shows the sky (the clear colour); sets sky.
sky_over() {
    capture_window
    sky=$(convert "$work/look.png" -depth 8 -format %c histogram:info:- |
        awk '{ n = $1 + 0; total += n } /\(0,0,7[67]\)/ { sky += n } END { print sky / total }')
    awk -v s="$sky" -v t="$1" 'BEGIN { exit !(s > t) }'
}

pointer_at() { [[ $(xdotool getmouselocation) == "x:$1 y:$2 "* ]]; }

expect_running_for() { sleep "$1" && kill -0 "$program_pid" || fail "the program ended after $2"; }

# Expects the program to end within $2 s with the status $1.
expect_exit_status() {
    wait_until "$2" eval '! kill -0 "$program_pid" 2>/dev/null' || fail "still running $2 s later"
    local status=0 && wait "$program_pid" || status=$?
    program_pid=""
    ((status == $1)) || fail "the program ended with status $status, not $1"
}
