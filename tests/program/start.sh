# A pet starts: one 114 x 119 window named Morvet appears within a few seconds at
# a spot inside the placement bounds, and its picture is the desktop with one
# frame keyed over it. With "minimized" as the second argument it is started
# the way a shortcut set to run minimized starts it, and must appear and live
# all the same.
TEST_VARIANT=${2:-}
source "$(dirname "$0")/lib.sh"
use_depth "${1:?depth}"

if [ "$TEST_VARIANT" = minimized ]; then
  start_pet_on_wallpaper start /min /wait /unix
else
  start_pet_on_wallpaper
fi
count=$(pet_windows | wc -l)
[ "$count" -eq 1 ] || failed "$count visible windows named Morvet, not 1"

read -r x y w h <<< "$(pet_geometry)"
say "window at $x,$y size ${w}x$h on a ${SCREEN_W}x$SCREEN_H screen"
# The sprite's corner is the window's plus the 7-pixel margin.
sx=$((x + 7)) sy=$((y + 7))
# It may have taken a step or two already: allow one step (7 px) of walking.
[ $sx -ge $((80 - 7)) ] && [ $sx -le $((SCREEN_W - 81 + 7)) ] ||
  failed "sprite x $sx is outside 80..$((SCREEN_W - 81))"
[ $sy -ge $((80 - 7)) ] && [ $sy -le $((SCREEN_H - 81 + 7)) ] ||
  failed "sprite y $sy is outside 80..$((SCREEN_H - 81))"

snapshot start
check_snapshot start
[ "$TEST_VARIANT" = minimized ] && expect_goes_on 15 lives

stop_pet
finish
