# At a screen edge: the window may stand partly off the screen (its first spot
# and its walks allow that); the part on the screen must still show the desktop
# with the frame over it.
source "$(dirname "$0")/lib.sh"
use_depth "${1:-32}"

start_pet_on_wallpaper
press_pet 1
sleep 0.2
# Window bottom 20 px below the screen's, then its right side 20 px beyond.
for target in "$((SCREEN_W / 2)) $((SCREEN_H - 119 + 20 + 17))" \
              "$((SCREEN_W - 114 + 20 + 57)) $((SCREEN_H / 2))"; do
  read -r cx cy <<< "$target"
  xdotool mousemove "$cx" "$cy"
  follows_to "$cx" "$cy" || failed "cursor at $cx,$cy: window at $(pet_position)"
  sleep 0.3
  name="edge-$((cx - 57))-$((cy - 17))"
  snapshot "$name"
  check_snapshot "$name"
done
xdotool mouseup 1

stop_pet
finish
