# Shared set-up for scripts/test and scripts/run: packages, builds, Wine prefix,
# virtual displays. Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$ROOT/build
export WINEDEBUG=-all
# Never let Wine stop to offer its Mono or Gecko installers.
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8

PACKAGES=(cmake ninja-build g++ googletest libbenchmark-dev clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-utils x11-xserver-utils xdotool imagemagick fonts-wqy-zenhei xwallpaper zip unzip
  tigervnc-standalone-server)

say() { printf '\n== %s\n' "$*"; }

install_missing_packages() {
  local missing=()
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages and not root: install them with apt-get" >&2
    return 1
  fi
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build_trees() {
  say "building the host tree"
  cmake -S "$ROOT" -B "$BUILD/host" -G Ninja > /dev/null || return 1
  cmake --build "$BUILD/host"
  say "building the Windows tree"
  # Every tier: a missing GoogleTest is an error here, not a smaller build.
  cmake -S "$ROOT" -B "$BUILD/windows" -G Ninja -DBUILD_TESTING=ON \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-posix.cmake" > /dev/null || return 1
  cmake --build "$BUILD/windows"
}

# One private prefix, made once; copies of it serve the other display depths so
# that each depth has a Wine server of its own.
prepare_wine_prefix() {
  local prefix=$BUILD/wineprefix
  if [ ! -f "$prefix/.morvet-ready" ]; then
    say "creating the Wine prefix"
    rm -rf "$prefix"
    DISPLAY=$1 WINEPREFIX=$prefix wineboot -i > /dev/null 2>&1 || true
    # The dialog's Chinese face and the message box face need a CJK replacement.
    local face
    for face in '細明體' 'PMingLiU' 'MingLiU' 'Tahoma' 'MS Shell Dlg' 'MS Sans Serif'; do
      DISPLAY=$1 WINEPREFIX=$prefix wine reg add 'HKCU\Software\Wine\Fonts\Replacements' \
        /v "$face" /t REG_SZ /d 'WenQuanYi Zen Hei' /f > /dev/null 2>&1
    done
    WINEPREFIX=$prefix wineserver -w
    touch "$prefix/.morvet-ready"
  fi
  local depth
  for depth in 16 8; do
    if [ ! -f "$prefix-$depth/.morvet-ready" ]; then
      rm -rf "$prefix-$depth"
      cp -a "$prefix" "$prefix-$depth"
    fi
  done
  # A display at 200 %: Wine reports the prefix's LogPixels as every monitor's
  # DPI, read when the prefix's server starts.
  if [ ! -f "$prefix-dpi192/.morvet-ready" ]; then
    rm -rf "$prefix-dpi192"
    cp -a "$prefix" "$prefix-dpi192"
    rm -f "$prefix-dpi192/.morvet-ready"
    DISPLAY=$1 WINEPREFIX=$prefix-dpi192 wine reg add 'HKCU\Control Panel\Desktop' \
      /v LogPixels /t REG_DWORD /d 192 /f > /dev/null 2>&1
    WINEPREFIX=$prefix-dpi192 wineserver -k > /dev/null 2>&1
    WINEPREFIX=$prefix-dpi192 wineserver -w
    touch "$prefix-dpi192/.morvet-ready"
  fi
}

# Displays are started in command substitutions, so their process ids go
# through a file rather than a variable.
STARTED_PIDS_FILE=$(mktemp)

free_display() {
  local n=${1:-90}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  echo "$n"
}

# start_display DEPTH [FIRST_NUMBER [SIZE]]: starts Xvfb at that depth (and
# size, 1024x768 unless given); prints the display name.
start_display() {
  local n
  n=$(free_display "${2:-90}")
  Xvfb ":$n" -screen 0 "${3:-1024x768}x$1" -noreset -nolisten tcp > /dev/null 2>&1 &
  echo $! >> "$STARTED_PIDS_FILE"
  local tries=0
  until xdpyinfo -display ":$n" > /dev/null 2>&1; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ]; then
      echo "Xvfb :$n did not start" >&2
      return 1
    fi
    sleep 0.1
  done
  echo ":$n"
}

# The Wine prefixes whose programs stop_everything ends: each script names its
# own, so that scripts running side by side leave each other alone.
PREFIXES_TO_STOP=()

stop_everything() {
  local prefix
  for prefix in "${PREFIXES_TO_STOP[@]}"; do
    [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k > /dev/null 2>&1
  done
  local pid
  while read -r pid; do kill "$pid" 2> /dev/null; done < "$STARTED_PIDS_FILE"
  rm -f "$STARTED_PIDS_FILE"
  wait 2> /dev/null
  return 0
}
