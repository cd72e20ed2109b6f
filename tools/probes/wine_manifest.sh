#!/usr/bin/env bash
# Probe: what Wine makes of an application manifest's DPI settings and of its
# dependency on the common controls of version 6. Builds tools/probes/wine_manifest.c
# with no manifest, with manifests that declare each kind of DPI awareness, and
# with the program's own manifest with and without that dependency, and runs
# each in a private Wine prefix on a private Xvfb. One line each.
# usage: tools/probes/wine_manifest.sh   (needs MinGW-w64, Wine and Xvfb)
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d /tmp/wine-manifest-probe.XXXXXX)
n=170
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
export DISPLAY=:$n WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k > /dev/null 2>&1; kill $xvfb 2> /dev/null; rm -rf "$work"' EXIT
sleep 1
wineboot -i > /dev/null 2>&1

settings() {  # the windowsSettings of a manifest
  sed -e "s|@1@|$1|" <<'XML'
<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <application xmlns="urn:schemas-microsoft-com:asm.v3"><windowsSettings>@1@</windowsSettings></application>
</assembly>
XML
}
aware='<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">'
awareness='<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">'
settings "${aware}false</dpiAware>" > "$work/unaware.manifest"
settings "${awareness}unaware</dpiAwareness>" > "$work/unaware-2016.manifest"
settings "${aware}true</dpiAware>" > "$work/system.manifest"
settings "${aware}true/pm</dpiAware>" > "$work/per-monitor.manifest"
cp "$root/resources/morvet.manifest" "$work/morvet.manifest"
sed '/<dependency>/,/<\/dependency>/d' "$root/resources/morvet.manifest" > "$work/morvet-without-dependency.manifest"

x86_64-w64-mingw32-gcc -O1 -o "$work/none.exe" "$here/wine_manifest.c" -luser32 -static || exit 1
echo "$(wine "$work/none.exe" | tr -d '\r')  <- no manifest"
for manifest in unaware unaware-2016 system per-monitor morvet morvet-without-dependency; do
  printf '1 24 "%s"\n' "$work/$manifest.manifest" > "$work/$manifest.rc"
  x86_64-w64-mingw32-windres "$work/$manifest.rc" -O coff -o "$work/$manifest.o" || exit 1
  x86_64-w64-mingw32-gcc -O1 -o "$work/$manifest.exe" "$here/wine_manifest.c" "$work/$manifest.o" \
    -luser32 -static || exit 1
  echo "$(wine "$work/$manifest.exe" | tr -d '\r')  <- $manifest.manifest"
done
