#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over the project's own sources with every
# warning an error: the files of the dev build's compile_commands.json, not
# the generated ones (moc, uic, resources) nor anything in a build folder;
# headers count when they are the project's. Two jobs, at low priority.
#   bash tools/tidy.sh                 # every source
#   bash tools/tidy.sh link/ protocol/  # those whose path contains one of these
# Needs the dev build (tools/setup.sh) for compile_commands.json and the
# generated headers. clang-tidy 14 (Debian 12) is the reference.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TARVO_BUILD_DIR:-$here/build}"
runner="$(command -v run-clang-tidy-14 || command -v run-clang-tidy || true)"
[ -n "$runner" ] || { echo "tidy.sh: run-clang-tidy is not installed (tools/setup.sh installs clang-tidy)" >&2; exit 2; }
[ -f "$build/compile_commands.json" ] || { echo "tidy.sh: no $build/compile_commands.json; run tools/setup.sh first" >&2; exit 2; }
tidy="$(command -v clang-tidy-14 || command -v clang-tidy)"

# The files to check, as a regular expression over absolute paths (Python's):
# the project's, outside every build folder, optionally narrowed.
files="^$here/(?!build)"
if (($#)); then
  files="$files.*($(printf '%s|' "$@" | sed 's/|$//'))"
fi
# Headers are reported where they are the project's own: one folder down
# (link/link.h) or two under tests/ (tests/scope/scopefixture.h); the build
# folders' generated headers lie deeper or elsewhere.
headers="^$here/([a-z]+|tests/[a-z]+)/[^/]*\.h$"

nice -n 10 "$runner" -clang-tidy-binary "$tidy" -p "$build" -j 2 -quiet -header-filter="$headers" "$files"
