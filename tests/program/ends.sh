# A message from another program ends the pet with exit code 0, and the screen
# shows the desktop where it stood. Argument 2: screensave (WM_SYSCOMMAND
# SC_SCREENSAVE), close (WM_CLOSE), or saver-running: another program has set
# the system's "screen saver running" flag, as a screen saver does when it
# starts without telling the pet.
TEST_VARIANT=${2:?screensave, close or saver-running}
source "$(dirname "$0")/lib.sh"
use_depth "${1:-32}"

if [ "$TEST_VARIANT" = saver-running ]; then
  # Every program of the session reads the flag: it is put back also when the
  # test fails. Wine hands each process the flag as that process first read it,
  # so a running pet would never see it change: it is set before the pet starts.
  saver_stopped() { timeout 20 wine "$PET_COMMAND" saver-running 0 > /dev/null 2>&1; }
  CLEANUP_HOOKS+=(saver_stopped)
  put_wallpaper
  timeout 20 wine "$PET_COMMAND" saver-running 1 || fatal "pet-command saver-running 1 failed"
  start_pet
else
  start_pet_on_wallpaper
  sleep 1
  snapshot before
  check_snapshot before
  timeout 20 wine "$PET_COMMAND" "$TEST_VARIANT" || fatal "pet-command $TEST_VARIANT found no pet"
fi
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
