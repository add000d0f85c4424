# The set-up both fuzz runs share; sourced by fuzz/run.sh and fuzz/run_sort.sh
# after they set here, source, seconds and build.

if ! command -v clang++ >/dev/null; then
  echo "$(basename "$0"): clang++ is not installed" >&2
  exit 2
fi

# Configures the fuzz build with clang (extra arguments go to cmake) and
# builds the one target named.
fuzz_build() {
  local target=$1
  shift
  cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUILLET_FUZZ=ON -DBUILD_TESTING=OFF \
    "$@" \
    ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
  cmake --build "$build" --target "$target" -j "${JOBS:-2}"
}

# A fresh working corpus and artifacts folder for each run, named by prefix;
# what a run finds stays there for a look afterwards.
fuzz_folders() {
  corpus=$build/$1-corpus
  artifacts=$build/$1-artifacts
  rm -rf "$corpus" "$artifacts"
  mkdir -p "$corpus" "$artifacts"
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
