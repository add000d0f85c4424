#!/bin/bash
# Scrolling a 100 000-entry folder page by page in the report view; the worst
# frame is the figure to watch. The folder is made once in /tmp/quillet-scroll-bench.
# Usage: bench/scroll.sh BUILD_DIR [entries]
set -euo pipefail
build=${1:-build}
QT_QPA_PLATFORM=offscreen "$build/bench/scroll_bench" /tmp/quillet-scroll-bench "${2:-100000}"
