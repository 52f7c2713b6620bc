#!/usr/bin/env bash
# Sets up, builds and runs every test, in stages from the fastest to the slowest, so that a
# broken build or a broken rule fails within a minute or two:
#   1. formatting of every source file (clang-format), and the map of the rooms
#      (docs/architecture.md) against the folders and their includes;
#   2. the unit, reader and sample tests of the plain build in build/;
#   3. the rest of the plain build: window tests under Xvfb, pictures, install;
#   4. the Release build and a clang build, which must compile without a warning;
#   5. the model reader's fuzzer for a bounded time;
#   6. the Windows programs cross-built in build-win/ and tested under Wine;
#   7. the web page built in build-web/ and tested in headless chromium;
#   8. the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/.
# Warnings are errors here (WALKTHROUGH_WERROR), not in a user's or a packager's build.
set -euo pipefail
cd "$(dirname "$0")"

stage() { printf '\n== test.sh: %s\n' "$*"; }

scripts/setup.sh --tests
jobs=$(nproc)
fast_labels='unit|reader|sample'

stage "formatting and the map"
scripts/check-format.sh
scripts/check-map.py

stage "unit, reader and sample tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWALKTHROUGH_TESTS=ON \
    -DWALKTHROUGH_WERROR=ON >/dev/null
cmake --build build -j"$jobs" --target fast_tests
ctest --test-dir build -j"$jobs" --output-on-failure --timeout 600 -L "$fast_labels"

stage "window, picture and install tests"
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure --timeout 600 -LE "$fast_labels"

stage "Release and clang builds"
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DWALKTHROUGH_WERROR=ON >/dev/null
cmake --build build-release -j"$jobs"
CC=clang-14 CXX=clang++-14 cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DWALKTHROUGH_WERROR=ON >/dev/null
cmake --build build-clang -j"$jobs"

stage "fuzzing the model reader"
scripts/fuzz.sh "${FUZZ_SECONDS:-60}"

stage "Windows programs under Wine"
WALKTHROUGH_WERROR=ON scripts/build-windows.sh --test

stage "the web page in headless chromium"
WALKTHROUGH_WERROR=ON scripts/build-web.sh
(cd tests/web && npm ci --no-audit --no-fund --silent && node --test)

stage "the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DWALKTHROUGH_SANITIZE=ON \
    -DWALKTHROUGH_WERROR=ON >/dev/null
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan -j"$jobs" --output-on-failure --timeout 900
