#!/usr/bin/env bash
# Long unattended run: tarvoctl record, tarvoctl publish and TarvoV43, each on
# its own simulated sensor sending 30 frames a second, with a fault on every
# sensor every minute (connection dropped, sensor away, line quiet, reboot).
# Prints the resident memory of each process at intervals and, at the end,
# the frames sent, recorded and lost per process.
#
#   bash bench/soak.sh [--minutes 120] [--every 5] [--rate 30] [--fault-every 60]
#                      [--bin build/bin] [--out /tmp/tarvo-soak] [--port 24100] [--display :14]
#                      [--no-scope | --only-scope] [--scope-bin DIR]
#
# Needs mosquitto and mosquitto_sub (Debian: mosquitto, mosquitto-clients);
# the scope needs Xvfb and xdotool (it runs its live loop, F11) and is left
# out without them. The figures also go to OUT/soak.txt.
set -u

minutes=120
every=5
rate=30
fault_every=60
bin="$(cd "$(dirname "$0")/.." && pwd)/build/bin"
out=/tmp/tarvo-soak
port=24100
display=:14
scope=1
only_scope=0
scope_bin=
while [ $# -gt 0 ]; do
    case "$1" in
    --minutes) minutes=$2; shift ;;
    --every) every=$2; shift ;;
    --rate) rate=$2; shift ;;
    --fault-every) fault_every=$2; shift ;;
    --bin) bin=$2; shift ;;
    --out) out=$2; shift ;;
    --port) port=$2; shift ;;
    --display) display=$2; shift ;;
    --no-scope) scope=0 ;;
    --only-scope) only_scope=1 ;;
    --scope-bin) scope_bin=$2; shift ;;
    -h | --help) sed -n '2,16p' "$0"; exit 0 ;;
    *) echo "soak.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift
done
if [ "$scope" = 1 ] && ! { command -v Xvfb && command -v xdotool; } >/dev/null; then
    echo "soak.sh: no Xvfb or xdotool: the scope is left out" >&2
    scope=0
fi

