#!/bin/bash
# The real program as a person starts it: a fresh process whose window is
# shown on an X server (Xvfb and openbox, started here when DISPLAY has no
# server), the folder's path typed into the path box with xdotool, Enter
# pressed, until the file list has painted its first row. Three fresh
# processes; each then opens the folder twice more with F5 (warm opens).
# The time is the program's own, from the Enter (or F5) key to the end of the
# list's first paint after the open (QUILLET_TIME_OPEN, app/OpenTiming.h).
# Peak memory is the process's peak (VmHWM) after the open minus its peak
# just before Enter, per entry; the page faults of each open are counted
# (they do not depend on how busy the machine is). Beside it, in the same run: the one-thread
# readdir loop and `ls -1 -f`, best of 3.
#
# Each key is pressed some seconds after the one before (QUILLET_BENCH_PAUSE,
# 3 by default), as a person types a path and looks at a folder before
# opening it again. It matters on a virtual machine that hands the pages a
# process frees back to its host after about two seconds: a page freed just
# before costs a new process nothing, one freed earlier 1 to 2 ms a MB
# again. Run back to back (QUILLET_BENCH_PAUSE=0), each open would find the
# pages the process before it (or `ls`) had just let go.
#
# That cost is measured in the same run and printed beside the opens: 128 MB
# touched after the same pause, and at once after the same was freed, and
# what touching as much memory as the open's peak takes at the first rate.
# The kernel's free page reporting is what hands the pages back (a balloon
# device reports free blocks of 2^order pages to the host); its settings are
# printed too. With QUILLET_BENCH_KEEP_FREED=1 (root, and a kernel whose
# reporting has the min_free_ms setting) a page must have been free for a
# minute before it is reported, for the length of the run only: memory freed
# in the run then stays the guest's, as it does on a machine of one's own
# (pages the host took before the run still cost the first time).
#
# Usage: bench/open_folder_window.sh BUILD_DIR FOLDER ENTRIES [display]
set -euo pipefail
build=$1
folder=$2
entries=$3
display=${4:-${DISPLAY:-:24}}
pause=${QUILLET_BENCH_PAUSE:-3}
program=$build/app/quillet
bench=$build/bench/open_folder_bench
export DISPLAY=$display
# On the X server, whatever platform the caller's Qt programs use.
export QT_QPA_PLATFORM=xcb
for tool in xdotool xwininfo; do
  command -v $tool >/dev/null || { echo "open_folder_window.sh: $tool is not installed" >&2; exit 2; }
done

reporting=/sys/module/page_reporting/parameters
kept_min_free=
started=()
cleanup() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started[@]}"; do wait "$pid" 2>/dev/null || true; done
  if [ -n "$kept_min_free" ]; then echo "$kept_min_free" >"$reporting/min_free_ms" || true; fi
}
trap cleanup EXIT
if [ "${QUILLET_BENCH_KEEP_FREED:-}" = 1 ]; then
  if [ ! -w "$reporting/min_free_ms" ]; then
    echo "open_folder_window.sh: QUILLET_BENCH_KEEP_FREED needs root and $reporting/min_free_ms" >&2
    exit 2
  fi
  kept_min_free=$(cat "$reporting/min_free_ms")
  echo 60000 >"$reporting/min_free_ms"
fi
# What this machine does with the memory a process frees, in one line.
reporting_state() {
  if [ ! -r "$reporting/page_reporting_order" ] ||
    ! compgen -G "/sys/bus/virtio/drivers/virtio_balloon/virtio*" >/dev/null; then
    echo "freed memory stays the machine's: the kernel reports no free pages to a host"
    return
  fi
  local order; order=$(cat "$reporting/page_reporting_order")
  local after="as soon as it finds them"
  [ -r "$reporting/min_free_ms" ] && after="once free for $(cat "$reporting/min_free_ms") ms or more"
  echo "freed memory is handed to the host in free blocks of $((4 << order)) KB, $after"
}
if ! xwininfo -root >/dev/null 2>&1; then
  Xvfb "$display" -screen 0 1600x1000x24 >/dev/null 2>&1 &
  started+=($!)
  for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  started+=($!)
  sleep 1
fi
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR=/tmp/runtime-$(id -u)
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi

