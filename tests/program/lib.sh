# Shared by the program test scripts: sourced, not run.
#
# use_depth DEPTH [SIZE]  picks the display and Wine prefix of that depth, makes
#                      the output folder, sets the cleanup trap; with SIZE
#                      ("1280x1024") the test gets a display of its own, with
#                      "two-monitors" one of two 1024x768 monitors side by side
# output_rect NAME     prints "X Y W H" of a RandR output (VNC-0, VNC-1)
# sprite_within X Y L T W H BELOW  succeeds when the sprite of a window at X,Y
#                      lies on the rectangle, its bottom at most BELOW rows past it
# put_wallpaper        puts the patterned test picture on the root window
# shoot FILE           screenshot of the root window as PPM
# start_pet [HOW...]   starts morvet.exe in the background (exit code into $OUT/pet.rc);
#                      HOW, e.g. "start /min /wait /unix", is what starts it
# wait_pet_window S    waits up to S seconds for the pet window; sets PET_WINDOW
# pet_geometry         prints "X Y W H" of the pet window
# pet_middle           prints "X Y", where a hand takes the pet, on the screen
# press_pet [BUTTON]   presses the button (1 unless given) on the pet's body; sets
#                      PRESS_X and PRESS_Y
# drag_pet_to X Y      drags the pet until the cursor at X,Y holds it, and lets go
# pet_mapped           succeeds when the pet window is shown
# sprite_on_screen X Y succeeds when the sprite of a window at X,Y lies wholly on the screen
# read_screen_size     sets SCREEN_W and SCREEN_H from the display
# now_ms               milliseconds of the clock, for deadlines under a second
# cpu_ms [PID]         CPU time of all the pet's threads (or PID's), in milliseconds
# cpu_over S           the pet's CPU time over the next S seconds, in milliseconds
# expect_held_cpu LIVING S WHAT  fails unless the pet's CPU over the next S
#                      seconds, held, is next to nothing: under a quarter of
#                      LIVING (its CPU over S seconds of living), or at most twice
#                      that of an idle Wine program over the same seconds and 10 ms
# snapshot NAME        screenshot with the pet held still; sets SHOT_RECT ("X,Y,W,H")
# check_snapshot NAME  judges a snapshot with morvet-shotcheck against $OUT/clean.ppm
#                      (or $CLEAN_SHOT)
# wait_pet_exit S      waits up to S seconds for morvet.exe to end; sets PET_RC
# stop_pet             ends the pet (WM_CLOSE, then force) and waits for it
# follows_to X Y       waits up to 3 s for a held pet's window to reach the cursor
#                      at X,Y (its corner at X-57,Y-17)
# register_browser CLASS COMMAND   points .htm at CLASS, opened by COMMAND, until
#                      the test ends (restore_browser puts the old one back)
# expect_arrow_steps KEY AXIS SIGN  holds an arrow ~1 s and checks the pet steps
#                      7 px a step that way (AXIS x or y, SIGN 1 or -1)
set -uo pipefail

PROGRAM_TESTS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
: "${MORVET_EXE:?run through ctest}" "${PET_COMMAND:?}" "${MORVET_ART:?}" "${PROGRAM_TEST_OUT:?}"
: "${MORVET_HOST_BUILD:?MORVET_HOST_BUILD must name the native build tree}"
SHOTCHECK=$MORVET_HOST_BUILD/tests/program/host/morvet-shotcheck
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LANG=${LANG:-C.UTF-8}

# How far the rules let the sprite stand past the right and bottom edges of its
# work area. The first spot keeps 80 pixels from them: the sprite's 100 x 105
# pixels may reach 19 columns and 24 rows past. The lowest walk target lies 90
# pixels above the bottom edge, 15 of the sprite's rows past it, and a 7-pixel
# step may overshoot: 22 rows.
FIRST_SPOT_RIGHT=19
FIRST_SPOT_BELOW=24
WALK_BELOW=22
# On a display at 200 % the pet's every pixel is 2 x 2 screen pixels: a test
# there sets PET_SCALE=2, and the window's size, the hand's grip and the drag's
# offsets follow it.
PET_SCALE=${PET_SCALE:-1}

PET_JOB=""
PET_PID=""
PET_WINDOW=""
PET_RC=""
FAILURES=0
CLEANUP_HOOKS=()

