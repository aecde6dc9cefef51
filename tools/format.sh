#!/usr/bin/env bash
# Formats every C++ file of the project (sources, headers, tests, benchmarks,
# fuzz targets; not the build folders) with .clang-format.
#   bash tools/format.sh           # rewrite the files in place
#   bash tools/format.sh --check   # change nothing; name every file that
#                                  # differs and fail if there is one
# clang-format 14 (Debian 12) is the reference: another version may format
# some lines differently. CLANG_FORMAT names another binary.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
tool="${CLANG_FORMAT:-$(command -v clang-format-14 || command -v clang-format || true)}"
[ -n "$tool" ] || { echo "format.sh: clang-format is not installed (tools/setup.sh installs it)" >&2; exit 2; }

# The files git knows and new ones it does not ignore; without git, every
# file outside the build folders.
list() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h'
  else
    find . -path './build*' -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0
  fi
}

case "${1:-}" in
  "")
    list | xargs -0 -r -P2 -n 20 "$tool" -i --style=file ;;
  --check)
    # --Werror turns each file that would change into an error that names it.
    if ! list | xargs -0 -r -P2 -n 20 "$tool" --dry-run --Werror --style=file; then
      echo "format.sh: files above do not follow .clang-format; bash tools/format.sh rewrites them" >&2
      exit 1
    fi ;;
  *)
    echo "usage: tools/format.sh [--check]" >&2
    exit 2 ;;
esac
