#!/bin/sh
# Runs a Windows program under Wine on the virtual display of the given depth.
# scripts/test exports MORVET_DISPLAY_<depth> and MORVET_PREFIX_<depth>.
depth=$1
shift
eval display=\${MORVET_DISPLAY_$depth:-}
eval prefix=\${MORVET_PREFIX_$depth:-}
if [ -z "$display" ] || [ -z "$prefix" ]; then
  echo "no virtual display of $depth bits per pixel: run this through scripts/test" >&2
  exit 1
fi
DISPLAY=$display WINEPREFIX=$prefix exec wine "$@"
