#!/bin/bash
# The thumbnail gallery beside vipsthumbnail, in one run: pictures per second,
# the time to the first tile, and the event loop's longest and 99th-percentile
# gap during a scan; then the same again with every process held to one core.
# Last, the gaps of a scan and four re-scans of 2 000 tiles (small pictures,
# so that the tiles, not the decodes, are what the window has to keep up with).
# Usage: bench/gallery.sh BUILD_DIR [photo folder]
# QUILLET_BENCH_PICTURES sets the size of the photo folder (default 20).
set -euo pipefail
build=${1:-build}
shift || true
here=$(cd "$(dirname "$0")" && pwd)
bench() { QT_QPA_PLATFORM=offscreen "$@" --benchmark_counters_tabular=true; }
echo "-- all cores; $(uptime)"
bench "$build/bench/gallery_bench" "$@"
echo "-- one core (taskset -c 0); $(uptime)"
bench taskset -c 0 "$build/bench/gallery_bench" "$@"

many=$(mktemp -d)
trap 'rm -rf "$many"' EXIT
cp "$here/../tests/data/jpeg/sizes/pic_1600x1200.jpg" "$here/../tests/data/jpeg/sizes/pic_1200x1600.jpg" "$many"
echo "-- 2 000 tiles of 200 x 200, a scan and four re-scans; $(uptime)"
QUILLET_BENCH_PICTURES=2000 bench "$build/bench/gallery_bench" "$many" \
    --benchmark_filter='galleryScan/photos/width:200/'
