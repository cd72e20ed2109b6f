# A message from another program ends the pet with exit code 0, and the screen
# shows the desktop where it stood. Argument 2: screensave (WM_SYSCOMMAND
# SC_SCREENSAVE) or close (WM_CLOSE).
TEST_VARIANT=${2:?screensave or close}
source "$(dirname "$0")/lib.sh"
use_depth "${1:-32}"

start_pet_on_wallpaper
sleep 1
snapshot before
check_snapshot before
timeout 20 wine "$PET_COMMAND" "$TEST_VARIANT" || fatal "pet-command $TEST_VARIANT found no pet"
if wait_pet_exit 15; then
  [ "$PET_RC" = 0 ] || failed "exit code $PET_RC after $TEST_VARIANT, not 0"
else
  failed "the pet still runs 15 s after $TEST_VARIANT"
fi
PET_JOB=""
PET_PID=""
sleep 0.5
for w in $(pet_windows); do
  read -r x y _ <<< "$(pet_geometry "$w")"
  [ $((x + 114)) -le 0 ] || [ $((y + 119)) -le 0 ] || [ "$x" -ge "$SCREEN_W" ] ||
    failed "a pet window is still on the screen at $x,$y"
done
check_desktop_clean after-exit
finish
