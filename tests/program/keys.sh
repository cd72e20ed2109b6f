# Arrow keys: while one is held the pet steps 7 pixels a step in its direction,
# and not at all along the other axis. An arrow still held when the menu takes
# the keyboard stops moving the pet, whose release then goes to the menu.
source "$(dirname "$0")/lib.sh"
use_depth "${1:-32}"

start_pet_on_wallpaper
# Bring it to the middle with a drag; the click also gives it the keyboard.
drag_pet_to $((SCREEN_W / 2)) $((SCREEN_H / 2))
xdotool windowfocus --sync "$PET_WINDOW" 2> /dev/null || xdotool windowfocus "$PET_WINDOW"
sleep 0.3

expect_arrow_steps Left x -1
expect_arrow_steps Right x 1
expect_arrow_steps Up y -1
expect_arrow_steps Down y 1
snapshot after-keys
check_snapshot after-keys

say "an arrow held while a right click opens the menu"
# Right of where the menu opens, in the middle of the screen.
press_pet 1
sleep 0.2
xdotool mousemove $((SCREEN_W - 200)) 250
sleep 0.4
xdotool mouseup 1
xdotool windowfocus --sync "$PET_WINDOW" 2> /dev/null || xdotool windowfocus "$PET_WINDOW"
sleep 0.3
xdotool keydown Left
sleep 0.2
right_click_pet
wait_menu 15 || fatal "no menu within 15 s of a right click with an arrow held"
xdotool keyup Left
sleep 0.3
click_button 1001
wait_menu_gone 10 || failed "the menu is still up 10 s after Continue"
positions=()
for i in $(seq 1 8); do
  sleep 0.5
  read -r x y <<< "$(pet_position)"
  positions+=("$x,$y")
  if [ "$x" -lt 0 ] || [ "$y" -lt 0 ] || [ $((x + 114)) -gt "$SCREEN_W" ] || [ $((y + 119)) -gt "$SCREEN_H" ]; then
    failed "the arrow's release went to the menu and the pet walked off the screen: ${positions[*]}"
    break
  fi
done
say "  after Continue: ${positions[*]}"
expect_goes_on 15 after-menu

stop_pet
finish
