# A display change: a program switches the screen from 1280 x 1024 to 800 x 600
# while the pet stands in the lower right, outside the smaller screen. Within
# 2 s the whole sprite must stand on the new screen, and from then on stay
# within the walks' bounds, showing the desktop that lies there now, not a box
# of the old one; back at 1280 x 1024 it answers and follows a drag. The test
# has a display of its own.
source "$(dirname "$0")/lib.sh"
use_depth 32 1280x1024
add_800x600_mode

walks_on_screen() { sprite_within "$1" "$2" 0 0 "$SCREEN_W" "$SCREEN_H" $WALK_BELOW; }

start_pet_on_wallpaper
drag_pet_to $((SCREEN_W - 120)) $((SCREEN_H - 120))
read -r x y <<< "$(pet_position)"
[ $((x + 7)) -ge 800 ] || [ $((y + 7)) -ge 600 ] ||
  fatal "the pet was not dragged out of the smaller screen: window at $x,$y"
say "before the change: window at $x,$y on ${SCREEN_W}x$SCREEN_H"
convert "$OUT/clean.ppm" -crop 800x600+0+0 +repage "$OUT/clean-800x600.ppm" ||
  fatal "cannot cut the wallpaper to 800x600"

# The places pet-command saw from the moment the change ended, "MS X Y". The
# pet's timer may come due while the change runs, so that it takes its first
# step before pet-command looks: the place that step began from, one step back
# along the walk, is put first.
places_after_change() {
  local places x1 y1 x2 y2
  places=$(tr -d '\r' < "$OUT/display-800x600.log" | awk '$1 == "at" { print $2, $3, $4 }')
  read -r _ x1 y1 <<< "$(sed -n 1p <<< "$places")"
  read -r _ x2 y2 <<< "$(sed -n 2p <<< "$places")"
  if [ -n "${x2:-}" ] && [ $((x2 - x1)) -ge -7 ] && [ $((x2 - x1)) -le 7 ] &&
    [ $((y2 - y1)) -ge -7 ] && [ $((y2 - y1)) -le 7 ]; then
    echo "0 $((2 * x1 - x2)) $((2 * y1 - y2))"
  fi
  echo "$places"
}

change_display 800 600
first=$(places_after_change | while read -r ms px py; do
  [ -n "$px" ] && sprite_on_screen "$px" "$py" && { echo "$ms $px $py"; break; }
done)
if [ -n "$first" ]; then
  read -r ms x y <<< "$first"
  say "  the whole sprite on the 800x600 screen $ms ms after the change: window at $x,$y"
else
  failed "within 2 s of the change to 800x600 the sprite never stood wholly on the screen; places: $(
    grep '^at ' "$OUT/display-800x600.log" | tr -d '\r' | cut -d' ' -f3- | tr ' \n' ', ')"
fi
# The pet walks on meanwhile, maybe with its feet past the bottom edge as the
# walks allow; the picture is judged wherever it stands.
CLEAN_SHOT=$OUT/clean-800x600.ppm
snapshot small-screen
check_snapshot small-screen

positions=()
off=0
for i in $(seq 1 30); do
  sleep 1
  read -r x y <<< "$(pet_position)"
  positions+=("$x,$y")
  walks_on_screen "$x" "$y" || off=$((off + 1))
done
say "  at 800x600, once a second: ${positions[*]}"
[ $off -eq 0 ] || failed "the sprite was off the 800x600 screen in $off of 30 one-second samples"

# Grown again, Xvfb shows the part of the screen that stayed visible scrambled
# until something paints it: pictures are not judged from here on.
change_display 1280 1024
timeout 20 wine "$PET_COMMAND" ping || failed "back at 1280x1024 the pet does not answer a message"
press_pet 1
sleep 0.2
xdotool mousemove 640 512
follows_to 640 512 || failed "back at 1280x1024 the pet does not follow a drag: window at $(pet_position)"
sleep 0.3
xdotool mouseup 1

stop_pet
finish