say() { printf '%s\n' "$*"; }
failed() {
  printf 'FAILED: %s\n' "$*"
  FAILURES=$((FAILURES + 1))
}
# Stops the test at once: for failures after which nothing more can be learnt.
fatal() {
  printf 'FAILED: %s\n' "$*"
  exit 1
}

finish() {
  if [ "$FAILURES" -gt 0 ]; then
    say "$FAILURES check(s) failed; pictures and logs in $OUT"
    exit 1
  fi
  say "all checks passed"
  exit 0
}

cleanup() {
  local status=$?
  trap - EXIT
  local hook
  for hook in "${CLEANUP_HOOKS[@]}"; do "$hook" || true; done
  xdotool mouseup 1 > /dev/null 2>&1 || true
  xdotool mouseup 3 > /dev/null 2>&1 || true
  xdotool keyup Left Right Up Down > /dev/null 2>&1 || true
  [ -n "$PET_PID" ] && kill -CONT "$PET_PID" 2> /dev/null
  if [ -n "$PET_JOB" ] && kill -0 "$PET_JOB" 2> /dev/null; then
    timeout 10 wine "$PET_COMMAND" close > /dev/null 2>&1
    sleep 1
  fi
  timeout 20 wineserver -k > /dev/null 2>&1
  [ -n "$PET_JOB" ] && kill "$PET_JOB" 2> /dev/null
  if [ -n "$OWN_DISPLAY_PID" ]; then
    timeout 20 wineserver -w > /dev/null 2>&1
    end_wine_programs_on "$DISPLAY"
    kill "$OWN_DISPLAY_PID" 2> /dev/null
  fi
  wait 2> /dev/null
  exit $status
}

# Wine's device services (winedevice.exe) were seen to outlive their server
# after a monitor was switched off under them: the test's own display takes
# with it whatever of this prefix still runs there.
end_wine_programs_on() {
  local pid environment
  for pid in $(pgrep -f '\.exe'); do
    environment=$(tr '\0' '\n' 2> /dev/null < "/proc/$pid/environ") || continue
    grep -qx "DISPLAY=$1" <<< "$environment" && grep -qx "WINEPREFIX=$WINEPREFIX" <<< "$environment" &&
      kill "$pid" 2> /dev/null
  done
  return 0
}

use_depth() {
  DEPTH=$1
  local display prefix
  eval "display=\${MORVET_DISPLAY_$DEPTH:-}"
  eval "prefix=\${MORVET_PREFIX_$DEPTH:-}"
  [ -n "$display" ] && [ -n "$prefix" ] ||
    fatal "no display of $DEPTH bits per pixel: set MORVET_DISPLAY_$DEPTH and MORVET_PREFIX_$DEPTH (scripts/test does)"
  export DISPLAY=$display WINEPREFIX=$prefix
  [ -x "$SHOTCHECK" ] || fatal "$SHOTCHECK is missing: build the host tree"
  OUT=$PROGRAM_TEST_OUT/$(basename "$0" .sh)-$DEPTH${TEST_VARIANT:+-$TEST_VARIANT}
  rm -rf "$OUT"
  mkdir -p "$OUT"
  trap cleanup EXIT
  trap 'exit 130' INT TERM HUP
  # No pet of an earlier, broken run may stand on the desktop.
  timeout 20 wineserver -k > /dev/null 2>&1
  case "${2:-}" in
    "") ;;
    two-monitors) start_own_two_monitors ;;
    *) start_own_display "$2" ;;
  esac
  read_screen_size
}

read_screen_size() {
  SCREEN_W=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1] }')
  SCREEN_H=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[2] }')
  [ -n "$SCREEN_W" ] || fatal "cannot read the size of display $DISPLAY"
}

# An 800 x 600 mode beside the display's own, for a program to change to.
add_800x600_mode() {
  xrandr --newmode 800x600 0 800 0 0 0 600 0 0 0 > /dev/null 2>&1 &&
    xrandr --addmode screen 800x600 > /dev/null 2>&1 ||
    fatal "cannot add an 800x600 mode to display $DISPLAY (xrandr: package x11-xserver-utils)"
}

