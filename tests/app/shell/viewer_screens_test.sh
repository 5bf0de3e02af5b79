#!/usr/bin/env bash
# The viewer's screens as its views draw them, in one interface language
# (TAVRIN_LANG, else LC_ALL, default en_US.UTF-8): Play, Overlapped, PlayBarHidden, Blank,
# Stopped, NoSignal, Abnormal, UpdateRequired and AlreadyRunning on the simulated board.  Each screen is
# photographed into $TAVRIN_BIN/../screens/<language>-<kind>.png; the message
# screens must show white text in their display row, Play and Blank none.
set -u
. "$(dirname "$0")/viewer_test_lib.sh"
lang=${TAVRIN_LANG:-${LC_ALL:-en_US.UTF-8}}
shots=$bin/../screens
mkdir -p "$shots"
fail() { echo "FAIL ($lang): $*"; exit 1; }
# start NAME [VAR=value ...] in the test's language.
start_in_language() {
  local name=$1; shift
  start "$name" LC_ALL="$lang" "$@"
}
stop() {
  probe send close >/dev/null
  probe wait-gone 15 >/dev/null || fail "$1: window still there"
  wait
}
# shot KIND TEXT: photographs the screen; TEXT 1 wants white text in the
# display view, 0 none.
shot() {
  local kind=$1 text=$2 file="$shots/${lang%%.*}-$1.png"
  sleep 1  # let the views paint
  import -window root -display "$DISPLAY" "$file" || fail "no screenshot"
  set -- $(probe display-view)
  [ "$1" = view ] && [ "$2" != none ] || fail "screen $kind: no display view"
  local white
  white=$(convert "$file" -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage -fill black +opaque white \
    -fill white -opaque white -format '%[fx:int(mean*w*h+0.5)]' info:)
  if [ "$text" = 1 ]; then
    [ "$white" -gt 200 ] || fail "screen $kind: no text drawn ($white white pixels; $file)"
  else
    [ "$white" -eq 0 ] || fail "screen $kind: $white white pixels in the picture area ($file)"
  fi
}

start_in_language play
expect_screen 2 30
shot 2 0
# Another program's window over a corner of the video: Overlapped, its text
# beside the grey cover.
set -- $(probe display-view)
( "$run" "$bin/tavrin_probe.exe" cover $(($2 + 10)) $(($3 + 10)) $(($2 + 200)) $(($3 + 120)) 6 >/dev/null 2>&1 ) &
expect_screen 7 8
shot 7 1
expect_screen 2 10
# Full screen (F11 on the picture), then the bar hides by itself.
xdotool mousemove $(($2 + 300)) $(($3 + 300)) click 1 key F11
expect_screen 3 12
shot 3 0
xdotool key Escape
expect_screen 2 5
probe send display >/dev/null
expect_screen 1 2
shot 1 0
expect_screen 2 15
probe send lock >/dev/null
expect_screen 4 5
shot 4 1
stop play

printf '# no source at all\nclock realtime\n' >"$work/no-signal.txt"
start_in_language nosignal OVXSIM_SCENARIO="$work/no-signal.txt"
expect_screen 6 30
shot 6 1
stop nosignal

printf 'fail Ovx_DevOpen status=-5\n' >"$work/open-fails.txt"
start_in_language abnormal OVXSIM_SCENARIO="$work/open-fails.txt"
expect_screen 8 30
shot 8 1
stop abnormal

printf 'firmware 0x20000000\n' >"$work/new-firmware.txt"
start_in_language update OVXSIM_SCENARIO="$work/new-firmware.txt"
expect_screen 9 30
shot 9 1
stop update

"$run" "$bin/tavrin_probe.exe" hold-global 40 >/dev/null 2>&1 &
[ "$(probe wait-global 15)" = held ] || fail "the mutex holder did not start"
start_in_language elsewhere
expect_screen 10 30
shot 10 1
stop elsewhere
echo "viewer screens ($lang) drawn"
