#!/usr/bin/env bash
# The programs' translations (translations/*.ts, Qt Linguist files).
#   bash tools/translations.sh           # bring the .ts files up to date with the
#                                        # source (lupdate): new texts come in unfinished,
#                                        # texts gone from the source go; then translate
#                                        # them with Qt Linguist (linguist translations/tarvo_de.ts)
#   bash tools/translations.sh --check   # change nothing; fail when a text of the source is
#                                        # missing from a .ts file or has no finished translation
# Needs a configured dev build (build/, or TARVO_BUILD_DIR).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
build="${TARVO_BUILD_DIR:-build}"
[ -f "$build/build.ninja" ] || { echo "translations.sh: configure the build first (cmake --preset dev)" >&2; exit 2; }

case "${1:-}" in
  "")
    cmake --build "$build" --target update_translations ;;
  --check)
    saved="$(mktemp -d)"
    cp translations/*.ts "$saved/"
    restore() { cp "$saved"/*.ts translations/; rm -rf "$saved"; }
    trap restore EXIT
    cmake --build "$build" --target update_translations >/dev/null
    status=0
    for ts in translations/*.ts; do
      name="$(basename "$ts")"
      if ! cmp -s "$ts" "$saved/$name"; then
        echo "$ts is not up to date with the source (bash tools/translations.sh, then translate what is new):"
        diff -u "$saved/$name" "$ts" | grep -E '^[-+] *<source>' | head -20
        status=1
      fi
      unfinished=$(grep -c 'type="unfinished"' "$ts" || true)
      if [ "$unfinished" -gt 0 ]; then
        echo "$ts: $unfinished text(s) without a finished translation:"
        grep -B2 'type="unfinished"' "$ts" | grep '<source>' | head -20
        status=1
      fi
    done
    [ "$status" -eq 0 ] && echo "translations: every text of the source has a finished translation"
    exit "$status" ;;
  *)
    echo "usage: $0 [--check]" >&2; exit 2 ;;
esac
