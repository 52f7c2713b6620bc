#!/usr/bin/env bash
# Sets up, builds and starts the walk-through on the sample scene in build/run/.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWALKTHROUGH_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target walkthrough make-sample

mkdir -p build/run
if [[ ! -f build/run/kelm.3ds || ! -f build/run/groud.wav ]]; then
    build/make-sample build/run
fi
cd build/run
exec ../walkthrough
