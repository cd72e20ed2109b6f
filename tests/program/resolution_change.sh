# A program changes the screen's resolution between 1024 x 768 and 800 x 600
# while the pet lives. The test has a display of its own.
#   resolution_change.sh drop    at 800 x 600, where the system may still tell
#                                a running program the old, larger work area,
#                                the pet is dropped near the bottom, as low as a
#                                walk may take it, and walks off; over 10 s of
#                                living, sampled twice a second, its sprite stays
#                                on the screen but for the feet a walk lets past
#                                the bottom edge
#   resolution_change.sh thrown  the pet thrown wholly above the 800 x 600
#                                screen, left alone (standing or walking), and
#                                again with the session locked after the throw:
#                                within 2 s of the change back to 1024 x 768 its
#                                whole sprite stands on the screen (the session
#                                still locked), and for 3 s after (unlocked) it
#                                lives on it
source "$(dirname "$0")/lib.sh"
TEST_VARIANT=${1:?drop or thrown}
use_depth 32 1024x768
add_800x600_mode

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
  stop_pet
  finish
fi

# throw_above: throws the pet from the right part of the 800 x 600 screen to
# its top right corner and as far again, until its window stands wholly above
# the screen (the pet's own timer may take the speed out of a throw), at
# (870, -378); prints where it landed.
throw_above() {
  local try landed x y
  for try in 1 2 3 4 5; do
    landed=$(timeout 20 wine "$PET_COMMAND" throw 671 361 799 0 2> /dev/null | tr -d '\r')
    read -r _ x y <<< "$landed"
    [ -n "$y" ] && [ $((y + 119)) -le 0 ] && { echo "$x $y"; return 0; }
    sleep 0.3
  done
  return 1
}

for how in alone locked; do
  say "thrown, then $how"
  change_display 800 600
  sleep 0.5
  thrown=$(throw_above) || fatal "$how: the pet could not be thrown above the screen: window at $(pet_position)"
  [ $how = locked ] && { timeout 20 wine "$PET_COMMAND" session lock || fatal "pet-command session lock failed"; }
  say "  thrown to $thrown at 800x600"
  change_display 1024 768
  first=$(tr -d '\r' < "$OUT/display-1024x768.log" | while read -r word ms wx wy; do
    [ "$word" = at ] && sprite_on_screen "$wx" "$wy" && { echo "$ms $wx $wy"; break; }
  done)
  if [ -n "$first" ]; then
    say "  the whole sprite on the 1024x768 screen $(cut -d' ' -f1 <<< "$first") ms after the change: window at $(cut -d' ' -f2- <<< "$first")"
  else
    failed "$how: within 2 s of the change to 1024x768 the sprite never stood wholly on the screen; places: $(
      grep '^at ' "$OUT/display-1024x768.log" | tr -d '\r' | cut -d' ' -f3- | tr ' \n' ', ')"
  fi
  [ $how = locked ] && { timeout 20 wine "$PET_COMMAND" session unlock || fatal "pet-command session unlock failed"; }
  lives_on_screen 3 "thrown, then $how, after the change"
done

stop_pet
finish
