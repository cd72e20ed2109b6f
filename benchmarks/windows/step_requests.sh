#!/usr/bin/env bash
# The Wine server requests of the pet's real steps, counted from the server's
# own trace: a standing step (the picture stays), a step of NO (an act that
# changes the frame in place) and a walking step, in the region window and the
# keyed window, medians over TICKS ticks each, and the paints of a tick.
# Each tick is the pet's timer message through a message loop like the
# program's, with what follows it until the next tick (a paint the system asks
# for, the loop's own requests), as pet-step-bench.exe's "requests" mode runs it.
# usage: benchmarks/windows/step_requests.sh [TICKS [DEPTH]]
#        (TICKS 100 unless given; DEPTH 24 unless given, Xvfb's depth)
# Needs build/windows/pet-step-bench.exe (cmake --build build/windows).
# The trace goes to build/measure/step-requests/trace.txt.
source "$(dirname "$0")/measure_lib.sh"
ticks=${1:-100}
depth=${2:-24}
bench=$WINDOWS_BUILD/pet-step-bench.exe
need_program "$bench"
out=$BUILD/measure/step-requests
mkdir -p "$out"

measure_start "$depth"
measure_server "$out/trace.txt"
# Into a file, not a pipe: Wine's services started with the bench hold its
# output open as long as the server lives.
wine "$bench" requests "$ticks" > "$out/bench.log" 2>&1
tr -d '\r' < "$out/bench.log" > "$out/bench.txt"
measure_server_stop
awk -f "$MEASURE_DIR/tick_requests.awk" "$out/trace.txt" > "$out/requests.txt"

echo "Wine server requests of a tick (median, min-max over the ticks), and paints of a tick (median):"
printf '%-8s %-9s %-22s %s\n' window step requests paints
for window in region keyed; do
  for act in standing NO walking; do
    line=$(awk -F'\t' -v l="$window $act" '$1 == l' "$out/requests.txt")
    paints=$(awk -v w="$window" -v a="$act" '$1 == w && $2 == a { print $NF }' "$out/bench.txt")
    printf '%-8s %-9s %-22s %s\n' "$window" "$act" \
      "$(awk -F'\t' '{ split($2, m, " "); split($3, lo, " "); split($4, hi, " "); split($5, n, " ");
                       printf "%d (%d-%d, %d ticks)", m[2], lo[2], hi[2], n[2] }' <<< "$line")" "${paints:-?}"
  done
done
echo
echo "A median tick, request by request:"
cut -f1,6 "$out/requests.txt" | sed "s/\ta median tick:/:/"
grep -v ' ticks ' "$out/bench.txt" | sed 's/^/bench: /'
