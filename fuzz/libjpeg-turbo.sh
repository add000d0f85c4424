#!/bin/bash
# Builds libjpeg-turbo from Debian's source package as a static library
# instrumented like the fuzz target (libFuzzer's coverage, AddressSanitizer,
# UndefinedBehaviorSanitizer), so that coverage counts the decoder's own
# edges. The sources come through apt with a source list of this script's own
# (no system file is changed, no root needed); the build is kept under the
# given folder, so a second run only checks that it is there.
# Usage: fuzz/libjpeg-turbo.sh <folder>   prints the install prefix
set -euo pipefail
mkdir -p "$1"
top=$(cd "$1" && pwd)
prefix=$top/install
if [ -f "$prefix/lib/libjpeg.a" ] && [ -f "$prefix/include/jpeglib.h" ]; then
  echo "$prefix"
  exit 0
fi
for tool in apt-get dpkg-source clang; do
  if ! command -v "$tool" >/dev/null; then
    echo "fuzz/libjpeg-turbo.sh: $tool is not installed" >&2
    exit 2
  fi
done

# The release the program is built against on Debian 12; override with
# DEBIAN_SUITE (and DEBIAN_MIRROR) for another.
suite=${DEBIAN_SUITE:-bookworm}
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
apt=$top/apt
rm -rf "$apt" "$top/source"
mkdir -p "$apt/lists/partial" "$apt/archives/partial" "$top/source"
echo "deb-src [signed-by=$keyring] $mirror $suite main" >"$apt/sources.list"
options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/none"
         -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt" -o "Dir::State::status=/dev/null"
         -o Debug::NoLocking=1 -o APT::Sandbox::User=root -qq)
apt-get "${options[@]}" update >&2
(cd "$top/source" && apt-get "${options[@]}" source libjpeg-turbo >&2)
rm -rf "$apt"  # the package lists are not needed again
source=$(find "$top/source" -mindepth 1 -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
[ -n "$source" ] || { echo "fuzz/libjpeg-turbo.sh: no source tree unpacked" >&2; exit 1; }

# The C code alone (no SIMD): the fuzzer sees every path of the decoder.
flags="-g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$source" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_C_FLAGS="$flags" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF \
  -DWITH_TURBOJPEG=OFF -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR="$prefix/lib" \
  -DCMAKE_INSTALL_INCLUDEDIR="$prefix/include" \
  ${CMAKE_C_COMPILER_LAUNCHER:+-DCMAKE_C_COMPILER_LAUNCHER=$CMAKE_C_COMPILER_LAUNCHER} >&2
cmake --build "$top/build" --target install -j "${JOBS:-2}" >&2
echo "$prefix"
