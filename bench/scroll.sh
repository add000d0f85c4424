#!/bin/bash
# Scrolling a 100 000-entry folder in every view style, by Page Down, the
# wheel, the thumb dragged far and Home/End, one step a display frame: once
# on the machine as it is, once with a busy process at normal priority for
# every processor (unless the fifth argument is "quiet"). The worst frame is
# the figure to watch, in wall time and in CPU time. The folder is made once
# in /tmp/quillet-scroll-bench. The window is drawn offscreen unless
# QT_QPA_PLATFORM says otherwise (xcb with DISPLAY set: as on a screen).
# Usage: bench/scroll.sh BUILD_DIR [entries] [views] [motions] [quiet]
#   views: icon,small,list,report; motions: page,wheel,drag,ends (all by default)
set -euo pipefail
build=${1:-build}
entries=${2:-100000}
views=${3:-icon,small,list,report}
motions=${4:-page,wheel,drag,ends}
only=${5:-}
bench="$build/bench/scroll_bench"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# Qt warns on every start without a runtime folder of one's own.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR=/tmp/runtime-$(id -u)
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi

busy=()
stop_busy() {
  if [ ${#busy[@]} -gt 0 ]; then
    kill "${busy[@]}" 2>/dev/null || true
    wait "${busy[@]}" 2>/dev/null || true
  fi
  busy=()
}
# However the script ends, the busy processes end with it.
trap stop_busy EXIT
trap 'stop_busy; exit 130' INT TERM

load() { uptime | sed 's/.*load average/load average/'; }

echo "== quiet ($(load))"
"$bench" /tmp/quillet-scroll-bench "$entries" quiet "$views" "$motions"
[ "$only" = quiet ] && exit 0

for _ in $(seq "$(nproc)"); do
  bash -c 'while :; do :; done' &
  busy+=($!)
done
sleep 2
echo "== loaded: ${#busy[@]} busy processes ($(load))"
"$bench" /tmp/quillet-scroll-bench "$entries" loaded "$views" "$motions"
stop_busy
