#!/usr/bin/env bash
# Builds the .deb from the build tree given as $1 and checks what a packager
# and a desktop user meet: lintian with no error and no warning, the control
# fields, the files and where they go, a valid desktop entry that file
# managers offer for TeX sources, AppStream metadata that validates, and
# dependencies that cover every library the program links.
set -uo pipefail
BUILD=$(cd "${1:?build folder}" && pwd)
SRC=$(cd "$(dirname "$0")/../.." && pwd)
tmp=$(mktemp -d "${TMPDIR:-/tmp}/mirvan-deb.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$tmp" && cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1) \
  || { cat "$tmp/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$tmp"/out/mirvan_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || fail "no .deb built"
echo "built ${deb##*/}"

# Debian's own checks: the copyright file, the changelog, the manual pages,
# the icons' sizes and the rest. Any error or warning fails; the
# informational tags are shown.
lintian --display-info --fail-on error,warning "$deb" >"$tmp/lintian.log" 2>&1
lintian_status=$?
grep -v 'running with root privileges' "$tmp/lintian.log" >&2
[ $lintian_status = 0 ] && ! grep -q '^[EW]: ' "$tmp/lintian.log" || fail "lintian reports errors or warnings"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = mirvan ] || fail "Package: $(field Package)"
version=$(sed -n 's/^project(Mirvan VERSION \([0-9.]*\).*/\1/p' "$SRC/CMakeLists.txt")
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), want $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture: $(field Architecture)"

# Every package named in Depends and Recommends exists in Debian; the ones
# the program cannot start without are in Depends.
names() { tr ',|' '\n\n' | sed 's/(.*)//; s/^ *//; s/ *$//' | grep -v '^$' | sort -u; }
depends=$(field Depends | names)
recommends=$(field Recommends | names)
for p in libqt6widgets6 libqt6gui6 libqt6core6 libglib2.0-0; do
  grep -qx "$p" <<<"$depends" || fail "Depends lacks $p: $(field Depends)"
done
for p in texlive-lang-japanese texlive-latex-base texlive-binaries xdg-utils; do
  grep -qx "$p" <<<"$recommends" || fail "Recommends lacks $p: $(field Recommends)"
done
for p in $depends $recommends; do
  apt-cache show --no-all-versions "$p" >/dev/null 2>&1 || fail "no Debian package $p"
done

# apt can install it here: every dependency resolves (simulated, nothing
# changes). The simulation reads a copy of the package status without any
# mirvan in it, so an installed mirvan makes no difference to the answer.
awk 'BEGIN { RS = ""; ORS = "\n\n" } $0 !~ /(^|\n)Package: mirvan\n/' /var/lib/dpkg/status >"$tmp/status"
apt-get install -s --no-install-recommends -o Dir::State::status="$tmp/status" "$deb" >"$tmp/apt.log" 2>&1 \
  || { cat "$tmp/apt.log" >&2; fail "apt-get cannot install the package"; }
grep -q '^Inst mirvan ' "$tmp/apt.log" || { cat "$tmp/apt.log" >&2; fail "apt-get would not install mirvan"; }

dpkg-deb -x "$deb" "$tmp/root" || fail "dpkg-deb -x"
root=$tmp/root
contents=$(cd "$root" && find . -type f -o -type l | sort)
echo "$contents"
bin=$root/usr/bin/mirvan
[ -x "$bin" ] || fail "no executable usr/bin/mirvan"
file -b "$bin" | grep -q '^ELF' || fail "usr/bin/mirvan is not an ELF program"
desktop=$root/usr/share/applications/mirvan.desktop
[ -f "$desktop" ] || fail "no desktop entry"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=mirvan-desktop %f' "$desktop" || fail "the desktop entry does not start the launcher with the file"
[ -x "$root/usr/bin/mirvan-desktop" ] || fail "no executable usr/bin/mirvan-desktop"
icon=$root/usr/share/icons/hicolor/scalable/apps/mirvan.svg
[ -f "$icon" ] || fail "no hicolor icon"
grep -q '<svg' "$icon" || fail "the icon is not SVG"
grep -qx 'Icon=mirvan' "$desktop" || fail "the desktop entry names another icon"
if [ -f "$SRC/docs/manual.html" ]; then
  cmp -s "$SRC/docs/manual.html" "$root/usr/share/doc/mirvan/manual.html" || fail "user manual missing"
fi
# PNG icons beside the SVG, each as large as its folder says.
for size in 16 32 48 64 128 256; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/mirvan.png
  file -b "$png" | grep -q "^PNG image data, $size x $size," || fail "no ${size}px PNG icon: $(file -b "$png")"
done
for page in mirvan mirvan-desktop; do
  [ -f "$root/usr/share/man/man1/$page.1.gz" ] || fail "no manual page for $page"
done
grep -qx 'License: BSD-3-Clause' "$root/usr/share/doc/mirvan/copyright" || fail "the copyright file names no licence"

# AppStream: the metadata validates together with the desktop entry and
# icons it refers to, belongs to this version and shows the screenshot.
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml 2>/dev/null)
[ "$(wc -w <<<"$metainfo")" = 1 ] || fail "want one AppStream file, have: $metainfo"
appstreamcli validate-tree --no-net --strict --pedantic "$root" >&2 || fail "appstreamcli validate-tree"
grep -q "<release version=\"$version\"" "$metainfo" || fail "AppStream metadata without a release $version"
grep -q '<image[^>]*>https://[^<]*/docs/screenshot\.png</image>' "$metainfo" || fail "AppStream metadata without the screenshot"

stray=$(grep -Ev '^\./usr/(bin/mirvan|bin/mirvan-desktop|share/applications/|share/icons/hicolor/|share/doc/mirvan/|share/man/man1/|share/metainfo/)' <<<"$contents")
[ -z "$stray" ] || fail "unexpected files: $stray"

# Every shared library the program links, or loads by name when it needs
# it, comes from a package that Depends names (or from the C/C++ runtime
# every Debian system has).
loaded=$(strings -a "$bin" | grep -E '^lib[A-Za-z0-9_.+-]+\.so\.[0-9]+$' | sort -u)
[ -n "$loaded" ] || fail "no library loaded by name (GIO) found in the program"
for lib in $(readelf -d "$bin" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p') $loaded; do
  path=$(ldconfig -p | awk -v l="$lib" '$1 == l { print $NF; exit }')
  [ -n "$path" ] || fail "cannot resolve $lib"
  pkg=$(dpkg -S "$(realpath "$path")" 2>/dev/null | head -n1 | cut -d: -f1)
  [ -n "$pkg" ] || pkg=$(dpkg -S "$path" 2>/dev/null | head -n1 | cut -d: -f1)
  case "$pkg" in libc6|libgcc-s1|libstdc++6) continue ;; esac
  grep -qx "$pkg" <<<"$depends" || fail "$lib comes from $pkg, which Depends does not name"
done

# Installed beside a desktop's editors, Mirvan is nobody's default for TeX
# sources (the desktop database is updated as dpkg's trigger does it; GIO
# counts only entries whose program is on PATH).
update-desktop-database "$root/usr/share/applications" || fail "update-desktop-database"
offered=$(PATH=$root/usr/bin:$PATH XDG_DATA_HOME=$tmp/none XDG_DATA_DIRS=$root/usr/share:/usr/share gio mime text/x-tex 2>&1)
if grep -q 'mirvan.desktop' <<<"$offered"; then fail "mirvan.desktop is offered as a handler of text/x-tex: $offered"; fi
echo "PASS: ${deb##*/}"
