#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TARVO_BUILD_DIR:-$here/build}"
"$here/tools/setup.sh"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
"$here/tools/package-check.sh"
