#!/usr/bin/env bash
# What living costs, per second: the CPU of the real morvet.exe living by
# itself, with its Wine server's and the X server's, against the same for two
# bare Wine programs (bare-tick: a 70-ms timer that does nothing; bare-move: a
# plain 114 x 119 window moved 7 px and painted at every 70-ms tick), each for
# SECONDS, in RUNS runs taken in turn (tick, move, pet, tick, move, pet, ...),
# on an Xvfb of its own at 1024x768x24 and a Wine prefix of its own. CPU is read
# from /proc (every thread of each process) after the program has started and
# settled, and over the same seconds for the three processes.
# usage: benchmarks/windows/living_cpu.sh [SECONDS [RUNS]]   (30 and 2 unless given)
# Needs build/windows/{morvet,bare-tick,bare-move}.exe (cmake --build build/windows).
# Measure on a quiet machine: every other program's CPU slows these ones.
source "$(dirname "$0")/measure_lib.sh"
seconds=${1:-30}
runs=${2:-2}
settle=3
for program in morvet bare-tick bare-move; do need_program "$WINDOWS_BUILD/$program.exe"; done
pet_command=$WINDOWS_BUILD/tests/program/pet-command.exe

measure_start 24
measure_server
# The prefix's services start with the first program and cost most at first.
wine "$WINDOWS_BUILD/bare-tick.exe" 3 > /dev/null 2>&1

declare -A results
for run in $(seq "$runs"); do
  for program in bare-tick bare-move morvet; do
    if [ "$program" = morvet ]; then
      wine "$WINDOWS_BUILD/morvet.exe" > /dev/null 2>&1 &
    else
      wine "$WINDOWS_BUILD/$program.exe" $((settle + seconds + 2)) > /dev/null 2>&1 &
    fi
    job=$!
    pid=""
    for _ in $(seq 50); do
      pid=$(wine_program_pid "$program.exe") && break
      sleep 0.1
    done
    [ -n "$pid" ] || { echo "$program.exe did not start" >&2; exit 1; }
    sleep "$settle"
    p0=$(cpu_ms "$pid") s0=$(cpu_ms "$SERVER_PID") x0=$(cpu_ms "$MEASURE_XVFB")
    sleep "$seconds"
    p1=$(cpu_ms "$pid") s1=$(cpu_ms "$SERVER_PID") x1=$(cpu_ms "$MEASURE_XVFB")
    kill -0 "$pid" 2> /dev/null || echo "$program.exe ended before its $seconds s were over" >&2
    if [ "$program" = morvet ]; then
      if [ -f "$pet_command" ]; then timeout 10 wine "$pet_command" close > /dev/null 2>&1; fi
      sleep 1
      kill "$pid" 2> /dev/null
    fi
    wait "$job"
    results[$program,$run]="$((p1 - p0)) $((s1 - s0)) $((x1 - x0))"
  done
done

echo "CPU over $seconds s of living (ms: the program / its Wine server / Xvfb = together, % of one core), $runs runs:"
for program in bare-tick bare-move morvet; do
  line=""
  for run in $(seq "$runs"); do
    read -r p s x <<< "${results[$program,$run]}"
    together=$((p + s + x))
    line+=$(printf ' %d / %d / %d = %d ms, %d.%02d %%;' "$p" "$s" "$x" "$together" \
      $((together * 100 / (seconds * 1000))) $((together * 10000 / (seconds * 1000) % 100)))
  done
  printf '%-10s%s\n' "$program" "$line"
done
