# Shared steps of the window tests: a private X server, the real program in a scratch working
# directory, the prompt, the main window, and a clean-up that always runs. Sourced by the
# test scripts, which set these before calling anything here:
#   program        the walkthrough binary
#   test_name      for messages
# Every wait has its own bound, so a test ends on its own well within ctest's timeout.

set -euo pipefail

work=$(mktemp -d "${TMPDIR:-/tmp}/walkthrough-e2e.XXXXXX")
xvfb_pid=""
program_pid=""
program_status=""
main_window=""

cleanup() {
    if [[ -n $program_pid ]] && kill -0 "$program_pid" 2>/dev/null; then
        kill -KILL "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
    fi
    if [[ -n $xvfb_pid ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "${test_name:-e2e}: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
trap 'exit 1' INT TERM

fail() {
    echo "$test_name: $*" >&2
    if [[ -s $work/program.log ]]; then
        echo "--- the program's output:" >&2
        tail -n 30 "$work/program.log" >&2
    fi
    exit 1
}

# Starts Xvfb on a free display with one screen of the given size (WIDTHxHEIGHT) and exports
# DISPLAY. The server keeps its atoms when clients leave (-noreset), and the Motif hints atom is
# made up front: SDL states "borderless" there only when the atom already exists, as it does
# under any window manager.
start_display() {
    local size=$1
    local fd_file=$work/display
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$fd_file" \
        >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local deadline=$((SECONDS + 15))
    while [[ ! -s $fd_file ]]; do
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
        ((SECONDS < deadline)) || fail "Xvfb gave no display number in 15 s"
        sleep 0.1
    done
    DISPLAY=:$(head -n 1 "$fd_file")
    export DISPLAY
    xprop -root -f _MOTIF_WM_HINTS 32c -set _MOTIF_WM_HINTS 0
    xprop -root -remove _MOTIF_WM_HINTS
}

# Starts the program in the scratch directory. The environment holds it to OpenGL 1.1 and to
# X; sound goes nowhere unless the caller has set SDL_AUDIODRIVER.
start_program() {
    program=$(realpath "$program")
    mkdir -p "$work/run"
    (
        cd "$work/run"
        unset WAYLAND_DISPLAY
        export SDL_VIDEODRIVER=x11
        export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
        export MESA_GL_VERSION_OVERRIDE=1.1
        exec "$program"
    ) >"$work/program.log" 2>&1 &
    program_pid=$!
}

# The id of the top-level window with exactly this title, within the given seconds; empty
# when there is none by then.
find_top_level_window() {
    local title=$1
    local deadline=$((SECONDS + $2))
    local id
    while ((SECONDS < deadline)); do
        # xwininfo prints titles as they are (UTF-8), which xdotool's search does not match.
        id=$(xwininfo -root -children 2>/dev/null |
            awk -v title="\"$title\":" '$2 == title { print $1; exit }' || true)
        if [[ -n $id ]]; then
            echo "$id"
            return 0
        fi
        kill -0 "$program_pid" 2>/dev/null || return 0
        sleep 0.1
    done
}

# Answers the start-up question with a key: Return for Yes, Escape for No.
answer_prompt() {
    local key=$1
    local box
    box=$(find_top_level_window "说明" 20)
    expect_program_alive "before asking"
    [[ -n $box ]] || fail "no prompt box titled 说明 appeared (are X core fonts, xfonts-base, installed?)"
    xdotool windowfocus --sync "$box"
    xdotool key "$key"
}

# Waits for the main window and gives it the keyboard focus; sets main_window.
wait_for_main_window() {
    main_window=$(find_top_level_window "Quellmark" 20)
    expect_program_alive "before its window appeared"
    [[ -n $main_window ]] || fail "no window titled Quellmark appeared"
    # The window appears before the program has settled in it; let it draw a few frames.
    sleep 1
    xdotool windowfocus --sync "$main_window"
}

# Sets left, top, width and height to a window's place on the screen.
read_geometry() {
    local info
    info=$(xwininfo -id "$1")
    left=$(awk -F: '/Absolute upper-left X/ { print $2 + 0 }' <<<"$info")
    top=$(awk -F: '/Absolute upper-left Y/ { print $2 + 0 }' <<<"$info")
    width=$(awk -F: '/^ *Width/ { print $2 + 0 }' <<<"$info")
    height=$(awk -F: '/^ *Height/ { print $2 + 0 }' <<<"$info")
}

# The decorations field of the window's Motif hints: 1 framed, 0 borderless.
read_decorations() {
    xprop -id "$1" _MOTIF_WM_HINTS | awk -F'= ' '/_MOTIF_WM_HINTS\(/ { split($2, f, ", "); print f[3] + 0 }'
}

expect_program_alive() {
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended $1"
}

expect_running_for() {
    local seconds=$1
    local what=$2
    sleep "$seconds"
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended after $what"
}

# Waits up to the given seconds for the program to end; sets program_status.
wait_for_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$program_pid" 2>/dev/null; do
        ((SECONDS < deadline)) || fail "the program still runs $1 s later"
        sleep 0.1
    done
    program_status=0
    wait "$program_pid" || program_status=$?
    program_pid=""
}

expect_exit_status_zero() {
    wait_for_exit "$1"
    [[ $program_status -eq 0 ]] || fail "the program ended with status $program_status, not 0"
}
