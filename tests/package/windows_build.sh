#!/usr/bin/env bash
# The README's way of building on Windows, tried as a Windows user would try it:
# the commands of its section "Building on Windows", as they stand, in a copy of
# the sources in another folder, with no GoogleTest. The MinGW-w64 toolchain
# file stands for the compilers a Windows machine has on its PATH. The commands
# must configure, say what they leave out, build morvet.exe alone, and give the
# very program the zip holds.
#   windows_build.sh PACKAGE_FOLDER     (where scripts/package already wrote the zip)
set -uo pipefail
PACKAGE=$(cd "$1" && pwd) || exit 1
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
VERSION=$(tr -d ' \r\n' < "$ROOT/VERSION")
ZIP_NAME=morvet-$VERSION-windows-x86_64.zip
[ -f "$PACKAGE/$ZIP_NAME" ] || { echo "FAILED: no $ZIP_NAME in $PACKAGE"; exit 1; }

# The section's command lines: indented, starting with cmake.
commands=$(awk '/^## / { inside = ($0 == "## Building on Windows"); next }
  inside && /^    cmake / { sub(/^    /, ""); print }' "$ROOT/README.md")
configure=$(grep -- ' -S ' <<< "$commands")
build=$(grep -- ' --build ' <<< "$commands")
if [ "$(wc -l <<< "$commands")" != 2 ] || [ -z "$configure" ] || [ -z "$build" ]; then
  echo "FAILED: the README's section \"Building on Windows\" holds no configure and build commands:"
  echo "$commands"
  exit 1
fi

elsewhere=$(mktemp -d /tmp/morvet-windows-build.XXXXXX)
trap 'rm -rf "$elsewhere"' EXIT
mkdir "$elsewhere/sources"
tar -C "$ROOT" --exclude=./build --exclude=./dist --exclude=./.git -cf - . |
  tar -C "$elsewhere/sources" -xf - || { echo "FAILED: cannot copy the sources"; exit 1; }
cd "$elsewhere/sources" || exit 1

read -ra words <<< "$configure"
"${words[@]}" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-posix.cmake" \
  -DGOOGLETEST_SOURCE="$elsewhere/no-googletest" > "$elsewhere/configure.log" 2>&1 ||
  { cat "$elsewhere/configure.log"; echo "FAILED: $configure"; exit 1; }
read -ra words <<< "$build"
"${words[@]}" > "$elsewhere/build.log" 2>&1 ||
  { cat "$elsewhere/build.log"; echo "FAILED: $build"; exit 1; }

FAILURES=0
failed() {
  echo "FAILED: $*"
  FAILURES=$((FAILURES + 1))
}
left_out='Building morvet.exe alone (no GoogleTest .*Left out: the Windows tests'
grep -q "$left_out" "$elsewhere/configure.log" ||
  failed "the configure step does not say what it left out: $(cat "$elsewhere/configure.log")"
tree=$(awk '{ for (i = 1; i < NF; i++) if ($i == "-B") print $(i + 1) }' <<< "$configure")
# CMakeFiles holds CMake's own trial programs, made while it looks at the compilers.
built=$(cd "$tree" && find . -path ./CMakeFiles -prune -o \( -name '*.exe' -o -name '*.dll' \) -print |
  sort | tr '\n' ' ')
[ "$built" = "./morvet.exe " ] || failed "built [$built], not morvet.exe alone"

unzip -q "$PACKAGE/$ZIP_NAME" morvet.exe -d "$elsewhere/packaged" ||
  { echo "FAILED: cannot unzip morvet.exe"; exit 1; }
cmp "$elsewhere/packaged/morvet.exe" "$tree/morvet.exe" ||
  failed "the README's commands give another morvet.exe than the zip's"

[ "$FAILURES" -gt 0 ] && exit 1
echo "the README's commands in $elsewhere/sources, without GoogleTest: morvet.exe alone," \
  "the zip's byte for byte ($(wc -c < "$tree/morvet.exe") bytes)"
