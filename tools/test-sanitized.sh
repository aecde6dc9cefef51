#!/usr/bin/env bash
# Builds everything with the address and undefined-behaviour sanitizers
# (clang) into build-san/ and runs every test there: any report stops the
# test that caused it and fails it, leaks included.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export TARVO_BUILD_DIR="${TARVO_BUILD_DIR:-$here/build-san}"
TARVO_SANITIZE=1 "$here/tools/setup.sh"
. "$here/tools/sanitizer-env.sh"
cd "$TARVO_BUILD_DIR"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@"
