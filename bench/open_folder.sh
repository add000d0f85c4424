#!/bin/bash
# Opening folders of 100 000 and 1 000 000 entries, one pattern of names at a
# time, against a bare readdir loop and `ls -1`: by a call on the window and
# by typing the path into the shown window's path box; then the real program
# as a person starts it (bench/open_folder_window.sh: a fresh process, its
# window on an X server, the path typed with xdotool, until the first row is
# painted; min/median of 3 processes). Every pattern and size
# runs in processes of their own, so each peak memory figure is that case's.
# The folders are made once in /tmp/quillet-bench (or $QUILLET_BENCH_WORK) and kept.
#
# Usage: bench/open_folder.sh BUILD_DIR [largest size] [pattern regex] [--delete-large]
#   bash bench/open_folder.sh build 100000 camera     a quick run
#   --delete-large   delete each folder of 1 000 000 entries or more after
#                    measuring it; chosen by itself when /tmp is short of
#                    inodes or space for all of them at once.
set -euo pipefail
build=${1:-build}
largest=${2:-1000000}
filter=${3:-.}
delete_large=no
[ "${4:-}" = --delete-large ] && delete_large=yes
work=${QUILLET_BENCH_WORK:-/tmp/quillet-bench}
here=$(cd "$(dirname "$0")" && pwd)
# The real program's window needs an X server (one is started on :24 when
# DISPLAY has none), xdotool and xwininfo.
window=yes
for tool in xdotool xwininfo Xvfb openbox; do
  command -v $tool >/dev/null || window=no
done
[ -x "$build/app/quillet" ] || window=no
[ "$window" = no ] && echo "the real program's window is not measured: it needs $build/app/quillet, Xvfb, openbox, xdotool and xwininfo"
bench="$build/bench/open_folder_bench"
export QT_QPA_PLATFORM=offscreen
# Qt warns on every start without a runtime folder of one's own.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR=/tmp/runtime-$(id -u)
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi

mapfile -t patterns < <("$bench" --list | grep -E -- "$filter" || true)
if [ ${#patterns[@]} -eq 0 ]; then
  echo "no pattern matches '$filter'; the patterns: $("$bench" --list | tr '\n' ' ')" >&2
  exit 2
fi
sizes=()
for size in 100000 1000000; do
  [ "$size" -le "$largest" ] && sizes+=("$size")
done
[ ${#sizes[@]} -eq 0 ] && sizes=("$largest")

# What the folders still to be made need: an inode an entry and, for the
# directory itself, about 300 bytes an entry (long names take most of it).
mkdir -p "$work"
need_inodes=0
need_large=0
for pattern in "${patterns[@]}"; do
  for size in "${sizes[@]}"; do
    [ -e "$work/$pattern-$size/.complete" ] && continue
    need_inodes=$((need_inodes + size))
    [ "$size" -ge 1000000 ] && need_large=$((need_large + size))
  done
done
free_inodes=$(df --output=iavail "$work" | tail -1 | tr -d ' ')
free_kib=$(df --output=avail -k "$work" | tail -1 | tr -d ' ')
df -i "$work" | tail -1
df -h "$work" | tail -1
# A margin of a million inodes and 2 GiB for everyone else on the machine.
if [ "$delete_large" = no ] && { [ $((need_inodes + 1000000)) -gt "$free_inodes" ] ||
  [ $((need_inodes * 300 / 1024 + 2097152)) -gt "$free_kib" ]; }; then
  delete_large=yes
  echo "not enough inodes or space for every folder at once: each 1 000 000-entry folder is made, measured and deleted in turn"
fi
echo "folders still to make: $need_inodes entries ($need_large in folders of 1 000 000)"
echo "load: $(uptime | sed 's/.*load average/load average/'); ls -1 sorts in LC_COLLATE=$(locale 2>/dev/null | sed -n 's/^LC_COLLATE=//p')"

"$bench" --header
status=0
for pattern in "${patterns[@]}"; do
  for size in "${sizes[@]}"; do
    "$bench" "$work" "$pattern" "$size" || status=1
    # The real program, started fresh as a person starts it, path typed.
    if [ "$window" = yes ]; then
      bash "$here/open_folder_window.sh" "$build" "$work/$pattern-$size" "$size" || status=1
    fi
    if [ "$delete_large" = yes ] && [ "$size" -ge 1000000 ]; then
      rm -rf -- "${work:?}/$pattern-$size"
    fi
  done
done
exit $status
