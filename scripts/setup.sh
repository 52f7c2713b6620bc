#!/usr/bin/env bash
# Installs the Debian packages the walk-through needs and that are missing.
#   scripts/setup.sh          what building and running need
#   scripts/setup.sh --tests  also what the tests need
#   scripts/setup.sh --windows          also what cross-building the Windows programs needs
#   scripts/setup.sh --windows --tests  also Wine, to run the Windows tests here
#   scripts/setup.sh --web              also emscripten and chromium, for the web page and its test
set -euo pipefail

# xfonts-base: SDL's X11 message box draws its text with the X core fonts.
# libegl-dev, libopengl-dev, libpng-dev: the headless renderer walkthrough-shot.
# libpng-dev, libjpeg62-turbo-dev, libgif-dev: the decoders of the models' texture images.
# libstb-dev: stb_image_write, with which make-sample writes the textured sample's images.
packages=(g++ cmake make pkg-config libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
          libegl-dev libopengl-dev libegl-mesa0 libpng-dev libjpeg62-turbo-dev libgif-dev
          xfonts-base libcli11-dev libstb-dev)
tests=false
windows=false
web=false
for option in "$@"; do
    case $option in
        --tests) tests=true ;;
        --windows) windows=true ;;
        --web) web=true ;;
        *) echo "usage: $0 [--tests] [--windows] [--web]" >&2; exit 2 ;;
    esac
done
if $tests && ! $windows; then
    # assimp-testmodels: real 3DS files that nobody here wrote, for the picture tests.
    packages+=(libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils x11-xserver-utils
               imagemagick clang-14 clang-format libclang-rt-14-dev desktop-file-utils dpkg-dev
               appstream libxml2-utils assimp-testmodels)
fi
if $windows; then
    # MinGW-w64 (POSIX threads) for 64-bit Windows; googletest's sources for the unit tests;
    # ImageMagick for the program's icon and NSIS for its installer.
    packages+=(g++-mingw-w64-x86-64-posix googletest imagemagick nsis)
    if $tests; then
        packages+=(wine wine64 xvfb xauth xdotool x11-utils imagemagick)
    fi
fi
if $web; then
    # node-acorn: emscripten's JavaScript tools need it (on NODE_PATH, see build-web.sh).
    packages+=(emscripten node-acorn nodejs chromium)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

echo "Installing Debian packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
    sudo=()
elif command -v sudo >/dev/null; then
    sudo=(sudo)
else
    echo "These packages are missing and there is no sudo: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}"
