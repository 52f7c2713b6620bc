#!/usr/bin/env bash
# Builds the walk-through's web page into build-web/: index.html, its script, walkthrough.js and
# .wasm, the sample scene (walkthrough.data) and groud.wav. Installs emscripten when missing.
# The sample scene is made by the desktop make-sample at build time, in the native build folder
# (build/, or WALKTHROUGH_NATIVE_BUILD), which also gets walkthrough-shot and, in web-models/,
# the scenes the browser test opens. The emscripten build itself is in build-web-cmake/.
#   scripts/build-web.sh
#   python3 -m http.server -d build-web    then open http://localhost:8000/
# WALKTHROUGH_WERROR=ON in the environment makes warnings errors, as ./test.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --web
jobs=$(nproc)
native=${WALKTHROUGH_NATIVE_BUILD:-build}
web_build=${WALKTHROUGH_WEB_BUILD:-build-web-cmake}
page=${WALKTHROUGH_WEB_DIR:-build-web}

# emscripten's tools run on the node on PATH, which does not look where Debian keeps acorn.
NODE_PATH=$(dpkg -L node-acorn | awk '/\/nodejs$/ && !found { print; found = 1 }')
export NODE_PATH

if [[ ! -f $native/CMakeCache.txt ]]; then
    cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$native" -j"$jobs" --target make-sample walkthrough-shot
models=$(cd "$native" && pwd)/web-models
"$native/make-sample" "$models/sample" --force >/dev/null
"$native/make-sample" "$models/textured" --textured --force >/dev/null

emcmake cmake -S . -B "$web_build" -DCMAKE_BUILD_TYPE=Release \
    -DWALKTHROUGH_WEB_SAMPLE="$models/sample/kelm.3ds" \
    -DWALKTHROUGH_WERROR="${WALKTHROUGH_WERROR:-OFF}" >/dev/null
cmake --build "$web_build" -j"$jobs" --target walkthrough

rm -rf "$page"
mkdir -p "$page"
cp web/index.html web/walkthrough-page.js "$page/"
cp "$web_build"/platform/web/walkthrough.{js,wasm,data} "$page/"
if [[ -f $models/sample/groud.wav ]]; then
    cp "$models/sample/groud.wav" "$page/"
fi
echo "build-web: the page is in $page/ (python3 -m http.server -d $page)"
