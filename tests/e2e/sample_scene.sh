#!/usr/bin/env bash
# On the sample scene the first frames show the model lit in its material colours against the
# dark blue sky, with the parts beyond the early fog black; holding W (with Shift) walks and changes the
# picture more than the sunrise alone does in the same time; releasing Escape quits with 0.
#   sample_scene.sh WALKTHROUGH MAKE_SAMPLE
program=$1
make_sample=$2
test_name="sample scene"
source "$(dirname "$0")/e2e_lib.sh"

# Shares of the picture: the sky's dark blue, fog black, and lit colours (neither, with hue).
shares() {
    convert "$1" -depth 8 -format %c histogram:info:- |
        awk '{ n = $1 + 0; total += n
               rgb = $0; sub(/^[^(]*\(/, "", rgb); sub(/\).*/, "", rgb); split(rgb, c, ",")
               r = c[1] + 0; g = c[2] + 0; b = c[3] + 0
               if (r == 0 && g == 0 && (b == 76 || b == 77)) sky += n
               else if (r + g + b <= 3) black += n
               else if (r != g || g != b) lit += n }
             END { printf "%.4f %.4f %.4f\n", sky / total, black / total, lit / total }'
}

# The share of pixels that differ by more than a tenth between two pictures.
changed() {
    local pixels
    pixels=$(compare -metric AE -fuzz 10% "$1" "$2" null: 2>&1 || true)
    awk -v p="$pixels" 'BEGIN { printf "%.4f\n", p / (800 * 600) }'
}

mkdir -p "$work/run"
"$make_sample" "$work/run" >/dev/null || fail "make-sample could not write the sample scene"
start_display 1024x768
start_program
answer_prompt Escape
wait_for_main_window

import -window "$main_window" "$work/first.png" || fail "could not capture the window"
read -r sky black lit < <(shares "$work/first.png")
echo "first frames: sky $sky, fog black $black, lit $lit of the picture"
awk -v s="$sky" -v b="$black" -v l="$lit" 'BEGIN { exit !(s > 0.05 && b > 0.01 && l > 0.05) }' ||
    fail "expected sky, fog-black and lit colours; their shares are $sky, $black and $lit"

# The fog recedes fastest through the near town at first; compare once it is further out.
sleep 4
import -window "$main_window" "$work/before.png"
sleep 2
import -window "$main_window" "$work/still.png"
xdotool keydown shift w
sleep 2
xdotool keyup w shift
import -window "$main_window" "$work/walked.png"
by_sunrise=$(changed "$work/before.png" "$work/still.png")
by_walking=$(changed "$work/still.png" "$work/walked.png")
echo "changed in 2 s: $by_sunrise standing still, $by_walking walking"
awk -v s="$by_sunrise" -v w="$by_walking" 'BEGIN { exit !(w > 0.02 && w > 2 * s) }' ||
    fail "holding W changed $by_walking of the picture, standing still $by_sunrise"

xdotool key Escape
expect_exit_status_zero 10
