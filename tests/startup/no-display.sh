#!/usr/bin/env bash
# Starts the program where no display can be opened, as in an SSH session or a
# build chroot, in the ways such a place comes about, and checks that each
# ends with one line on standard error naming the platform tried and exit
# status 1, not an abort.
# Usage: no-display.sh <path of the quillet program>
set -uo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
failures=0

# label, expected platform text, then the environment to add
check() {
  local label=$1 platform=$2
  shift 2
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE \
    XDG_RUNTIME_DIR="$work/runtime" "$@" "$program" >"$work/out" 2>"$work/err" </dev/null
  local status=$?
  local expected="quillet: no display could be opened (platform tried: $platform)"
  if [ "$status" -ne 1 ] || [ "$(cat "$work/err")" != "$expected" ] || [ -s "$work/out" ]; then
    echo "FAIL $label: exit status $status (expected 1), standard error:" >&2
    cat "$work/err" >&2
    echo "expected the one line: $expected" >&2
    failures=$((failures + 1))
  fi
}

check "no DISPLAY, no WAYLAND_DISPLAY" xcb
check "DISPLAY names a display that is not there" xcb DISPLAY=:32767
# A Wayland session whose compositor is gone; the platform plugin may or may
# not be installed, and the line says which.
if [ -n "$(find /usr/lib/*/qt6/plugins/platforms -name 'libqwayland-*' 2>/dev/null)" ]; then
  check "QT_QPA_PLATFORM=wayland, no compositor" wayland QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=absent
else
  check "QT_QPA_PLATFORM=wayland, plugin not installed" "wayland, not installed" QT_QPA_PLATFORM=wayland
fi
check "a list of platforms, none of them usable" "xcb; vnc-absent, not installed" QT_QPA_PLATFORM="xcb;vnc-absent"
exit $((failures > 0))
