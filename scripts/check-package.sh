#!/usr/bin/env bash
# Checks Quillet as a packager and a desktop get it:
#  1. a build with BUILD_TESTING=OFF configures and builds with Qt,
#     libjpeg-turbo and CMake alone (GoogleTest, Qt Test and Google Benchmark
#     are made impossible to find);
#  2. the release build installs exactly the expected files into a temporary
#     prefix, and the launcher, the metadata, the icons and the manual page
#     pass their validators and agree on the version;
#  3. the installed program's window carries the installed icon, at every size;
#  4. `make deb`'s package holds the same files, depends on what the program
#     needs, and lintian finds no error in it.
# Runs under xvfb-run when there is no display.
# Usage: scripts/check-package.sh [release build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s '-screen 0 1280x1024x24' bash "$0" "$@"; fi

build=${1:-build}
id=io.github.quillet.Quillet
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
release_date=$(sed -n 's/^set(QUILLET_RELEASE_DATE \(.*\))$/\1/p' CMakeLists.txt)
work=$(mktemp -d)
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "check-package: $*" >&2
  exit 1
}

# Every file an installation holds, relative to its prefix.
expected_files() {
  printf '%s\n' bin/quillet \
    "share/applications/$id.desktop" \
    "share/metainfo/$id.metainfo.xml" \
    "share/icons/hicolor/scalable/apps/$id.svg" \
    share/man/man1/quillet.1.gz \
    share/doc/quillet/copyright share/doc/quillet/changelog.gz share/doc/quillet/NEWS.gz
  for size in 16 22 24 32 48 64 128 256; do
    echo "share/icons/hicolor/${size}x$size/apps/$id.png"
  done
}
same_files() {  # label, actual list on stdin
  if ! diff -u --label expected <(expected_files | sort) --label "$1" - >"$work/diff"; then
    cat "$work/diff" >&2
    fail "$1 does not hold the expected files"
  fi
}

echo "== a build without the tests"
minimal=build-minimal
cmake -S . -B "$minimal" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DQUILLET_WERROR="${WERROR:-OFF}" --no-warn-unused-cli --log-level=WARNING \
  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_Qt6Test=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >/dev/null
cmake --build "$minimal" -j "${JOBS:-2}"
[ -x "$minimal/app/quillet" ] || fail "the build without tests made no program"
[ ! -e "$minimal/tests" ] || fail "the build without tests still configures the tests"

echo "== installed files"
cmake --build "$build" -j "${JOBS:-2}" >/dev/null
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort) | same_files "the installation"
out=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) ||
  fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate has remarks: $out"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "appstreamcli rejects the metadata"
for size in 16 22 24 32 48 64 128 256; do
  file "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size," ||
    fail "the ${size}px icon is not a ${size}x$size PNG"
done
man_out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/quillet.1.gz" 2>&1 >/dev/null)
[ -z "$man_out" ] || fail "the manual page has faults: $man_out"

# One version everywhere: the build, the metadata's newest release, NEWS, the
# manual page; and the licence text of LICENSE in the copyright file.
python3 - "$prefix" "$id" "$version" "$release_date" <<'EOF'
import gzip, re, sys, xml.etree.ElementTree as ET
prefix, app_id, version, date = sys.argv[1:]
def fail(what):
    sys.exit(f"check-package: {what}")
release = ET.parse(f"{prefix}/share/metainfo/{app_id}.metainfo.xml").find("releases/release")
if (release.get("version"), release.get("date")) != (version, date):
    fail(f"the metadata's newest release is {release.get('version')} of {release.get('date')}, "
         f"the build's {version} of {date}")
news = next(l for l in open("NEWS") if re.match(r"\d+\.\d+\.\d+ ", l)).strip()
if news != f"{version} ({date})":
    fail(f"NEWS begins with {news!r}, not {version} ({date})")
page = gzip.open(f"{prefix}/share/man/man1/quillet.1.gz", "rt").read()
if f'.TH QUILLET 1 "{date}" "Quillet {version}"' not in page:
    fail("the manual page names another version or date")
ET.parse(f"{prefix}/share/icons/hicolor/scalable/apps/{app_id}.svg")
words = lambda text: text.replace("\n .\n", " ").split()
licence = open("LICENSE").read()
copyright = open(f"{prefix}/share/doc/quillet/copyright").read()
if words(licence[licence.index("Permission"):]) != words(copyright[copyright.index("Permission"):]):
    fail("the copyright file's licence text differs from LICENSE")
