#!/usr/bin/env bash
# Builds everything with the address and undefined-behaviour sanitizers
# (clang) into build-san/ and runs every test there (the sanitize presets):
# any report stops the test that caused it and fails it, leaks included.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TARVO_PRESET=sanitize "$here/tools/setup.sh"
cd "$here"
ctest --preset sanitize ${TARVO_BUILD_DIR:+--test-dir "$TARVO_BUILD_DIR"} "$@"
