#!/usr/bin/env bash
# `cmake --install` puts every file where it belongs and the walk-through, started the way the
# desktop entry starts it from the menu, finds the sample there (without a display: status 1,
# saying only why); the entry opens .3ds files and the thumbnailer previews them with the
# installed walkthrough-shot; `cpack -G DEB` packs the same under /usr with the libraries'
# packages as dependencies.
#   installed.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/walkthrough-installed.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "installed: $*" >&2 && exit 1; }
quietly() { "$@" >"$work/log" 2>&1 || fail "$1 failed: $(tail -n 10 "$work/log")"; }

prefix=$work/prefix
quietly cmake --install "$build" --prefix "$prefix"
for file in bin/{walkthrough,model-info,walkthrough-shot,make-sample} \
    share/walkthrough/{kelm.3ds,groud.wav} share/applications/walkthrough.desktop \
    share/icons/hicolor/256x256/apps/walkthrough.png share/thumbnailers/walkthrough.thumbnailer \
    share/man/man1/{walkthrough,model-info,walkthrough-shot,make-sample}.1; do
    [[ -s $prefix/$file ]] || fail "$file is not installed"
done
! grep -lE '@[A-Z_]+@' "$prefix"/share/man/man1/*.1 || fail "a manual page holds a placeholder"
entry=$prefix/share/applications/walkthrough.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
grep -qx "Exec=$prefix/bin/walkthrough %f" "$entry" && grep -qx "Path=$prefix/share/walkthrough" \
    "$entry" && grep -qx "MimeType=image/x-3ds;" "$entry" || fail "wrong Exec, Path or MimeType"
# desktop-file-validate knows desktop entries only: a file manager needs these two keys.
thumbnailer=$prefix/share/thumbnailers/walkthrough.thumbnailer
grep -qx "MimeType=image/x-3ds;" "$thumbnailer" &&
    [[ -f $prefix/bin/$(sed -n 's/^TryExec=//p' "$thumbnailer") ]] || fail "unusable thumbnailer"
status=0
(cd "$prefix/share/walkthrough" && unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER &&
    SDL_AUDIODRIVER=dummy timeout 20 "$prefix/bin/walkthrough") >"$work/log" 2>&1 || status=$?
[[ $status -eq 1 ]] && ! grep -q kelm.3ds "$work/log" || fail "status $status: $(cat "$work/log")"

quietly cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work"
package=$(find "$work" -maxdepth 1 -name 'walkthrough_*.deb' | head -n 1)
usr=$work/root/usr && dpkg-deb -x "$package" "$work/root" && [[ -s $usr/bin/walkthrough ]] &&
    grep -qx 'Path=/usr/share/walkthrough' "$usr/share/applications/walkthrough.desktop" ||
    fail "no package, or it lacks the program or an entry that starts it in /usr/share"
depends=$(dpkg-deb -f "$package" Depends)
for library in libsdl2-2.0-0 libglu1-mesa libgl1 libpng16-16 libstdc++6; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
