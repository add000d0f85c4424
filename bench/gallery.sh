#!/bin/bash
# The thumbnail gallery against vipsthumbnail and a full-size libjpeg loop.
# Usage: bench/gallery.sh BUILD_DIR [photo folder]
set -euo pipefail
build=${1:-build}
shift || true
QT_QPA_PLATFORM=offscreen "$build/bench/gallery_bench" "$@" --benchmark_counters_tabular=true
