# A long session of rough handling: a seeded random driver drags the pet
# (also past the screen's edges, and in flicks that let go before it follows),
# holds and taps arrow keys (also two at once), answers the menu with Continue
# and with the home-page button, and clicks on and off the pet, at a person's
# pace and faster. Along the way it samples the pet's memory and CPU time and
# judges a screenshot every few seconds. At the end the pet must still answer a
# drag, its memory must not have grown by more than 1 MB since the first minute
# (half the run, for runs shorter than two minutes), every judged picture must
# have been clean, and after it is told to end the desktop must be exactly the
# wallpaper. Prints one summary line.
#   soak.sh [SECONDS [SEED]]
source "$(dirname "$0")/lib.sh"
: "${URL_RECORDER:?}"
DURATION=${1:-60}
SEED=${2:-${MORVET_SOAK_SEED:-1}}
JUDGE_EVERY=5
ALLOWED_GROWTH_KB=1024
use_depth 32

# ---- the home page's stand-in browser ------------------------------------------
register_browser MorvetSoakPage "\"$(winepath -w "$URL_RECORDER" 2> /dev/null)\" \"%1\""
record=$OUT/url.txt
export MORVET_URL_RECORD
MORVET_URL_RECORD=$(winepath -w "$record" 2> /dev/null)

# ---- measuring -------------------------------------------------------------------
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$PET_PID/status" 2> /dev/null; }
cpu_seconds() {
  awk -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / hz }' "/proc/$PET_PID/stat" 2> /dev/null
}
BASELINE_AT=$((DURATION < 120 ? DURATION / 2 : 60))
baseline_kb=""
peak_after_baseline_kb=0
sample_memory() {
  local now
  now=$(rss_kb) || return 0
  [ -n "$now" ] || return 0
  # The first menu of each kind builds fonts and dialog resources once: the
  # baseline comes after both.
  if [ -z "$baseline_kb" ] && [ $((SECONDS - START)) -ge $BASELINE_AT ] &&
    [ "$home_pages" -gt 0 ] && [ "$menus" -gt "$home_pages" ]; then
    baseline_kb=$now
  fi
  [ -n "$baseline_kb" ] && [ "$now" -gt "$peak_after_baseline_kb" ] && peak_after_baseline_kb=$now
  return 0
}

judged=0
unclean=0
judge() {
  judged=$((judged + 1))
  snapshot "judge-$judged"
  check_snapshot "judge-$judged" || unclean=$((unclean + 1))
}

# ---- the driver's moves -------------------------------------------------------------
pause() { sleep "0.$(printf '%02d' $((5 + RANDOM % 95)))"; }  # 0.05 to 0.99 s
declare -A DONE=()

# Whether a person could click the pet now: its window is shown (Wine takes a
# window wholly off the screen away) and its middle is on the screen.
pet_in_sight() {
  local x y
  xwininfo -id "$PET_WINDOW" 2> /dev/null | grep -q 'Map State: IsViewable' || return 1
  read -r x y <<< "$(pet_position)"
  [ $((x + 57)) -ge 0 ] && [ $((x + 57)) -lt "$SCREEN_W" ] && [ $((y + 60)) -ge 0 ] && [ $((y + 60)) -lt "$SCREEN_H" ]
}

# Somewhere on the screen, now and then right at an edge so the pet hangs past
# it. Sets SPOT_X and SPOT_Y (a subshell would not move the seeded sequence on).
random_spot() {
  case $((RANDOM % 4)) in
    0) SPOT_X=$((RANDOM % 3)) SPOT_Y=$((RANDOM % SCREEN_H)) ;;
    1) SPOT_X=$((SCREEN_W - 1 - RANDOM % 3)) SPOT_Y=$((RANDOM % SCREEN_H)) ;;
    2) SPOT_X=$((RANDOM % SCREEN_W)) SPOT_Y=$((SCREEN_H - 1 - RANDOM % 3)) ;;
    *) SPOT_X=$((40 + RANDOM % (SCREEN_W - 80))) SPOT_Y=$((40 + RANDOM % (SCREEN_H - 80))) ;;
  esac
}

drag() {
  random_spot
  press_pet 1
  pause
  xdotool mousemove $SPOT_X $SPOT_Y
  pause
  xdotool mouseup 1
}

# Let go before the pet has caught up: the release lands off the pet, which
# then flies on by as much again.
flick() {
  local x y
  press_pet 1
  x=$((PRESS_X + RANDOM % 241 - 120)) y=$((PRESS_Y + RANDOM % 241 - 120))
  x=$((x < 0 ? 0 : x >= SCREEN_W ? SCREEN_W - 1 : x))
  y=$((y < 0 ? 0 : y >= SCREEN_H ? SCREEN_H - 1 : y))
  xdotool mousemove $x $y mouseup 1
}

give_keyboard() {
  xdotool windowfocus "$PET_WINDOW" 2> /dev/null
  return 0
}

ARROWS=(Left Right Up Down)
hold_arrow() {
  give_keyboard
  local key=${ARROWS[$((RANDOM % 4))]}
  xdotool keydown "$key"
  pause
  pause
  xdotool keyup "$key"
}

tap_arrows() {
  give_keyboard
  local n
  for n in $(seq 1 $((2 + RANDOM % 5))); do
    xdotool key --delay 30 "${ARROWS[$((RANDOM % 4))]}"
  done
}

two_arrows() {
  give_keyboard
  local first=${ARROWS[$((RANDOM % 4))]} second=${ARROWS[$((RANDOM % 4))]}
  xdotool keydown "$first"
  sleep 0.1
  xdotool keydown "$second"
  pause
  xdotool keyup "$second" keyup "$first"
}

