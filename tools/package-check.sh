#!/usr/bin/env bash
# Builds the Debian package and checks it as CI does: its contents, its
# control fields, both programs, tarvoctl and sensorsim run from an unpacked
# copy with --version and --help (no display), an unknown option, the
# publishing service (its unit, user and maintainer scripts; systemd-analyze
# verify and its security exposure of 2.5 or better when systemd is there), the user guide (every page there in English and
# German, not empty, every link, picture and #place resolves), the man pages (each renders with man -l,
# without warnings), the installed README, the menu entries and AppStream
# metainfo against their validators, and the whole package against lintian
# (no errors).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TARVO_BUILD_DIR:-$here/build}"

fail() { echo "package-check: $*" >&2; exit 1; }

rm -f "$build"/tarvo_*.deb
cmake --build "$build" -j"$(nproc)" --target package >/dev/null
deb="$(ls "$build"/tarvo_*.deb)"
echo "package-check: $deb"

version="$(dpkg-deb -f "$deb" Version)"
[[ "$version" =~ ^4\.3\.[0-9]+$ ]] || fail "version $version is not 4.3.x"
depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libqt6widgets6 libqt6serialport6 libqt6charts6 libmosquitto1 libc6 qt6-qpa-plugins; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no maintainer"
[ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "no description"

contents="$(dpkg-deb -c "$deb" | awk '{print $NF}')"
expected=(
  ./usr/bin/TarvoV43 ./usr/bin/TarvoTempCompV43 ./usr/bin/tarvoctl ./usr/bin/sensorsim
  ./usr/share/doc/tarvo/README.md ./usr/share/doc/tarvo/copyright ./usr/share/doc/tarvo/changelog.gz
  ./usr/lib/systemd/system/tarvoctl-publish@.service ./usr/lib/sysusers.d/tarvo.conf
  ./usr/share/doc/tarvo/examples/publish-line3.conf
)
# Every file of the guide (the German pages in de/ among them) and every man page of the source tree.
while IFS= read -r page; do
  expected+=(./usr/share/tarvo/guide/"${page#"$here"/docs/guide/}")
done < <(find "$here"/docs/guide -type f)
for page in "$here"/packaging/man/*.1; do
  expected+=(./usr/share/man/man1/"$(basename "$page")".gz)
done
for program in TarvoV43 TarvoTempCompV43 sensorsim; do
  expected+=(./usr/share/man/man1/$program.1.gz)
done
for id in com.tarvo.TarvoV43 com.tarvo.TarvoTempCompV43; do
  expected+=(./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml
             ./usr/share/icons/hicolor/scalable/apps/$id.svg)
  for size in 16 24 32 48 64 128 256; do
    expected+=(./usr/share/icons/hicolor/${size}x${size}/apps/$id.png)
  done
done
for f in "${expected[@]}"; do
  grep -qx -- "$f" <<<"$contents" || fail "missing $f"
done
desktop_entries="$(grep -c '^./usr/share/applications/.*\.desktop$' <<<"$contents")"
[ "$desktop_entries" -eq 2 ] || fail "$desktop_entries desktop entries, wanted two (none for the simulator)"
stray="$(grep -v -e '^./usr/bin/' -e '^./usr/share/' -e '^./usr/lib/$' -e '^./usr/lib/systemd/$' -e '^./usr/lib/systemd/system/' \
  -e '^./usr/lib/sysusers.d/' -e '^./usr/$' -e '^./$' <<<"$contents" || true)"
[ -z "$stray" ] || fail "files outside /usr/bin, /usr/share and the service's places: $stray"

tmp="$(mktemp -d)"
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
dpkg-deb -x "$deb" "$tmp/root"
bin="$tmp/root/usr/bin"
# No display and a fresh configuration folder: nothing may need either.
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$tmp/config" "$@"; }
for program in TarvoV43 TarvoTempCompV43; do
  [ "$(run "$bin/$program" --version)" = "$program $version" ] || fail "$program --version"
  help="$(run "$bin/$program" --help)" || fail "$program --help exit code"
  grep -q -- "--version" <<<"$help" || fail "$program --help lists no options"
  [[ "$(head -n1 <<<"$help")" == "Usage: $program "* ]] || fail "$program --help: usage line $(head -n1 <<<"$help")"
  grep -qx "StartupWMClass=$program" "$tmp/root/usr/share/applications/com.tarvo.$program.desktop" \
    || fail "the menu entry of $program lacks StartupWMClass=$program"
  # An installed copy keeps its settings in the user's folder, never beside itself.
  grep -qF "$tmp/config/Tarvo/$program" <<<"$help" || fail "$program --help does not name the user's folder: $help"
  set +e
  error="$(run "$bin/$program" --no-such-option 2>&1 >/dev/null)"
  code=$?
  set -e
  [ "$code" -eq 2 ] || fail "$program with an unknown option ended with $code, wanted 2"
  [ "$(wc -l <<<"$error")" -eq 1 ] || fail "$program: error is not one line: $error"
done
grep -qF -- "--tcp HOST[:PORT]" <<<"$(run "$bin/TarvoV43" --help)" || fail "TarvoV43 --help lacks --tcp"
# tarvoctl reads the scope's saved connection where the installed scope keeps it.
[ "$(run "$bin/tarvoctl" --version)" = "tarvoctl $version" ] || fail "tarvoctl --version"
grep -qF "$tmp/config/Tarvo/TarvoV43/ComSettings.cfg" <<<"$(run "$bin/tarvoctl" --help)" \
  || fail "tarvoctl --help does not name the scope's settings in the user's folder"
set +e
run "$bin/tarvoctl" --no-such-option 2>/dev/null
code=$?
set -e
[ "$code" -eq 2 ] || fail "tarvoctl with an unknown option ended with $code, wanted 2"
[ "$(run "$bin/sensorsim" --version)" = "sensorsim $version" ] || fail "sensorsim --version"
[[ "$(run "$bin/sensorsim" --help | head -n1)" == "Usage: sensorsim "* ]] || fail "sensorsim --help: usage line"
[ ! -e "$tmp/config" ] || fail "--help or --version created $tmp/config"
[ "$(ls "$bin" | tr '\n' ' ')" = "TarvoTempCompV43 TarvoV43 sensorsim tarvoctl " ] || fail "files appeared beside the programs"
# The service: its user is made by postinst, and the unit runs tarvoctl publish.
dpkg-deb -I "$deb" postinst | grep -q "systemd-sysusers.*tarvo.conf" || fail "postinst does not make the service's user"
grep -qx "m tarvo dialout" "$tmp/root/usr/lib/sysusers.d/tarvo.conf" || fail "the service's user is not in dialout"
unit="$tmp/root/usr/lib/systemd/system/tarvoctl-publish@.service"
grep -q "^ExecStart=/usr/bin/tarvoctl .* publish .*" "$unit" || fail "the unit does not run tarvoctl publish"
grep -q "^EnvironmentFile=/etc/tarvo/publish-%i.conf$" "$unit" || fail "the unit does not read /etc/tarvo/publish-%i.conf"
if command -v systemd-analyze >/dev/null; then
  # An instance of it, running the unpacked tarvoctl.
  sed "s#/usr/bin/tarvoctl#$bin/tarvoctl#" "$unit" >"$tmp/tarvoctl-publish@line3.service"
  systemd-analyze verify --man=no "$tmp/tarvoctl-publish@line3.service" || fail "systemd-analyze verify"
  # Hardened: an exposure of 2.5 or better (0 is best, 10 worst).
  exposure="$(systemd-analyze security --offline=yes --no-pager "$tmp/tarvoctl-publish@line3.service" 2>&1 |
    sed -n 's/^→ Overall exposure level for .*: \([0-9.]*\) .*/\1/p')"
  [ -n "$exposure" ] || fail "systemd-analyze security gave no exposure level for the unit"
  awk -v e="$exposure" 'BEGIN { exit !(e <= 2.5) }' || fail "the unit's exposure level is $exposure, wanted 2.5 or better"
  echo "package-check: the service's exposure level is $exposure"
else
  echo "package-check: systemd-analyze not installed, skipped"
fi

# The user guide, in English and in German (de/, every page of the English
# one): no empty file, and every link and picture of a page, taken from the
# page's own folder, leads to a file, and its #place to an id there.
guide="$tmp/root/usr/share/tarvo/guide"
[ -s "$guide/index.html" ] || fail "the guide has no start page"
for page in "$guide"/*.html; do
  [ -s "$guide/de/$(basename "$page")" ] || fail "the German guide lacks $(basename "$page")"
done
while IFS= read -r page; do
  [ -s "$page" ] || fail "empty guide file ${page#"$guide"/}"
done < <(find "$guide" -type f)
while IFS= read -r page; do
  for link in $(grep -o -e 'href="[^":]*"' -e 'src="[^":]*"' "$page" | sed 's/^[a-z]*="//; s/"$//' | sort -u); do
    target="$page"
    [ "${link%%#*}" = "" ] || target="$(dirname "$page")/${link%%#*}"
    [ -s "$target" ] || fail "${page#"$guide"/} links to $link, which the guide lacks"
    [[ "$link" != *#* ]] || grep -q "id=\"${link#*#}\"" "$target" || fail "${page#"$guide"/} links to $link, a place ${target#"$guide"/} lacks"
  done
done < <(find "$guide" -name '*.html')
# Man pages: each renders, without warnings.
for page in "$tmp"/root/usr/share/man/man1/*.1.gz; do
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
  [ "$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null | wc -l)" -gt 10 ] || fail "$(basename "$page") renders empty"
done
# The installed README is the user's, with the programs named as installed.
readme="$tmp/root/usr/share/doc/tarvo/README.md"
! grep -n -e 'build/bin/' -e 'tools/' -e 'tests/' -e 'DEVELOPING' -e 'cmake' "$readme" ||
  fail "the installed README names build-tree paths or developer files"
grep -q '^## The programs' "$readme" || fail "the installed README lacks its user part"

for tool in desktop-file-validate appstreamcli lintian; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (tools/setup.sh installs it)"
done
desktop-file-validate "$tmp"/root/usr/share/applications/*.desktop
appstreamcli validate --no-net "$tmp"/root/usr/share/metainfo/*.metainfo.xml
# Errors fail; warnings are shown.
lintian --fail-on error "$deb"
echo "package-check: passed"
