#!/usr/bin/env bash
# Takes docs/windows-installer.png, the Windows installer's first and last pages side by side, as
# the installer shows them under Wine: in a Wine desktop of its own on a virtual display (see
# scripts/run-under-wine.sh), each page cut out without its window frame.
#   scripts/make-installer-picture.sh    after scripts/build-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -z ${WINEPREFIX:-} ]]; then
    exec scripts/run-under-wine.sh "$0" "$@"
fi

setup=build-win/walkthrough-setup.exe
[[ -f $setup ]] || { echo "make-installer-picture: no $setup: run scripts/build-windows.sh" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/walkthrough-installer-picture.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Waits up to the given seconds for the command to succeed.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || { echo "make-installer-picture: timed out: $*" >&2; exit 1; }
        sleep 0.5
    done
}
# The Wine desktop as it is on the screen; the page is what is not the desktop's background.
capture() { import -window root -crop 640x420+0+0 +repage "$1"; }
page_shown() {
    capture "$work/now.png" &&
        [[ $(convert "$work/now.png" -trim -format %w info: 2>/dev/null) -gt 300 ]]
}
uninstaller=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')\\Programs\\Walkthrough\\uninstall.exe")
installed() { [[ -f $uninstaller ]]; }
# The page without the frame Wine draws around it: 3 pixels a side and an 18-pixel caption.
cut_page() { convert "$1" -trim +repage -shave 3x3 -gravity North -chop 0x18 +repage "$2"; }

wine explorer /desktop=Setup,640x420 "$setup" >/dev/null 2>&1 &
wait_for 60 page_shown
sleep 2
capture "$work/folder.png"
xdotool key Return  # Install
wait_for 60 installed
sleep 3
capture "$work/finish.png"
cut_page "$work/folder.png" "$work/folder-page.png"
cut_page "$work/finish.png" "$work/finish-page.png"
convert "$work/folder-page.png" "$work/finish-page.png" -background white -splice 8x0 +append \
    -chop 8x0 docs/windows-installer.png
echo "make-installer-picture: docs/windows-installer.png"
