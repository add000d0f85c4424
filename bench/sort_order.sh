#!/bin/bash
# The long run of the order check: the enumerator's order against std::sort
# by CompareIDs on many more sets of name families than the test suite's,
# in memory and in real folders on tmpfs and on the build's disk. It checks,
# it does not time; a failure names the seed that makes the set again.
#
# Usage: bench/sort_order.sh BUILD_DIR [sets] [first seed]
#   bash bench/sort_order.sh build 100000      about ten minutes here
set -euo pipefail
build=${1:-build}
export QUILLET_ORDER_SETS=${2:-30000}
export QUILLET_ORDER_SEED=${3:-1000}
export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR=/tmp/runtime-$(id -u)
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi
echo "sets $QUILLET_ORDER_SETS from seed $QUILLET_ORDER_SEED"
exec "$build/tests/platform_shell/platform_shell_tests" --gtest_filter='*FamiliesOfNames*'
