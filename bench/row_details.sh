#!/bin/bash
# One screenful (50 rows) of report-view details against stat() plus a type
# lookup by name of the same files. The files are made in /tmp/quillet-row-bench.
# Usage: bench/row_details.sh BUILD_DIR [runs]
set -euo pipefail
build=${1:-build}
QT_QPA_PLATFORM=offscreen "$build/bench/row_details_bench" /tmp/quillet-row-bench "${2:-200}"
