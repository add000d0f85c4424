#!/usr/bin/env bash
# make uninstall: removes what make install put in place, as its records in
# .installs/ list (scripts/install.sh), under one prefix or, without one, under
# every prefix installed to. A file that a Debian package owns is left alone
# (it was replaced by the package since), and so is a folder that is not empty.
# Usage: scripts/uninstall.sh [prefix]
set -euo pipefail
cd "$(dirname "$0")/.."
records=()
if [ $# -gt 0 ]; then
  prefix=$(realpath -m "$1")
  record=.installs/$(printf '%s' "$prefix" | sha1sum | cut -c1-16)
  [ -f "$record" ] && records=("$record")
else
  shopt -s nullglob
  records=(.installs/*)
fi
if [ ${#records[@]} -eq 0 ]; then
  echo "Nothing to uninstall: make install${1:+ PREFIX=$1} has not installed anything here."
  exit 0
fi

# The paths of the arguments that a Debian package owns, one a line. On a
# merged /usr a package's /bin/ls is also /usr/bin/ls, so each path is asked
# for under its other names too: with its folder resolved, and with or
# without /usr before bin, sbin and lib.
owned_by_packages() {
  command -v dpkg-query >/dev/null || return 0
  local path names=()
  for path in "$@"; do
    names+=("$path" "$(realpath -m "$(dirname "$path")")/$(basename "$path")")
  done
  for path in "${names[@]}"; do
    case $path in
      /usr/bin/* | /usr/sbin/* | /usr/lib/* | /usr/lib32/* | /usr/lib64/* | /usr/libx32/*) names+=("${path#/usr}") ;;
      /bin/* | /sbin/* | /lib/* | /lib32/* | /lib64/* | /libx32/*) names+=("/usr$path") ;;
    esac
  done
  mapfile -t owned < <(dpkg-query -S "${names[@]}" 2>/dev/null | sed -n 's/^[^/]*: \(\/.*\)$/\1/p' || true)
  for path in "$@"; do
    local name
    for name in "$path" "$(realpath -m "$(dirname "$path")")/$(basename "$path")"; do
      if printf '%s\n' "${owned[@]}" | grep -qxF -e "$name" -e "${name#/usr}" -e "/usr$name"; then
        echo "$path"
        break
      fi
    done
  done
}

for record in "${records[@]}"; do
  prefix=$(sed -n '1s/^prefix\t//p' "$record")
  mapfile -t files < <(sed -n 's/^file\t//p' "$record")
  mapfile -t folders < <(sed -n 's/^folder\t//p' "$record" | awk '{ print gsub("/", "/") "\t" $0 }' |
    sort -t "$(printf '\t')" -k1,1nr | cut -f2-)
  mapfile -t owned < <(owned_by_packages "${files[@]}" "${folders[@]}")
  echo "Uninstalling from $prefix"
  for file in "${files[@]}"; do
    if printf '%s\n' "${owned[@]}" | grep -qxF -- "$file"; then
      echo "  kept $file: a Debian package owns it"
    elif [ -e "$file" ] || [ -L "$file" ]; then
      rm -f -- "$file" && echo "  removed $file"
    fi
  done
  for folder in "${folders[@]}"; do
    printf '%s\n' "${owned[@]}" | grep -qxF -- "$folder" && continue
    rmdir -- "$folder" 2>/dev/null && echo "  removed folder $folder"
  done
  rm -f -- "$record"
done
rmdir .installs 2>/dev/null || true
