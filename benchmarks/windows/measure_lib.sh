# Shared by the measuring scripts beside it: sourced, not run.
#
# measure_start DEPTH      an Xvfb of its own at 1024x768xDEPTH (DISPLAY set), and
#                          the measuring Wine prefix (WINEPREFIX set), made once
#                          under build/ and held by this run alone
# measure_server [TRACE]   a fresh Wine server for the prefix, in the background;
#                          with TRACE it writes its trace of every request there;
#                          sets SERVER_PID
# measure_server_stop      ends the prefix's server and waits for it
# measure_stop             ends the server and the display (also on exit)
# cpu_ms PID               CPU time of all the process's threads, in milliseconds
# wine_program_pid NAME    the pid of the newest NAME process of this prefix and display
set -uo pipefail

MEASURE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# ROOT, BUILD, Wine's quiet environment, start_display and stop_everything.
source "$MEASURE_DIR/../../scripts/lib.sh"
BUILD=${MORVET_BUILD:-$BUILD}
WINDOWS_BUILD=$BUILD/windows

MEASURE_XVFB=""
SERVER_PID=""

need_program() {
  [ -f "$1" ] || { echo "$1 is missing: build the Windows tree (scripts/test -R nothing-matches)" >&2; exit 1; }
}

measure_start() {
  DISPLAY=$(start_display "$1" 180) || exit 1
  export DISPLAY
  MEASURE_XVFB=$(tail -n 1 "$STARTED_PIDS_FILE")
  trap measure_stop EXIT
  trap 'exit 130' INT TERM HUP
  export WINEPREFIX=$BUILD/wineprefix-measure
  mkdir -p "$BUILD"
  take_prefix
  if [ ! -f "$WINEPREFIX/.morvet-ready" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i > /dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.morvet-ready"
  fi
  measure_server_stop
}

# One measurement at a time: they share the prefix and its server. A lock
# folder, not a lock on an open file, which Wine's services would inherit.
MEASURE_LOCK=""
take_prefix() {
  local lock=$WINEPREFIX.lock other
  [ "$MEASURE_LOCK" = "$lock" ] && return 0
  if ! mkdir "$lock" 2> /dev/null; then
    other=$(cat "$lock/pid" 2> /dev/null)
    if [ -n "$other" ] && kill -0 "$other" 2> /dev/null; then
      echo "another measurement (pid $other) is using $WINEPREFIX" >&2
      exit 1
    fi
    rm -rf "$lock"
    mkdir "$lock" || exit 1
  fi
  echo $$ > "$lock/pid"
  MEASURE_LOCK=$lock
}

measure_server() {
  measure_server_stop
  if [ -n "${1:-}" ]; then
    wineserver -f -p -d1 2> "$1" &
  else
    wineserver -f -p &
  fi
  SERVER_PID=$!
  sleep 0.5
}

measure_server_stop() {
  timeout 20 wineserver -k > /dev/null 2>&1
  timeout 20 wineserver -w > /dev/null 2>&1
  [ -n "$SERVER_PID" ] && wait "$SERVER_PID" 2> /dev/null
  SERVER_PID=""
  return 0
}

measure_stop() {
  trap - EXIT
  measure_server_stop
  stop_everything
  [ -n "$MEASURE_LOCK" ] && rm -rf "$MEASURE_LOCK"
  MEASURE_LOCK=""
}

cpu_ms() {
  cat /proc/"$1"/task/*/schedstat 2> /dev/null | awk '{ ns += $1 } END { printf "%d", ns / 1000000 }'
}

wine_program_pid() {
  local pid environment
  for pid in $(pgrep -nx "$1"; pgrep -x "$1"); do
    environment=$(tr '\0' '\n' 2> /dev/null < "/proc/$pid/environ") || continue
    grep -qx "DISPLAY=$DISPLAY" <<< "$environment" && grep -qx "WINEPREFIX=$WINEPREFIX" <<< "$environment" &&
      { echo "$pid"; return 0; }
  done
  return 1
}
