#!/usr/bin/env bash
# Builds everything and runs every test (the dev presets), then builds and
# checks the package.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/tools/setup.sh"
cd "$here"
ctest --preset dev ${TARVO_BUILD_DIR:+--test-dir "$TARVO_BUILD_DIR"}
"$here/tools/package-check.sh"
