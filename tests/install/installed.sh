#!/usr/bin/env bash
# `cmake --install` into a scratch prefix puts every file where it belongs, the desktop entry is
# valid, and the walk-through started the way the entry starts it (its Exec in its Path) finds
# the sample scene there. Without a display it must end with status 1 and say only why.
#   installed.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/walkthrough-installed.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
    echo "installed: $*" >&2
    exit 1
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    fail "cmake --install failed: $(tail -n 5 "$work/install.log")"
for file in bin/walkthrough bin/model-info bin/walkthrough-shot bin/make-sample \
    share/walkthrough/kelm.3ds share/walkthrough/groud.wav \
    share/applications/walkthrough.desktop share/icons/hicolor/256x256/apps/walkthrough.png \
    share/man/man1/{walkthrough,model-info,walkthrough-shot,make-sample}.1; do
    [[ -s $prefix/$file ]] || fail "$file is not installed"
done
! grep -lE '@[A-Z_]+@' "$prefix"/share/man/man1/*.1 || fail "a manual page still holds a placeholder"

entry=$prefix/share/applications/walkthrough.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
path_line=$(sed -n 's/^Path=//p' "$entry")
[[ $exec_line == "$prefix/bin/walkthrough" ]] || fail "Exec is $exec_line"
[[ $path_line == "$prefix/share/walkthrough" ]] || fail "Path is $path_line"

status=0
(cd "$path_line" && unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER &&
    SDL_AUDIODRIVER=dummy timeout 20 "$exec_line") >"$work/run.log" 2>&1 || status=$?
[[ $status -eq 1 ]] || fail "without a display the exit status is $status: $(cat "$work/run.log")"
! grep -q "kelm.3ds" "$work/run.log" || fail "the installed sample is not found: $(cat "$work/run.log")"
