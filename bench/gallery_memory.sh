#!/bin/bash
# Peak resident memory of a gallery scan at the largest tile size, with
# pictures that fill their 10000 x 10000 tiles: a 12 MP photograph enlarged
# to 10000 x 7500 (by repeating pixels, which is quick) and turned to
# 7500 x 10000, each baseline and progressive (a progressive decode holds all
# of its coefficients). First under the machine's own bound, then under a
# bound of 3.5 tiles, which the scan reaches.
# Needs: imagemagick, libjpeg-turbo-progs.
# Usage: bench/gallery_memory.sh BUILD_DIR [photograph]
set -euo pipefail
build=${1:-build}
photo=${2:-/work/shared/data/jpeg/photos/photo12mp_q90_base_4000x3000.jpg}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert "$photo" -sample '10000x7500!' -quality 90 "$work/a_wide.jpg"
jpegtran -rotate 90 -outfile "$work/b_tall.jpg" "$work/a_wide.jpg"
jpegtran -progressive -outfile "$work/c_wide_progressive.jpg" "$work/a_wide.jpg"
jpegtran -progressive -outfile "$work/d_tall_progressive.jpg" "$work/b_tall.jpg"
ls -l "$work"
run() { QT_QPA_PLATFORM=offscreen "$build/bench/gallery_memory_bench" "$work" "$@"; }
echo "-- four tiles, the machine's bound; $(uptime)"
run 4 10000
echo "-- eight tiles, a bound of 3.5 tiles; $(uptime)"
run 8 10000 3.5
