#!/bin/bash
# The order of a large folder apart from its reading, in memory: the
# enumerator's sort and the window's check that the list is in order, for
# every pattern of names the open benchmarks use (bench/sort_speed_bench.cpp).
#
# Usage: bench/sort_speed.sh BUILD_DIR [pattern regex] [entries]
#   bash bench/sort_speed.sh build case 100000      a quick run
set -euo pipefail
build=${1:-build}
exec "$build/bench/sort_speed_bench" "${2:-.}" "${3:-1000000}"
