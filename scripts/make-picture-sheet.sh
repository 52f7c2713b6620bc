#!/usr/bin/env bash
# Makes docs/models-fitted.png for the README: models as the walk-through shows them when they
# are named on its command line, fitted, at frame 4500 (the sun up), in one labelled sheet. The
# sample scene comes from make-sample, the others from Debian's assimp-testmodels (left out
# when it is not installed). Needs ImageMagick's montage.
#
#   scripts/make-picture-sheet.sh [BUILD_DIR]     (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
assimp=/usr/share/assimp/models/3DS

cmake --build "$build" --target walkthrough-shot make-sample
# llvmpipe's pictures, as the baselines, also on a machine with a GPU.
export LIBGL_ALWAYS_SOFTWARE=1

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$build/make-sample" "$scratch" >/dev/null

models=("$scratch/kelm.3ds")
for name in CameraRollAnimWithChildObject.3ds cubes_with_alpha.3DS fels.3ds cube_with_diffuse_texture.3DS \
    testFormatDetection; do
    if [[ -f "$assimp/$name" ]]; then
        models+=("$assimp/$name")
    fi
done

tiles=()
for model in "${models[@]}"; do
    name=$(basename "$model")
    "$build/walkthrough-shot" --model "$model" --frames 4500 --size 256x192 -o "$scratch/$name.png"
    tiles+=(-label "$name" "$scratch/$name.png")
done
montage "${tiles[@]}" -tile 3x -geometry +4+4 -pointsize 13 -background white \
    "PNG8:$root/docs/models-fitted.png"
echo "wrote docs/models-fitted.png ($(stat -c %s "$root/docs/models-fitted.png") bytes)"
