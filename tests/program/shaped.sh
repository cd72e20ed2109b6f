# The pet's window takes the pup's shape. Over an ordinary window that changes
# colour beneath it: around the pup the window beneath shows as it is now;
# clicks beside the pup and on its see-through pixels reach the window beneath;
# a press on its body drags it; and when it ends, the window beneath is left in
# its last colour, with no patch of an older picture.
source "$(dirname "$0")/lib.sh"
use_depth "${1:-32}"

B_LEFT=200 B_TOP=150 B_W=600 B_H=468
BENEATH_JOB=""
close_beneath() {
  [ -n "$BENEATH_JOB" ] && kill "$BENEATH_JOB" 2> /dev/null
  return 0
}
CLEANUP_HOOKS+=(close_beneath)

# Opened before the pet: without a window manager Wine stacks a window mapped
# later above the topmost pet, which no Windows desktop does.
open_beneath() {
  wine "$PET_COMMAND" beneath $B_LEFT $B_TOP $B_W $B_H 170 > "$OUT/beneath.log" 2>&1 &
  BENEATH_JOB=$!
  local deadline=$((SECONDS + 20))
  until xdotool search --onlyvisible --name '^Morvet test beneath$' > /dev/null 2>&1; do
    [ $SECONDS -ge $deadline ] && fatal "the window beneath did not open"
    sleep 0.2
  done
}

# recolour RRGGBB: the window beneath takes that colour (one of the system's
# 16 plain colours, which an 8-bit display shows without dithering); CLEAN_SHOT becomes
# the desktop as it must look without the pet. The colour is read back from the
# screen far from the pet, as the display shows it: at 16 bits it is rounded,
# and at 8 bits a root screenshot shows Wine's windows in colours of its own.
recolour() {
  timeout 20 wine "$PET_COMMAND" recolour "$1" || fatal "the window beneath could not be recoloured"
  sleep 0.2
  shoot "$OUT/recoloured-$1.ppm"
  local shown
  shown=$(convert "$OUT/recoloured-$1.ppm" -crop "1x1+$((B_LEFT + 4))+$((B_TOP + 4))" -depth 8 txt:- |
    sed -n 's/.*\(#[0-9A-Fa-f]\{6\}\).*/\1/p' | head -1)
  [ -n "$shown" ] || fatal "cannot read the colour of the window beneath"
  CLEAN_SHOT=$OUT/clean-$1.ppm
  convert "$OUT/clean.ppm" -fill "$shown" \
    -draw "rectangle $B_LEFT,$B_TOP $((B_LEFT + B_W - 1)),$((B_TOP + B_H - 1))" \
    -depth 8 "$CLEAN_SHOT" || fatal "cannot draw the desktop with the window beneath"
}

presses_beneath() { grep -c '^press ' "$OUT/beneath.log"; }

start_pet_beside_beneath() {
  start_pet
  wait_pet_window 30 || fatal "no pet window within 30 s (exit code: $(cat "$OUT/pet.rc" 2> /dev/null))"
  sleep 0.5
}

# The cursor at the middle of the window beneath holds the pet, by its body.
hold_pet_over_beneath() {
  press_pet 1
  xdotool mousemove 500 384
  follows_to 500 384 || fatal "held by its body, the pet does not follow the cursor: window at $(pet_position)"
  [ "$(presses_beneath)" = 0 ] || failed "a press on the pet's body reached the window beneath"
}

put_wallpaper
open_beneath
recolour 008080
start_pet_beside_beneath
hold_pet_over_beneath

say "the window beneath, changing under a pet held still"
for colour in 800000 008000 c0c0c0; do
  recolour $colour
  sleep 0.8
done
sleep 0.7  # 1.5 s after the last change
snapshot live
check_snapshot live

say "the end leaves the window beneath in its last colour"
recolour 808000
sleep 0.3
timeout 20 wine "$PET_COMMAND" close || fatal "pet-command close found no pet"
wait_pet_exit 15 || fatal "the pet still runs 15 s after WM_CLOSE"
xdotool mouseup 1
[ "$PET_RC" = 0 ] || failed "exit code $PET_RC after WM_CLOSE, not 0"
PET_JOB="" PET_PID=""
sleep 0.5
check_desktop_clean after-exit

say "clicks beside the pup reach the window beneath"
start_pet_beside_beneath
hold_pet_over_beneath
sleep 0.3  # a step without movement before the release, so that it does not fly on
xdotool mouseup 1
freeze_pet
read -r x y <<< "$(pet_position)"
# A pixel of the margin, then a see-through pixel in the sprite's corner.
xdotool mousemove $((x + 3)) $((y + 3)) click 1
sleep 0.3
xdotool mousemove $((x + 8)) $((y + 8)) click 1
sleep 0.5
thaw_pet
[ "$(presses_beneath)" = 2 ] ||
  failed "of two clicks beside the pup at $x,$y, $(presses_beneath) reached the window beneath"
# Wine now stacks the clicked window above the pet; no Windows desktop does.
# What counts is that the pet took no press: it does not follow the cursor.
xdotool mousemove 100 700
if follows_to 100 700; then failed "after clicks beside it, the pet follows the cursor"; fi
timeout 20 wine "$PET_COMMAND" ping || failed "the pet does not answer a message after the clicks"
stop_pet
finish
