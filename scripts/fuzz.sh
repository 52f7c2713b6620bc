#!/bin/sh
# Fuzzes the model reader for a bounded time: scripts/fuzz.sh [SECONDS] (default 60).
# Builds build-fuzz/ with clang++-14 (libFuzzer + AddressSanitizer + UndefinedBehaviorSanitizer),
# seeds the corpus from the reader's test models and, when present, the sample scene, and exits
# non-zero when the fuzzer finds a crash, a hang, a leak or an oversized allocation. Crashing
# inputs are kept in build-fuzz/crashes/; each one belongs in the reader's damaged-file table.
set -eu

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="${FUZZ_BUILD:-$root/build-fuzz}"

cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWALKTHROUGH_FUZZ=ON -DWALKTHROUGH_SANITIZE=ON \
    -DWALKTHROUGH_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_reader make-fuzz-seeds >/dev/null

mkdir -p "$build/seeds" "$build/corpus" "$build/crashes"
"$build/make-fuzz-seeds" "$build/seeds"
for sample in "$root/build/sample/kelm.3ds" "$root/build/run/kelm.3ds"; do
    if [ -f "$sample" ]; then
        cp "$sample" "$build/seeds/sample_scene.3ds"
        break
    fi
done

cd "$build"
status=0
./fuzz_reader -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -malloc_limit_mb=256 -max_len=65536 -dict="$root/fuzz/reader.dict" \
    -artifact_prefix="$build/crashes/" -print_final_stats=1 \
    "$build/corpus" "$build/seeds" >"$build/fuzz.log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
    tail -n 60 "$build/fuzz.log" >&2
    echo "fuzz.sh: the reader failed on an input; see $build/crashes/" >&2
else
    grep '^stat::' "$build/fuzz.log" || true
    echo "fuzz.sh: no failure in $seconds s (the whole log: $build/fuzz.log)"
fi
exit "$status"
