# The menu's home-page button starts the program registered for .htm files on
# the home page and closes the menu at once, even while that program is slow to
# start. A one-word command starts that program, not one named by its first
# letter beside the pet; a browser in a folder with Chinese characters starts,
# and so does a quoted path with spaces and no argument. With a class that has
# no command, or no association at all, it starts nothing and still closes the
# menu. The registry and the prefix's drive C are put back afterwards.
source "$(dirname "$0")/lib.sh"
use_depth "${1:-32}"
: "${URL_RECORDER:?}"

recorder=$(winepath -w "$URL_RECORDER" 2> /dev/null)
[ -n "$recorder" ] || fatal "winepath cannot name $URL_RECORDER"
register_browser MorvetTestPage "\"$recorder\" --flag \"%1\""
stored=$(timeout 30 wine reg query 'HKCR\MorvetTestPage\shell\open\command' /ve | tr -d '\r' |
  awk '/REG_SZ/ { sub(/^.*REG_SZ[ \t]+/, ""); print; exit }')
[ "$stored" = "\"$recorder\" --flag \"%1\"" ] || fatal "the registry holds '$stored'"

record=$OUT/url.txt
export MORVET_URL_RECORD
MORVET_URL_RECORD=$(winepath -w "$record" 2> /dev/null)
# The stand-in browser stays a while without ever waiting for input.
export MORVET_URL_RECORDER_STAYS=30
# The pet runs from a folder of its own, with a program beside it named like
# the first letter of the class: what a wrongly cut class name would start.
mkdir -p "$OUT/app"
cp "$MORVET_EXE" "$OUT/app/morvet.exe" && cp "$URL_RECORDER" "$OUT/app/M.exe" ||
  fatal "cannot set up $OUT/app"
MORVET_EXE=$OUT/app/morvet.exe

# expect_started WHAT EXPECTED: presses the home-page button and checks that
# the program started got EXPECTED as its command line.
expect_started() {
  local what=$1 expected=$2 got deadline
  rm -f "$record"
  right_click_pet
  wait_menu 15 || fatal "$what: no menu within 15 s of a right click"
  click_button 1000
  deadline=$((SECONDS + 15))
  until [ -s "$record" ] || [ $SECONDS -ge $deadline ]; do sleep 0.2; done
  if [ -s "$record" ]; then
    got=$(cat "$record")
    [ "$got" = "$expected" ] || failed "$what: the program was started as [$got], expected [$expected]"
  else
    failed "$what: no program was started within 15 s of the home-page button"
  fi
}

start_pet_on_wallpaper
move_pet_out_of_the_menus_way

expect_started "the stand-in browser" "\"$recorder\" --flag   www.example.com"
wait_menu_gone 10 || failed "the menu is still up 10 s after the browser started, which stays 30 s: the pet waits for it"
[ -f "$OUT/pet.rc" ] && failed "the program ended after the home-page button"

# Stand-in browsers installed on the prefix's drive C, where their Windows
# paths are the same wherever the tests run.
browsers=$WINEPREFIX/drive_c/morvet-test-browsers
remove_browsers() { rm -rf "$browsers"; }
CLEANUP_HOOKS+=(remove_browsers)
install_browser() {
  mkdir -p "$browsers/$1" && cp "$URL_RECORDER" "$browsers/$1/browser.exe" ||
    fatal "cannot install a browser in $browsers/$1"
}

# press_home_page WHAT COMMAND EXPECTED: registers COMMAND, presses the
# home-page button and checks that the program started got EXPECTED as its
# command line and that the menu closed.
press_home_page() {
  reg add 'HKCR\MorvetTestPage\shell\open\command' /ve /d "$2" /f || fatal "cannot register $1"
  expect_started "$1" "$3"
  wait_menu_gone 10 || failed "$1: the menu is still up 10 s after the home-page button"
}

# A one-word command keeps its word; cut to its first letter it would start
# the C.exe planted beside the pet.
install_browser plain
cp "$URL_RECORDER" "$OUT/app/C.exe" || fatal "cannot plant C.exe"
press_home_page "a one-word command" 'C:\morvet-test-browsers\plain\browser.exe' \
  'C:\morvet-test-browsers\plain\browser.exe  www.example.com'

# A folder named outside the system's code page.
install_browser '瀏覽器'
press_home_page "a browser in a Chinese folder" \
  '"C:\morvet-test-browsers\瀏覽器\browser.exe" --flag "%1"' \
  '"C:\morvet-test-browsers\瀏覽器\browser.exe" --flag   www.example.com'

# The spaces inside the quotes are part of the path, and there is no argument.
install_browser 'Frost Browser'
press_home_page "a quoted path with spaces" \
  '"C:\morvet-test-browsers\Frost Browser\browser.exe"' \
  '"C:\morvet-test-browsers\Frost Browser\browser.exe"  www.example.com'

# A class without a command: nothing is started, not even the program that
# the class name's first letter names.
reg delete 'HKCR\MorvetTestPage' /f
rm -f "$record"
right_click_pet
wait_menu 15 || fatal "no menu for the class without a command"
click_button 1000
wait_menu_gone 10 || failed "with a class without a command the menu is still up 10 s after the home-page button"
sleep 2
[ -e "$record" ] && failed "with a class without a command a program was started: $(cat "$record")"

# No association at all: the button still closes the menu, and starts nothing of ours.
restore_browser
rm -f "$record"
right_click_pet
wait_menu 15 || fatal "no menu with no association"
click_button 1000
wait_menu_gone 10 || failed "with no .htm association the menu is still up 10 s after the home-page button"
sleep 1
[ -e "$record" ] && failed "with no association the recorder was started: $(cat "$record")"
[ -f "$OUT/pet.rc" ] && failed "the program ended after the home-page button with no association"

stop_pet
[ "${PET_RC:-0}" = 0 ] || failed "exit code $PET_RC at the end, not 0"
finish
