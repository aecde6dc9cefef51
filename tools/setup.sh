#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (as root or with sudo),
# then configures with a preset of CMakePresets.json and builds. Used by
# demo.sh, test.sh and CI.
# TARVO_PRESET picks the preset: dev (the default; build/, warnings as
# errors), sanitize (build-san/: clang, the address and undefined-behaviour
# sanitizers and the libFuzzer targets, see test-sanitized.sh) or release
# (build-release/). TARVO_SANITIZE=1 is short for TARVO_PRESET=sanitize.
# TARVO_BUILD_DIR, TARVO_BUILD_TYPE and TARVO_WERROR override the preset's
# folder, build type and warnings-as-errors.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
preset="${TARVO_PRESET:-dev}"
[ "${TARVO_SANITIZE:-0}" = 1 ] && preset=sanitize

# libmosquitto-dev: tarvoctl publish; mosquitto, mosquitto-clients and
# openssl: the broker, the password tool and the certificates its tests use;
# python3-paho-mqtt: the README's historian example, tried by a test;
# lintian, man-db and systemd (systemd-analyze): the package check; clang-format and clang-tidy: the
# style and static checks (tools/format.sh, tools/tidy.sh); poppler-utils
# (pdftotext): the tests read the text of the PDF reports; ninja-build: the
# presets' generator; ccache: the compiler cache every build folder shares;
# qt6-tools-dev and qt6-l10n-tools: lupdate and lrelease for the translations;
# qt6-translations-l10n: Qt's own dialogs in German.
packages=(cmake g++ make ninja-build ccache pkg-config qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-charts-dev
          libgl-dev qt6-qpa-plugins dpkg-dev file desktop-file-utils appstream lintian man-db
          libmosquitto-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n mosquitto mosquitto-clients openssl
          python3-paho-mqtt systemd clang-format clang-tidy poppler-utils)
# libFuzzer and the sanitizer runtimes come with clang's runtime package.
[ "$preset" = sanitize ] && packages+=(clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi

config=()
[ -n "${TARVO_BUILD_DIR:-}" ] && config+=(-B "$TARVO_BUILD_DIR")
[ -n "${TARVO_BUILD_TYPE:-}" ] && config+=(-DCMAKE_BUILD_TYPE="$TARVO_BUILD_TYPE")
[ -n "${TARVO_WERROR:-}" ] && config+=(-DTARVO_WERROR="$TARVO_WERROR")
# ccache makes rebuilds of several build folders cheap. Paths under the
# checkout are hashed relative to it, and the build folder is left out of
# the hash, so clones in different folders share the cache.
if command -v ccache >/dev/null; then
  config+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$here" CCACHE_NOHASHDIR=1
fi
cd "$here"
# The presets build with Ninja; a folder configured earlier with another
# generator is configured anew (its objects are in ccache).
binary="${TARVO_BUILD_DIR:-$here/$(case "$preset" in dev) echo build ;; sanitize) echo build-san ;; *) echo "build-$preset" ;; esac)}"
if [ -f "$binary/CMakeCache.txt" ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$binary/CMakeCache.txt"; then
  rm -rf "$binary/CMakeCache.txt" "$binary/CMakeFiles"
fi
cmake --preset "$preset" "${config[@]}" >/dev/null
if [ -n "${TARVO_BUILD_DIR:-}" ]; then
  cmake --build "$TARVO_BUILD_DIR" -j"${TARVO_JOBS:-$(nproc)}" "$@"
else
  cmake --build --preset "$preset" -j"${TARVO_JOBS:-$(nproc)}" "$@"
fi
