#!/bin/bash
# Runs every benchmark script of this folder against one build.
# Usage: bench/run-all.sh BUILD_DIR
set -uo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
status=0
for script in "$here"/*.sh; do
  [ "$(basename "$script")" = run-all.sh ] && continue
  echo "== $(basename "$script" .sh)"
  bash "$script" "$build" || status=1
done
exit $status
