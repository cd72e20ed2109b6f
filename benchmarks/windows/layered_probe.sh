#!/usr/bin/env bash
# Probes UpdateLayeredWindow with the colour key under Wine against a keyed
# window moved with SetWindowPos and painted, at 32, 16 and 8 bits per pixel
# (Xvfb at 24, 16 and 8), each on a display of its own, for a walking step
# (move and new picture), a step that changes the picture in place and one
# that only moves (the ways are listed in layered_probe.cpp):
# - the Wine server requests of one step of each way (median over the ticks,
#   counted from the server's trace), the paints and paint messages a step makes;
# - what the screen showed after each of 20 more steps, at the next tick (the
#   new picture at the new place, the picture before, a blank window), and where
#   a move and a paint are two calls, between them;
# - for `ulw-copied`, the bytes a copy from the display's own bitmap left in the
#   32-bit section;
# - for the ways that hold (those that move and paint), whether the window shows
#   its figure (a pixel on it), the desktop beside it (one pixel over a plain
#   window beneath, one over the desktop), and whether a click beside the figure
#   reaches the window beneath and one on it the window; the window beneath then
#   turns navy, and the pixel beside the figure must follow.
# usage: benchmarks/windows/layered_probe.sh [TICKS [DEPTHS [MODES]]]
#        (TICKS 100 unless given; DEPTHS "24 16 8" unless given; MODES all unless given)
# Needs build/windows/layered-probe.exe (cmake --build build/windows).
# Writes the traces and screenshots to build/measure/layered-probe/.
source "$(dirname "$0")/measure_lib.sh"
ticks=${1:-100}
depths=${2:-24 16 8}
modes=${3:-idle ulw ulw-ddb ulw-copied ulw-copied-opaque ulw-inplace ulw-move
          move move-nocopybits move-noflush walk walk-region paint-inplace move-only}
probe=$WINDOWS_BUILD/layered-probe.exe
need_program "$probe"
out=$BUILD/measure/layered-probe
mkdir -p "$out"

for depth in $depths; do
  measure_start "$depth"
  xsetroot -solid '#3366cc'
  bits=$([ "$depth" = 24 ] && echo 32 || echo "$depth")
  echo "== $bits bits per pixel (Xvfb depth $depth), $ticks ticks a way"
  for mode in $modes; do
    trace=$out/trace-$depth-$mode.txt
    measure_server "$trace"
    # A way that only moves or only paints has the window of one that does both.
    case $mode in
      idle | ulw-inplace | ulw-move | paint-inplace | move-only) hold=0 ;;
      *) hold=8000 ;;
    esac
    wine "$probe" "$mode" "$ticks" "$hold" > "$out/$mode-$depth.log" 2>&1 &
    job=$!
    if [ $hold -gt 0 ]; then
      # The window is held still after the ticks; its pixels are read twice, then
      # the clicks come.
      until grep -q '^pixel desktop after' "$out/$mode-$depth.log" 2> /dev/null || ! kill -0 $job 2> /dev/null; do
        sleep 0.2
      done
      [ "$depth" != 8 ] && import -window root "$out/$mode-$depth.png" > /dev/null 2>&1
      xdotool mousemove 302 302 click 1
      sleep 0.7
      xdotool mousemove 357 359 click 1
      sleep 0.7
      xdotool mousemove 900 700
    fi
    wait $job
    measure_server_stop
    log=$(tr -d '\r' < "$out/$mode-$depth.log")
    requests=$(awk -f "$MEASURE_DIR/tick_requests.awk" "$trace" | awk -F'\t' -v m="$mode" '$1 == m')
    echo "-- $mode"
    echo "   requests a step: $(cut -f2-5 <<< "$requests" | tr '\t' ' ')"
    echo "   $(cut -f6 <<< "$requests")"
    grep -E '^(copied|[a-z-]+ ticks |look)' <<< "$log" | sed 's/^/   /'
    if [ $hold -gt 0 ]; then
      grep -E '^(held|pixel)' <<< "$log" | sed 's/^/   /'
      # The probe prints where each press landed and which window got it.
      beside=$(grep '^press .* 302 302$' <<< "$log" | cut -d' ' -f2)
      on=$(grep '^press .* 357 359$' <<< "$log" | cut -d' ' -f2)
      echo "   click beside the figure (302,302) went to: ${beside:-neither window}"
      echo "   click on the figure (357,359) went to: ${on:-neither window}"
    fi
  done
  measure_stop
done
