#!/usr/bin/env bash
# The README's plant set-up, run as it stands: the shell blocks marked
# "plant-setup" and the historian in Python, in order, on this machine, with
# only these changes: the machine's directories (/etc/mosquitto, /etc/tarvo,
# /var/lib, /run, /var/log) lie under a temporary directory; sudo is not
# needed (the test runs as root); the service's user tarvo is root (the
# package is not installed); the broker's host is localhost on a free port;
# "systemctl restart mosquitto" restarts the broker started here; the
# passwords are typed into mosquitto_passwd; the sensor is the simulator.
# Then it checks what the README promises: the publisher delivers over TLS
# with its password and ACL, and the historians (mosquitto_sub and paho),
# away while the value sets were published and across a restart of the
# broker, receive every one of them.
#
# Usage: plant-readme.sh README BINDIR
set -euo pipefail
readme="$1"
bin="$2"
[ "$(id -u)" -eq 0 ] || { echo "SKIP: needs root (the broker drops to the user mosquitto)"; exit 77; }
command -v mosquitto >/dev/null || [ -x /usr/sbin/mosquitto ] || { echo "SKIP: no mosquitto"; exit 77; }
id mosquitto >/dev/null 2>&1 || { echo "SKIP: no user mosquitto"; exit 77; }
PATH="$PATH:/usr/sbin"
# Debian's Python, which has Debian's python3-paho-mqtt.
py=python3
[ -x /usr/bin/python3 ] && py=/usr/bin/python3
"$py" -c 'import paho.mqtt.client' 2>/dev/null || { echo "SKIP: no python3-paho-mqtt (tools/setup.sh installs it)"; exit 77; }

root="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  # The broker writes its store as it ends: wait for it before removing its folder.
  if [ -f "$root/run/mosquitto/mosquitto.pid" ]; then
    broker="$(cat "$root/run/mosquitto/mosquitto.pid")"
    kill "$broker" 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$broker" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -rf "$root"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$root/var/log/mosquitto/mosquitto.log" ] && tail -20 "$root/var/log/mosquitto/mosquitto.log" >&2; exit 1; }
chmod 755 "$root"
port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')"

# Debian's main configuration of the broker, in the temporary root.
mkdir -p "$root/etc/mosquitto/conf.d" "$root/var/lib/mosquitto" "$root/run/mosquitto" "$root/var/log/mosquitto" \
  "$root/etc/tarvo" "$root/var/lib/tarvo-publish" "$root/home"
chown mosquitto: "$root/var/lib/mosquitto" "$root/var/log/mosquitto" "$root/run/mosquitto"
relocate() {
  sed -e "s#/etc/mosquitto#$root/etc/mosquitto#g" -e "s#/var/lib/mosquitto#$root/var/lib/mosquitto#g" \
    -e "s#/run/mosquitto#$root/run/mosquitto#g" -e "s#/var/log/mosquitto#$root/var/log/mosquitto#g" \
    -e "s#/etc/tarvo#$root/etc/tarvo#g" -e "s#/var/lib/tarvo-publish#$root/var/lib/tarvo-publish#g"
}
relocate </etc/mosquitto/mosquitto.conf >"$root/etc/mosquitto/mosquitto.conf" 2>/dev/null ||
  printf 'pid_file /run/mosquitto/mosquitto.pid\npersistence true\npersistence_location /var/lib/mosquitto/\nlog_dest file /var/log/mosquitto/mosquitto.log\ninclude_dir /etc/mosquitto/conf.d\n' |
  relocate >"$root/etc/mosquitto/mosquitto.conf"

restart_broker() {
  local pidfile="$root/run/mosquitto/mosquitto.pid"
  if [ -s "$pidfile" ]; then
    local old
    old="$(cat "$pidfile")"
    kill "$old" 2>/dev/null || true
    while kill -0 "$old" 2>/dev/null; do sleep 0.1; done
  fi
  mosquitto -c "$root/etc/mosquitto/mosquitto.conf" -d
  for _ in $(seq 100); do
    grep -q "running" "$root/var/log/mosquitto/mosquitto.log" 2>/dev/null && [ -s "$pidfile" ] && return 0
    sleep 0.1
  done
  fail "the broker did not start"
}

# The README's blocks, in order: shell blocks marked "plant-setup", and the
# Python historian.
blocks="$root/blocks.sh"
awk -v out="$blocks" -v py="$root/home/historian.py" '
  /^<!-- plant-setup -->$/ { want = "sh"; next }
  /^<!-- plant-setup: historian.py -->$/ { want = "py"; next }
  /^```/ && want != "" && !inside { inside = 1; next }
  /^```/ && inside { inside = 0; want = ""; print "" >> out; next }
  inside && want == "sh" { print >> out }
  inside && want == "py" { print >> py }
' "$readme"
[ -s "$blocks" ] && [ -s "$root/home/historian.py" ] || fail "the README has no plant set-up"

