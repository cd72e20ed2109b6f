# A program changes the screen's resolution from 1024 x 768 to 800 x 600 while
# the pet lives; the test has a display of its own.
#   resolution_change.sh drop    at 800 x 600, where the system may still tell
#                                a running program the old, larger work area,
#                                the pet is dropped near the bottom, as low as a
#                                walk may take it, and walks off; over 10 s of
#                                living, sampled twice a second, its sprite stays
#                                on the screen but for the feet a walk lets past
#                                the bottom edge
source "$(dirname "$0")/lib.sh"
TEST_VARIANT=${1:?drop}
use_depth 32 1024x768
xrandr --newmode 800x600 0 800 0 0 0 600 0 0 0 > /dev/null 2>&1 &&
  xrandr --addmode screen 800x600 > /dev/null 2>&1 ||
  fatal "cannot add an 800x600 mode to display $DISPLAY (xrandr: package x11-xserver-utils)"

# Through a program, as a game or a projector's settings do; pet-command
# prints the places the pet's window takes in the 2 s after the change.
change_display() {
  timeout 20 wine "$PET_COMMAND" display "$1" "$2" > "$OUT/display-$1x$2.log" 2>&1 ||
    fatal "pet-command display $1 $2 failed: $(tr -d '\r' < "$OUT/display-$1x$2.log")"
  read_screen_size
  [ "${SCREEN_W}x$SCREEN_H" = "$1x$2" ] || fatal "the screen is ${SCREEN_W}x$SCREEN_H after the change to $1x$2"
}

# lives_on_screen SECONDS WHAT: samples twice a second; each must be on the screen.
lives_on_screen() {
  local positions=() off=0 i x y
  for i in $(seq 1 $(($1 * 2))); do
    sleep 0.5
    read -r x y <<< "$(pet_position)"
    positions+=("$x,$y")
    sprite_within "$x" "$y" 0 0 "$SCREEN_W" "$SCREEN_H" $WALK_BELOW || off=$((off + 1))
  done
  say "  $2, twice a second: ${positions[*]}"
  [ $off -eq 0 ] || failed "$2: the sprite was off the ${SCREEN_W}x$SCREEN_H screen in $off of $(($1 * 2)) samples"
}

start_pet_on_wallpaper

if [ "$TEST_VARIANT" = drop ]; then
  change_display 800 600
  # The hand holds the sprite 10 rows below its top: the sprite's top row at
  # 510, the lowest a walk target may put it. A drop ends in a walk or in an
  # act that stands still: the pet is dropped again until it walks.
  for try in 1 2 3 4 5 6 7 8; do
    drag_pet_to 400 520
    read -r x y <<< "$(pet_position)"
    sleep 0.5
    [ "$(pet_position)" != "$x $y" ] && break
  done
  say "dropped at $x,$y, try $try; walking: window at $(pet_position)"
  lives_on_screen 10 "after the drop at 800x600"
fi

stop_pet
finish