# change_display WIDTH HEIGHT: through a program, as a game or a projector's
# settings do (a change made with xrandr from outside reaches the pet only by
# its metrics); pet-command prints the places the pet's window takes in the 2 s
# after the change.
change_display() {
  timeout 20 wine "$PET_COMMAND" display "$1" "$2" > "$OUT/display-$1x$2.log" 2>&1 ||
    fatal "pet-command display $1 $2 failed: $(tr -d '\r' < "$OUT/display-$1x$2.log")"
  read_screen_size
  [ "${SCREEN_W}x$SCREEN_H" = "$1x$2" ] || fatal "the screen is ${SCREEN_W}x$SCREEN_H after the change to $1x$2"
}

# For a test that changes the screen's size: the shared display must stay as
# it is for the tests after it. Wine keeps the screen size its server started
# with, so the server (which may still serve the shared display) is ended and
# waited for before, and again after the test (in cleanup), with the display.
OWN_DISPLAY_PID=""
start_own_display() {
  local n=150 tries=0
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${1}x24" -noreset -nolisten tcp > /dev/null 2>&1 &
  OWN_DISPLAY_PID=$!
  export DISPLAY=:$n
  until xdpyinfo > /dev/null 2>&1; do
    tries=$((tries + 1))
    [ $tries -gt 100 ] && fatal "Xvfb :$n did not start"
    sleep 0.1
  done
  kill -0 "$OWN_DISPLAY_PID" 2> /dev/null || fatal "display :$n was taken by someone else"
  timeout 20 wineserver -w > /dev/null 2>&1
}

# Xvfb shows one monitor only; TigerVNC's Xvnc shows as many as a VNC client
# asks for, which morvet-vnc-screens does. The Wine server is ended and waited
# for as for a display of its own size.
start_own_two_monitors() {
  local n=160 tries=0
  local screens=$MORVET_HOST_BUILD/tests/program/host/morvet-vnc-screens
  [ -x "$screens" ] || fatal "$screens is missing: build the host tree"
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  local socket=/tmp/morvet-vnc-$n.sock
  Xvnc ":$n" -geometry 2048x768 -depth 24 -SecurityTypes None -noreset -nolisten tcp \
    -rfbport -1 -rfbunixpath "$socket" > "$OUT/xvnc.log" 2>&1 &
  OWN_DISPLAY_PID=$!
  export DISPLAY=:$n
  until xdpyinfo > /dev/null 2>&1 && [ -S "$socket" ]; do
    tries=$((tries + 1))
    [ $tries -gt 100 ] && fatal "Xvnc :$n did not start (package tigervnc-standalone-server)"
    sleep 0.1
  done
  kill -0 "$OWN_DISPLAY_PID" 2> /dev/null || fatal "display :$n was taken by someone else"
  "$screens" "$socket" 0,0,1024,768 1024,0,1024,768 || fatal "Xvnc :$n refused two screens"
  [ "$(output_rect VNC-1)" = "1024 0 1024 768" ] ||
    fatal "Xvnc :$n shows no second monitor: $(xrandr 2>&1 | grep connected | tr '\n' ';')"
  timeout 20 wineserver -w > /dev/null 2>&1
}

output_rect() {
  xrandr 2> /dev/null | awk -v name="$1" '$1 == name && $2 == "connected" {
    for (i = 3; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+[0-9]+\+[0-9]+$/) {
      split($i, p, /[x+]/); print p[3], p[4], p[1], p[2]; exit } }'
}

# The sprite lies 7 pixels inside the window on every side.
sprite_within() {
  local s=$PET_SCALE
  local sx=$(($1 + 7 * s)) sy=$(($2 + 7 * s))
  [ $sx -ge "$3" ] && [ $sy -ge "$4" ] && [ $((sx + 100 * s)) -le $(($3 + $5)) ] &&
    [ $((sy + 105 * s)) -le $(($4 + $6 + $7)) ]
}

# Two gradients in a checkerboard, crossed by dark diagonal lines: every pixel
# differs from its neighbours, so a shifted, stale or keyed pixel shows.
make_wallpaper() {
  WALLPAPER=$PROGRAM_TEST_OUT/wallpaper-${SCREEN_W}x$SCREEN_H.png
  [ -f "$WALLPAPER" ] && return 0
  mkdir -p "$PROGRAM_TEST_OUT"
  convert \( -size "${SCREEN_H}x${SCREEN_W}" gradient:'#ffa040-#4060ff' -rotate 90 \) \
    \( -size "${SCREEN_W}x${SCREEN_H}" gradient:'#f040c0-#60e0a0' \) \
    \( -size "${SCREEN_W}x${SCREEN_H}" pattern:checkerboard -threshold 50% \) -composite \
    \( -size "${SCREEN_W}x${SCREEN_H}" pattern:hs_fdiagonal -fill '#c0c0c0' -opaque black \) \
    -compose Multiply -composite -depth 8 -type TrueColor "$WALLPAPER.tmp.png" &&
    mv "$WALLPAPER.tmp.png" "$WALLPAPER"
}

