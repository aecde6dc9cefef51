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

log="$demo/sensorsim.log"
"$build/bin/sensorsim" --tcp-port 0 --eeprom "$demo/sensor-eeprom.bin" >"$log" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
port=""
for _ in $(seq 1 100); do
  port="$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9][0-9]*\).*/\1/p' "$log" | head -n1)"
  [ -n "$port" ] && break
  kill -0 $sim 2>/dev/null || { cat "$log"; echo "the simulated sensor did not start" >&2; exit 1; }
  sleep 0.1
done
[ -n "$port" ] || { echo "the simulated sensor did not report its port" >&2; exit 1; }
printf '1\n1\n127.0.0.1\n%s\n' "$port" > "$demo/ComSettings.cfg"
echo "Simulated sensor on 127.0.0.1:$port (log: $log)"
"$demo/TarvoV43"
