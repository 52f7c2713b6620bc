#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64 into build-win/ (walkthrough.exe,
# model-info.exe, make-sample.exe), checks that they import only system DLLs, and packs them with
# the sample scene: build-win/walkthrough-setup.exe, the installer (NSIS), and
# build-win/walkthrough-portable.zip. The sample scene is written by the native make-sample, built
# in the native build folder (build/, or WALKTHROUGH_NATIVE_BUILD). With --test it then runs the
# Windows tests under Wine on a virtual display: the unit and reader tests, the Win32 backend's
# tests, the smoke run of walkthrough.exe and the installer's install, association and uninstall.
#   scripts/build-windows.sh [--test]
# WALKTHROUGH_WERROR=ON in the environment makes warnings errors, as ./test.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."

run_tests=false
case ${1:-} in
    --test) run_tests=true ;;
    "") ;;
    *) echo "usage: $0 [--test]" >&2; exit 2 ;;
esac

if $run_tests; then
    scripts/setup.sh --windows --tests
else
    scripts/setup.sh --windows
fi
jobs=$(nproc)
native=${WALKTHROUGH_NATIVE_BUILD:-build}

# The packages' sample scene and sound, the same bytes make-sample.exe writes; copied only when
# they changed, so that the packages are not made again for nothing.
if [[ ! -f $native/CMakeCache.txt ]]; then
    cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$native" -j"$jobs" --target make-sample
sample=$PWD/build-win/sample
"$native/make-sample" --force "$sample.new" >/dev/null
mkdir -p "$sample"
cmake -E copy_if_different "$sample.new"/{kelm.3ds,groud.wav} "$sample"
rm -rf "$sample.new"

cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWALKTHROUGH_WERROR="${WALKTHROUGH_WERROR:-OFF}" \
    -DWALKTHROUGH_WINDOWS_SAMPLE_DIR="$sample" >/dev/null
cmake --build build-win -j"$jobs"

# What a clean Windows has: the C runtime (msvcrt, or the universal one) and the system's own
# libraries (the Windows Imaging Component and COM decode texture images). libstdc++, libgcc
# and winpthread are inside the programs.
system_dll='^(kernel32|user32|gdi32|shell32|opengl32|glu32|winmm|windowscodecs|ole32|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$'
for program in walkthrough model-info make-sample; do
    exe=build-win/$program.exe
    imports=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}')
    for dll in $imports; do
        if [[ ! $dll =~ $system_dll ]]; then
            echo "build-windows: $exe imports $dll, which is not a system DLL" >&2
            exit 1
        fi
    done
    echo "build-windows: $exe imports $(tr '\n' ' ' <<<"$imports")"
done

echo "build-windows: build-win/walkthrough-setup.exe and build-win/walkthrough-portable.zip"

if $run_tests; then
    scripts/run-under-wine.sh \
        ctest --test-dir build-win -j"$jobs" --output-on-failure --timeout 300
fi