EOF

echo "== the window's icon"
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
QT_QPA_PLATFORM=xcb "$prefix/bin/quillet" &
program_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$program_pid" | head -n 1) ||
  fail "the installed program showed no window"
xprop -id "$window" -notype -f _NET_WM_ICON 32c _NET_WM_ICON >"$work/icon.txt"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=""
python3 - "$work/icon.txt" "$prefix/share/icons/hicolor" "$id" <<'EOF'
import struct, sys, zlib
icon_text, theme, app_id = sys.argv[1:]

def png_pixels(path):
    """(width, height, [(r, g, b, a)...]) of an 8-bit RGBA, non-interlaced PNG."""
    data = open(path, "rb").read()
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert (depth, colour, interlace) == (8, 6, 0), f"{path}: not 8-bit RGBA"
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw, stride, rows, prev = zlib.decompress(idat), width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b, c = prev[i], prev[i - 4] if i >= 4 else 0
            p = a + b - c
            pred = [0, a, b, (a + b) // 2,
                    a if abs(p - a) <= abs(p - b) and abs(p - a) <= abs(p - c) else b if abs(p - b) <= abs(p - c) else c][kind]
            line[i] = (line[i] + pred) & 0xFF
        rows.append(line)
        prev = line
    return width, height, [tuple(r[i:i + 4]) for r in rows for i in range(0, stride, 4)]

values = [int(v) for v in open(icon_text).read().split("=", 1)[1].replace(",", " ").split()]
shown = {}
while values:
    w, h = values[0], values[1]
    shown[(w, h)] = [((v >> 16) & 255, (v >> 8) & 255, v & 255, v >> 24) for v in values[2:2 + w * h]]
    values = values[2 + w * h:]
for size in (16, 22, 24, 32, 48, 64, 128, 256):
    w, h, pixels = png_pixels(f"{theme}/{size}x{size}/apps/{app_id}.png")
    if (w, h) not in shown:
        sys.exit(f"check-package: the window has no {size}x{size} icon (it has {sorted(shown)})")
    # Compared premultiplied: the window system's copy may have been through it.
    for (r, g, b, a), (R, G, B, A) in zip(pixels, shown[(w, h)]):
        if abs(a - A) > 1 or any(abs(x * a - X * A) > 3 * 255 for x, X in ((r, R), (g, G), (b, B))):
            sys.exit(f"check-package: the window's {size}x{size} icon is not the installed one")
print(f"the window carries the installed icon at {len(shown)} sizes")
EOF

echo "== the Debian package"
cmake --build "$build" --target package >/dev/null
deb=$build/packages/quillet_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb"
dpkg-deb --contents "$deb" >"$work/contents"
awk '$1 !~ /^d/ { sub("^\\./usr/", "", $6); print $6 }' "$work/contents" | sort | same_files "the package"
awk '$1 !~ /^d/ && $2 != "root/root" { exit 1 }' "$work/contents" || fail "the package holds files not owned by root"
grep -q '^-rwxr-xr-x .* \./usr/bin/quillet$' "$work/contents" || fail "the program is not executable in the package"
depends=$(dpkg-deb --field "$deb" Depends)
for need in $(sed -n '/^\[run\]/,/^\[/{/^[a-z]/p}' scripts/debian-packages.txt); do
  case $need in
    lib*) pattern="$need (>= " ;;  # a shared library: dpkg-shlibdeps gives its version
    *) pattern=$need ;;
  esac
  [[ ", $depends," == *", $pattern"* ]] || fail "the package does not depend on $need: $depends"
done
mkdir "$work/deb" && dpkg-deb --extract "$deb" "$work/deb"
while read -r file; do
  [ "$file" = bin/quillet ] && continue  # stripped in the package
  cmp -s "$prefix/$file" "$work/deb/usr/$file" || fail "$file differs between the package and an installation"
done < <(expected_files)
status=0
lintian --fail-on error --info "$deb" >"$work/lintian" 2>&1 || status=$?
grep -v 'running with root privileges' "$work/lintian" || echo "lintian: no remarks"
[ "$status" -eq 0 ] || fail "lintian finds errors in $deb"
echo "$deb: $(wc -l <"$work/contents") entries, depends on: $depends"
