#!/usr/bin/env bash
# The viewer's window under Wine, driven as a user drives it: placement,
# minimum size, full screen by its button and back, the bar hiding and coming
# back, another window over the video, maximising, minimising, the system
# menu's About box, keys that must not open the menu, tablet mode, Detect 0.
set -u
. "$(dirname "$0")/viewer_test_lib.sh"
settings='HKLM\Software\Velmora\Tavrin'
reg() { TAVRIN_BUILD_DIR=$bin/.. "$run" reg "$@" >/dev/null 2>&1; }
trap 'reg delete "$settings" /v Detect /f; cleanup' EXIT
# window: the probe's fields as variables (popup zoomed iconic l t r b cw ch).
window() {
  set -- $(probe window)
  [ "${1:-}" = window ] || fail "no window"
  popup=$3 zoomed=$5 iconic=$7 l=$9 t=${10} r=${11} b=${12} cw=${14} ch=${15}
}
click_control() {  # id what
  set -- $(probe control "$1") "$2"
  [ "$1" = control ] && [ "$2" != none ] || fail "$*: no such control"
  xdotool mousemove "$2" "$3" click 1
}
# cover l t r b seconds: another program's window over the screen, returns once it shows.
cover() {
  # Straight to Wine: its runner passes the output on only at the end.
  ( WINEPREFIX=${TAVRIN_WINEPREFIX:-$bin/../wineprefix} WINEARCH=win64 WINEDEBUG=-all \
      wine "$bin/tavrin_probe.exe" cover "$@" >"$work/cover.out" 2>/dev/null ) &
  local i
  # The viewer, brought to the front, would hide it: it is kept on top as a
  # window manager keeps the window the user raised last.
  ( for i in $(seq $(( $5 * 5 ))); do xdotool search --name '^cover$' windowraise >/dev/null 2>&1; sleep 0.2; done ) &
  for i in $(seq 200); do grep -q cover "$work/cover.out" 2>/dev/null && return; sleep 0.05; done
  fail "the covering window did not show"
}
printf 'clock realtime\ninput 0x02 1280 720\n' >"$work/fits.txt"

# 1. An input that fits: one screen pixel per video pixel plus the bar (100 on
#    this 1920 x 1280 display), centred in the work area (the whole screen here).
start main OVXSIM_SCENARIO="$work/fits.txt"
expect_screen 2 20 "source present"
window
[ "$cw $ch" = "1280 820" ] || fail "client $cw x $ch for a 1280 x 720 input"
[ "$l $t" = "$(awk -v w=$((r - l)) -v h=$((b - t)) 'BEGIN { print int(960 - (w * 0.5 + 0.5)), 640 - int(h * 0.5 + 0.5) }')" ] ||
  fail "not centred: $l $t $r $b"

# 2. Keys reach the viewer (F11 is full screen) but never open the system menu.
xdotool mousemove 700 500 click 1
for k in F10 alt+space alt; do
  xdotool key "$k"; sleep 0.3
  [ "$(probe menus)" = "menus 0" ] || { xdotool key Escape; fail "$k opened a menu"; }
done
xdotool key F11; sleep 1; window
[ "$popup" = 1 ] || fail "F11 did not enter full screen"
xdotool key Escape; sleep 1; window
[ "$popup $zoomed $cw $ch" = "0 0 1280 820" ] || fail "Esc: popup $popup zoomed $zoomed client $cw x $ch"

# 3. Full screen by the button: a popup over the whole display; the bar hides
#    when the user does nothing, stays on a move to the same place, comes back
#    on a real move.
click_control 1004 "full screen"
sleep 1; window
[ "$popup $l $t $r $b" = "1 0 0 1920 1280" ] || fail "full screen: popup $popup rect $l $t $r $b"
expect_screen 3 12 "idle bar"
eval "$(xdotool getmouselocation --shell)"
xdotool mousemove "$X" "$Y"; sleep 1.5
[ "$(probe screen)" = "screen 3" ] || fail "a move to the same place brought the bar back"
xdotool mousemove $((X + 40)) $((Y + 40))
expect_screen 2 3 "mouse move"
click_control 1004 "normal screen"
sleep 1; window
[ "$popup $cw $ch" = "0 1280 820" ] || fail "normal screen: popup $popup client $cw x $ch"

# 4. The smallest window: 640 x 480 design units (320 x 240 here) plus the bar.
probe resize 100 100 >/dev/null; sleep 0.5; window
[ "$cw $ch" = "320 340" ] || fail "minimum client $cw x $ch"
probe send restore >/dev/null
printf 'clock realtime\ninput 0x02 1920 1080\n' >"$work/fits.txt"
expect_screen 2 2 "after resizing"

