#!/usr/bin/env bash
# Runs one command with Wine made ready for it: a private virtual X display (Xvfb, 1024x768)
# and a private 64-bit Wine prefix, both gone when the command ends.
#   scripts/run-under-wine.sh COMMAND [ARG...]
# The command sees DISPLAY and WINEPREFIX; its exit status is this script's.
set -euo pipefail

if [[ $# -eq 0 ]]; then
    echo "usage: $0 COMMAND [ARG...]" >&2
    exit 2
fi
for tool in Xvfb wine wineserver; do
    command -v "$tool" >/dev/null || { echo "run-under-wine: $tool is missing" >&2; exit 1; }
done

workdir=$(mktemp -d "${TMPDIR:-/tmp}/walkthrough-wine.XXXXXX")
xvfb_pid=""
cleanup() {
    if [[ -n ${WINEPREFIX:-} && -d $WINEPREFIX ]]; then
        timeout 30 wineserver -k >/dev/null 2>&1 || true
        timeout 30 wineserver -w >/dev/null 2>&1 || true
    fi
    [[ -z $xvfb_pid ]] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null || true; }
    rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

# Xvfb picks a free display number itself and writes it to descriptor 3 once it is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$workdir/display" \
    >"$workdir/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ ! -s $workdir/display ]] && kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
done
if [[ ! -s $workdir/display ]]; then
    echo "run-under-wine: Xvfb did not start: $(cat "$workdir/xvfb.log")" >&2
    exit 1
fi
DISPLAY=":$(tr -dc '0-9' <"$workdir/display")"
export DISPLAY

export WINEPREFIX=$workdir/prefix
mkdir "$WINEPREFIX"
export WINEARCH=win64
export WINEDEBUG=-all
# No .NET or browser engine is wanted, so Wine does not offer to install them.
export WINEDLLOVERRIDES="mscoree,mshtml="
# A Western locale: the ANSI code page is 1252, so the Chinese texts read correctly only through
# the wide-character calls, as on most Windows installations.
export LC_ALL=C.UTF-8

started=$SECONDS
if ! timeout 180 wine wineboot --init >"$workdir/wineboot.log" 2>&1 ||
    ! timeout 60 wineserver -w; then
    echo "run-under-wine: Wine could not set up its prefix in 240 s:" >&2
    tail -n 20 "$workdir/wineboot.log" >&2
    exit 1
fi
# From here on one server for every program the command starts, until cleanup ends it. Its
# services and desktop are started now, writing to the log: started later by a test program,
# they would hold on to that program's output pipes and keep ctest waiting for them.
wineserver -p
timeout 120 wine wineboot >>"$workdir/wineboot.log" 2>&1 || true
echo "run-under-wine: display $DISPLAY, Wine prefix ready in $((SECONDS - started)) s"

"$@"