now() { date +%s%N; }
best_of_3() {  # command...; prints the best wall time in seconds
  local best=
  for _ in 1 2 3; do
    local start; start=$(now)
    "$@" >/dev/null
    local took=$(( $(now) - start ))
    if [ -z "$best" ] || [ "$took" -lt "$best" ]; then best=$took; fi
  done
  awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }'
}
hwm() { awk '/^VmHWM:/ { print $2 }' "/proc/$1/status"; }
faults() { awk '{ print $10 }' "/proc/$1/stat"; }  # minor page faults so far
# Waits until the log holds n timing lines; prints the last one's milliseconds.
# The time is the program's own, so the log is looked at only every quarter
# second: each look starts processes, which on two processors would take
# time from the open being measured.
timed() {
  local log=$1 n=$2
  local tries=0
  while ((tries++ < 2400)); do
    sleep 0.25
    if [ "$(grep -c '^quillet-open:' "$log")" -ge "$n" ]; then
      grep '^quillet-open:' "$log" | sed -n "${n}p" | awk '{ print $2 }'
      return 0
    fi
  done
  echo "open_folder_window.sh: no paint after 10 minutes" >&2
  return 1
}

readdir=$("$bench" --readdir "$folder")
ls_f=$(best_of_3 ls -1 -f "$folder")
fresh_rested=$("$bench" --fresh 128 "$pause")
fresh_at_once=$("$bench" --fresh 128 0)

firsts=()
first_faults=()
warm_faults=()
warms=()
peaks=()
for run in 1 2 3; do
  log=$(mktemp)
  QUILLET_TIME_OPEN=1 "$program" >/dev/null 2>"$log" &
  pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$pid" | head -1)
  [ -n "$window" ] || { echo "open_folder_window.sh: the program showed no window" >&2; exit 1; }
  xdotool windowactivate --sync "$window"
  sleep 1  # the start-up open of the drives folder settles
  # The path box has the focus with its text selected (Ctrl+L selects it again).
  xdotool key --clearmodifiers ctrl+l
  xdotool type --delay 1 "$folder"
  before=$(hwm "$pid")
  f0=$(faults "$pid")
  sleep "$pause"
  xdotool key Return
  first=$(timed "$log" 1)
  after=$(hwm "$pid")
  f1=$(faults "$pid")
  sleep "$pause"
  xdotool key F5
  warm1=$(timed "$log" 2)
  sleep "$pause"
  xdotool key F5
  warm2=$(timed "$log" 3)
  f3=$(faults "$pid")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  rm -f "$log"
  firsts+=("$first")
  first_faults+=($((f1 - f0)))
  warm_faults+=($(((f3 - f1) / 2)))
  warms+=("$warm1" "$warm2")
  peaks+=("$(awk -v a="$after" -v b="$before" -v n="$entries" 'BEGIN { printf "%.0f", (a - b) * 1024 / n }')")
done

# min and median of milliseconds, printed in seconds
minmed() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.3f %.3f", v[1] / 1000, v[int((NR + 1) / 2)] / 1000 }'; }
read -r first_min first_med <<<"$(minmed "${firsts[@]}")"
read -r warm_min warm_med <<<"$(minmed "${warms[@]}")"
read -r peak_min peak_med <<<"$(printf '%s\n' "${peaks[@]}" | sort -g | awk '{ v[NR] = $1 } END { print v[1], v[2] }')"
echo "page faults an open, each process: first ${first_faults[*]}; warm ${warm_faults[*]}"
awk -v fm="$first_min" -v fd="$first_med" -v wm="$warm_min" -v wd="$warm_med" -v r="$readdir" \
  -v l="$ls_f" -v pm="$peak_min" -v pd="$peak_med" -v name="$(basename "$folder")" 'BEGIN {
  printf "%-20s window first %.3f/%.3f s (%.2fx readdir, %.2fx ls -f)  warm %.3f/%.3f s (%.2fx)  peak %s/%s B/e  readdir %.3f s  ls -1 -f %.3f s\n",
    name, fm, fd, fd / r, fd / l, wm, wd, wd / r, pm, pd, r, l }'
awk -v pd="$peak_med" -v n="$entries" -v rested="$fresh_rested" -v once="$fresh_at_once" -v p="$pause" 'BEGIN {
  mb = pd * n / 1048576
  printf "memory new to a process: %.2f ms a MB after %s s of rest, %.2f at once; the open'"'"'s peak, %.0f MB, %.0f ms of processor time to touch\n",
    rested, p, once, mb, mb * rested }'
reporting_state
