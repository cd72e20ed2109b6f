#!/usr/bin/env bash
# Packaging the same sources again in another folder gives the same zip, byte
# for byte: whoever rebuilds a release can check it is the one published.
#   reproducible.sh PACKAGE_FOLDER     (where scripts/package already wrote the zip)
set -uo pipefail
PACKAGE=$1
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
VERSION=$(tr -d ' \r\n' < "$ROOT/VERSION")
ZIP_NAME=morvet-$VERSION-windows-x86_64.zip
[ -f "$PACKAGE/$ZIP_NAME" ] || { echo "FAILED: no $ZIP_NAME in $PACKAGE"; exit 1; }

elsewhere=$(mktemp -d /tmp/morvet-elsewhere.XXXXXX)
trap 'rm -rf "$elsewhere"' EXIT
mkdir "$elsewhere/sources"
# The same sources, history included (the zip's dates are the commit's), without
# anything built.
tar -C "$ROOT" --exclude=./build --exclude=./dist -cf - . | tar -C "$elsewhere/sources" -xf - ||
  { echo "FAILED: cannot copy the sources"; exit 1; }
bash "$elsewhere/sources/scripts/package" "$elsewhere/out" > "$elsewhere/package.log" 2>&1 ||
  { cat "$elsewhere/package.log"; echo "FAILED: packaging in $elsewhere failed"; exit 1; }

if cmp -s "$PACKAGE/$ZIP_NAME" "$elsewhere/out/$ZIP_NAME"; then
  echo "$ZIP_NAME built again in $elsewhere/sources: identical ($(wc -c < "$PACKAGE/$ZIP_NAME") bytes)"
  exit 0
fi
echo "FAILED: $ZIP_NAME differs when built in another folder"
mkdir "$elsewhere/a" "$elsewhere/b"
unzip -q "$PACKAGE/$ZIP_NAME" -d "$elsewhere/a"
unzip -q "$elsewhere/out/$ZIP_NAME" -d "$elsewhere/b"
for file in morvet.exe README.txt SHA256SUMS; do
  cmp "$elsewhere/a/$file" "$elsewhere/b/$file" || true
done
unzip -Zl "$PACKAGE/$ZIP_NAME"
unzip -Zl "$elsewhere/out/$ZIP_NAME"
exit 1
