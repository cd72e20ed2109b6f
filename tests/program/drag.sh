# Dragging: with the left button held on the pet, each step puts the window's
# top-left corner at the cursor minus (57, 17); after release the pet goes on by
# itself (another frame or another place).
# With "released-off" as the second argument: a drag whose release lands off
# the pet, as after a quick throw, still ends; the pet does not follow the bare
# cursor afterwards, and the arrow keys work.
TEST_VARIANT=${2:-}
source "$(dirname "$0")/lib.sh"
use_depth "${1:-32}"

# A press and a hold on the pet, then its process is stopped while a pull of
# 390 pixels upwards and the release are sent. Once it goes on, the window
# system hands it the move and the release before any drag step can bring the
# window after the cursor: the release lies far off the window by construction.
release_off_the_pet() {
  local px py cx cy
  drag_pet_to $((SCREEN_W * 2 / 5)) $((SCREEN_H * 3 / 4))
  press_pet 1
  px=$PRESS_X py=$PRESS_Y
  sleep 0.2
  freeze_pet
  xdotool mousemove "$px" $((py - 390)) mouseup 1
  thaw_pet
  sleep 1
  for spot in "$((SCREEN_W / 4)) $((SCREEN_H * 3 / 4))" "$((SCREEN_W * 3 / 4)) $((SCREEN_H / 4))"; do
    read -r cx cy <<< "$spot"
    xdotool mousemove "$cx" "$cy"
    if follows_to "$cx" "$cy"; then
      failed "released at $px,$((py - 390)) off the pet: it follows the cursor to $cx,$cy with no button held"
    fi
  done
  say "  after the release: window at $(pet_position)"
  xdotool windowfocus --sync "$PET_WINDOW" 2> /dev/null || xdotool windowfocus "$PET_WINDOW"
  sleep 0.3
  # Towards the middle, away from the bound where arrow steps stop.
  read -r cx _ <<< "$(pet_position)"
  if [ $((cx + 57)) -gt $((SCREEN_W / 2)) ]; then
    expect_arrow_steps Left x -1
  else
    expect_arrow_steps Right x 1
  fi
}

start_pet_on_wallpaper
if [ "$TEST_VARIANT" = released-off ]; then
  release_off_the_pet
  stop_pet
  finish
fi
# Waits up to 3 s for the window to sit at the cursor minus (57, 17).
expect_at_cursor() {
  local cx=$1 cy=$2 deadline=$((SECONDS + 3)) pos=""
  sleep 0.15
  while :; do
    pos=$(pet_position)
    [ "$pos" = "$((cx - 57)) $((cy - 17))" ] && return 0
    [ $SECONDS -ge $deadline ] && break
    sleep 0.1
  done
  failed "cursor at $cx,$cy: window at $pos, expected $((cx - 57)) $((cy - 17))"
  return 1
}

press_pet 1
expect_at_cursor "$PRESS_X" "$PRESS_Y"
for target in "400 300" "460 330" "520 360" "300 450" "650 250"; do
  read -r cx cy <<< "$target"
  xdotool mousemove "$cx" "$cy"
  expect_at_cursor "$cx" "$cy"
done
snapshot dragged
check_snapshot dragged
# Released only after a step without movement, so that it does not fly on.
sleep 0.3
xdotool mouseup 1
expect_goes_on 15 after-release

stop_pet
finish
