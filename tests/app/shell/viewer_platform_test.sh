#!/usr/bin/env bash
# The viewer under Wine against the simulated board: it reaches the video,
# a second start hands over, lock and Continue, a board that does not open,
# the tablet-mode library refusing, and a copy running elsewhere.
set -u
. "$(dirname "$0")/viewer_test_lib.sh"
# click_button WHAT: the shown message button, clicked with the real mouse.
click_button() {
  local b; b=$(probe button)
  set -- $b
  [ "$1" = button ] && [ "$2" != none ] || fail "$*: no message button"
  xdotool mousemove $(( ($2 + $4) / 2 )) $(( ($3 + $5) / 2 )) click 1
}

# 1. Default board: the source arrives after open, Waiting gives way to Play.
start main WINEDEBUG=-all,err+eventlog OVXSIM_TRACE=1
expect_screen 2 15 "source arrival"
[ "$(probe title)" = "title Tavrin" ] || fail "title: $(probe title)"
# The plane lies where the 1920 x 1080 input fits into the display view: full
# width or full height, centred across.  The board gets it in its own space
# (3840 x 2560 on this 1920 x 1280 screen: doubled); checked from its call
# record once the viewer has ended.
sleep 1
set -- $(probe display-view)
[ "$1" = view ] && [ "$2" != none ] || fail "no display view"
want=$(awk -v l="$2" -v t="$3" -v r="$4" -v b="$5" 'BEGIN {
  rw = r - l; rh = b - t; sx = rw / 1920; sy = rh / 1080
  if (sy > sx) { hh = 1080 * sx; x = l; w = rw; y = t + int(int(rh - hh) / 2); h = int(hh + 0.5) }
  else { ww = 1920 * sy; y = t; h = rh; x = l + int(int(rw - ww) / 2); w = int(ww + 0.5) }
  printf "[%d %d %d %d]", 2 * x, 2 * y, 2 * w, 2 * h }')
view="$*"
# 2. A second start by the same user hands over and ends; a minimised
#    first copy comes back.
probe send minimise >/dev/null
[ "$(probe wait-iconic 1 5)" = "iconic 1" ] || fail "minimise did not take"
timeout 15 "$run" "$bin/tavrin.exe" >/dev/null 2>&1 || fail "second start did not end cleanly"
[ "$(probe windows)" = "windows 1" ] || fail "second start: $(probe windows)"
[ "$(probe wait-iconic 0 5)" = "iconic 0" ] || fail "the second start did not restore the first copy"
# A switch to tablet mode through the library keeps the video.
probe send tablet 2 | grep -q sent || fail "no tablet-mode library window"
expect_screen 2 1 "tablet mode"
# A display change blanks the screen, then waits, then shows the video again.
probe send display >/dev/null
expect_screen 1 1 "display change"
expect_screen 2 10 "after the display change"
# 3. Lock stops the video; unlock leaves it stopped; Continue restarts.
probe send lock >/dev/null
expect_screen 4 2 "lock"
probe send unlock >/dev/null
expect_screen 4 1 "unlock"
click_button "Continue"
expect_screen 2 10 "continue"
# The monitor going off stops the video too.
probe send monitor-off >/dev/null
expect_screen 4 2 "monitor off"
probe send monitor-on >/dev/null
expect_screen 4 1 "monitor on"
probe send close >/dev/null
probe wait-gone 10 >/dev/null || fail "close: window still there"
ended main
got=$(grep -a 'Ovx_VpSetProp(.*id 2) -> 0' "$work/main.err" | sed -n '2p' | sed 's/.*-> 0 //' | tr -d '\r')
[ "$got" = "$want" ] || fail "plane placement $got, expected $want (display view $view)"
grep -q ':err:eventlog:' "$work/main.err" && fail "event-log entries in a clean run: $(grep eventlog "$work/main.err")"

# 4. The board does not open: Abnormal, reported once; OK ends the viewer.
printf 'fail Ovx_DevOpen status=-5\n' >"$work/open-fails.txt"
start openfail OVXSIM_SCENARIO="$work/open-fails.txt" WINEDEBUG=-all,err+eventlog
expect_screen 8 15 "open failure"
sleep 0.5
click_button "OK"
probe wait-gone 10 >/dev/null || fail "OK did not close the window"
ended openfail
n=$(grep -c ':err:eventlog:ReportEventW L"Ovx_DevOpen(-5)"' "$work/openfail.err")
[ "$n" = 1 ] || fail "expected one event-log entry Ovx_DevOpen(-5), got $n: $(grep -v ALSA "$work/openfail.err" | head -5)"

# 5. The tablet-mode library refuses: Abnormal.
start pivra PIVRA_INIT=fail
expect_screen 8 15 "tablet-mode library"
probe send close >/dev/null
probe wait-gone 10 >/dev/null || fail "pivra: window still there"
ended pivra

# 6. A copy runs elsewhere (only the machine-wide mutex is taken): AlreadyRunning.
"$run" "$bin/tavrin_probe.exe" hold-global 20 >"$work/holder.out" 2>/dev/null &
[ "$(probe wait-global 10)" = held ] || fail "the mutex holder did not start"
start elsewhere
expect_screen 10 15 "other session"
probe send press >/dev/null
probe wait-gone 10 >/dev/null || fail "AlreadyRunning OK did not close the window"
ended elsewhere
wait
echo "viewer platform checks passed"
