#!/usr/bin/env bash
# `cmake --install` into a scratch prefix puts every file where it belongs, the desktop entry is
# valid, and the walk-through started the way the entry starts it (its Exec in its Path) finds
# the sample scene: the window shows a picture, not only the sky.
#   installed.sh BUILD_DIR
build=$1
program=unused  # set from the desktop entry below
test_name="installed"
source "$(dirname "$0")/../e2e/e2e_lib.sh"

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    fail "cmake --install failed: $(tail -n 5 "$work/install.log")"

for file in bin/walkthrough bin/model-info bin/walkthrough-shot bin/make-sample \
    share/walkthrough/kelm.3ds share/walkthrough/groud.wav \
    share/applications/walkthrough.desktop share/icons/hicolor/256x256/apps/walkthrough.png \
    share/man/man1/walkthrough.1 share/man/man1/model-info.1 \
    share/man/man1/walkthrough-shot.1 share/man/man1/make-sample.1; do
    [[ -s $prefix/$file ]] || fail "$file is not installed"
done
for page in "$prefix"/share/man/man1/*.1; do
    grep -qE '@[A-Z_]+@' "$page" && fail "$page still holds a placeholder"
done

entry=$prefix/share/applications/walkthrough.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
path_line=$(sed -n 's/^Path=//p' "$entry")
[[ $exec_line == "$prefix/bin/walkthrough" ]] || fail "Exec is $exec_line"
[[ $path_line == "$prefix/share/walkthrough" ]] || fail "Path is $path_line"

# Whether the image holds a picture rather than one colour: no colour on 95 % of its pixels.
shows_a_picture() {
    convert "$1" -format %c histogram:info:- |
        awk -F: '{ n = $1 + 0; total += n; if (n > most) most = n; colours++ }
                 END { exit !(colours >= 2 && most < 0.95 * total) }'
}

start_display 1024x768
(
    cd "$path_line"
    export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy MESA_GL_VERSION_OVERRIDE=1.1
    exec $exec_line
) >"$work/program.log" 2>&1 &
program_pid=$!
answer_prompt Escape
wait_for_main_window
import -window "$main_window" "$work/window.png" || fail "could not capture the window"
shows_a_picture "$work/window.png" || fail "the installed program shows no model"
xdotool key Escape
expect_exit_status_zero 10
