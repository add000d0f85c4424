#!/bin/bash
# The thumbnail gallery beside vipsthumbnail, in one run: pictures per second,
# the time to the first tile, and the event loop's longest and 99th-percentile
# gap during a scan; then the same again with every process held to one core.
# Usage: bench/gallery.sh BUILD_DIR [photo folder]
# QUILLET_BENCH_PICTURES sets the size of the photo folder (default 20).
set -euo pipefail
build=${1:-build}
shift || true
bench() { QT_QPA_PLATFORM=offscreen "$@" --benchmark_counters_tabular=true; }
echo "-- all cores"
bench "$build/bench/gallery_bench" "$@"
echo "-- one core (taskset -c 0)"
bench taskset -c 0 "$build/bench/gallery_bench" "$@"
