#!/usr/bin/env bash
# Checks Quillet as a packager and a desktop get it:
#  1. a build with BUILD_TESTING=OFF configures and builds with Qt,
#     libjpeg-turbo and CMake alone (GoogleTest, Qt Test and Google Benchmark
#     are made impossible to find);
#  2. the release build installs exactly the expected files into a temporary
#     prefix, and the launcher, the metadata, the icons and the manual page
#     pass their validators and agree on the version;
#  3. the installed program's window carries the installed icon, at every size;
#  4. the installed program's file list shows type icons from an icon theme
#     that holds only SVG icons;
#  5. it starts as a native Wayland client under a headless Weston;
#  6. `make deb`'s package holds the same files, depends on what the program
#     needs, and lintian finds no error in it;
#  7. make install, make deb, installing the package and make uninstall leave
#     the package whole and the prefix empty (as root, or with sudo).
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
weston_pid=""
package_installed=""
sudo=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
  [ -n "$package_installed" ] && $sudo apt-get purge -y -qq quillet >/dev/null 2>&1
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
cmake --build "$build" --target quillet packaging_docs -j "${JOBS:-2}" >/dev/null
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

echo "== type icons under an icon theme of SVG icons only"
# A theme named as the program's first choice, holding nothing but magenta
# SVG squares for the icons of the drives folder's rows; the file list must
# show them, which it can only through Qt's SVG icon engine.
theme=$work/svg-only/icons/breeze
mkdir -p "$theme/scalable" "$work/home"
printf '[Icon Theme]\nName=breeze\nDirectories=scalable\n\n[scalable]\nSize=48\nMinSize=8\nMaxSize=512\nType=Scalable\n' \
  >"$theme/index.theme"
for name in computer drive-harddisk user-home user-desktop folder folder-open text-x-generic; do
  echo '<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48"><rect width="48" height="48" fill="#ff00ff"/></svg>' \
    >"$theme/scalable/$name.svg"
done
env -u XDG_CURRENT_DESKTOP -u QT_QPA_PLATFORMTHEME HOME="$work/home" XDG_DATA_DIRS="$work/svg-only" \
  QT_QPA_PLATFORM=xcb "$prefix/bin/quillet" &
program_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$program_pid" | head -n 1) ||
  fail "the installed program showed no window"
magenta=0
for _ in $(seq 60); do
  # Counts the magenta pixels of the window's picture (xwd's format, 32 bits a pixel).
  magenta=$(xwd -silent -id "$window" | python3 -c '
import struct, sys
data = sys.stdin.buffer.read()
header = struct.unpack(">25I", data[:100])
size, height, bpp, line, ncolors = header[0], header[5], header[11], header[12], header[19]
assert bpp == 32, bpp
pixels = data[size + 12 * ncolors:][:line * height]
order = "<" if header[7] == 0 else ">"
print(sum(1 for (v,) in struct.iter_unpack(order + "I", pixels) if v & 0xFFFFFF == 0xFF00FF))')
  [ "$magenta" -gt 0 ] && break
  sleep 0.5
done
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=""
[ "$magenta" -gt 0 ] || fail "no type icon of the SVG-only theme shows in the file list"
echo "the file list shows the theme's SVG icons ($magenta pixels)"

echo "== the installed program as a Wayland client"
# A headless Weston; the program must connect to it as a native client (no
# XWayland here), make its window a top-level and fill it, and end with exit
# status 0 when the compositor asks the window to close. The headless back end
# has no input device: a small module of Weston's (weston-close-windows.c)
# sends every window the close request on SIGUSR1.
cc -shared -fPIC -o "$work/close-windows.so" scripts/weston-close-windows.c \
  $(pkg-config --cflags --libs libweston-10 libweston-desktop-10)
socket=quillet-check-$$
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
  --modules="$work/close-windows.so" --log="$work/weston.log" &
weston_pid=$!
for _ in $(seq 60); do
  [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
  sleep 0.5
done
[ -S "$XDG_RUNTIME_DIR/$socket" ] || { cat "$work/weston.log" >&2; fail "Weston did not start"; }
grep -q "Loading module '$work/close-windows.so'" "$work/weston.log" ||
  { cat "$work/weston.log" >&2; fail "Weston did not load the closing module"; }
env -u DISPLAY WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
  "$prefix/bin/quillet" 2>"$work/wayland.log" &
program_pid=$!
shown=""
for _ in $(seq 120); do
  # A top-level made, configured by the compositor and given a buffer.
  if grep -q 'get_toplevel(new id xdg_toplevel@' "$work/wayland.log" &&
    grep -q 'ack_configure(' "$work/wayland.log" && grep -q 'attach(wl_buffer@' "$work/wayland.log"; then
    shown=yes
    break
  fi
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.5
done
if [ -z "$shown" ]; then
  grep -v '^\[' "$work/wayland.log" >&2 || true
  fail "the installed program showed no window under Weston"
fi
kill -USR1 "$weston_pid"
for _ in $(seq 60); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.5
done
kill -0 "$program_pid" 2>/dev/null && fail "the program's window did not close when Weston asked it to"
status=0
wait "$program_pid" || status=$?
program_pid=""
kill "$weston_pid"
wait "$weston_pid" 2>/dev/null || true
weston_pid=""
grep -q 'xdg_toplevel@[0-9]*\.close()' "$work/wayland.log" || fail "Weston sent the window no close request"
[ "$status" -eq 0 ] || fail "the program ended with exit status $status when its window was closed"
title=$(sed -n 's/.*xdg_toplevel@[0-9]*\.set_title("\(.*\)")$/\1/p' "$work/wayland.log" | tail -n 1)
echo "a native Wayland window, titled \"$title\", closed by the compositor: exit status 0"

echo "== the Debian package"
(cd "$build" && cpack --config CPackConfig.cmake) >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "CPack made no package"; }
deb=$build/packages/quillet_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb"
dpkg-deb --contents "$deb" >"$work/contents"
awk '$1 !~ /^d/ { sub("^\\./usr/", "", $6); print $6 }' "$work/contents" | sort | same_files "the package"
awk '$1 !~ /^d/ && $2 != "root/root" { exit 1 }' "$work/contents" || fail "the package holds files not owned by root"
grep -q '^-rwxr-xr-x .* \./usr/bin/quillet$' "$work/contents" || fail "the program is not executable in the package"
depends=$(dpkg-deb --field "$deb" Depends)
recommends=$(dpkg-deb --field "$deb" Recommends)
# Each line of the [run] list, alternatives and all, as debian-packages.txt marks it.
while IFS= read -r line; do
  need=$(echo "${line%%#*}" | sed 's/^ *//; s/ *$//')
  case $line in
    *"# linked") field=$depends pattern="$need (>= " ;;  # dpkg-shlibdeps gives its version
    *"# recommended") field=$recommends pattern="$need," ;;
    *) field=$depends pattern="$need," ;;
  esac
  [[ ", $field," == *", $pattern"* ]] || fail "the package does not name \"$need\" as the list says: $field"
