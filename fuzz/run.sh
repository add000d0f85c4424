#!/bin/bash
# Builds the JPEG fuzz target with clang, linked against libjpeg-turbo built
# from Debian's source package with the same instrumentation (kept in
# <build dir>/libjpeg-turbo, made once), and runs it over the seed corpus.
# Fails on any crash, leak, timeout or out-of-memory that libFuzzer finds.
# Usage: fuzz/run.sh [seconds] [build dir]   (default 60 s, build-fuzz)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source=$(dirname "$here")
seconds=${1:-60}
build=${2:-$source/build-fuzz}

source "$here/common.sh"
jpeg=$(bash "$here/libjpeg-turbo.sh" "$build/libjpeg-turbo")
fuzz_build jpeg_fuzzer -DJPEG_INCLUDE_DIR="$jpeg/include" -DJPEG_LIBRARY_RELEASE="$jpeg/lib/libjpeg.a" \
  -DJPEG_LIBRARY="$jpeg/lib/libjpeg.a"

# The working corpus is seeded from the test pictures.
fuzz_folders fuzz
grep -v -E '^\s*(#|$)' "$here/seeds.txt" | while read -r seed; do
  cp "$source/tests/data/jpeg/$seed" "$corpus/$(echo "$seed" | tr / _)"
done

"$build/fuzz/jpeg_fuzzer" "$corpus" \
  -dict="$here/jpeg.dict" \
  -max_total_time="$seconds" \
  -timeout=60 -rss_limit_mb=2048 -max_len=262144 \
  -artifact_prefix="$artifacts/" -print_final_stats=1
