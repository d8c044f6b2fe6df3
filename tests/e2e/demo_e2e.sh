#!/usr/bin/env bash
# End to end, from outside Wine's process: starts the demo on the display, moves the real
# pointer onto each of the four toolbar buttons and clicks, and checks the "clicked:" lines
# in order; drives the toolbar with Alt, an arrow and Enter; reads screenshots of the root
# window for the dock height, each button's picture and caption, and the hot button in the
# flat selected colour.
# Usage: demo_e2e.sh DEMO.EXE [WORK_DIR]. Exit 0 pass, 1 fail, 77 skip (no display/tools).
set -uo pipefail

demo=${1:?usage: demo_e2e.sh DEMO.EXE [WORK_DIR]}
work=${2:-$(mktemp -d)}
mkdir -p "$work"

if [ -z "${DISPLAY:-}" ]; then
  echo "skip: no DISPLAY (run through scripts/test)"
  exit 77
fi
for tool in wine xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "skip: $tool is missing"; exit 77; }
done

out="$work/demo-e2e.out"
err="$work/demo-e2e.err"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# --- Start the demo; end it whatever happens.
: >"$out"
wine "$demo" --describe >"$out" 2>"$err" </dev/null &
demo_pid=$!
finish() {
  if kill -0 "$demo_pid" 2>/dev/null; then
    kill "$demo_pid" 2>/dev/null
    for _ in $(seq 1 30); do kill -0 "$demo_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$demo_pid" 2>/dev/null
  fi
  wait "$demo_pid" 2>/dev/null
}
trap finish EXIT

# Waits (up to $1 seconds) until the command in the other arguments succeeds.
wait_until() {
  local limit=$1 start=$SECONDS
  shift
  until "$@"; do
    [ $((SECONDS - start)) -ge "$limit" ] && return 1
    kill -0 "$demo_pid" 2>/dev/null || return 1
    sleep 0.2
  done
}
has_line() { grep -qx "$1" "$out"; }
click_count() { grep -c '^clicked: ' "$out"; }
clicks_reach() { [ "$(click_count)" -ge "$1" ]; }
main_window() { xdotool search --onlyvisible --name '^Song Import$' 2>/dev/null | head -1; }
window_shown() { [ -n "$(main_window)" ]; }

if ! wait_until 90 has_line ready; then
  echo "FAIL: the demo did not come up; its output:"; cat "$out" "$err"
  exit 1
fi
wait_until 20 window_shown || fail "no visible window named 'Song Import' (xdotool search)"

# --- What the demo tells of itself: four lines "button: L T R B caption", the dock, the colour.
read -r _ sel_r sel_g sel_b < <(grep '^selected-colour: ' "$out")
read -r _ client_l client_t client_r client_b < <(grep '^client: ' "$out")
read -r _ dock_l dock_t dock_r dock_b < <(grep '^dock: ' "$out")
read -r _ tb_l tb_t tb_r tb_b < <(grep '^toolbar: ' "$out")
read -r _ text_h < <(grep '^text-height: ' "$out")
mapfile -t buttons < <(grep '^button: ' "$out" | cut -d' ' -f2-)
if [ "${#buttons[@]}" -ne 4 ] || [ -z "${sel_b:-}" ] || [ -z "${dock_b:-}" ] || [ -z "${tb_b:-}" ] || [ -z "${text_h:-}" ]; then
  echo "FAIL: the demo's description is incomplete:"; cat "$out"
  exit 1
fi
captions=("Add" "Add Folder" "Remove" "Start!")
declare -a bl bt br bb
for i in 0 1 2 3; do
  read -r bl[i] bt[i] br[i] bb[i] caption <<<"${buttons[i]}"
  [ "$caption" = "${captions[i]}" ] || fail "button $i is '$caption', expected '${captions[i]}'"
done

# --- Pixel helpers on a screenshot of the root window.
shot() { import -window root -depth 8 "$1" 2>/dev/null; }
# Counts the pixels of the rectangle L T R B (right and bottom excluded) of image $1 that
# are within 8 of the colour R G B in every channel.
count_colour() {
  local img=$1 l=$2 t=$3 r=$4 b=$5 cr=$6 cg=$7 cb=$8
  [ $((r - l)) -gt 0 ] && [ $((b - t)) -gt 0 ] || { echo 0; return; }
  convert "$img" -crop "$((r - l))x$((b - t))+$l+$t" +repage -depth 8 txt:- 2>/dev/null |
    awk -v r="$cr" -v g="$cg" -v b="$cb" -F'[(),]' '
      /^[0-9]/ { dr = $3 - r; dg = $4 - g; db = $5 - b
                 if (dr < 0) dr = -dr; if (dg < 0) dg = -dg; if (db < 0) db = -db
                 if (dr <= 8 && dg <= 8 && db <= 8) n++ }
      END { print n + 0 }'
}
# Counts dark pixels (every channel below 90): caption text on the light toolbar.
count_dark() {
  local img=$1 l=$2 t=$3 r=$4 b=$5
  convert "$img" -crop "$((r - l))x$((b - t))+$l+$t" +repage -depth 8 txt:- 2>/dev/null |
    awk -F'[(),]' '/^[0-9]/ { if ($3 < 90 && $4 < 90 && $5 < 90) n++ } END { print n + 0 }'
}
# The colour of one pixel as "R G B".
pixel() {
  convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- 2>/dev/null | awk -F'[(),]' '/^[0-9]/ { print $3, $4, $5 }'
}

