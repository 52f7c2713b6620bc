#!/usr/bin/env bash
# smoke.sh WALKTHROUGH_EXE MAKE_SAMPLE_EXE, inside scripts/run-under-wine.sh: the prompt answered
# No with N, a window "Quellmark" showing the street, the pointer held at its client centre
# (Wine's X window) and Escape ending the program with status 0, as a user meets them.
: "${DISPLAY:?}" "${WINEPREFIX:?run me through scripts/run-under-wine.sh}"
test_name="windows smoke" window_wait=90
source "$(dirname "$0")/../e2e/e2e_lib.sh"

mkdir -p "$work/run" && cp "$1" "$work/run/walkthrough.exe"
(cd "$work/run" && timeout 120 wine "$2" . >/dev/null 2>&1) || fail "make-sample.exe failed"
start_in_run timeout 150 wine ./walkthrough.exe
# The caption arrives whole only through the wide-character call: the ANSI code page is 1252.
answer_prompt n
wait_for_main_window
wait_until 20 eval 'sky_over 0.05 && ! sky_over 0.4' || fail "the window shows sky on $sky of it"
xdotool mousemove $((left + 30)) $((top + 30))
wait_until 10 pointer_at $((left + width / 2)) $((top + height / 2)) ||
    fail "the pointer is not held at the client centre: $(xdotool getmouselocation)"
xdotool key --clearmodifiers Escape
expect_exit_status 0 30
