#!/usr/bin/env bash
# Sets up, builds and runs every test: the plain build in build/, the model reader's fuzzer for
# a bounded time, the Windows programs cross-built in build-win/ and tested under Wine, then the
# whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup.sh --tests
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build -j"$jobs" --output-on-failure --timeout 600

scripts/fuzz.sh "${FUZZ_SECONDS:-60}"

scripts/build-windows.sh --test

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DWALKTHROUGH_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan -j"$jobs" --output-on-failure --timeout 900
