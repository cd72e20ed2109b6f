# Dragging: with the left button held on the pet, each step puts the window's
# top-left corner at the cursor minus (57, 17); after release the pet goes on by
# itself (another frame or another place).
source "$(dirname "$0")/lib.sh"
use_depth "${1:-32}"

start_pet_on_wallpaper
read -r x y _ <<< "$(pet_geometry)"

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

xdotool mousemove $((x + 57)) $((y + 60)) mousedown 1
expect_at_cursor $((x + 57)) $((y + 60))
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
