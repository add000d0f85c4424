#!/usr/bin/env bash
# make test: runs a preset's tests through CTest and keeps the output short.
# On a terminal the progress stays on one line; a failing test's output is
# shown in full; a test that skipped itself on purpose gets one line with its
# reason; the last line is CTest's summary ("100% tests passed, ...").
# Usage: scripts/run-tests.sh <preset> <build folder> [ctest arguments...]
set -uo pipefail
preset=$1 build=$2
shift 2
# Qt warns once a test program when there is no runtime folder (a CI runner, su).
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
ctest --preset "$preset" "$@" 2>&1 | python3 -u "$(dirname "$0")/test-output.py" "$build"
status=${PIPESTATUS[0]}
exit "$status"
