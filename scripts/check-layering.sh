#!/usr/bin/env bash
# Fails when an #include crosses the project's layers the wrong way:
#  - the platform (platform/) includes nothing of the program's own folders;
#  - platform/base includes nothing of the other platform folders, and
#    platform/shell and platform/toolkit nothing of each other;
#  - a header in platform/<folder>/private/ is included only from that
#    platform folder and from its own tests (and the fuzz targets and
#    benchmarks that drive its parts directly).
# Usage: scripts/check-layering.sh [source root]
set -uo pipefail
cd "${1:-$(dirname "$0")/..}" || exit 2

status=0
report() {  # file:line:text, rule
  printf '%s\n    %s\n' "$1" "$2"
  status=1
}

# Every quoted include in the tracked C++ sources (new files too), as file:line:text.
sources() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h'
  else
    find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||'
  fi
}
includes() {
  sources | xargs -r grep -nH -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' --
}

while IFS= read -r hit; do
  file=${hit%%:*}
  target=$(sed -E 's/.*#[[:space:]]*include[[:space:]]+"([^"]+)".*/\1/' <<<"$hit")
  case $file in
    platform/*)
      case $target in
        app/* | shell/* | listview/* | thumbnails/* | slideshow/*)
          report "$hit" "the platform must not include the program's own headers" ;;
      esac ;;
  esac
  case $file:$target in
    platform/base/*:platform/shell/* | platform/base/*:platform/toolkit/*)
      report "$hit" "platform/base stands below the other platform folders" ;;
    platform/shell/*:platform/toolkit/* | platform/toolkit/*:platform/shell/*)
      report "$hit" "platform/shell and platform/toolkit do not use each other" ;;
  esac
  case $target in
    platform/toolkit/private/*)
      case $file in
        platform/toolkit/* | tests/toolkit/* | tests/listview_control/* | tests/jpeg/*) ;;
        *) report "$hit" "a private header of platform/toolkit, used outside it" ;;
      esac ;;
    platform/shell/private/*)
      case $file in
        platform/shell/* | tests/platform_shell/* | fuzz/sort_fuzzer.cpp | bench/sort_speed_bench.cpp) ;;
        *) report "$hit" "a private header of platform/shell, used outside it" ;;
      esac ;;
  esac
done < <(includes)

[ $status -eq 0 ] && echo "layering: every include points downwards"
exit $status