put_wallpaper() {
  make_wallpaper || fatal "cannot make the wallpaper"
  # xwallpaper leaves a PseudoColor root black; ImageMagick's display allocates
  # the colours it needs at every depth.
  timeout 20 display -window root "$WALLPAPER" > /dev/null 2>&1
  shoot "$OUT/clean.ppm"
  local colours
  colours=$(convert "$OUT/clean.ppm" -format '%k' info: 2> /dev/null)
  [ "${colours:-0}" -ge 16 ] || fatal "the wallpaper did not reach the root window ($colours colours)"
}

shoot() {
  timeout 20 import -window root -depth 8 "$1" > /dev/null 2>&1 || fatal "screenshot $1 failed"
}

start_pet() {
  rm -f "$OUT/pet.rc"
  (
    wine "$@" "$MORVET_EXE" > "$OUT/pet.log" 2>&1
    echo $? > "$OUT/pet.rc"
  ) &
  PET_JOB=$!
}

# Visible windows named exactly Morvet.
pet_windows() {
  xdotool search --onlyvisible --name '^Morvet$' 2> /dev/null
}

pet_geometry() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "${1:-$PET_WINDOW}" 2> /dev/null)" || return 1
  [ -n "${X:-}" ] || return 1
  echo "$X $Y $WIDTH $HEIGHT"
}

wait_pet_window() {
  local deadline=$((SECONDS + $1)) w geometry
  PET_WINDOW=""
  while [ $SECONDS -lt $deadline ]; do
    for w in $(pet_windows); do
      geometry=$(pet_geometry "$w") || continue
      case "$geometry" in
        *" $((114 * PET_SCALE)) $((119 * PET_SCALE))")
          PET_WINDOW=$w
          PET_PID=$(xdotool getwindowpid "$w" 2> /dev/null)
          PET_WAIT_CALLS=""
          return 0
          ;;
      esac
    done
    [ -f "$OUT/pet.rc" ] && return 1
    sleep 0.2
  done
  return 1
}

# The pet's process is stopped while the screen is read, so that geometry and
# picture belong to the same step. It is stopped only while it waits for its
# next message: stopped in the middle of a step, the screen could show the
# window moved but not yet painted; and when its window leaves or re-enters the
# screen, Wine waits up to two seconds for a window manager that Xvfb lacks,
# with the window's old picture on show. A thread waiting for messages reads
# the pipe whose both ends it holds itself; Wine's other waits look different.
PET_WAIT_CALLS=""
learn_pet_wait_calls() {
  local fd
  PET_WAIT_CALLS=" "
  for fd in $(for fd in /proc/"$PET_PID"/fd/*; do echo "${fd##*/} $(readlink "$fd")"; done |
    awk '$2 ~ /^pipe:/ { fds[$2] = fds[$2] " " $1; n[$2]++ }
         END { for (p in n) if (n[p] >= 2) print fds[p] }'); do
    PET_WAIT_CALLS+="0 0x$(printf '%x' "$fd") "
  done
}
pet_is_waiting() {
  local call
  call=$(cut -d' ' -f1,2 /proc/"$PET_PID"/syscall 2> /dev/null) || return 1
  [[ "$PET_WAIT_CALLS" == *" $call "* ]]
}
freeze_pet() {
  [ -n "$PET_PID" ] || return 0
  [ -n "$PET_WAIT_CALLS" ] || learn_pet_wait_calls
  local tries=0
  while kill -STOP "$PET_PID" 2> /dev/null; do
    sleep 0.01
    pet_is_waiting && break
    tries=$((tries + 1))
    [ $tries -ge 150 ] && { say "  (the pet never settled between steps; shooting anyway)"; break; }
    kill -CONT "$PET_PID" 2> /dev/null
    sleep 0.02
  done
  sleep 0.15
}
thaw_pet() {
  [ -n "$PET_PID" ] && kill -CONT "$PET_PID" 2> /dev/null
  return 0
}

