# Shared steps of the window tests: a private X server (no window manager: a window's client
# area is the whole window), the real program in a scratch working directory, the prompt, the
# main window, and a clean-up that always runs. The scripts set `program` and `test_name` before
# sourcing this. Every wait has its own bound, so a test ends well within ctest's timeout.

set -euo pipefail

work=$(mktemp -d "${TMPDIR:-/tmp}/walkthrough-e2e.XXXXXX")
xvfb_pid=""
program_pid=""
main_window=""

cleanup() {
    [[ -z $program_pid ]] || kill -KILL "$program_pid" 2>/dev/null || true
    [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "$test_name: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
trap 'exit 1' INT TERM

fail() {
    echo "$test_name: $*" >&2
    if [[ -s $work/program.log ]]; then
        echo "--- the program's output:" >&2
        tail -n 30 "$work/program.log" >&2
    fi
    exit 1
}

# Runs the command every 0.2 s until it succeeds; fails when the given seconds have passed.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}

# Starts Xvfb with one screen of the given size (WIDTHxHEIGHT) and exports DISPLAY. The Motif
# hints atom is made up front (and kept, -noreset): SDL states "borderless" only when the atom
# exists, as it does under any window manager.
start_display() {
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_until 15 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    DISPLAY=:$(head -n 1 "$work/display")
    export DISPLAY
    xprop -root -f _MOTIF_WM_HINTS 32c -set _MOTIF_WM_HINTS 0
    xprop -root -remove _MOTIF_WM_HINTS
}

# Writes the sample scene (model and sound) into the program's working directory.
write_sample() {
    mkdir -p "$work/run"
    "$1" "$work/run" >/dev/null || fail "make-sample could not write the sample scene"
}

# Starts the program in the scratch directory, held to OpenGL 1.1 and to X; sound goes nowhere
# unless the caller has set SDL_AUDIODRIVER.
start_program() {
    program=$(realpath "$program")
    mkdir -p "$work/run"
    (
        cd "$work/run"
        unset WAYLAND_DISPLAY
        export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
        export MESA_GL_VERSION_OVERRIDE=1.1
        exec "$program"
    ) >"$work/program.log" 2>&1 &
    program_pid=$!
}

# The id of the top-level window with exactly this title, within 20 s; empty when none came.
find_top_level_window() {
    local deadline=$((SECONDS + 20))
    local id
    while ((SECONDS < deadline)) && kill -0 "$program_pid" 2>/dev/null; do
        # xwininfo prints titles as they are (UTF-8), which xdotool's search does not match.
        id=$(xwininfo -root -children 2>/dev/null |
            awk -v title="\"$1\":" '$2 == title { print $1; exit }' || true)
        [[ -z $id ]] || { echo "$id"; return 0; }
        sleep 0.1
    done
}

# Answers the start-up question with a key (Return for Yes, Escape for No), or with "close": a
# close request to the question's window.
answer_prompt() {
    local box
    box=$(find_top_level_window "说明")
    [[ -n $box ]] || fail "no prompt box titled 说明 appeared (are X core fonts, xfonts-base, installed?)"
    if [[ $1 == close ]]; then
        "$send_close_request" "$box"
    else
        xdotool windowfocus --sync "$box" key "$1"
    fi
}

# Waits for the main window, lets it draw a few frames and gives it the focus; sets main_window.
wait_for_main_window() {
    main_window=$(find_top_level_window "Quellmark")
    [[ -n $main_window ]] || fail "no window titled Quellmark appeared"
    sleep 1
    xdotool windowfocus --sync "$main_window"
}

# Sets left, top, width and height to the main window's place on the screen.
read_geometry() {
    read -r left top width height < <(xwininfo -id "$main_window" | awk -F: '
        /Absolute upper-left X/ { l = $2 + 0 } /Absolute upper-left Y/ { t = $2 + 0 }
        /^ *Width/ { w = $2 + 0 } /^ *Height/ { h = $2 + 0 } END { print l, t, w, h }')
}

# The decorations field of the main window's Motif hints: 1 framed, 0 borderless.
read_decorations() {
    xprop -id "$main_window" _MOTIF_WM_HINTS |
        awk -F'= ' '/_MOTIF_WM_HINTS\(/ { split($2, f, ", "); print f[3] + 0 }'
}

pointer_at() {
    [[ $(xdotool getmouselocation --shell | grep -E '^[XY]=' | tr '\n' ' ') == "X=$1 Y=$2 " ]]
}

expect_running_for() {
    sleep "$1"
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended after $2"
}

expect_exit_status_zero() {
    wait_until "$1" eval '! kill -0 "$program_pid" 2>/dev/null' ||
        fail "the program still runs $1 s later"
    local status=0
    wait "$program_pid" || status=$?
    program_pid=""
    ((status == 0)) || fail "the program ended with status $status, not 0"
}
