# The program a user downloads runs as it is: morvet.exe taken out of the zip,
# alone in its folder, in a Wine prefix made just now (nothing installed, no
# fonts set up), shows the pet over the desktop and ends cleanly.
source "$(dirname "$0")/lib.sh"
: "${PACKAGE_OUT:?}"
use_depth 32

zip_file=$(ls "$PACKAGE_OUT"/morvet-*-windows-x86_64.zip 2> /dev/null | head -1)
[ -n "$zip_file" ] || fatal "no zip in $PACKAGE_OUT: scripts/package has not run"
mkdir -p "$OUT/download"
unzip -q -j "$zip_file" morvet.exe -d "$OUT/download" || fatal "cannot take morvet.exe out of $zip_file"
[ "$(ls "$OUT/download")" = morvet.exe ] || fatal "the folder holds more than morvet.exe"
MORVET_EXE=$OUT/download/morvet.exe

fresh_prefix=$OUT/fresh-prefix
# Ends everything in the prefix, the pet included, before the prefix goes.
remove_fresh_prefix() {
  WINEPREFIX=$fresh_prefix timeout 20 wineserver -k > /dev/null 2>&1
  PET_JOB=""
  rm -rf "$fresh_prefix"
}
CLEANUP_HOOKS+=(remove_fresh_prefix)
export WINEPREFIX=$fresh_prefix
timeout 120 wineboot -i > /dev/null 2>&1
timeout 60 wineserver -w  # the registry reaches the disk when the server ends
[ -f "$fresh_prefix/system.reg" ] || fatal "wineboot did not make a prefix"

start_pet_on_wallpaper
snapshot started
check_snapshot started
sleep 1
snapshot later
check_snapshot later
stop_pet
[ "${PET_RC:-}" = 0 ] || failed "exit code ${PET_RC:-none} after WM_CLOSE, not 0"
check_desktop_clean after-exit
finish
