#!/bin/bash
# Opening folders of 10 000, 100 000 and 1 000 000 entries against a bare
# readdir loop and `ls -1`. The folders are made once in /tmp/quillet-bench.
# Usage: bench/open_folder.sh BUILD_DIR [largest size]
set -euo pipefail
build=${1:-build}
QT_QPA_PLATFORM=offscreen "$build/bench/open_folder_bench" /tmp/quillet-bench "${2:-1000000}"
