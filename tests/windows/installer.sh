#!/usr/bin/env bash
# installer.sh SETUP_EXE PORTABLE_ZIP, inside scripts/run-under-wine.sh: the installer as a
# Windows user meets it, for the current user and without administrator rights.
# - A silent install puts the programs and the sample into %LOCALAPPDATA%\Programs\Walkthrough,
#   a Start-menu entry that starts the walk-through on the sample, and the .3ds association with
#   the program's icon; the portable .zip holds the same files.
# - The associated command, read from the registry, opens a model whose path has a space in a
#   window that shows it, without the start-up question.
# - A silent uninstall leaves no file, entry or registry key; a type .3ds named before the
#   install is given back.
# Wine's HKEY_CLASSES_ROOT does not show the user's classes, so the shell's own lookup of the
# association cannot be tried here: the command is run as the shell would run it, from a batch file.
: "${DISPLAY:?}" "${WINEPREFIX:?run me through scripts/run-under-wine.sh}"
test_name="windows installer" window_wait=90
source "$(dirname "$0")/../e2e/e2e_lib.sh"
setup=$(realpath "$1") portable=$(realpath "$2")

classes='HKCU\Software\Classes'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Walkthrough'
our_keys=("$classes\\.3ds" "$classes\\Walkthrough.3ds" "$classes\\Applications\\walkthrough.exe"
          "$uninstall_key")
installed=(walkthrough.exe model-info.exe make-sample.exe kelm.3ds groud.wav)

quietly() { timeout 120 "$@" >"$work/quiet.log" 2>&1; }
# A folder of the user's profile (LOCALAPPDATA, APPDATA) as Wine sees it, and as this machine does.
profile_folder() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
# The default value of a key as reg prints it ("    (Default)    REG_SZ    DATA"), or nothing.
default_value() {
    wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^    (Default)    REG_SZ    //p'
}
key_exists() { wine reg query "$1" >/dev/null 2>&1; }

program_dir_windows="$(profile_folder LOCALAPPDATA)\\Programs\\Walkthrough"
program_dir=$(winepath -u "$program_dir_windows")
shortcut=$(winepath -u "$(profile_folder APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Walkthrough.lnk")
[[ -n $program_dir && -n $shortcut ]] || fail "Wine names no profile folders"

install() { quietly wine "$setup" /S || fail "the silent install failed: $(cat "$work/quiet.log")"; }
# The uninstaller goes on from a copy of itself in the temporary folder and returns at once; the
# uninstall entry is the last thing it removes.
uninstall() {
    quietly wine "$program_dir/uninstall.exe" /S || fail "the silent uninstall failed"
    wait_until 60 eval '! key_exists "$uninstall_key"' || fail "the uninstaller did not finish"
}

install
for file in "${installed[@]}" uninstall.exe; do
    [[ -s $program_dir/$file ]] || fail "$file is not installed in $program_dir"
done
[[ -s $shortcut ]] || fail "no Start-menu entry $shortcut"
# The packed sample is the one the Windows make-sample writes.
quietly wine "$program_dir/make-sample.exe" "$(winepath -w "$work/sample")" ||
    fail "make-sample.exe failed: $(cat "$work/quiet.log")"
cmp "$work/sample/kelm.3ds" "$program_dir/kelm.3ds" && cmp "$work/sample/groud.wav" \
    "$program_dir/groud.wav" || fail "the installed sample is not what make-sample.exe writes"
mkdir "$work/portable" && (cd "$work/portable" && cmake -E tar xf "$portable") &&
    [[ $(ls "$work/portable"/*/) == $(printf '%s\n' "${installed[@]}" | sort) ]] ||
    fail "the portable .zip holds $(ls "$work/portable"/*/)"
for file in "${installed[@]}"; do
    cmp "$work/portable"/*/"$file" "$program_dir/$file" || fail "the .zip's $file differs"
done

[[ $(default_value "$classes\\.3ds") == Walkthrough.3ds ]] || fail ".3ds is not associated"
program="$program_dir_windows\\walkthrough.exe"
command=$(default_value "$classes\\Walkthrough.3ds\\shell\\open\\command")
[[ $command == "\"$program\" \"%1\"" ]] || fail "the command that opens .3ds files is $command"
[[ $(default_value "$classes\\Walkthrough.3ds\\DefaultIcon") == "$program,0" ]] ||
    fail "the .3ds icon is not the program's"
# RT_GROUP_ICON (14) among the program's resource types: the icon that ",0" names.
x86_64-w64-mingw32-objdump -p "$program_dir/walkthrough.exe" | grep -q 'Entry: ID: 0x00000e,' ||
    fail "walkthrough.exe holds no icon"

# A textured model in a folder with a space, opened as a double click opens it.
models="$work/My Models"
quietly wine "$program_dir/make-sample.exe" --textured "$(winepath -w "$models")" ||
    fail "make-sample.exe --textured failed"
mv "$models/kelm.3ds" "$models/lantern town.3ds"
printf '%s\r\n' "${command//%1/$(winepath -w "$models/lantern town.3ds")}" >"$work/open.cmd"
start_in_run timeout 150 wine cmd /c "$(winepath -w "$work/open.cmd")"
wait_for_main_window "lantern town.3ds - flying (G: walk)"
# The fitted model stands small and dark on the horizon at the start of the sunrise: about one
# pixel in a hundred.
wait_until 20 eval '! sky_over 0.995' || fail "the window shows sky on $sky of it, not the model"
xdotool key --clearmodifiers Escape
expect_exit_status 0 30

# The Start-menu entry starts the walk-through in the install folder, on the sample scene.
start_in_run timeout 150 wine start /wait "$(winepath -w "$shortcut")"
answer_prompt n
wait_for_main_window
wait_until 20 eval 'sky_over 0.05 && ! sky_over 0.4' || fail "the sample shows sky on $sky of it"
xdotool key --clearmodifiers Escape
expect_exit_status 0 30

uninstall
[[ ! -e $program_dir ]] || fail "the uninstaller left $program_dir: $(ls "$program_dir")"
[[ ! -e $shortcut ]] || fail "the uninstaller left the Start-menu entry"
for key in "${our_keys[@]}"; do
    ! key_exists "$key" || fail "the uninstaller left $key"
done

# Another program's type for .3ds is kept aside while this one opens them, then given back.
quietly wine reg add "$classes\\.3ds" /ve /d Other.3ds /f || fail "reg add failed"
install
[[ $(default_value "$classes\\.3ds") == Walkthrough.3ds ]] || fail ".3ds is not associated"
uninstall
[[ $(default_value "$classes\\.3ds") == Other.3ds ]] || fail ".3ds no longer names Other.3ds"
quietly wine reg delete "$classes\\.3ds" /f
