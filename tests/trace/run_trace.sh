#!/bin/sh
# Runs pet-trace on one golden script and compares its output with the expected
# file, line by line.   run_trace.sh PET_TRACE_EXE NAME.script [SCALE]
#
# With SCALE the monitor and its work area are SCALE times the size, on a
# display at SCALE x 100 %: the pet's rules run in its own pixels, so it must
# print the same trace.
#
# A script's first line is "WIDTHxHEIGHT[@LEFT,TOP] SEED X Y [WORK]"; the rest
# is the script. The pet stands on a monitor of that size at (LEFT, TOP), (0, 0)
# unless given, whose work area is WORK ("left,top,width,height"), the whole
# monitor unless given. pet-trace hands that monitor to the pet itself, so the
# trace does not depend on the size of the display it runs on.
trace_exe=$1
script=$2
scale=${3:-1}
expected=${script%.script}.expected
read -r size seed x y work < "$script" || { echo "cannot read $script" >&2; exit 1; }
tokens=$(tail -n +2 "$script" | tr '\n' ' ')
case "$size" in
  *@*) origin=${size#*@} size=${size%@*} ;;
  *) origin=0,0 ;;
esac
monitor=$origin,${size%x*},${size#*x}
work=${work:-$monitor}
scaled() {
  local IFS=, n out=""
  for n in $1; do out="$out${out:+,}$((n * scale))"; done
  echo "$out"
}
display=${MORVET_DISPLAY_32:-}
prefix=${MORVET_PREFIX_32:-}
if [ -z "$display" ] || [ -z "$prefix" ]; then
  echo "no virtual display: run this through scripts/test" >&2
  exit 1
fi
output=$(mktemp)
trap 'rm -f "$output" "$output.raw"' EXIT
DISPLAY=$display WINEPREFIX=$prefix wine "$trace_exe" "$seed" "$x" "$y" "$tokens" \
  "$(scaled "$monitor")" "$(scaled "$work")" "$scale" > "$output.raw"
status=$?
tr -d '\r' < "$output.raw" > "$output"
if cmp -s "$output" "$expected"; then
  echo "$(wc -l < "$expected") lines as expected"
  exit 0
fi
line=$(cmp "$output" "$expected" 2> /dev/null | sed -n 's/.* line \([0-9]*\).*/\1/p')
echo "pet-trace (exit code $status) differs from $(basename "$expected") at line ${line:-?}:"
echo "  expected: $(sed -n "${line:-1}p" "$expected")"
echo "  printed:  $(sed -n "${line:-1}p" "$output")"
exit 1
