#!/usr/bin/env bash
# `cmake --install` puts every file where it belongs and the walk-through, started the way the
# desktop entry starts it from the menu, finds the sample there (without a display: status 1,
# saying only that it cannot open a window); the entry opens .3ds files and the thumbnailer previews them with the
# installed walkthrough-shot; the AppStream metadata is valid, says what the entry says and shows
# pictures of docs/; `cpack -G DEB` packs the same under /usr with the libraries' packages as
# dependencies.
#   installed.sh BUILD_DIR APP_ID DOCS_DIR
set -euo pipefail
build=$1 id=$2 docs=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/walkthrough-installed.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "installed: $*" >&2 && exit 1; }
quietly() { "$@" >"$work/log" 2>&1 || fail "$1 failed: $(tail -n 10 "$work/log")"; }

prefix=$work/prefix
quietly cmake --install "$build" --prefix "$prefix"
for file in bin/{walkthrough,model-info,walkthrough-shot,make-sample} \
    share/walkthrough/{kelm.3ds,groud.wav} share/applications/"$id".desktop \
    share/metainfo/"$id".metainfo.xml \
    share/icons/hicolor/256x256/apps/walkthrough.png share/thumbnailers/walkthrough.thumbnailer \
    share/man/man1/{walkthrough,model-info,walkthrough-shot,make-sample}.1; do
    [[ -s $prefix/$file ]] || fail "$file is not installed"
done
! grep -lE '@[A-Z_]+@' "$prefix"/share/man/man1/*.1 || fail "a manual page holds a placeholder"
entry=$prefix/share/applications/$id.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
grep -qx "Exec=$prefix/bin/walkthrough %f" "$entry" && grep -qx "Path=$prefix/share/walkthrough" \
    "$entry" && grep -qx "MimeType=image/x-3ds;" "$entry" || fail "wrong Exec, Path or MimeType"
# desktop-file-validate knows desktop entries only: a file manager needs these two keys.
thumbnailer=$prefix/share/thumbnailers/walkthrough.thumbnailer
grep -qx "MimeType=image/x-3ds;" "$thumbnailer" &&
    [[ -f $prefix/bin/$(sed -n 's/^TryExec=//p' "$thumbnailer") ]] || fail "unusable thumbnailer"

# The metadata (checked without the network: its screenshots are published with a release).
metainfo=$prefix/share/metainfo/$id.metainfo.xml
quietly appstreamcli validate --no-net --pedantic "$metainfo"
xpath() { xmllint --xpath "$1" "$metainfo"; }
entry_key() { sed -n "s/^$1=//p" "$entry"; }
listed() { tr ';' '\n' | sed '/^$/d' | sort; }
[[ $(xpath 'string(/component/id)') == "$id" &&
    $(xpath 'string(/component/launchable[@type="desktop-id"])') == "$id.desktop" ]] ||
    fail "the metadata's id or launchable is not $id"
[[ $(xpath 'string(/component/name)') == "$(entry_key Name)" &&
    $(xpath 'string(/component/summary)') == "$(entry_key Comment)" &&
    $(xpath 'string(/component/icon[@type="stock"])') == "$(entry_key Icon)" ]] ||
    fail "the metadata's name, summary or icon differs from the entry's"
[[ $(xpath '/component/provides/mediatype/text()' | sort) == "$(entry_key MimeType | listed)" &&
    $(xpath '/component/categories/category/text()' | sort) == "$(entry_key Categories | listed)" ]] ||
    fail "the metadata's file types or categories differ from the entry's"
# The newest release is the program's version: a new version comes with its release notes.
newest=$(xpath 'string(/component/releases/release[1]/@version)')
[[ $("$prefix/bin/walkthrough" --version) == "walkthrough $newest" ]] ||
    fail "the newest release, $newest, is not this version"
# Each screenshot is a picture of docs/, of the size the metadata states.
count=$(xpath 'count(//screenshot/image)')
((count > 0)) || fail "the metadata has no screenshots"
for ((n = 1; n <= count; n++)); do
    image="(//screenshot/image)[$n]"
    picture=$docs/$(basename "$(xpath "string($image)")")
    size=$(xpath "string($image/@width)")x$(xpath "string($image/@height)")
    [[ -f $picture && $(identify -format %wx%h "$picture") == "$size" ]] ||
        fail "screenshot $n is not a $size picture in docs/: $picture"
done

status=0
(cd "$prefix/share/walkthrough" && unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER &&
    SDL_AUDIODRIVER=dummy timeout 20 "$prefix/bin/walkthrough") >"$work/log" 2>&1 || status=$?
[[ $status -eq 1 ]] && grep -q "cannot open a window" "$work/log" && ! grep -q kelm.3ds "$work/log" ||
    fail "status $status: $(cat "$work/log")"

quietly cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work"
package=$(find "$work" -maxdepth 1 -name 'walkthrough_*.deb' | head -n 1)
usr=$work/root/usr && dpkg-deb -x "$package" "$work/root" && [[ -s $usr/bin/walkthrough ]] &&
    grep -qx 'Path=/usr/share/walkthrough' "$usr/share/applications/$id.desktop" ||
    fail "no package, or it lacks the program or an entry that starts it in /usr/share"
# The package's metadata, found by a software centre's rules beside the entry it names.
quietly appstreamcli validate-tree --no-net --pedantic "$work/root"
depends=$(dpkg-deb -f "$package" Depends)
for library in libsdl2-2.0-0 libglu1-mesa libgl1 libpng16-16 libstdc++6; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
