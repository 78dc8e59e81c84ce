#!/usr/bin/env bash
# Under a window manager (openbox on Xvfb), lrf-tce's main window is centred on the screen by its outer
# frame, and the package information window ("design") measures 588 x 415 frame included, also centred.
#   FramePlacementTest.sh <folder of the built programs> <scratch folder>
set -euo pipefail
bin=$1
scratch=$2/frame-placement
rm -rf "$scratch"
mkdir -p "$scratch/program"
"$bin/korv-sample" --dir "$scratch/sample" > /dev/null
cp "$bin/lrf-tce" "$bin/dbexpida.dll" "$scratch/sample/Korv.ini" "$scratch/program/"

fd_file=$scratch/display
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" > /dev/null 2>&1 &
xvfb=$!
wm=""
program=""
cleanup() {
  for p in $program $wm $xvfb; do kill "$p" 2> /dev/null || true; done
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$fd_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$fd_file")"
openbox > "$scratch/openbox.log" 2>&1 &
wm=$!
for _ in $(seq 600); do xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep window > /dev/null && break; sleep 0.1; done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep window > /dev/null; then
  # No window manager to test under: skipped (ctest's SKIP_RETURN_CODE), not passed.
  echo "openbox did not start:" >&2
  cat "$scratch/openbox.log" >&2
  exit 77
fi

# Prints "left top width height" of the named window's outer frame, once the frame is known and the
# window has settled.
outer() {
  local title=$1 id="" extents="" geometry=""
  for _ in $(seq 600); do
    id=$(xwininfo -root -tree | awk -v t="\"$title" 'index($0, t) && !found {print $1; found = 1}')
    [ -n "$id" ] && extents=$(xprop -id "$id" _NET_FRAME_EXTENTS 2> /dev/null | sed -n 's/.*= //p')
    [ -n "$extents" ] && break
    sleep 0.1
  done
  if [ -z "$extents" ]; then
    echo "no framed window \"$title\"" >&2
    xwininfo -root -tree | grep '"' >&2
    return 1
  fi
  sleep 1 # the program places it again once its frame is known
  IFS=', ' read -r l r t b <<< "$extents"
  geometry=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                                      /^ *Width/ {w=$NF} /^ *Height/ {h=$NF} END {print x, y, w, h}')
  read -r x y w h <<< "$geometry"
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

check_centred() {
  local what=$1 left=$2 top=$3 width=$4 height=$5
  local dx=$((2 * left + width - 1024)) dy=$((2 * top + height - 768))
  if [ "${dx#-}" -gt 1 ] || [ "${dy#-}" -gt 1 ]; then
    echo "$what is not centred by its frame: $left $top $width $height" >&2
    return 1
  fi
}

"$scratch/program/lrf-tce" design > /dev/null 2>&1 &
program=$!
read -r left top width height <<< "$(outer "Package Information")"
[ "$width $height" = "588 415" ] || { echo "package window outside: $width x $height" >&2; exit 1; }
check_centred "the package window" "$left" "$top" "$width" "$height"
kill "$program"; wait "$program" 2> /dev/null || true

"$scratch/program/lrf-tce" > /dev/null 2>&1 &
program=$!
read -r left top width height <<< "$(outer "LRF TCE/MT")"
check_centred "the main window" "$left" "$top" "$width" "$height"
kill "$program"; wait "$program" 2> /dev/null || true
program=""
echo "frames placed"