snapshot() {
  local name=$1 x y w h
  freeze_pet
  read -r x y w h <<< "$(pet_geometry)" || true
  SHOT_RECT="$x,$y,$w,$h"
  shoot "$OUT/$name.ppm"
  if [ "$DEPTH" = 8 ]; then
    timeout 20 import -window "$PET_WINDOW" -depth 8 "$OUT/$name-window.ppm" > /dev/null 2>&1
  fi
  thaw_pet
  echo "$SHOT_RECT" > "$OUT/$name.rect"
}

check_snapshot() {
  local name=$1 extra=()
  [ "$DEPTH" = 8 ] && extra=(--window-shot "$OUT/$name-window.ppm")
  "$SHOTCHECK" --frames "$MORVET_ART" --clean "${CLEAN_SHOT:-$OUT/clean.ppm}" --shot "$OUT/$name.ppm" \
    --depth "$DEPTH" --window "$SHOT_RECT" "${extra[@]}" > "$OUT/$name.check" 2>&1
  local status=$?
  if [ $status -ne 0 ]; then
    convert "$OUT/$name.ppm" "$OUT/$name.png" 2> /dev/null
    failed "screenshot $name (window $SHOT_RECT): $(cat "$OUT/$name.check")"
    return 1
  fi
  say "  $name at $SHOT_RECT: $(cat "$OUT/$name.check")"
  return 0
}

check_desktop_clean() {
  local name=$1
  shoot "$OUT/$name.ppm"
  if ! "$SHOTCHECK" --clean "${CLEAN_SHOT:-$OUT/clean.ppm}" --shot "$OUT/$name.ppm" --depth "$DEPTH" \
    --no-window > "$OUT/$name.check" 2>&1; then
    convert "$OUT/$name.ppm" "$OUT/$name.png" 2> /dev/null
    failed "$name: the desktop is not as it was: $(cat "$OUT/$name.check")"
    return 1
  fi
  return 0
}

wait_pet_exit() {
  local deadline=$((SECONDS + $1))
  PET_RC=""
  while [ $SECONDS -lt $deadline ]; do
    if [ -f "$OUT/pet.rc" ]; then
      PET_RC=$(cat "$OUT/pet.rc")
      [ -n "$PET_RC" ] && return 0
    fi
    sleep 0.2
  done
  return 1
}

stop_pet() {
  [ -n "$PET_JOB" ] || return 0
  thaw_pet
  timeout 10 wine "$PET_COMMAND" close > /dev/null 2>&1
  wait_pet_exit 10 || kill "$PET_JOB" 2> /dev/null
  PET_JOB=""
  PET_PID=""
}

# Starts a pet on a fresh wallpaper and waits for its window, or stops the test.
# Arguments go to start_pet.
start_pet_on_wallpaper() {
  put_wallpaper
  start_pet "$@"
  wait_pet_window 30 ||
    fatal "no 114x119 window named Morvet within 30 s (exit code: $(cat "$OUT/pet.rc" 2> /dev/null); pet windows Windows knows of: $(timeout 20 wine "$PET_COMMAND" pets 2> /dev/null | tr -d '\r'))"
  # The first paint follows the first step; a moment later the picture is settled.
  sleep 0.5
}

# Where a hand takes the pet, "X Y": the middle of its window, kept on the
# screen (xdotool reads a negative number as an option).
pet_middle() {
  local x y
  read -r x y <<< "$(pet_position)"
  x=$((x + 57 * PET_SCALE)) y=$((y + 60 * PET_SCALE))
  x=$((x < 0 ? 0 : x >= SCREEN_W ? SCREEN_W - 1 : x))
  y=$((y < 0 ? 0 : y >= SCREEN_H ? SCREEN_H - 1 : y))
  echo "$x $y"
}

# The window takes the mouse only on the pup's own pixels, and a walking pup
# steps 7 pixels at a time: it is held still between the look and the press, so
# that the press lands on it where it was seen.
press_pet() {
  freeze_pet
  read -r PRESS_X PRESS_Y <<< "$(pet_middle)"
  xdotool mousemove "$PRESS_X" "$PRESS_Y" mousedown "${1:-1}"
  thaw_pet
}

