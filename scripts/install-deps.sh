#!/usr/bin/env bash
# Installs the Debian packages of the named lists of debian-packages.txt
# (run, build, test; all three when none is named) that are missing. Of a
# line of alternatives, the first is installed when none of them is.
# Usage: scripts/install-deps.sh [list...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$@")
[ ${#lists[@]} -eq 0 ] && lists=(run build test)

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
section=""
while IFS= read -r line; do
  line=${line%%#*}
  read -r line <<<"$line"  # trims the spaces
  case $line in
    "") continue ;;
    \[*\]) section=${line:1:-1}; continue ;;
  esac
  [[ " ${lists[*]} " == *" $section "* ]] || continue
  IFS='|' read -ra alternatives <<<"$line"
  found=""
  for p in "${alternatives[@]}"; do
    read -r p <<<"$p"
    if installed "$p"; then found=$p; break; fi
  done
  [ -n "$found" ] || { read -r first <<<"${alternatives[0]}"; missing+=("$first"); }
done <"$here/debian-packages.txt"

[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them as root (apt-get install ...), or run this as root." >&2
    exit 1
  fi
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
