#!/bin/sh
# Runs pet-trace on one golden script and compares its output with the expected
# file, line by line.   run_trace.sh PET_TRACE_EXE NAME.script
#
# A script's first line is "WIDTHxHEIGHT SEED X Y"; the rest is the script. It
# runs on the virtual display of that size, which scripts/test starts. Wine
# keeps the screen size of the display its server was started on, so the server
# is stopped before and after: the next run starts one on its own display.
trace_exe=$1
script=$2
expected=${script%.script}.expected
read -r size seed x y < "$script" || { echo "cannot read $script" >&2; exit 1; }
tokens=$(tail -n +2 "$script" | tr '\n' ' ')
eval display=\${MORVET_DISPLAY_$size:-}
prefix=${MORVET_PREFIX_32:-}
if [ -z "$display" ] || [ -z "$prefix" ]; then
  echo "no virtual display of $size: run this through scripts/test" >&2
  exit 1
fi
export WINEPREFIX=$prefix
wineserver -k > /dev/null 2>&1
wineserver -w
output=$(mktemp)
trap 'rm -f "$output" "$output.raw"' EXIT
DISPLAY=$display wine "$trace_exe" "$seed" "$x" "$y" "$tokens" > "$output.raw"
status=$?
tr -d '\r' < "$output.raw" > "$output"
wineserver -k > /dev/null 2>&1
wineserver -w
if cmp -s "$output" "$expected"; then
  echo "$(wc -l < "$expected") lines as expected"
  exit 0
fi
line=$(cmp "$output" "$expected" 2> /dev/null | sed -n 's/.* line \([0-9]*\).*/\1/p')
echo "pet-trace (exit code $status) differs from $(basename "$expected") at line ${line:-?}:"
echo "  expected: $(sed -n "${line:-1}p" "$expected")"
echo "  printed:  $(sed -n "${line:-1}p" "$output")"
exit 1