# --- Idle: park the pointer away from the toolbar, then read the toolbar.
xdotool mousemove $((client_l + 20)) $((client_b - 20))
sleep 0.5
idle="$work/idle.png"
shot "$idle" || fail "no screenshot of the root window"

# The top dock sizes itself to its one row: the toolbar, whose height is the large
# buttons' (32-pixel image, text height t, 7 pixels of margins) plus its docked borders
# (2 + 2). The form data's 57 is that height for a 14-pixel text; the check follows the
# font the display has.
expected_dock=$((32 + text_h + 7 + 4))
dock_h=$((dock_b - dock_t))
[ "$dock_h" -eq "$expected_dock" ] && pass "top dock is $dock_h pixels high (57 with a 14-pixel text height; here $text_h)" ||
  fail "top dock is $dock_h pixels high, expected $expected_dock for a $text_h-pixel text"
[ "$dock_t" -eq "$client_t" ] || fail "top dock starts at $dock_t, the client at $client_t"
[ "$tb_t" -eq "$dock_t" ] && [ "$tb_b" -eq "$dock_b" ] || fail "toolbar ($tb_t..$tb_b) does not fill the dock ($dock_t..$dock_b)"
for i in 0 1 2 3; do
  [ "${bt[i]}" -ge "$dock_t" ] && [ "${bb[i]}" -le "$dock_b" ] || fail "button $i (${bt[i]}..${bb[i]}) is not inside the dock ($dock_t..$dock_b)"
done
# On screen: the toolbar's pixels end at the dock's bottom edge; below it the client area
# is one plain colour across the toolbar's width.
below=$(pixel "$idle" $((tb_l + 10)) $((dock_b + 1)))
n=$(count_colour "$idle" "$tb_l" "$dock_b" "$tb_r" $((dock_b + 10)) $below)
[ "$n" -eq $(((tb_r - tb_l) * 10)) ] || fail "the area under the dock is not plain ($n pixels of $below)"
n=$(count_colour "$idle" "$tb_l" $((dock_b - 10)) "$tb_r" "$dock_b" $below)
[ "$n" -lt $(((tb_r - tb_l) * 10)) ] || fail "the dock's last rows look like the client area"

# Idle glyphs are drawn faded under the flat painter: each picture shows by its hue (green
# for Add and Start!, yellow for the folder, red for Remove) and its exact colours come
# back while the button is hot (checked below).
count_hue() {
  local img=$1 l=$2 t=$3 r=$4 b=$5 hue=$6
  convert "$img" -crop "$((r - l))x$((b - t))+$l+$t" +repage -depth 8 txt:- 2>/dev/null |
    awk -v hue="$hue" -F'[(),]' '
      /^[0-9]/ { R = $3; G = $4; B = $5
                 if (hue == "green" && G > R + 40 && G > B + 40) n++
                 if (hue == "yellow" && R > 180 && G > 150 && B < G - 40) n++
                 if (hue == "red" && R > G + 60 && R > B + 60) n++ }
      END { print n + 0 }'
}
hues=(green yellow red green)
for i in 0 1 2 3; do
  n=$(count_hue "$idle" "${bl[i]}" "${bt[i]}" "${br[i]}" "${bb[i]}" "${hues[i]}")
  [ "$n" -ge 20 ] && pass "${captions[i]}: ${hues[i]} picture ($n pixels)" ||
    fail "${captions[i]}: no ${hues[i]} picture ($n pixels)"
  # Red and yellow belong to one picture each.
  for other in red yellow; do
    [ "$other" = "${hues[i]}" ] && continue
    m=$(count_hue "$idle" "${bl[i]}" "${bt[i]}" "${br[i]}" "${bb[i]}" "$other")
    [ "$m" -lt 5 ] || fail "${captions[i]} shows $other pixels ($m)"
  done
  # The caption sits under the picture: dark text pixels in the button's lowest third.
  mid=$((bt[i] + (bb[i] - bt[i]) * 2 / 3))
  text=$(count_dark "$idle" "${bl[i]}" "$mid" "${br[i]}" "${bb[i]}")
  [ "$text" -ge 10 ] && pass "${captions[i]}: caption under the picture" || fail "${captions[i]}: no caption under the picture"
  # Idle buttons are not drawn selected.
  hot=$(count_colour "$idle" "${bl[i]}" "${bt[i]}" "${br[i]}" "${bb[i]}" "$sel_r" "$sel_g" "$sel_b")
  [ "$hot" -lt 20 ] || fail "${captions[i]}: idle button drawn in the selected colour"