# 5. Another program's window over the video: Overlapped within 2 s of a check, back when it goes.
set -- $(probe display-view)
vl=$2 vt=$3
cover $((vl + 100)) $((vt + 100)) $((vl + 300)) $((vt + 250)) 4
expect_screen 7 4 "covered"
expect_screen 2 6 "uncovered"
# Maximised with the cover already there: not Overlapped for 3 s.
# The covering program times it from the moment it sees the window maximised.
cover $((vl + 100)) $((vt + 100)) $((vl + 300)) $((vt + 250)) 7 timed
probe send maximise >/dev/null
for i in $(seq 200); do grep -q -e after -e never "$work/cover.out" && break; sleep 0.05; done
set -- $(tr -d '\r' <"$work/cover.out" | tail -1)
[ "${1:-}" = overlapped ] || fail "maximised and covered: never Overlapped ($*)"
awk -v s="$3" 'BEGIN { exit !(s >= 2.9) }' || fail "Overlapped $3 s after maximising"
expect_screen 2 8 "cover gone"
# Minimised: no checks; back: checks again.
probe send minimise >/dev/null
[ "$(probe wait-iconic 1 5)" = "iconic 1" ] || fail "minimise"
cover 0 0 1920 1280 6
sleep 2.5
[ "$(probe screen)" = "screen 2" ] || fail "checked while minimised"
probe send restore >/dev/null
expect_screen 7 6 "restored under a cover"
expect_screen 2 8 "cover gone after restore"
# Dragged by its title bar: no checks until the drag ends (the drag starts
# before the cover shows, so no check can have seen it before).  Restored
# first, and past its settling time.
probe send restore >/dev/null
sleep 3.5
window
[ "$zoomed" = 0 ] || fail "not restored before the drag"
xdotool mousemove $(((l + r) / 2)) $((t + 10)) mousedown 1 sleep 0.3 mousemove_relative 20 15
cover 0 0 1920 1280 8
sleep 3
xdotool mousemove_relative 10 5
[ "$(probe screen)" = "screen 2" ] || { xdotool mouseup 1; fail "checked while dragged"; }
xdotool mouseup 1
expect_screen 7 4 "covered after the drag"
expect_screen 2 10 "cover gone after the drag"

# 6. The system menu's "&Version" opens the About box (real clicks and keys).
window
xdotool mousemove $((l + 10)) $((t + 10)) click 1; sleep 0.5
[ "$(probe menus)" = "menus 1" ] || fail "no system menu at the window's icon"
xdotool key v
about=$(probe wait-about 5)
[ "$about" = "about program 'V1.00L11 ' driver '1.0.2.0' firmware '1.0.515.0' api '1.0.256.0'" ] ||
  fail "about box: $about"

# 7. Tablet mode in full screen: full screen ends and the window is minimised.
expect_screen 2 8 "about box gone"
click_control 1004 "full screen"
sleep 1
probe send tablet 2 >/dev/null
[ "$(probe wait-iconic 1 5)" = "iconic 1" ] || fail "tablet mode did not minimise"
window
[ "$popup" = 0 ] || fail "tablet mode kept full screen"
probe send tablet 1 >/dev/null
probe send close >/dev/null
ended main

# 8. The end of the session: the device is closed before the viewer answers.
start ending OVXSIM_SCENARIO="$work/fits.txt" OVXSIM_STATE_FILE="Z:${work//\//\\}\\state.txt"
expect_screen 2 20 "before the end of the session"
answer=$(probe end-session "Z:${work//\//\\}\\state.txt")
[ "$answer" = "answer 1 open 0" ] || fail "end of session: $answer"
ended ending

# 9. Detect 0: no overlap checks while playing.  The 1920 x 1080 input does not
#    fit (the frame is wider than the screen): the window takes the whole width,
#    the picture keeps its aspect.
reg add "$settings" /v Detect /t REG_DWORD /d 0 /f || fail "reg add"
start nodetect OVXSIM_SCENARIO="$work/fits.txt"
expect_screen 2 20 "Detect 0"
window
[ $((r - l)) = 1920 ] && [ $((b - t)) -le 1280 ] || fail "1920 x 1080 window: $l $t $r $b"
[ $(( cw * 1080 - (ch - 100) * 1920 )) -le 1920 ] && [ $(( (ch - 100) * 1920 - cw * 1080 )) -le 1920 ] ||
  fail "1920 x 1080 picture not 16:9: client $cw x $ch"
set -- $(probe display-view)
cover $(($2 + 100)) $(($3 + 100)) $(($2 + 300)) $(($3 + 250)) 4
set -- $(probe first-screen 7 3)
[ "$1" = never ] || fail "Detect 0 showed Overlapped"
probe send close >/dev/null
ended nodetect
echo "window test passed"
