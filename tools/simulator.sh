# Sourced by the demo scripts: starts the simulated sensor in the background,
# logging to $1/sensorsim.log, and waits until it reports where it listens.
# Sets: sim (its process id), port (TCP), pty (pseudo-terminal, when asked
# for with --pty). The sensor is stopped when the calling script exits.
start_simulator() {
  local demo="$1"; shift
  local log="$demo/sensorsim.log"
  "$build/bin/sensorsim" --tcp-port 0 "$@" >"$log" 2>&1 &
  sim=$!
  trap 'kill $sim 2>/dev/null || true' EXIT
  port="" pty=""
  local want_pty=0
  for a in "$@"; do [ "$a" = "--pty" ] && want_pty=1; done
  for _ in $(seq 1 100); do
    port="$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9][0-9]*\).*/\1/p' "$log" | head -n1)"
    pty="$(sed -n 's/.*pseudo-terminal: \(.*\)$/\1/p' "$log" | head -n1)"
    if [ -n "$port" ] && { [ $want_pty -eq 0 ] || [ -n "$pty" ]; }; then return 0; fi
    kill -0 $sim 2>/dev/null || { cat "$log"; echo "the simulated sensor did not start" >&2; exit 1; }
    sleep 0.1
  done
  echo "the simulated sensor did not report where it listens (log: $log)" >&2
  exit 1
}
