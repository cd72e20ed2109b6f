# The menu: a right click opens one dialog with three visible buttons; while it
# is up the pet goes on and can be dragged, and a second right click opens
# nothing more; Continue closes it and the pet goes on; Close ends the program
# with exit code 0.
source "$(dirname "$0")/lib.sh"
use_depth "${1:-32}"

start_pet_on_wallpaper
move_pet_out_of_the_menus_way
right_click_pet
wait_menu 15 || fatal "no window titled $MENU_TITLE within 15 s of a right click"
say "menu:"
sed 's/^/  /' "$OUT/menu.txt"
[ "$(menu_dialogs)" = 1 ] || failed "$(menu_dialogs) visible menus, not 1"

# control <id> <visible> <enabled> <left> <top> <right> <bottom> <text>
expect_control() {
  local id=$1 visible=$2 text=$3 line
  line=$(grep "^control $id " "$OUT/menu.txt" | head -1)
  [ -n "$line" ] || { failed "the menu has no control $id"; return; }
  read -r _ _ v _ _ _ _ _ t <<< "$line"
  [ "$v" = "$visible" ] || failed "control $id visible=$v, expected $visible"
  [ "$visible" = 0 ] || [ "$t" = "$text" ] || failed "control $id reads '$t', expected '$text'"
}
expect_control 1000 1 '澄曦數碼全球資訊網'
expect_control 1001 1 '繼續桌前小精靈'
expect_control 1006 1 '關閉桌前小精靈'
expect_control 1004 0 ''
grep -q '^control 1004 0 0 ' "$OUT/menu.txt" || failed "control 1004 is not a hidden, disabled control"
visible=$(grep -c '^control [0-9]* 1 ' "$OUT/menu.txt")
[ "$visible" = 3 ] || failed "$visible visible controls in the menu, not 3"

# A picture of the menu, to look at its text.
read -r _ _ l t r b <<< "$(grep '^dialog ' "$OUT/menu.txt" | head -1)"
freeze_pet
shoot "$OUT/menu-screen.ppm"
thaw_pet
convert "$OUT/menu-screen.ppm" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$OUT/menu.png" 2> /dev/null

# A second right click while the menu is up opens no second menu.
right_click_pet
sleep 1.5
read_menu || failed "the menu went away after a second right click"
[ "$(menu_dialogs)" = 1 ] || failed "$(menu_dialogs) menus after a second right click, not 1"

# While the menu is up the pet can be dragged, away from the menu.
press_pet 1
sleep 0.2
xdotool mousemove 200 600
deadline=$((SECONDS + 3))
until [ "$(pet_position)" = "143 583" ] || [ $SECONDS -ge $deadline ]; do sleep 0.1; done
[ "$(pet_position)" = "143 583" ] ||
  failed "dragged to 200,600 with the menu up: window at $(pet_position), expected 143 583"
# Released only after a step without movement, so that it does not fly on.
sleep 0.3
xdotool mouseup 1
# The desktop now has the menu on it: take the menu from a screenshot, the rest
# from the clean desktop.
freeze_pet
shoot "$OUT/with-menu.ppm"
thaw_pet
read -r _ _ l t r b <<< "$(grep '^dialog ' "$OUT/menu.txt" | head -1)"
convert "$OUT/clean.ppm" \( "$OUT/with-menu.ppm" -crop "$((r - l))x$((b - t))+$l+$t" \) \
  -geometry "+$l+$t" -composite -depth 8 "$OUT/clean-with-menu.ppm" || fatal "cannot compose the desktop with the menu"
CLEAN_SHOT=$OUT/clean-with-menu.ppm
expect_goes_on 15 menu-up
CLEAN_SHOT=
read_menu && [ "$(menu_dialogs)" = 1 ] || failed "the menu is gone after the drag"

# Continue closes the menu; the pet goes on.
click_button 1001
wait_menu_gone 10 || failed "the menu is still up 10 s after Continue"
[ -f "$OUT/pet.rc" ] && fatal "the program ended after Continue (exit code $(cat "$OUT/pet.rc"))"
expect_goes_on 15 after-continue

# Close ends the program.
right_click_pet
wait_menu 15 || fatal "no menu on the second opening"
click_button 1006
if wait_pet_exit 15; then
  [ "$PET_RC" = 0 ] || failed "exit code $PET_RC after Close, not 0"
else
  failed "the program still runs 15 s after Close"
fi
PET_JOB=""
PET_PID=""
finish
