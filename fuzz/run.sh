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

if ! command -v clang++ >/dev/null; then
  echo "fuzz/run.sh: clang++ is not installed" >&2
  exit 2
fi
jpeg=$(bash "$here/libjpeg-turbo.sh" "$build/libjpeg-turbo")
cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUILLET_FUZZ=ON -DBUILD_TESTING=OFF \
  -DJPEG_INCLUDE_DIR="$jpeg/include" -DJPEG_LIBRARY_RELEASE="$jpeg/lib/libjpeg.a" \
  -DJPEG_LIBRARY="$jpeg/lib/libjpeg.a" \
  ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
cmake --build "$build" --target jpeg_fuzzer -j "${JOBS:-2}"

# A fresh working corpus each run, seeded from the test pictures; what the
# run finds stays beside it for a look afterwards.
corpus=$build/fuzz-corpus
artifacts=$build/fuzz-artifacts
rm -rf "$corpus" "$artifacts"
mkdir -p "$corpus" "$artifacts"
grep -v -E '^\s*(#|$)' "$here/seeds.txt" | while read -r seed; do
  cp "$source/tests/data/jpeg/$seed" "$corpus/$(echo "$seed" | tr / _)"
done

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
"$build/fuzz/jpeg_fuzzer" "$corpus" \
  -dict="$here/jpeg.dict" \
  -max_total_time="$seconds" \
  -timeout=60 -rss_limit_mb=2048 -max_len=262144 \
  -artifact_prefix="$artifacts/" -print_final_stats=1
