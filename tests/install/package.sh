#!/usr/bin/env bash
# `cpack -G DEB` makes a Debian package that holds the installed files under /usr and depends
# on the Debian packages of the libraries the programs link against.
#   package.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/walkthrough-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
    echo "package: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -n 10 "$work/cpack.log")"
package=$(find "$work" -maxdepth 1 -name 'walkthrough_*.deb' | head -n 1)
[[ -n $package ]] || fail "no package was made: $(tail -n 5 "$work/cpack.log")"

# The files themselves are checked by installed.sh; here, that they are under /usr.
contents=$(dpkg-deb -c "$package")
for file in ./usr/bin/walkthrough ./usr/share/walkthrough/kelm.3ds; do
    grep -q " $file\$" <<<"$contents" || fail "the package lacks $file"
done

dpkg-deb -x "$package" "$work/root"
grep -qx 'Path=/usr/share/walkthrough' "$work/root/usr/share/applications/walkthrough.desktop" ||
    fail "the packaged desktop entry does not start in /usr/share/walkthrough"

depends=$(dpkg-deb -f "$package" Depends)
for library in libsdl2-2.0-0 libglu1-mesa libgl1 libpng16-16 libstdc++6; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
echo "package: $(basename "$package"), Depends: $depends"
