#!/usr/bin/env bash
# The texture benchmarks: time and peak memory of whole runs of walkthrough-shot and model-info
# (GNU time), on files made here in build/texture-bench/:
#   bomb8192/, bomb4096/  the textured sample with its ten images replaced by one-colour images
#                         of 8192x8192 (refused from their headers) and 4096x4096 (decoded,
#                         reduced to the thumbnail's 256), each run as the thumbnailer runs it;
#   folder/               a model of 2,000 textured materials in a folder of 20,000 files;
#   sample/               the textured sample itself: its first frame.
#   scripts/bench-textures.sh [RUNS]    (default 3 runs of each; build/ must be built)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
build=build
cmake --build "$build" -j2 --target walkthrough-shot model-info make-sample make-texture-bench \
    >/dev/null
data=$build/texture-bench
rm -rf "$data"
"$build/make-sample" --textured "$data/sample" >/dev/null
for side in 8192 4096; do
    cp -r "$data/sample" "$data/bomb$side"
    "$build/make-texture-bench" --one-colour "$side" "$data/bomb$side" >/dev/null
done
"$build/make-texture-bench" --many-materials 2000 20000 "$data/folder" >/dev/null

measure() {
    local name=$1
    shift
    for ((run = 1; run <= runs; run++)); do
        /usr/bin/time -f "$name: %e s wall, %M KB peak" "$@" >/dev/null 2>"$data/run.err" ||
            { cat "$data/run.err" >&2; exit 1; }
        tail -n 1 "$data/run.err"
    done
}
shot="$build/walkthrough-shot --frames 4500 --size 256 -o $data/t.png --model"
measure "thumbnail, ten 8192x8192 images" $shot "$data/bomb8192/kelm.3ds"
measure "thumbnail, ten 4096x4096 images" $shot "$data/bomb4096/kelm.3ds"
measure "thumbnail, 2,000 materials among 20,000 files" $shot "$data/folder/many.3ds"
measure "model-info, 2,000 materials among 20,000 files" "$build/model-info" "$data/folder/many.3ds"
measure "the textured sample's first frame" "$build/walkthrough-shot" --model "$data/sample/kelm.3ds" \
    --view original --frames 1 --bench -o "$data/f.png"
