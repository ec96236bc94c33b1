#!/usr/bin/env bash
# Installs what is missing, builds, and starts the console against the simulated matrix.
#
# The simulated matrix listens on 127.0.0.1:4001 (16 x 16, mixed cards with an IP input card and a
# preview output card). The console runs from a writable copy of the program folder
# (VEXILO_DEMO_DIR, default ~/.local/share/vexilo-demo) whose data/ClientConfig.dat points the
# connection at the simulator unless the operator already set a connection there.
# Default account: Admin / 740261.
#
# Usage: ./run.sh [--sim "DEVICESIM OPTIONS"]
#   --sim adds options to the simulator's command line (also VEXILO_SIM_ARGS), for example
#   ./run.sh --sim "--control 4101" to steer it from another terminal while the console runs.
#   VEXILO_DEMO_PORT=4011 ./run.sh moves the matrix to another port and points the console's
#   connection at it (for a second demo on one machine; --sim "--port N" moves only the simulator).
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)

SIM_EXTRA=${VEXILO_SIM_ARGS:-}
while [ $# -gt 0 ]; do
  case "$1" in
    --sim)
      [ $# -ge 2 ] || { echo "run.sh: --sim needs the simulator's options as one argument" >&2; exit 2; }
      SIM_EXTRA="$SIM_EXTRA $2"
      shift 2 ;;
    -h|--help)
      sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'
      exit 0 ;;
    *)
      echo "run.sh: unknown option $1 (see ./run.sh --help)" >&2
      exit 2 ;;
  esac
done
read -r -a SIM_OPTIONS <<<"$SIM_EXTRA"
# Checked before the set-up, which takes minutes in a fresh clone.
SIM_PORT=${VEXILO_DEMO_PORT:-4001}
if ! [[ $SIM_PORT =~ ^[0-9]{1,5}$ ]] || [ "$SIM_PORT" -lt 1 ] || [ "$SIM_PORT" -gt 65535 ]; then
  echo "run.sh: VEXILO_DEMO_PORT must be a port number (1-65535), not \"$SIM_PORT\"" >&2
  exit 2
fi

echo "Checking the packages ..."
scripts/install-deps.sh
scripts/build.sh
export VEXILO_LOOPBACK_ONLY=1

BIN="$ROOT/build/bin"
DEMO="${VEXILO_DEMO_DIR:-$HOME/.local/share/vexilo-demo}"
SIM_ADDR=127.0.0.1
SIM_MODEL=16
SIM_IN_CARDS=${VEXILO_DEMO_IN_CARDS:-afbi}
SIM_OUT_CARDS=${VEXILO_DEMO_OUT_CARDS:-aezk}
MODEL_ROW=2   # row of 16x16 in the login's model list

# The program folder: the executable and its runtime files. Files the console writes
# (ClientConfig.dat, UserConfig.dat, CardConfig.dat, MainConfig.dat) are kept between runs.
mkdir -p "$DEMO/data"
cp -f "$BIN/vexilo" "$DEMO/vexilo"
cp -rf "$BIN/skin" "$BIN/style" "$DEMO/"
for entry in "$BIN"/data/*; do
  name=$(basename "$entry")
  if [ -d "$entry" ]; then
    rm -rf "${DEMO:?}/data/$name"
    cp -r "$entry" "$DEMO/data/$name"
  elif [ ! -e "$DEMO/data/$name" ]; then
    cp "$entry" "$DEMO/data/$name"
  fi
done

client="$DEMO/data/ClientConfig.dat"
touch "$client"
# Points [DEVICE_INFO] at the simulator: keys the file has are replaced, the others added in a
# section of their own (sections may repeat in an INI file: the reader merges them).
point_at_simulator() {
  local missing="" key value
  for pair in "dev_con_type=0" "dev_addr=$SIM_ADDR" "dev_tcp_port=$SIM_PORT"; do
    key=${pair%%=*}
    value=${pair#*=}
    if grep -q "^$key=" "$client"; then
      sed -i "s|^$key=.*|$key=$value|" "$client"
    else
      missing="$missing$pair\n"
    fi
  done
  [ -z "$missing" ] || printf "\n[DEVICE_INFO]\n$missing" >> "$client"
}
# A connection the operator set is kept, unless a port was asked for: then the console dials
# the simulator started here.
if ! grep -q '^dev_addr=' "$client" || [ -n "${VEXILO_DEMO_PORT:-}" ]; then
  point_at_simulator
  if ! grep -q '^dev_type=' "$client"; then
    printf '\n[CLIENT_INFO]\ndev_type=%s\n' "$MODEL_ROW" >> "$client"
  fi
fi

SIM_LOG="$DEMO/devicesim.log"
SIM_PID=
stop_sim() {
  if [ -n "$SIM_PID" ] && kill -0 "$SIM_PID" 2>/dev/null; then
    kill "$SIM_PID" 2>/dev/null || true
    wait "$SIM_PID" 2>/dev/null || true
  fi
}
trap stop_sim EXIT INT TERM

# Starts the simulator; 0 when it is ready, 1 when it ended.
start_sim() {
  "$BIN/devicesim" --listen "$SIM_ADDR" --port "$SIM_PORT" --model "$SIM_MODEL" \
    --in-cards "$SIM_IN_CARDS" --out-cards "$SIM_OUT_CARDS" ${SIM_OPTIONS[@]+"${SIM_OPTIONS[@]}"} "$@" \
    >"$SIM_LOG" 2>&1 &
  SIM_PID=$!
  for _ in $(seq 1 150); do
    grep -q '^devicesim ready' "$SIM_LOG" 2>/dev/null && return 0
    kill -0 "$SIM_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# The simulated IP cards and preview streams need ports of their own (4002, 8554); when another
# copy holds them the matrix still runs without them, and without the cards that would point the
# console at that copy's cards and streams (IP input "f" and preview output "e" become HDMI).
extra=()
until start_sim "${extra[@]}"; do
  stop_sim
  if grep -qi 'ip card' "$SIM_LOG" && [[ ! " ${extra[*]} " == *" --no-ipcards "* ]]; then
    echo "Simulated IP cards unavailable ($(grep -i 'ip card' "$SIM_LOG" | head -1)); going on without them." >&2
    extra+=(--no-ipcards)
    SIM_IN_CARDS=${SIM_IN_CARDS//f/a}
  elif grep -qiE 'rtsp|stream' "$SIM_LOG" && [[ ! " ${extra[*]} " == *" --no-streams "* ]]; then
    echo "Simulated preview streams unavailable; going on without them." >&2
    extra+=(--no-streams)
    SIM_OUT_CARDS=${SIM_OUT_CARDS//e/a}
  else
    echo "The simulated matrix did not start (is $SIM_ADDR:$SIM_PORT in use?):" >&2
    cat "$SIM_LOG" >&2
    exit 1
  fi
done
echo "Simulated matrix: $(grep '^devicesim ready' "$SIM_LOG")"
echo "Starting the console ..."
echo "Console folder: $DEMO (account Admin / 740261)"

cd "$DEMO"
set +e
./vexilo
set -e
# Log out starts a fresh copy of the console and ends this one: keep the simulator for it.
while pgrep -x -f "$DEMO/vexilo" >/dev/null 2>&1; do
  sleep 1
done