done < <(sed -n '/^\[run\]/,/^\[/{/^[a-z]/p}' scripts/debian-packages.txt)
homepage=$(sed -n 's/^QUILLET_HOMEPAGE_URL:STRING=//p' "$build/CMakeCache.txt")
[ "$(dpkg-deb --field "$deb" Homepage)" = "$homepage" ] ||
  fail "the package's Homepage is \"$(dpkg-deb --field "$deb" Homepage)\", not \"$homepage\""
mkdir "$work/deb" && dpkg-deb --extract "$deb" "$work/deb"
while read -r file; do
  [ "$file" = bin/quillet ] && continue  # stripped in the package
  cmp -s "$prefix/$file" "$work/deb/usr/$file" || fail "$file differs between the package and an installation"
done < <(expected_files)
status=0
lintian --fail-on error --info "$deb" >"$work/lintian" 2>&1 || status=$?
grep -v 'running with root privileges' "$work/lintian" || echo "lintian: no remarks"
[ "$status" -eq 0 ] || fail "lintian finds errors in $deb"
echo "$deb: $(wc -l <"$work/contents") entries"
echo "depends on: $depends"
echo "recommends: $recommends"

echo "== make install, make deb, the package installed, make uninstall"
# make deb's staging install must not make make uninstall remove the installed
# package's files, and make uninstall must take every file and folder that make
# install put under the prefix. The package is removed again afterwards.
if [ "$build" != build ]; then
  echo "skipped: make works on the folder build, not $build"
  exit 0
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! sudo -n true 2>/dev/null; then
    echo "skipped: installing a package needs root or sudo without a password"
    exit 0
  fi
  sudo="sudo -n"
fi
if dpkg-query -W -f='${Status}' quillet 2>/dev/null | grep -q 'install ok installed'; then
  echo "skipped: a quillet package is installed already, and this check would remove it"
  exit 0
fi
# Only the package itself may come in: its dependencies are all in the [run] list.
$sudo apt-get install -s --no-install-recommends "./$deb" >"$work/apt-plan" 2>&1 ||
  { cat "$work/apt-plan" >&2; fail "apt-get cannot install $deb"; }
extra=$(sed -n 's/^Inst \([^ ]*\) .*/\1/p' "$work/apt-plan" | grep -vx quillet || true)
[ -z "$extra" ] || fail "installing $deb would bring in more packages: $extra"
mkdir "$work/uninstall-prefix"
others=$(find .installs -type f 2>/dev/null | wc -l || true)
quietly() {  # runs a command, showing its output only when it fails
  "$@" >"$work/step.log" 2>&1 || { cat "$work/step.log" >&2; fail "$* failed"; }
}
quietly make -s install PREFIX="$work/uninstall-prefix"
quietly make -s deb
package_installed=yes
quietly $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "./$deb"
status=0
# As the user types it, unless other installs are recorded here: those stay.
if [ "$others" -eq 0 ]; then
  make -s uninstall >"$work/uninstall.log" || status=$?
else
  make -s uninstall PREFIX="$work/uninstall-prefix" >"$work/uninstall.log" || status=$?
fi
changed=$(dpkg -V quillet || true)
left=$(cd "$work/uninstall-prefix" && find . -mindepth 1)
quietly $sudo env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq quillet
package_installed=""
sudo=""
[ "$status" -eq 0 ] || { cat "$work/uninstall.log" >&2; fail "make uninstall failed"; }
[ -z "$changed" ] || fail "make uninstall changed the installed package: $changed"
[ -z "$left" ] || fail "make uninstall left in the prefix: $left"
echo "the package is whole and the prefix empty after make uninstall ($(grep -c removed "$work/uninstall.log") removals)"
