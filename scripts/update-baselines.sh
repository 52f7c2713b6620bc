#!/usr/bin/env bash
# Makes the picture tests' baselines again from the current sample scene, and the README's
# sunrise pictures with them. Run it after a deliberate change to the sample scene or to what a
# frame draws, look at the new pictures, and commit them.
#
#   scripts/update-baselines.sh [BUILD_DIR]     (default: build)
#
# Writes tests/pictures/baselines/sunrise-0001.png, -2000.png, -4600.png (800x600) and copies
# them to docs/; then textured-0001.png and -4600.png (400x300) of the textured sample, and the
# README's pair docs/textured-sample.png (drawn with its materials, as `walkthrough MODEL` draws
# it) and docs/textured-sample-as-made.png (run from its folder). Rendering 4600 frames takes a
# minute or two on llvmpipe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)

cmake --build "$build" --target walkthrough-shot make-sample
# The baselines are llvmpipe's pictures, also on a machine with a GPU.
export LIBGL_ALWAYS_SOFTWARE=1

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$build/make-sample" "$scratch" >/dev/null

mkdir -p "$root/tests/pictures/baselines" "$root/docs"
for frames in 1 2000 4600; do
    name=$(printf 'sunrise-%04d.png' "$frames")
    "$build/walkthrough-shot" --model "$scratch/kelm.3ds" --view original --frames "$frames" \
        -o "$root/tests/pictures/baselines/$name"
    cp "$root/tests/pictures/baselines/$name" "$root/docs/$name"
    echo "wrote tests/pictures/baselines/$name and docs/$name"
done

"$build/make-sample" --textured "$scratch/textured" >/dev/null
for frames in 1 4600; do
    name=$(printf 'textured-%04d.png' "$frames")
    "$build/walkthrough-shot" --model "$scratch/textured/kelm.3ds" --view original \
        --frames "$frames" --size 400x300 -o "$root/tests/pictures/baselines/$name"
    echo "wrote tests/pictures/baselines/$name"
done
cp "$root/tests/pictures/baselines/textured-4600.png" "$root/docs/textured-sample.png"
(cd "$scratch/textured" &&
    "$build/walkthrough-shot" --frames 4600 --size 400x300 -o "$root/docs/textured-sample-as-made.png")
echo "wrote docs/textured-sample.png and docs/textured-sample-as-made.png"
