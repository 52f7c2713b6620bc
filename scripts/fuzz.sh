#!/bin/sh
# Fuzzes the model reader and the texture decoders for a bounded time, split between them:
# scripts/fuzz.sh [SECONDS] (default 60). Builds build-fuzz/ with clang++-14 (libFuzzer +
# AddressSanitizer + UndefinedBehaviorSanitizer), seeds the reader's corpus from its test models
# and, when present, the sample scene, the decoders' from images of every kind the project makes
# itself, and exits non-zero when a fuzzer finds a crash, a hang, a leak or an oversized
# allocation. Crashing inputs are kept in build-fuzz/crashes/ (the reader's) and
# build-fuzz/texture-crashes/; each one belongs in its tests' table of damaged files.
set -eu

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="${FUZZ_BUILD:-$root/build-fuzz}"
reader_seconds=$(( (seconds + 1) / 2 ))
texture_seconds=$(( seconds - reader_seconds ))
[ "$texture_seconds" -ge 1 ] || texture_seconds=1

cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWALKTHROUGH_FUZZ=ON -DWALKTHROUGH_SANITIZE=ON \
    -DWALKTHROUGH_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_reader make-fuzz-seeds fuzz_textures make-image-seeds \
    >/dev/null

mkdir -p "$build/seeds" "$build/corpus" "$build/crashes" \
    "$build/texture-seeds" "$build/texture-corpus" "$build/texture-crashes"
"$build/make-fuzz-seeds" "$build/seeds"
"$build/make-image-seeds" "$build/texture-seeds"
for sample in "$root/build/sample/kelm.3ds" "$root/build/run/kelm.3ds"; do
    if [ -f "$sample" ]; then
        cp "$sample" "$build/seeds/sample_scene.3ds"
        break
    fi
done

cd "$build"
# fuzz NAME SECONDS DICTIONARY CORPUS SEEDS CRASHES MAX_LEN
fuzz() {
    status=0
    "./fuzz_$1" -max_total_time="$2" -timeout=10 -rss_limit_mb=2048 \
        -malloc_limit_mb=256 -max_len="$7" -dict="$3" \
        -artifact_prefix="$6/" -print_final_stats=1 \
        "$4" "$5" >"$build/fuzz-$1.log" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$build/fuzz-$1.log" >&2
        echo "fuzz.sh: fuzz_$1 failed on an input; see $6/" >&2
        return "$status"
    fi
    grep '^stat::' "$build/fuzz-$1.log" || true
    echo "fuzz.sh: fuzz_$1: no failure in $2 s (the whole log: $build/fuzz-$1.log)"
}

status=0
fuzz reader "$reader_seconds" "$root/fuzz/reader.dict" "$build/corpus" "$build/seeds" \
    "$build/crashes" 65536 || status=$?
fuzz textures "$texture_seconds" "$root/fuzz/images.dict" "$build/texture-corpus" \
    "$build/texture-seeds" "$build/texture-crashes" 65536 || status=$?
exit "$status"
