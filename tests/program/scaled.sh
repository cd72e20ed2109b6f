# On a display at 200 % (the prefix reports 192 dots per inch) the pup is twice
# the size, each of its pixels a 2 x 2 block of one colour: its window is
# 228 x 238, a press on its body drags it with the cursor, and its walks keep it
# on the screen.
PET_SCALE=2
source "$(dirname "$0")/lib.sh"
use_depth dpi192

# A plain wallpaper: every 2 x 2 block of the desktop is one colour too.
timeout 20 xsetroot -solid '#a02020' || fatal "cannot paint the root window"
start_pet
wait_pet_window 30 || fatal "no 228 x 238 window named Morvet within 30 s; pet windows: $(pet_windows | while read -r w; do pet_geometry "$w"; done | tr '\n' ';')"
sleep 0.5

say "a press on the body drags the pet with the cursor"
press_pet 1
xdotool mousemove 600 400
follows_to 600 400 || failed "held by its body, the window stands at $(pet_position), not at 486 366"
sleep 0.3
xdotool mouseup 1

say "every pet pixel is a 2 x 2 block of one colour"
freeze_pet
read -r x y w h <<< "$(pet_geometry)"
shoot "$OUT/scaled.ppm"
thaw_pet
convert "$OUT/scaled.ppm" -crop "${w}x$h+$x+$y" +repage "$OUT/window.ppm"
convert "$OUT/window.ppm" -sample 50% -sample 200% "$OUT/blocks.ppm"
odd=$(compare -metric AE "$OUT/window.ppm" "$OUT/blocks.ppm" null: 2>&1)
[ "$odd" = 0 ] || failed "the window at $x,$y: $odd pixels differ from their 2 x 2 block"
colours=$(convert "$OUT/window.ppm" -format '%k' info:)
[ "$colours" -ge 6 ] || failed "the window at $x,$y shows $colours colours: the pup is not drawn"
say "  window at $x,$y, $w x $h, $colours colours"

say "walks keep the sprite on the screen"
positions=()
off=0
for i in $(seq 1 12); do
  sleep 1
  read -r x y <<< "$(pet_position)"
  positions+=("$x,$y")
  sprite_within "$x" "$y" 0 0 "$SCREEN_W" "$SCREEN_H" $((PET_SCALE * WALK_BELOW)) || off=$((off + 1))
done
say "  once a second: ${positions[*]}"
[ $off -eq 0 ] || failed "the sprite was off the screen in $off of 12 samples"
stop_pet
finish
