#!/usr/bin/env bash
# make install: installs a build under a prefix and keeps this project's own
# record of what it put there, every file and every folder that was not there
# before, in .installs/ beside this script's folder. make uninstall removes
# what the records list. CMake's build/install_manifest.txt cannot serve: every
# install rewrites it, make deb's staging install included.
# Usage: scripts/install.sh <build folder> <prefix>
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
prefix=$(realpath -m "$2")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# What this install will put in place, learnt from an install into a staging folder.
DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >/dev/null
mapfile -t files < <(cd "$stage$prefix" && find . ! -type d | sed "s|^\./|$prefix/|" | sort)
folders=()
for file in "${files[@]}"; do
  folder=$(dirname "$file")
  while [ ! -e "$folder" ]; do
    folders+=("$folder")
    folder=$(dirname "$folder")
  done
done

# The record comes first, so that an install that fails half-way can still be undone.
mkdir -p .installs
record=.installs/$(printf '%s' "$prefix" | sha1sum | cut -c1-16)
{
  [ -f "$record" ] && tail -n +2 "$record"
  printf 'file\t%s\n' "${files[@]}"
  [ ${#folders[@]} -eq 0 ] || printf 'folder\t%s\n' "${folders[@]}"
} | sort -u >"$stage/record"
{ printf 'prefix\t%s\n' "$prefix"; cat "$stage/record"; } >"$record"
cmake --install "$build" --prefix "$prefix"
