# A taskbar 168 pixels high along the bottom of a 1024 x 768 screen: the work
# area ends at row 600. Over several starts the first spot and every walk keep
# the sprite on the work area, as far as their rules allow (the first spot's
# allowance is the larger). The test has a display of its own, whose root
# window tells Wine the work area before Wine's server starts.
source "$(dirname "$0")/lib.sh"
use_depth 32 1024x768
WORK_BOTTOM=600
STARTS=5
SAMPLES=5

xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0,0,1024,$WORK_BOTTOM" ||
  fatal "cannot set _NET_WORKAREA on display $DISPLAY"
monitors=$(timeout 20 wine "$PET_COMMAND" monitors 2> /dev/null | tr -d '\r')
[ "$monitors" = "monitor 0 0 1024 768 work 0 0 1024 $WORK_BOTTOM" ] ||
  fatal "Wine does not see the work area: $monitors"

put_wallpaper
for start in $(seq 1 $STARTS); do
  start_pet
  wait_pet_window 30 || fatal "start $start: no pet window within 30 s"
  positions=()
  off=0
  for i in $(seq 0 $SAMPLES); do
    [ "$i" -gt 0 ] && sleep 1
    read -r x y <<< "$(pet_position)"
    positions+=("$x,$y")
    sprite_within "$x" "$y" 0 0 $((1024 + FIRST_SPOT_RIGHT)) $WORK_BOTTOM $FIRST_SPOT_BELOW ||
      off=$((off + 1))
  done
  say "start $start, the first spot and once a second: ${positions[*]}"
  [ $off -eq 0 ] ||
    failed "start $start: the sprite stood past the work area in $off of $((SAMPLES + 1)) samples"
  stop_pet
done
finish
