#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (as root or with sudo),
# then configures and builds. Used by demo.sh, test.sh and CI.
# TARVO_SANITIZE=1 builds with clang, the address and undefined-behaviour
# sanitizers and the libFuzzer targets instead (see test-sanitized.sh).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TARVO_BUILD_DIR:-$here/build}"

# libmosquitto-dev: tarvoctl publish; mosquitto, mosquitto-clients and
# openssl: the broker, the password tool and the certificates its tests use;
# lintian and man-db: the package check.
packages=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-charts-dev
          libgl-dev qt6-qpa-plugins dpkg-dev file desktop-file-utils appstream lintian man-db
          libmosquitto-dev mosquitto mosquitto-clients openssl)
config=()
# The normal build treats warnings as errors, so a new warning fails CI;
# the sanitizer build (another compiler) only reports them.
werror="${TARVO_WERROR:-ON}"
if [ "${TARVO_SANITIZE:-0}" = 1 ]; then
  werror="${TARVO_WERROR:-OFF}"
  # libFuzzer and the sanitizer runtimes come with clang's runtime package.
  packages+=(clang libclang-rt-14-dev)
  # -O1 keeps the build and the checked runs quick; -g1 is enough for line numbers in reports.
  config=(-DCMAKE_CXX_COMPILER=clang++ -DTARVO_SANITIZE=ON -DTARVO_LIBFUZZER=ON -DTARVO_BUILD_BENCH=OFF
          "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1")
fi
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

launcher=()
# ccache, where present, makes rebuilds of several build folders cheap.
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE="${TARVO_BUILD_TYPE:-RelWithDebInfo}" -DTARVO_WERROR="$werror" "${launcher[@]}" "${config[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" "$@"