# The historian's mosquitto_sub line waits for value sets: here it first
# only makes its session (-E), and comes back after the publisher's run.
relocate <"$blocks" | sed \
  -e "s#^BROKER_HOST=mqtt.plant.example#BROKER_HOST=localhost#" \
  -e "s#--broker mqtt.plant.example#--broker localhost:$port#" \
  -e "s#mqtt.plant.example#localhost#g" -e "s#8883#$port#g" \
  -e "s#^sudo -u tarvo ##" -e "s#^sudo ##" -e "s#| sudo #| #g" \
  -e "s#root:tarvo#root:root#g" -e "s#-o tarvo -g tarvo ##" \
  -e "s#^mosquitto_passwd \\(.*\\) \\(line3\\|historian\\)\$#pw=\\U\\2\\E-PASSWORD; printf '%s\\\\n%s\\\\n' \"\$pw\" \"\$pw\" | mosquitto_passwd \\1 \\2#" \
  -e "s#^systemctl restart mosquitto\$#restart_broker#" \
  -e "s#^cp plant-ca.crt #cp $root/etc/mosquitto/certs/plant-ca.crt #" \
  -e "s#--tcp 192.168.0.10 \\(.*\\)--triggered#--tcp \"\$SENSOR\" \\1--triggered --seconds 1#" \
  -e "s#^tarvoctl #\"$bin/tarvoctl\" #" \
  -e "s#^mosquitto_sub -c -i historian -q 1 \\(.*\\)\$#mosquitto_sub -c -i historian -q 1 \\1 -E#" \
  >"$root/run.sh"

# The simulated sensor, sending 20 value sets a second when asked.
"$bin/sensorsim" --tcp-port 0 --part-rate 20 >"$root/sensorsim.out" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q "listening on" "$root/sensorsim.out" && break; sleep 0.1; done
SENSOR="$(sed -n 's/.*listening on \([0-9.:]*\).*/\1/p' "$root/sensorsim.out" | head -n1)"
[ -n "$SENSOR" ] || fail "the simulator did not start"
export SENSOR

# The paho historian makes its session before the publisher starts, then
# goes away; it comes back afterwards.
paho_session() {
  (cd "$root/home" && exec "$py" historian.py) >"$root/paho.out" 2>&1 &
  local p=$!
  for _ in $(seq 100); do grep -q subscribed "$root/paho.out" && break; sleep 0.1; done
  grep -q subscribed "$root/paho.out" || { cat "$root/paho.out" >&2; fail "the paho historian did not subscribe"; }
  echo "$p"
}
printf 'HISTORIAN-PASSWORD\n' >"$root/home/historian.password"
chmod 600 "$root/home/historian.password"

# Split at the publisher: the broker and the historians' sessions first.
publish_line="$(grep -n '"'"$bin"'/tarvoctl" ' "$root/run.sh" | cut -d: -f1)"
[ -n "$publish_line" ] || fail "no tarvoctl line in the README's set-up"
# The publisher's command runs over three lines (continued with \).
head -n "$((publish_line - 1))" "$root/run.sh" >"$root/before.sh"
sed -n "${publish_line},$((publish_line + 2))p" "$root/run.sh" >"$root/publish.sh"
sed -n "$((publish_line + 3)),\$p" "$root/run.sh" >"$root/after.sh"

relocate <"$root/home/historian.py" | sed -e "s#mqtt.plant.example#localhost#g" -e "s#8883#$port#g" >"$root/hist.py"
mv "$root/hist.py" "$root/home/historian.py"

export HOME="$root/home" root
export -f restart_broker fail
cd "$root/home"
bash -e "$root/before.sh" >"$root/before.out" 2>&1 || { cat "$root/before.out" >&2; fail "the broker's set-up failed"; }
pahopid="$(paho_session)"
kill "$pahopid"
# The rest: the historian's options file and its session (mosquitto_sub -E).
bash -e "$root/after.sh" >"$root/after.out" 2>&1 || { cat "$root/after.out" >&2; fail "the historian's set-up failed"; }

# The publisher, with both historians away; then the broker restarts.
bash -e "$root/publish.sh" >"$root/publish.out" 2>&1 || { cat "$root/publish.out" >&2; fail "tarvoctl publish failed"; }
cat "$root/publish.out"
acked="$(sed -n 's/.*value sets published to tarvo\/line3\/values: \([0-9]*\) acknowledged by the broker.*/\1/p' "$root/publish.out")"
[ -n "$acked" ] && [ "$acked" -gt 0 ] || fail "nothing acknowledged"
grep -q "can be read by every user" "$root/publish.out" && fail "the password file's permissions drew a warning"
restart_broker

# Both historians come back and get every value set.
got="$(timeout 30 mosquitto_sub -c -i historian -q 1 -t 'tarvo/+/values' -v -C "$acked" -W 20 | grep -c '"seq"' || true)"
[ "$got" = "$acked" ] || fail "mosquitto_sub historian got $got of $acked"
(cd "$root/home" && exec "$py" historian.py) >"$root/paho.out" 2>&1 &
pahopid=$!
pids+=("$pahopid")
for _ in $(seq 200); do [ "$(grep -c '"seq"' "$root/paho.out")" -ge "$acked" ] && break; sleep 0.1; done
paho="$(grep -c '"seq"' "$root/paho.out" || true)"
[ "$paho" = "$acked" ] || fail "paho historian got $paho of $acked"
echo "plant set-up: $acked acknowledged, mosquitto_sub historian $got, paho historian $paho, across a broker restart"
