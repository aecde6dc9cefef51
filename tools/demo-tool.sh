#!/usr/bin/env bash
# Builds, starts the simulated colour sensor and starts TarvoTempCompV43
# connected to it. The tool starts with the last connection that answered,
# serial port 1 the first time; the demo forgets the last one, and port 1 is
# made the simulator's pseudo-terminal (TARVO_SERIAL_PORT_1). The simulator
# also listens on TCP loopback for a connection through the interface panel. The demo runs from its own folder
# (build/demo-tool), so the server history beside your own copy of the tool
# is left alone.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TARVO_BUILD_DIR:-$here/build}"
"$here/tools/setup.sh" --target TarvoTempCompV43 sensorsim

demo="$build/demo-tool"
mkdir -p "$demo"
cp -f "$build/bin/TarvoTempCompV43" "$demo/TarvoTempCompV43"

. "$here/tools/simulator.sh"
start_simulator "$demo" --colour --pty --baud-pacing --eeprom "$demo/sensor-eeprom.txt"
# The server field's drop-down offers the simulator's address (one record:
# the text padded with zero bytes to 100, then a line end).
if [ ! -e "$demo/IPComboBox.cfg" ]; then
  { printf '127.0.0.1'; head -c 91 /dev/zero; printf '\n'; } > "$demo/IPComboBox.cfg"
fi
# The last connection is the [connection] group of the tool's session file.
if [ -e "$demo/TarvoTempCompV43.ini" ]; then
  sed -i '/^\[connection\]$/,/^$/d' "$demo/TarvoTempCompV43.ini"
fi
echo "Simulated colour sensor: serial port 1 = $pty, TCP/IP 127.0.0.1 port $port (log: $demo/sensorsim.log)"
TARVO_SERIAL_PORT_1="$pty" "$demo/TarvoTempCompV43"
