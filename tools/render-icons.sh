#!/usr/bin/env bash
# Renders the programs' PNG icons from their SVG drawings. The PNGs are
# committed, so a build needs no SVG renderer; run this after changing an
# SVG (needs rsvg-convert: apt-get install librsvg2-bin).
set -euo pipefail
icons="$(cd "$(dirname "${BASH_SOURCE[0]}")/../packaging/icons" && pwd)"
for program in TarvoV43 TarvoTempCompV43; do
  for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$icons/$program.svg" -o "$icons/$program-$size.png"
  done
done
