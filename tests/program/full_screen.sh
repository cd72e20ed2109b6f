# Over a full-screen program the pet steps aside. A program opens a borderless
# window over the whole screen and takes the foreground: within 3 s (2 of them
# Wine's) the pet's window is off the screen, and while it stays off the pet
# spends next to nothing: under a quarter of what it spends living, or no more
# than a Wine program that only ticks twice a second. Once that window closes,
# the pet's window is shown again within 4 s where it was, and shows the
# desktop that lies there now. A foreground window smaller than the screen
# leaves the pet alone.
source "$(dirname "$0")/lib.sh"
use_depth "${1:-32}"

# "on X Y" while the window is shown and some of it lies on the screen, else
# "off X Y": one quick look, so that a step or two at most goes unseen.
pet_state() {
  xwininfo -id "$PET_WINDOW" 2> /dev/null | awk -v w="$SCREEN_W" -v h="$SCREEN_H" '
    /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
    /Map State: IsViewable/ { shown = 1 }
    END { print ((shown && x + 114 > 0 && y + 119 > 0 && x < w && y < h) ? "on" : "off"), x, y }'
}

COVER_JOB=""
cover() {
  rm -f "$OUT/cover.rc"
  (
    timeout 120 wine "$PET_COMMAND" cover "$1" "$2" 90 > "$OUT/cover.log" 2>&1
    echo $? > "$OUT/cover.rc"
  ) &
  COVER_JOB=$!
}
cover_shown() { xdotool search --onlyvisible --name '^Morvet test cover$' > /dev/null 2>&1; }
cover_failed() {
  [ -f "$OUT/cover.rc" ] && fatal "the cover ended early: $(tr -d '\r' < "$OUT/cover.log")"
}
uncover() {
  [ -n "$COVER_JOB" ] || return 0
  timeout 20 wine "$PET_COMMAND" uncover > "$OUT/uncover.log" 2>&1
  wait "$COVER_JOB"
  COVER_JOB=""
}
CLEANUP_HOOKS+=(uncover)

start_pet_on_wallpaper
# Far from where the smaller window opens, so that nothing changes under it.
drag_pet_to $((SCREEN_W - 150)) $((SCREEN_H - 150))
say "a foreground window smaller than the screen"
cover $((SCREEN_W / 3)) $((SCREEN_H / 3))
deadline=$((SECONDS + 20))
until cover_shown; do
  cover_failed
  [ $SECONDS -lt $deadline ] || fatal "the smaller window did not show within 20 s"
  sleep 0.1
done
# The desktop as it now looks: the smaller window over the wallpaper.
sleep 0.5
shoot "$OUT/small-window.ppm"
convert "$OUT/clean.ppm" \( "$OUT/small-window.ppm" -crop $((SCREEN_W / 3))x$((SCREEN_H / 3))+0+0 \) \
  -composite "$OUT/clean-small-window.ppm" || fatal "cannot make the desktop with the smaller window"
CLEAN_SHOT=$OUT/clean-small-window.ppm
for i in 1 2 3 4 5 6; do
  read -r where x y <<< "$(pet_state)"
  [ "$where" = on ] || failed "under a smaller foreground window the pet left the screen ($x,$y)"
  sleep 0.5
done
timeout 20 wine "$PET_COMMAND" ping || failed "under a smaller foreground window the pet does not answer"
expect_goes_on 15 small-window
uncover
CLEAN_SHOT=$OUT/clean.ppm

living=$(cpu_over 10)
say "living: $living ms of CPU in 10 s"

say "a window over the whole screen"
cover "$SCREEN_W" "$SCREEN_H"
last="" shown_at="" deadline=$((SECONDS + 20))
while :; do
  cover_failed
  [ -n "$shown_at" ] || [ $SECONDS -lt $deadline ] || fatal "the full-screen window did not show within 20 s"
  read -r where x y <<< "$(pet_state)"
  [ "$where" = off ] && break
  last="$x $y"
  if [ -z "$shown_at" ]; then
    cover_shown && shown_at=$(now_ms)
  # Wine without a window manager holds a window's move off the screen for 2 s
  # (it waits for a manager to withdraw the window); on Windows the move is at
  # once. Another second covers the pet's look at the foreground and a step.
  elif [ $(($(now_ms) - shown_at)) -gt 3000 ]; then
    failed "3 s after the full-screen window came the pet still stands on the screen at $x,$y"
    break
  fi
done
say "  last seen on the screen at ${last/ /,}"
expect_held_cpu "$living" 10 "under the full-screen window"
read -r where x y <<< "$(pet_state)"
[ "$where" = off ] || failed "10 s into the full-screen window the pet stands on the screen at $x,$y"

uncover
read -r lx ly <<< "$last"
read -r ms x y <<< "$(tr -d '\r' < "$OUT/uncover.log" | awk '$1 == "shown" { print $2, $3, $4; exit }')"
if [ -z "${ms:-}" ]; then
  failed "4 s after the full-screen window closed the pet's window is not shown again"
else
  say "  shown again $ms ms after the full-screen window closed, at $x,$y"
  # Two 7-pixel steps at most may have gone unseen before it left.
  dx=$((x - lx)) dy=$((y - ly))
  [ ${dx#-} -le 14 ] && [ ${dy#-} -le 14 ] || failed "shown again at $x,$y, not back at $lx,$ly"
  # Wine without a window manager maps a window it hid only once it has waited
  # 2 s for a manager to withdraw it; on Windows it is back at once.
  deadline=$((SECONDS + 5))
  until [ "$(pet_state | cut -d' ' -f1)" = on ] || [ $SECONDS -ge $deadline ]; do sleep 0.1; done
  snapshot after-full-screen
  check_snapshot after-full-screen
fi

stop_pet
finish
