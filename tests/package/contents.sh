#!/usr/bin/env bash
# What a Windows user downloads: the zip scripts/package wrote, its three files,
# and the facts in morvet.exe that back the Windows versions its read-me claims.
#   contents.sh PACKAGE_FOLDER OLDEST_WINDOWS     (OLDEST_WINDOWS like 6.1)
set -uo pipefail
PACKAGE=$1
OLDEST=$2
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
OBJDUMP=x86_64-w64-mingw32-objdump
WINDRES=x86_64-w64-mingw32-windres
VERSION=$(tr -d ' \r\n' < "$ROOT/VERSION")
ZIP_NAME=morvet-$VERSION-windows-x86_64.zip
FAILURES=0
failed() {
  echo "FAILED: $*"
  FAILURES=$((FAILURES + 1))
}

[ -f "$PACKAGE/$ZIP_NAME" ] || { echo "FAILED: no $ZIP_NAME in $PACKAGE"; exit 1; }
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$PACKAGE/$ZIP_NAME" -d "$unpacked" || { echo "FAILED: cannot unzip"; exit 1; }
entries=$(unzip -Z1 "$PACKAGE/$ZIP_NAME" | tr '\n' ' ')
[ "$entries" = "morvet.exe README.txt SHA256SUMS " ] || failed "the zip holds [$entries]"
grep -q "$ZIP_NAME" "$ROOT/README.md" || failed "README.md does not name $ZIP_NAME"

# The read-me: UTF-8 with a byte-order mark, CRLF on every line, the version.
readme=$unpacked/README.txt
[ "$(head -c 3 "$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] || failed "README.txt has no UTF-8 byte-order mark"
bare_lf=$(tr -d '\n' < "$readme" | wc -c)
cr=$(tr -cd '\r' < "$readme" | wc -c)
lines=$(wc -l < "$readme")
[ "$cr" = "$lines" ] && [ $((bare_lf + lines)) -eq "$(wc -c < "$readme")" ] ||
  failed "README.txt: $lines lines but $cr carriage returns"
grep -q "Morvet $VERSION" "$readme" || failed "README.txt does not name version $VERSION"
(cd "$unpacked" && sha256sum -c --quiet SHA256SUMS) || failed "SHA256SUMS does not match morvet.exe"

# The program: nothing of the build machine in it.
exe=$unpacked/morvet.exe
header=$("$OBJDUMP" -p "$exe") || { echo "FAILED: $OBJDUMP cannot read morvet.exe"; exit 1; }
field() { awk -v name="$1" '$1 == name { print $2; exit }' <<< "$header"; }
grep -q '^Time/Date.*1970' <<< "$header" || failed "the PE header carries a link time: $(grep '^Time/Date' <<< "$header")"
debug=$("$OBJDUMP" -h "$exe" | awk '$2 ~ /^\.debug/ { print $2 }' | tr '\n' ' ')
[ -z "$debug" ] || failed "debug sections left in morvet.exe: $debug"
[ -z "$("$OBJDUMP" -t "$exe" 2> /dev/null | grep -m1 ' F ')" ] || failed "morvet.exe still has symbols"
paths=$(grep -c -a -F "$ROOT" "$exe")
[ "$paths" = 0 ] || failed "morvet.exe holds $paths build paths"

# The version Explorer shows in the program's properties is the zip's.
resources=$("$WINDRES" -i "$exe" -O rc 2> /dev/null) || failed "$WINDRES cannot read morvet.exe's resources"
numbers="${VERSION//./, }, 0"
for line in " FILEVERSION $numbers" " PRODUCTVERSION $numbers" \
  "      VALUE \"FileVersion\", \"$VERSION\"" "      VALUE \"ProductVersion\", \"$VERSION\""; do
  grep -qxF "$line" <<< "$resources" || failed "morvet.exe's version resource lacks [$line]"
done

# The oldest Windows claimed: the header says so, and no import is younger.
for name in MajorOSystemVersion MajorSubsystemVersion; do
  minor=${name/Major/Minor}
  got="$(field "$name").$(field "$minor")"
  [ "$got" = "$OLDEST" ] || failed "$name.$minor is $got, not $OLDEST"
done
newer() { awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, "."); split(b, y, "."); exit !(x[1] > y[1] || (x[1] == y[1] && x[2] > y[2])) }'; }
imports=$(awk '/^\tDLL Name:/ { dll = $3; listing = 1; next } /^$/ { listing = 0 }
  listing && /^\t[0-9a-f]+\t/ { print dll, $3 }' <<< "$header")
count=0
while read -r dll function; do
  count=$((count + 1))
  since=$(awk -v d="$dll" -v f="$function" 'tolower($1) == tolower(d) && $2 == f { print $3 }' "$HERE/windows-imports.txt")
  if [ -z "$since" ]; then
    failed "$dll $function is imported but not in windows-imports.txt: add it with the first Windows version that has it"
  elif newer "$since" "$OLDEST"; then
    failed "$dll $function needs Windows $since, newer than the $OLDEST claimed: look it up at run time"
  fi
done <<< "$imports"
[ "$count" -gt 50 ] || failed "only $count imports read from morvet.exe"

if [ "$FAILURES" -gt 0 ]; then
  exit 1
fi
echo "$ZIP_NAME: 3 files, morvet.exe version $VERSION, $count imports all on Windows $OLDEST, no link time, symbols or build paths"
