#!/bin/bash
# Opening a 1 000 000-entry folder in a shown main window with a screen
# reader's accessibility on and off, in one run. The folder is made once in
# /tmp/quillet-a11y-bench.
# Usage: bench/accessible_open.sh BUILD_DIR [entries]
set -euo pipefail
build=${1:-build}
QT_QPA_PLATFORM=offscreen "$build/bench/accessible_open_bench" /tmp/quillet-a11y-bench "${2:-1000000}"