mkdir -p "$out"
rm -rf "${out:?}"/*
seconds=$((minutes * 60))
broker=$((port))
sims=(record publish scope)
[ "$only_scope" = 1 ] && sims=(scope)
declare -A simport=([record]=$((port + 1)) [publish]=$((port + 2)) [scope]=$((port + 3)))
pids=()
report="$out/soak.txt"
say() { echo "$*" | tee -a "$report"; }

cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The broker on its own port, and a subscriber that counts what arrives.
printf 'listener %d 127.0.0.1\nallow_anonymous true\npersistence false\n' "$broker" >"$out/mosquitto.conf"
mosquitto -c "$out/mosquitto.conf" >"$out/mosquitto.log" 2>&1 &
pids+=($!)

# The sensors: each reads its faults from a pipe.
for s in "${sims[@]}"; do
    [ "$s" = scope ] && [ "$scope" = 0 ] && continue
    mkfifo "$out/$s.console"
    "$bin/sensorsim" --tcp-port "${simport[$s]}" --part-rate "$rate" --quiet --no-eeprom-file --console \
        <"$out/$s.console" >"$out/$s-sim.log" 2>&1 &
    pids+=($!)
    exec {fd}>"$out/$s.console"
    eval "console_$s=$fd"
done
sleep 1
mosquitto_sub -p "$broker" -h 127.0.0.1 -q 1 -t 'tarvo/soak/values' >"$out/delivered.txt" 2>"$out/sub.err" &
pids+=($!)
sleep 0.5

record_pid=
publish_pid=
if [ "$only_scope" = 0 ]; then
    "$bin/tarvoctl" --tcp "127.0.0.1:${simport[record]}" record --triggered --reconnect --seconds "$seconds" \
        -o "$out/record.dat" 2>"$out/record.err" &
    record_pid=$!
    pids+=($record_pid)
    "$bin/tarvoctl" --tcp "127.0.0.1:${simport[publish]}" publish --broker "127.0.0.1:$broker" --name soak \
        --triggered --reconnect --seconds "$seconds" --spool "$out/spool" 2>"$out/publish.err" &
    publish_pid=$!
    pids+=($publish_pid)
fi
scope_pid=
if [ "$scope" = 1 ]; then
    Xvfb "$display" -screen 0 1600x1200x24 >"$out/xvfb.log" 2>&1 &
    pids+=($!)
    sleep 1
    mkdir -p "$out/scope"
    cp "${scope_bin:-$bin}/TarvoV43" "$out/scope/"  # its settings files stay beside this copy
    DISPLAY=$display "$out/scope/TarvoV43" --tcp "127.0.0.1:${simport[scope]}" --reconnect >"$out/scope.log" 2>&1 &
    scope_pid=$!
    pids+=($scope_pid)
    sleep 5
    win=$(DISPLAY=$display xdotool search --pid "$scope_pid" --onlyvisible --name . | head -1)
    DISPLAY=$display xdotool windowfocus --sync "$win" key F11 2>>"$out/xdotool.err"
fi

rss() { awk '/VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$1/status" 2>/dev/null || echo -; }
sample() {
    local t=$1
    local line
    line=$(printf '%4d min  RSS MB: record %s  publish %s' "$t" "$(rss "$record_pid")" "$(rss "$publish_pid")")
    [ -n "$scope_pid" ] && line+="  scope $(rss "$scope_pid")"
    line+=$(printf '   lines %s  delivered %s' "$(($(wc -l <"$out/record.dat" 2>/dev/null || echo 1) - 1))" \
        "$(wc -l <"$out/delivered.txt")")
    say "$line"
}
fault() {
    local n=$1 f
    case $((n % 4)) in
    0) f="drop" ;;
    1) f="away 3" ;;
    2) f="mute 15" ;;  # the line check after 10 s quiet
    3) f="reboot" ;;
    esac
    for s in "${sims[@]}"; do
        [ "$s" = scope ] && [ "$scope" = 0 ] && continue
        eval "echo \"$f\" >&\$console_$s"
    done
    echo "$(date +%T) $f" >>"$out/faults.log"
}

say "soak: $minutes min, $rate frames/s, a fault every $fault_every s; figures in $report"
start=$(date +%s)
next_sample=0
next_fault=$fault_every
faults=0
while :; do
    now=$(($(date +%s) - start))
    [ "$now" -ge "$seconds" ] && break
    kill -0 "${record_pid:-$scope_pid}" 2>/dev/null || kill -0 "${publish_pid:-$scope_pid}" 2>/dev/null || break
    if [ "$now" -ge "$next_sample" ]; then
        sample $((now / 60))
        next_sample=$((next_sample + every * 60))
    fi
    if [ "$now" -ge "$next_fault" ]; then
        fault "$faults"
        faults=$((faults + 1))
        next_fault=$((next_fault + fault_every))
    fi
    sleep 1
done
sample $(($(($(date +%s) - start)) / 60))

# The end of the run, then the frames each sensor sent.
if [ "$only_scope" = 0 ]; then
    wait "$record_pid"
    echo "record exit $?" >>"$report"
    wait "$publish_pid"
    echo "publish exit $?" >>"$report"
fi
for s in "${sims[@]}"; do
    [ "$s" = scope ] && [ "$scope" = 0 ] && continue
    eval "echo count >&\$console_$s"
done
sleep 1
[ -n "$scope_pid" ] && kill "$scope_pid" 2>/dev/null
sleep 0.5
sent() { grep -o 'automatic frames sent [0-9]*' "$out/$1-sim.log" | tail -1 | awk '{print $4}'; }
lines=$(($(wc -l <"$out/record.dat") - 1))
delivered=$(wc -l <"$out/delivered.txt")
rs=$(sent record)
ps=$(sent publish)
say "faults: $faults"
if [ "$only_scope" = 0 ]; then
    say "record:  sent ${rs:-?}  recorded $lines  lost $((${rs:-0} - lines))  (events: $(wc -l <"$out/record.dat.events" 2>/dev/null || echo 0))"
    say "publish: sent ${ps:-?}  delivered $delivered  lost $((${ps:-0} - delivered))"
fi
[ -n "$scope_pid" ] && say "scope:   live loop (GO), see $out/scope.log"
grep -h -i 'lost\|warn' "$out/record.err" "$out/publish.err" | grep -v 'LOST\|BACK\|RESUMED' | tail -5
