# A second start while a pet runs ends by itself with exit code 0; the first pet
# stays as it was.
source "$(dirname "$0")/lib.sh"
use_depth "${1:-32}"

start_pet_on_wallpaper
first=$PET_WINDOW
timeout 30 wine "$MORVET_EXE" > "$OUT/second.log" 2>&1
rc=$?
[ $rc -eq 0 ] || failed "the second start ended with exit code $rc (124: still running after 30 s)"
[ -f "$OUT/pet.rc" ] && failed "the first pet ended (exit code $(cat "$OUT/pet.rc"))"
count=$(pet_windows | wc -l)
[ "$count" -eq 1 ] || failed "$count visible windows named Morvet after the second start, not 1"
[ "$(pet_windows)" = "$first" ] || failed "the first pet's window is gone"
pets=$(timeout 20 wine "$PET_COMMAND" pets | tr -d '\r')
[ "$pets" = 1 ] || failed "Windows sees $pets pet windows, not 1"
snapshot first-pet
check_snapshot first-pet

stop_pet
finish