done
# Three buttons are 60 wide; the buttons run left to right, with a group gap before Start!.
for i in 0 2 3; do
  [ $((br[i] - bl[i])) -eq 60 ] || fail "${captions[i]} is $((br[i] - bl[i])) wide, expected 60"
done
for i in 1 2 3; do
  [ "${bl[i]}" -ge "${br[i - 1]}" ] || fail "${captions[i]} overlaps ${captions[i - 1]}"
done
gap_group=$((bl[3] - br[2]))
gap_plain=$((bl[2] - br[1]))
[ "$gap_group" -gt "$gap_plain" ] && pass "separator before Start!" || fail "no separator gap before Start! ($gap_group vs $gap_plain)"

# --- Hover and click each button in turn. A hot glyph is drawn in its own colours (one
# colour of each picture that no other picture has).
picture_colours=("150 150 150" "240 200 80" "220 40 40" "60 190 60")
for i in 0 1 2 3; do
  x=$(((bl[i] + br[i]) / 2))
  y=$(((bt[i] + bb[i]) / 2))
  xdotool mousemove "$x" "$y"
  sleep 0.6
  hotshot="$work/hot-$i.png"
  shot "$hotshot"
  hot=$(count_colour "$hotshot" "${bl[i]}" "${bt[i]}" "${br[i]}" "${bb[i]}" "$sel_r" "$sel_g" "$sel_b")
  area=$(((br[i] - bl[i]) * (bb[i] - bt[i])))
  [ $((hot * 4)) -ge "$area" ] && pass "${captions[i]}: hot in the selected colour ($hot of $area pixels)" ||
    fail "${captions[i]}: hot button not in the selected colour $sel_r $sel_g $sel_b ($hot of $area pixels)"
  n=$(count_colour "$hotshot" "${bl[i]}" "${bt[i]}" "${br[i]}" "${bb[i]}" ${picture_colours[i]})
  [ "$n" -ge 10 ] && pass "${captions[i]}: hot picture in its own colours ($n pixels)" ||
    fail "${captions[i]}: hot picture lacks ${picture_colours[i]} ($n pixels)"
  # The pointer is over one button only: the others stay idle.
  for j in 0 1 2 3; do
    [ "$j" -eq "$i" ] && continue
    other=$(count_colour "$hotshot" "${bl[j]}" "${bt[j]}" "${br[j]}" "${bb[j]}" "$sel_r" "$sel_g" "$sel_b")
    [ "$other" -lt 20 ] || fail "${captions[j]} drawn hot while the pointer is over ${captions[i]}"
  done
  xdotool click 1
  wait_until 10 clicks_reach $((i + 1)) || fail "no click line after clicking ${captions[i]}"
done

mapfile -t clicks < <(grep '^clicked: ' "$out")
expected=("clicked: Add" "clicked: Add Folder" "clicked: Remove" "clicked: Start!")
if [ "${clicks[*]}" = "${expected[*]}" ] && [ "${#clicks[@]}" -eq 4 ]; then
  pass "four clicked lines in order"
else
  fail "clicked lines: $(printf '[%s] ' "${clicks[@]}")"
fi

# --- The keyboard: Alt alone selects the first button, Right moves on, Enter clicks.
xdotool key --clearmodifiers alt
xdotool key Right Return
if wait_until 10 clicks_reach 5; then
  last=$(grep '^clicked: ' "$out" | tail -1)
  [ "$last" = "clicked: Add Folder" ] && pass "Alt, Right and Enter click Add Folder" || fail "Alt, Right and Enter gave '$last'"
else
  fail "Alt, Right and Enter clicked nothing"
fi

# Leaving the toolbar takes the hot look away.
xdotool mousemove $((client_l + 20)) $((client_b - 20))
sleep 0.6
shot "$work/after.png"
hot=$(count_colour "$work/after.png" "${bl[3]}" "${bt[3]}" "${br[3]}" "${bb[3]}" "$sel_r" "$sel_g" "$sel_b")
[ "$hot" -lt 20 ] || fail "Start! stays hot after the pointer left"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed; screenshots in $work"
  exit 1
fi
echo "all end-to-end checks passed"