# The button is let go only after a step without movement, so that the pet
# does not fly on by its last jump.
drag_pet_to() {
  press_pet 1
  sleep 0.2
  xdotool mousemove "$1" "$2"
  sleep 0.4
  xdotool mouseup 1
}

pet_mapped() {
  xwininfo -id "$PET_WINDOW" 2> /dev/null | grep -q 'Map State: IsViewable'
}

# The sprite lies 7 pixels inside the window on every side.
sprite_on_screen() {
  [ $(($1 + 7)) -ge 0 ] && [ $(($2 + 7)) -ge 0 ] &&
    [ $(($1 + 7 + 100)) -le "$SCREEN_W" ] && [ $(($2 + 7 + 105)) -le "$SCREEN_H" ]
}

now_ms() {
  local now=${EPOCHREALTIME/./}
  echo $((now / 1000))
}

cpu_ms() {
  cat /proc/"${1:-$PET_PID}"/task/*/schedstat 2> /dev/null |
    awk '{ ns += $1 } END { printf "%d", ns / 1000000 }'
}

cpu_over() {
  local before
  before=$(cpu_ms)
  sleep "$1"
  echo $(($(cpu_ms) - before))
}

# Wine itself costs a program that sleeps in its message loop a few
# milliseconds at each wake on some machines and next to nothing on others, and
# what a wake costs changes from one moment to the next with the machine's
# load: a held pet is judged against such a program, measured over the same
# seconds. Prints "<pet's ms> <idle program's ms>".
held_and_idle_cpu() {
  local pid="" tries=0 pet_before idle_before pet_after idle_after earlier
  earlier=$(pgrep -x pet-command.exe | tr '\n' ' ')
  wine "$PET_COMMAND" idle $(($1 + 4)) > /dev/null 2>&1 &
  local job=$!
  while [ -z "$pid" ] && [ $tries -lt 50 ]; do
    pid=$(pgrep -x pet-command.exe | grep -vxF -f <(tr ' ' '\n' <<< "$earlier" | grep .) | head -1)
    tries=$((tries + 1))
    sleep 0.1
  done
  # Past its start, which costs far more than its ticks. Without it the floor
  # is 0, and the pet is judged by its living alone.
  sleep 2
  pet_before=$(cpu_ms) idle_before=$([ -n "$pid" ] && cpu_ms "$pid")
  sleep "$1"
  pet_after=$(cpu_ms) idle_after=$([ -n "$pid" ] && cpu_ms "$pid")
  wait "$job"
  echo $((pet_after - pet_before)) $((${idle_after:-0} - ${idle_before:-0}))
}

expect_held_cpu() {
  local living=$1 seconds=$2 what=$3 held floor
  read -r held floor <<< "$(held_and_idle_cpu "$seconds")"
  say "  $what: the pet spent $held ms of CPU in $seconds s, living $living ms; an idle Wine program $floor ms"
  [ $((held * 4)) -lt "$living" ] || [ "$held" -le $((2 * floor + 10)) ] ||
    failed "$what: the pet spent $held ms of CPU in $seconds s, living $living ms, an idle Wine program $floor ms"
}

# The window's top-left corner, "X Y".
pet_position() {
  local g
  g=$(pet_geometry) || return 1
  echo "${g% * *}"
}

follows_to() {
  local deadline=$((SECONDS + 3))
  until [ "$(pet_position)" = "$(($1 - 57 * PET_SCALE)) $(($2 - 17 * PET_SCALE))" ]; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}

# ---- the .htm association --------------------------------------------------------
reg() { timeout 30 wine reg "$@" > /dev/null 2>&1; }
register_browser() {
  BROWSER_CLASS=$1
  # The default value of HKCR\.htm before the test, if it had one.
  SAVED_HTM=$(timeout 30 wine reg query 'HKCR\.htm' /ve 2> /dev/null | tr -d '\r' |
    awk '/REG_SZ/ { sub(/^.*REG_SZ[ \t]+/, ""); print; exit }')
  HAD_HTM=0
  timeout 30 wine reg query 'HKCR\.htm' > /dev/null 2>&1 && HAD_HTM=1
  CLEANUP_HOOKS+=(restore_browser)
  reg add 'HKCR\.htm' /ve /d "$1" /f || fatal "cannot write HKCR\\.htm"
  reg add "HKCR\\$1\\shell\\open\\command" /ve /d "$2" /f || fatal "cannot write the $1 command"
}
restore_browser() {
  reg delete "HKCR\\$BROWSER_CLASS" /f
  if [ "$HAD_HTM" = 1 ]; then
    reg add 'HKCR\.htm' /ve /d "$SAVED_HTM" /f
  else
    reg delete 'HKCR\.htm' /f
  fi
}

# ---- the menu -------------------------------------------------------------------
MENU_TITLE='澄曦數碼-夢舞華章小可愛'

# Writes the menu's windows and controls to $OUT/menu.txt; fails when no menu is up.
read_menu() {
  timeout 20 wine "$PET_COMMAND" menu "$MENU_TITLE" 2> /dev/null | tr -d '\r' > "$OUT/menu.txt"
  grep -q '^dialog ' "$OUT/menu.txt"
}

menu_dialogs() { grep -c '^dialog 1 ' "$OUT/menu.txt"; }

right_click_pet() {
  press_pet 3
  xdotool mouseup 3
}

wait_menu() {
  local deadline=$((SECONDS + $1))
  while [ $SECONDS -lt $deadline ]; do
    read_menu && return 0
    sleep 0.3
  done
  return 1
}

wait_menu_gone() {
  local deadline=$((SECONDS + $1))
  while [ $SECONDS -lt $deadline ]; do
    read_menu || return 0
    sleep 0.3
  done
  return 1
}

# click_button ID: clicks the middle of the control's rectangle as last read.
click_button() {
  local line left top right bottom
  line=$(grep "^control $1 " "$OUT/menu.txt" | head -1)
  [ -n "$line" ] || { failed "no control $1 in the menu"; return 1; }
  read -r _ _ _ _ left top right bottom _ <<< "$line"
  xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click 1
}

# expect_goes_on S WHAT: over up to S seconds, screenshots (each checked) until
# the pet shows another frame or stands elsewhere. Standing, acting and walking
# are its own random choice; each act animates, so its picture changes soon.
expect_goes_on() {
  local deadline=$((SECONDS + $1)) first="" now n=0
  while [ $SECONDS -lt $deadline ]; do
    n=$((n + 1))
    snapshot "$2-$n"
    check_snapshot "$2-$n" || return 1
    now="$SHOT_RECT $(cat "$OUT/$2-$n.check")"
    [ -z "$first" ] && first=$now
    [ "$now" != "$first" ] && return 0
    sleep 0.4
  done
  failed "$2: the pet's picture did not change within $1 s"
  return 1
}

# The menu opens in the middle of the screen, above the pet: drag the pet to the
# top-left corner first. The button is held a moment after the jump, since a
# release right after it would keep the jump as the pet's speed.
move_pet_out_of_the_menus_way() {
  press_pet 1
  sleep 0.2
  xdotool mousemove 150 150
  sleep 0.5
  xdotool mouseup 1
  sleep 0.2
}

# ---- the arrow keys ---------------------------------------------------------------
expect_arrow_steps() {
  local key=$1 axis=$2 sign=$3 samples=() i
  xdotool keydown "$key"
  # The pet may have been half-way through a step of its own: start counting
  # once the key has surely arrived.
  sleep 0.12
  samples+=("$(pet_position)")
  for i in $(seq 1 13); do
    sleep 0.07
    samples+=("$(pet_position)")
  done
  xdotool keyup "$key"
  sleep 0.3
  local px py qx qy dx dy along across total=0
  read -r px py <<< "${samples[0]}"
  for ((i = 1; i < ${#samples[@]}; i++)); do
    read -r qx qy <<< "${samples[$i]}"
    dx=$((qx - px)) dy=$((qy - py))
    if [ "$axis" = x ]; then along=$dx across=$dy; else along=$dy across=$dx; fi
    if [ $across -ne 0 ] || [ $((along % 7)) -ne 0 ] || [ $((along * sign)) -lt 0 ]; then
      failed "$key held: moved by ($dx,$dy) between samples; positions: ${samples[*]}"
      return 1
    fi
    total=$((total + along * sign))
    px=$qx py=$qy
  done
  say "  $key: moved $total px in steps of 7 along $axis"
  [ $total -ge 28 ] || { failed "$key held ~1 s: moved only $total px; positions: ${samples[*]}"; return 1; }
}
