#!/usr/bin/env bash
# Builds the Debian package and checks it as CI does: its contents, its
# control fields, both programs and tarvoctl run from an unpacked copy with
# --version and --help (no display), an unknown option, and the menu entries
# and AppStream metainfo against their validators when those are installed.
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
for lib in libqt6widgets6 libqt6serialport6 libqt6charts6 libc6 qt6-qpa-plugins; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no maintainer"
[ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "no description"

contents="$(dpkg-deb -c "$deb" | awk '{print $NF}')"
expected=(
  ./usr/bin/TarvoV43 ./usr/bin/TarvoTempCompV43 ./usr/bin/tarvoctl ./usr/bin/sensorsim
  ./usr/share/doc/tarvo/README.md
)
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
stray="$(grep -v -e '^./usr/bin/' -e '^./usr/share/' -e '^./usr/$' -e '^./$' <<<"$contents" || true)"
[ -z "$stray" ] || fail "files outside /usr/bin and /usr/share: $stray"

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
run "$bin/sensorsim" --help >/dev/null || fail "sensorsim --help"
[ ! -e "$tmp/config" ] || fail "--help or --version created $tmp/config"
[ "$(ls "$bin" | tr '\n' ' ')" = "TarvoTempCompV43 TarvoV43 sensorsim tarvoctl " ] || fail "files appeared beside the programs"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$tmp"/root/usr/share/applications/*.desktop
else
  echo "package-check: desktop-file-validate not installed, skipped"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$tmp"/root/usr/share/metainfo/*.metainfo.xml
else
  echo "package-check: appstreamcli not installed, skipped"
fi
echo "package-check: passed"
