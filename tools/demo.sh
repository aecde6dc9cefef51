#!/usr/bin/env bash
# Builds, starts the simulated sensor on TCP loopback and starts TarvoV43
# connected to it. The demo runs from its own folder (build/demo), so the
# settings you saved beside your own TarvoV43 are left alone.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TARVO_BUILD_DIR:-$here/build}"
"$here/tools/setup.sh" --target TarvoV43 sensorsim

demo="$build/demo"
mkdir -p "$demo"
cp -f "$build/bin/TarvoV43" "$demo/TarvoV43"

. "$here/tools/simulator.sh"
start_simulator "$demo" --eeprom "$demo/sensor-eeprom.txt"
printf '1\n1\n127.0.0.1\n%s\n' "$port" > "$demo/ComSettings.cfg"
echo "Simulated sensor on 127.0.0.1:$port (log: $demo/sensorsim.log)"
"$demo/TarvoV43"
