# Minimized by the system command a click on its taskbar button sends
# (WM_SYSCOMMAND SC_MINIMIZE), or by ShowWindow SW_MINIMIZE from another
# program, the pet holds still: its window is iconic and still shown, which
# keeps its taskbar button, and over 5 s the pet spends next to nothing: under
# a quarter of what it spent in 5 s of living just before, or no more than a
# Wine program that only ticks twice a second. Restored the same way, it
# stands where it was minimized, goes on from there by steps, shows a correct
# figure and follows a drag.
# Wine without a window manager leaves a minimized window on the screen where
# it stood: that is where the pet must be back; Wine's picture of the minimized
# window is not judged.
source "$(dirname "$0")/lib.sh"
use_depth "${1:-32}"

placement() { timeout 20 wine "$PET_COMMAND" placement 2> /dev/null | tr -d '\r'; }

# near X1 Y1 X2 Y2: within two 7-pixel steps of each other on both axes.
near() {
  local dx=$(($3 - $1)) dy=$(($4 - $2))
  [ ${dx#-} -le 14 ] && [ ${dy#-} -le 14 ]
}

# minimized_and_restored WAY: WAY is "" for the system commands, "-show" for ShowWindow.
minimized_and_restored() {
  local way=$1 name=minimize$1 living bx by mx my word iconic visible ix iy rx ry nx ny
  say "$name, then restore$way"
  living=$(cpu_over 5)
  read -r bx by <<< "$(pet_position)"
  timeout 20 wine "$PET_COMMAND" "minimize$way" > /dev/null 2>&1 || fatal "pet-command minimize$way failed"
  local deadline=$((SECONDS + 5))
  while read -r word iconic visible ix iy <<< "$(placement)"; [ "${iconic:-}" != 1 ]; do
    [ $SECONDS -lt $deadline ] || fatal "5 s after minimize$way the window is not minimized: $word $iconic $visible $ix $iy"
    sleep 0.1
  done
  [ "$visible" = 1 ] || failed "minimized, the pet hid its window: it would lose its taskbar button"
  # Wine waits up to 2 s for a window manager to take the window away.
  sleep 2.5
  read -r mx my <<< "$(pet_position)"
  # A walking pet may have stepped on while pet-command started.
  say "  minimized at $mx,$my (window at $bx,$by a moment before; Windows reports $ix,$iy)"

  expect_held_cpu "$living" 5 minimized
  read -r word iconic visible _ _ <<< "$(placement)"
  [ "$iconic $visible" = "1 1" ] || failed "5 s later the window is no longer minimized and shown: $iconic $visible"

  timeout 20 wine "$PET_COMMAND" "restore$way" > "$OUT/restore$way.log" 2>&1 ||
    fatal "pet-command restore$way failed: $(tr -d '\r' < "$OUT/restore$way.log")"
  # pet-command watched the window from the end of the restore: the places
  # after the minimized one, the first where the pet stood, the next a step on.
  local places
  places=$(tr -d '\r' < "$OUT/restore$way.log" | awk -v ix="$ix" -v iy="$iy" \
    '$1 == "at" && !($3 == ix && $4 == iy) { print $3, $4 }' | head -2 | tr '\n' ' ')
  read -r rx ry nx ny <<< "$places"
  if [ "${rx:-} ${ry:-}" != "$mx $my" ]; then
    failed "restored, the window stands at ${rx:-nowhere},${ry:-} instead of $mx,$my"
  elif [ -n "${nx:-}" ] && ! near "$rx" "$ry" "$nx" "$ny"; then
    failed "restored at $rx,$ry, the window then jumped to $nx,$ny"
  else
    say "  restored at $rx,$ry${nx:+, then a step to $nx,$ny}"
  fi
  # Wine waits for a window manager again before the window is its own.
  sleep 2.5
  snapshot "restored$way"
  check_snapshot "restored$way"
  press_pet 1
  sleep 0.2
  local cx=$((SCREEN_W / 2)) cy=$((SCREEN_H / 2))
  xdotool mousemove "$cx" "$cy"
  follows_to "$cx" "$cy" || failed "restored, the pet does not follow a drag: window at $(pet_position)"
  sleep 0.3
  xdotool mouseup 1
  sleep 0.5
}

start_pet_on_wallpaper
minimized_and_restored ""
minimized_and_restored -show
timeout 20 wine "$PET_COMMAND" ping || failed "at the end the pet does not answer a message"

stop_pet
finish