menus=0
home_pages=0
menus_missed=0
answer_menu() {
  pet_in_sight || { menus_missed=$((menus_missed + 1)); return 0; }
  right_click_pet
  if ! wait_menu 10; then
    say "  (the right click at $(pet_middle) opened no menu)"
    menus_missed=$((menus_missed + 1))
    return 0
  fi
  menus=$((menus + 1))
  if [ "$1" = home ]; then
    rm -f "$record"
    click_button 1000
    home_pages=$((home_pages + 1))
  else
    click_button 1001
  fi
  wait_menu_gone 10 || failed "the menu is still up 10 s after its button"
  if [ "$1" = home ]; then
    local deadline=$((SECONDS + 10))
    until [ -s "$record" ] || [ $SECONDS -ge $deadline ]; do sleep 0.2; done
    [ -s "$record" ] || failed "the home-page button started no browser"
  fi
}


click_pet() {
  press_pet 1
  xdotool mouseup 1
}

click_desktop() {
  random_spot
  xdotool mousemove $SPOT_X $SPOT_Y click 1
}

MOVES=(continue home drag flick hold_arrow tap_arrows two_arrows click_pet click_desktop rest)
do_move() {
  DONE[$1]=$((${DONE[$1]:-0} + 1))
  case $1 in
    continue) answer_menu continue ;;
    home) answer_menu home ;;
    rest) pause ;;
    *) "$1" ;;
  esac
}

# ---- the session ----------------------------------------------------------------------
RANDOM=$SEED
start_pet_on_wallpaper
[ -n "$PET_PID" ] && [ -r "/proc/$PET_PID/status" ] || fatal "cannot find the pet's process"
START=$SECONDS
cpu_at_start=$(cpu_seconds)
last_judged=$START
# Every kind of move once first, the menu while the pet surely stands in sight,
# so that the first minute has seen them all.
for move in "${MOVES[@]}"; do
  do_move "$move"
  sample_memory
done
while [ $((SECONDS - START)) -lt "$DURATION" ]; do
  [ -f "$OUT/pet.rc" ] && fatal "the pet ended by itself during the soak (exit code $(cat "$OUT/pet.rc"))"
  do_move "${MOVES[$((RANDOM % ${#MOVES[@]}))]}"
  sample_memory
  if [ $((SECONDS - last_judged)) -ge $JUDGE_EVERY ]; then
    sleep 0.3  # the last move's step has been painted
    judge
    last_judged=$SECONDS
  fi
done
elapsed=$((SECONDS - START))

# Still alive and answering: its thread answers a message, and once it is in
# sight (thrown off the screen, it walks back by itself) it follows a drag to
# the middle of the screen.
xdotool mouseup 1 keyup Left Right Up Down
timeout 20 wine "$PET_COMMAND" ping > /dev/null 2>&1 || failed "the pet does not answer a message within 2 s"
deadline=$((SECONDS + 90))
until pet_in_sight || [ $SECONDS -ge $deadline ]; do sleep 0.5; done
pet_in_sight || failed "the pet stayed out of sight for 90 s after the soak: window at $(pet_position)"
press_pet 1
sleep 0.2
xdotool mousemove $((SCREEN_W / 2)) $((SCREEN_H / 2))
follows_to $((SCREEN_W / 2)) $((SCREEN_H / 2)) ||
  failed "after the soak the pet does not follow a drag: window at $(pet_position)"
sleep 0.3
xdotool mouseup 1
sleep 0.5
judge
sample_memory
final_kb=$(rss_kb)
cpu=$(awk -v a="$cpu_at_start" -v b="$(cpu_seconds)" 'BEGIN { printf "%.2f", b - a }')

# The end: a close request, or now and then the screen saver.
ending=close
[ $((SEED % 2)) = 0 ] && ending=screensave
timeout 20 wine "$PET_COMMAND" "$ending" > /dev/null 2>&1 || failed "pet-command $ending found no pet"
if wait_pet_exit 15; then
  [ "$PET_RC" = 0 ] || failed "exit code $PET_RC after $ending, not 0"
else
  failed "the pet still runs 15 s after $ending"
fi
PET_JOB=""
PET_PID=""
sleep 0.5
check_desktop_clean after-exit

growth_kb=$((peak_after_baseline_kb - ${baseline_kb:-$peak_after_baseline_kb}))
[ -n "$baseline_kb" ] || failed "no memory sample after ${BASELINE_AT} s"
[ "$growth_kb" -le $ALLOWED_GROWTH_KB ] ||
  failed "memory grew by $growth_kb KB after the first ${BASELINE_AT} s (from $baseline_kb KB to $peak_after_baseline_kb KB)"
[ "$unclean" = 0 ] || failed "$unclean of $judged judged pictures were not clean"
[ "$menus" -gt 0 ] || failed "no right click opened the menu"

moves=""
for move in "${MOVES[@]}"; do moves+="$move ${DONE[$move]:-0}, "; done
say "soak: ${elapsed} s, seed $SEED; moves: ${moves%, }; menus $menus (home page $home_pages, pet out of reach $menus_missed);" \
  "pictures judged $judged, unclean $unclean; memory ${baseline_kb:-?} KB at ${BASELINE_AT} s," \
  "peak $peak_after_baseline_kb KB after, $final_kb KB at the end (growth $growth_kb KB);" \
  "CPU $cpu s ($(awk -v c="$cpu" -v t="$elapsed" 'BEGIN { printf "%.1f", 100 * c / (t > 0 ? t : 1) }') % of one core);" \
  "ended by $ending, exit code ${PET_RC:-?}"
finish
