#!/usr/bin/env bash
# Retakes the user guide's pictures (docs/guide/*.png, or into the folder
# given) from the programs as they are now: builds them, starts the simulated
# sensor and has tests/support/guidepictures.cpp walk through the panels the
# guide shows, under the offscreen platform on a 1366x768 screen.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TARVO_BUILD_DIR:-$here/build}"
out="$(cd "${1:-$here/docs/guide}" && pwd)"
"$here/tools/setup.sh" --target guide_pictures_scope guide_pictures_tool sensorsim

# A fixed folder: the recorder's picture shows the record file's path.
work="${TMPDIR:-/tmp}/tarvo-guide"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
. "$here/tools/simulator.sh"
export QT_QPA_PLATFORM="offscreen:configfile=$here/tests/support/screen.json"
export QT_LOGGING_RULES='qt.qpa.*=false'
# The calibration log the walk writes goes to the work folder, not the user's.
export XDG_DATA_HOME="$work/data"

take() {  # take scope|tool [simulator options]
  local program="$1"; shift
  mkdir -p "$work/$program"
  start_simulator "$work/$program" --eeprom "$work/$program/sensor-eeprom.txt" "$@"
  trap 'kill "$sim" 2>/dev/null || true; rm -rf "$work"' EXIT
  local rc=0
  # The offscreen platform's notes on what it cannot do (raise a window …) are left out.
  "$build/bin/guide_pictures_$program" "$work/$program" "$port" "$out" 2> >(grep -v -e 'This plugin does not support' -e XDG_RUNTIME_DIR >&2) || rc=$?
  kill "$sim" 2>/dev/null || true
  wait "$sim" 2>/dev/null || true
  trap 'rm -rf "$work"' EXIT
  [ $rc -eq 0 ] || { echo "guide_pictures_$program failed ($rc)" >&2; exit $rc; }
}
take scope --part-rate 25
take tool --colour
echo "Pictures written to $out; look at each before committing."
