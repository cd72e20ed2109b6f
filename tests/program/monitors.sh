# Two 1024 x 768 monitors side by side. A pet dragged onto the monitor that is
# not the primary one lives there: for 30 s, sampled once a second, its sprite
# stands wholly on that monitor, but for its feet as far below as a walk allows.
#   monitors.sh right   the left-hand monitor is the primary one; afterwards the
#                       right-hand one is switched off under the pet, which must
#                       stand wholly on the first within 2 s and live on there
#   monitors.sh left    the right-hand monitor is the primary one, so the pet is
#                       dragged onto negative coordinates
source "$(dirname "$0")/lib.sh"
TEST_VARIANT=${1:?right or left}
use_depth 32 two-monitors

if [ "$TEST_VARIANT" = left ]; then
  xrandr --output VNC-1 --primary || fatal "cannot make VNC-1 the primary monitor"
  primary=VNC-1 other=VNC-0
else
  primary=VNC-0 other=VNC-1
fi
read -r px py pw ph <<< "$(output_rect $primary)"
read -r ox oy ow oh <<< "$(output_rect $other)"

start_pet_on_wallpaper
read -r x y <<< "$(pet_position)"
sprite_within "$x" "$y" "$px" "$py" $((pw + FIRST_SPOT_RIGHT)) "$ph" $FIRST_SPOT_BELOW ||
  failed "the first spot, window at $x,$y, is not on the primary monitor $primary"

drag_pet_to $((ox + ow / 2)) $((oy + oh / 2))
say "dragged onto $other: window at $(pet_position)"
# on_monitor_for SECONDS L T W H: samples once a second; every one must be on it.
on_monitor_for() {
  local positions=() off=0 i x y
  for i in $(seq 1 "$1"); do
    sleep 1
    read -r x y <<< "$(pet_position)"
    positions+=("$x,$y")
    sprite_within "$x" "$y" "$2" "$3" "$4" "$5" $WALK_BELOW || off=$((off + 1))
  done
  say "  once a second: ${positions[*]}"
  [ $off -eq 0 ] || failed "the sprite was off the monitor at $2,$3 in $off of $1 one-second samples"
}
on_monitor_for 30 "$ox" "$oy" "$ow" "$oh"

if [ "$TEST_VARIANT" = right ]; then
  xrandr --output VNC-1 --off || fatal "cannot switch VNC-1 off"
  # Wine follows the change by itself within half a second; the message that
  # Windows would send with it is sent by hand.
  for i in $(seq 1 20); do
    [ "$(timeout 20 wine "$PET_COMMAND" monitors 2> /dev/null | grep -c '^monitor')" = 1 ] && break
    sleep 0.25
  done
  timeout 20 wine "$PET_COMMAND" display-changed > "$OUT/display-changed.log" 2>&1 ||
    fatal "pet-command display-changed failed: $(tr -d '\r' < "$OUT/display-changed.log")"
  first=$(tr -d '\r' < "$OUT/display-changed.log" | while read -r word ms wx wy; do
    [ "$word" = at ] && sprite_within "$wx" "$wy" "$px" "$py" "$pw" "$ph" 0 &&
      { echo "$ms $wx $wy"; break; }
  done)
  if [ -n "$first" ]; then
    say "  wholly on $primary $(cut -d' ' -f1 <<< "$first") ms after the change: window at $(cut -d' ' -f2- <<< "$first")"
  else
    failed "within 2 s of $other going off the sprite never stood wholly on $primary; places: $(
      grep '^at ' "$OUT/display-changed.log" | tr -d '\r' | cut -d' ' -f3- | tr ' \n' ', ')"
  fi
  timeout 20 wine "$PET_COMMAND" ping || failed "after the change the pet does not answer a message"
  on_monitor_for 10 "$px" "$py" "$pw" "$ph"
fi

stop_pet
finish
