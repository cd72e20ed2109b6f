# Left alone, the pet moves by itself; every screenshot shows the desktop with
# one frame keyed over it and no trail elsewhere. At 16 and 8 bits per pixel
# the pictures are checked without waiting for a move.
source "$(dirname "$0")/lib.sh"
use_depth "${1:?depth}"

start_pet_on_wallpaper
read -r x0 y0 _ <<< "$(pet_geometry)"
positions=("$x0,$y0")
moved=0
samples=0
if [ "$DEPTH" = 32 ]; then
  # Walking is one random choice among its acts: it may stand and act for a
  # while first. Up to 60 s (most runs walk within seconds), at least 5 pictures.
  deadline=$((SECONDS + 60))
  while [ $SECONDS -lt $deadline ]; do
    sleep 0.6
    samples=$((samples + 1))
    snapshot "step$samples"
    check_snapshot "step$samples"
    pos=${SHOT_RECT%,*,*}
    positions+=("$pos")
    [ "$pos" != "$x0,$y0" ] && moved=1
    [ $moved = 1 ] && [ $samples -ge 5 ] && break
  done
  say "positions: ${positions[*]}"
  [ $moved = 1 ] || failed "the pet did not move by itself within 60 s"
else
  for samples in 1 2 3 4; do
    sleep 0.8
    snapshot "step$samples"
    check_snapshot "step$samples"
  done
fi

stop_pet
finish
