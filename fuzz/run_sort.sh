#!/bin/bash
# Builds the fuzz target of a folder's order with clang and runs it from a few
# listings of families of names. Fails on any order that is not the
# comparison's, and on any crash, leak or timeout libFuzzer finds.
# Usage: fuzz/run_sort.sh [seconds] [build dir]   (default 60 s, build-fuzz)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source=$(dirname "$here")
seconds=${1:-60}
build=${2:-$source/build-fuzz}

source "$here/common.sh"
fuzz_build sort_fuzzer
fuzz_folders sort
# Listings whose first name is a byte prefix of the others, in both cases,
# with digit runs of other lengths and leading zeros; the first byte of each
# makes the second thread share every group.
printf '\x05notes from the meeting\nnotes from the meeting_10.txt\nnotes from the meeting_2.txt\n' >"$corpus/prefix"
printf '\x01abcdefghijklmnopq\nabcdefghijklmnopqB\nabcdefghijklmnopqa\nABCDEFGHIJKLMNOPQ\n' >"$corpus/case"
printf '\x00IMG_0001.jpg\nIMG_1.jpg\nimg_01.JPG\n/IMG_00001\nIMG_123456789012345678901234.jpg\nIMG_123456789012345678901233.jpg\n' >"$corpus/digits"
printf '\x02holiday photo from summer trip.jpg\nHoliday Photo From Summer Trip.jpg\nholiday photo from summer trip.JPG\nHOLIDAY PHOTO FROM SUMMER TRIQ.jpg\nholiday photo from summer trip.jpg2\n' >"$corpus/longcase"
printf '\x03caf\xe9\ncaf\xc3\xa9\ncafe\xcc\x81\n\xe5\xae\xb6\xe5\xba\xad 2\n\xe5\xae\xb6\xe5\xba\xad 10\n' >"$corpus/bytes"

"$build/fuzz/sort_fuzzer" "$corpus" \
  -max_total_time="$seconds" \
  -timeout=30 -rss_limit_mb=2048 -max_len=65536 \
  -artifact_prefix="$artifacts/" -print_final_stats=1
