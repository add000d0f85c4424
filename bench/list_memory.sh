#!/bin/bash
# What a million rows cost per row in the file list's own view and in Qt's
# list, icon and tree views (offscreen).
# Usage: bench/list_memory.sh BUILD_DIR [rows]
set -euo pipefail
build=${1:-build}
QT_QPA_PLATFORM=offscreen "$build/bench/list_memory_bench" "${2:-1000000}"
