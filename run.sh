#!/usr/bin/env bash
# Sets up, builds and starts the walk-through on the sample scene in build/run/.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWALKTHROUGH_TESTS=OFF >/dev/null
# The walk-through and the tools the README names: model-info, walkthrough-shot, make-sample.
cmake --build build -j"$(nproc)"

mkdir -p build/run
# build/run holds only the sample: when one of its two files is gone, both are written anew.
if [[ ! -f build/run/kelm.3ds || ! -f build/run/groud.wav ]]; then
    build/make-sample --force build/run
fi
cd build/run
exec ../walkthrough
