#!/usr/bin/env bash
# Fault sweep: every capture call the viewer makes fails, from its first use
# or from the moment the picture showed, and the viewer must give up cleanly:
# the Abnormal screen, one event-log line naming the call, the plane hidden,
# OK (clicked with the real mouse) closes it and the process ends by itself.
# Calls whose failure the viewer deliberately lives with (plane properties
# sent by the session worker, the plane commit, the close at the end) have
# their own expectations below.
#
# FAULT_SWEEP_ONLY=<name pattern> runs only the matching cases.
set -u
run=$TAVRIN_WINE_RUN
bin=$TAVRIN_BIN
# xdotool needs the display the viewer runs on.
if [ -z "${DISPLAY:-}" ] && [ -f "$bin/../.xvfb-display" ]; then
  DISPLAY=$(cat "$bin/../.xvfb-display")
  export DISPLAY
fi
work=$(mktemp -d)
viewer=
cleanup() {
  [ -n "$viewer" ] && "$run" "$bin/tavrin_probe.exe" send close >/dev/null 2>&1
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
current=
fail() {
  echo "FAIL [$current]: $*"
  failures=$((failures + 1))
  return 1
}
probe() { "$run" "$bin/tavrin_probe.exe" "$@" 2>>"$work/probe.err" | tr -d '\r'; }
expect_screen() {  # kind seconds what
  local got; got=$(probe wait-screen "$1" "$2")
  [ "$got" = "screen $1" ] || fail "$3: expected screen $1, got '$got'"
}
# The board's state file (the DLL gets it as a Windows path).  Hidden: never
# drawn, not enabled, device closed, or an empty placement.
state_unix() { echo "$work/$current.state"; }
plane_hidden() {
  local f; f=$(state_unix)
  [ ! -f "$f" ] && return 0  # never drawn
  grep -qx 'enable 0' "$f" || grep -qx 'open 0' "$f" || grep -Eq '^placement -?[0-9]+ -?[0-9]+ (0 [0-9]+|[0-9]+ 0)$' "$f"
}
# Waits for screen KIND with its button and clicks the button as a user does.
click_button_of() {  # kind seconds what
  local got; got=$(probe wait-button "$1" "$2")
  [[ $got =~ ^screen\ $1\ button\ (-?[0-9]+)\ (-?[0-9]+)$ ]] ||
    { fail "$3: expected screen $1 with its button, got '$got'"; return 1; }
  xdotool mousemove "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" click 1
}
start_viewer() {  # scenario text
  printf '%s\n' "$1" >"$work/$current.scenario"
  rm -f "$(state_unix)"
  ( env OVXSIM_SCENARIO="$work/$current.scenario" \
        OVXSIM_STATE_FILE="Z:$(state_unix | tr / '\\')" WINEDEBUG=-all,err+eventlog \
        timeout 40 "$run" "$bin/tavrin.exe" >"$work/$current.out" 2>"$work/$current.err"
    echo $? >"$work/$current.rc" ) &
  viewer=$!
}
# ended: the viewer's process ended by itself, with code 0, within 8 s
# (Wine's own process end included, on a loaded machine).
ended() {
  local i
  for i in $(seq 80); do [ -f "$work/$current.rc" ] && break; sleep 0.1; done
  [ -f "$work/$current.rc" ] || { "$run" "$bin/tavrin_probe.exe" send close >/dev/null 2>&1; sleep 2; }
  wait "$viewer" 2>/dev/null
  viewer=
  [ "$(cat "$work/$current.rc" 2>/dev/null)" = 0 ] ||
    fail "viewer did not end cleanly within 8 s (rc $(cat "$work/$current.rc" 2>/dev/null))"
}
# Wine's messages reach the file when the process has ended.
event_lines() { grep -o ':err:eventlog:ReportEventW L"[^"]*"' "$work/$current.err" | sed 's/.*L"//; s/"$//'; }
expect_one_report() {  # text
  local lines; lines=$(event_lines)
  [ "$lines" = "$1" ] || fail "expected the one event-log line '$1', got: $(echo "$lines" | tr '\n' '|')"
}
# At the Abnormal screen: the plane is hidden, then OK ends the program.
finish_with_ok() {
  sleep 1.2  # a second device poll would report again
  plane_hidden || fail "the plane is still shown: $(tr '\n' ' ' <"$(state_unix)")"
  xdotool mousemove "$1" "$2" click 1
  ended
}
# Abnormal with its OK button; sets ok_x, ok_y.
at_abnormal() {  # seconds what
  local got; got=$(probe wait-button 8 "$1")
  [[ $got =~ ^screen\ 8\ button\ (-?[0-9]+)\ (-?[0-9]+)$ ]] ||
    { fail "$2: expected the Abnormal screen with OK, got '$got'"; ended; return 1; }
  ok_x=${BASH_REMATCH[1]} ok_y=${BASH_REMATCH[2]}
}

wanted() { [ -z "${FAULT_SWEEP_ONLY:-}" ] || [[ $1 == *${FAULT_SWEEP_ONLY}* ]]; }

# abnormal_at_start NAME 'fail line' 'report': the start gives up at once.
abnormal_at_start() {
  current=$1
  wanted "$current" || return 0
  start_viewer "$2"
  at_abnormal 30 "start" || return
  finish_with_ok "$ok_x" "$ok_y"
  expect_one_report "$3"
}

# abnormal_in_play NAME 'fail line' 'report' ACTION...: the picture shows,
# then the call fails (after=shown); ACTION makes the viewer use it.
abnormal_in_play() {
  current=$1
  wanted "$current" || return 0
  local line=$2 report=$3; shift 3
  start_viewer "$line"
  expect_screen 2 30 "picture" || { ended; return; }
  local step
  for step in "$@"; do
    case $step in
      continue) click_button_of 4 10 "Stopped" || { ended; return; } ;;
      *) probe send "$step" >/dev/null ;;
    esac
  done
  at_abnormal 15 "after the failure" || return
  finish_with_ok "$ok_x" "$ok_y"
  expect_one_report "$report"
}

s=-7
# From the first use.
abnormal_at_start open "fail Ovx_DevOpen status=$s" "Ovx_DevOpen($s)"
abnormal_at_start getprop-1 "fail Ovx_DevGetProp prop=1 status=$s" "Ovx_DevGetProp($s)"
abnormal_at_start getprop-3 "fail Ovx_DevGetProp prop=3 status=$s" "Ovx_DevGetProp($s)"
abnormal_at_start getprop-4 "fail Ovx_DevGetProp prop=4 status=$s" "Ovx_DevGetProp($s)"
abnormal_at_start getprop-6 "fail Ovx_DevGetProp prop=6 status=$s" "Ovx_DevGetProp($s)"
abnormal_at_start setprop-7 "fail Ovx_DevSetProp prop=7 status=$s" "Ovx_DevSetProp($s)"
abnormal_at_start setcb "fail Ovx_DevSetCb status=$s" "Ovx_DevSetCb($s)"
abnormal_at_start wdtinit "fail Ovx_DevWdtInit status=$s" "Ovx_DevWdtInit($s)"
abnormal_at_start vpcreate "fail Ovx_VpCreate status=$s" "Ovx_VpCreate($s)"
abnormal_at_start vpsetprop-11 "fail Ovx_VpSetProp prop=11 status=$s" "Ovx_VpSetProp($s)"

# From a moment after the picture showed.
arrive='at 500 event 0x02 1920 1080'
abnormal_in_play play-getprop-3 "$arrive
fail Ovx_DevGetProp prop=3 status=$s after=shown" "Ovx_DevGetProp($s)"
abnormal_in_play play-getprop-6 "$arrive
fail Ovx_DevGetProp prop=6 status=$s after=shown" "Ovx_DevGetProp($s)" display
abnormal_in_play play-getprop-7 "$arrive
fail Ovx_DevGetProp prop=7 status=$s after=shown" "Ovx_DevGetProp($s)" lock
abnormal_in_play play-setcb "$arrive
fail Ovx_DevSetCb status=$s after=shown" "Ovx_DevSetCb($s)" lock
abnormal_in_play play-wdtinit "$arrive
fail Ovx_DevWdtInit status=$s after=shown" "Ovx_DevWdtInit($s)" lock continue
abnormal_in_play play-setprop-7 "$arrive
fail Ovx_DevSetProp prop=7 status=$s after=shown" "Ovx_DevSetProp($s)" lock continue

# Plane properties go through the session worker, which reports a failure
# and carries on (the next request that changes that property sends it
# again); the commit is never reported.  The viewer stays in Play and ends
# cleanly.  A display change makes it send the plane again.
plays_on() {  # NAME 'fail line' report|- shown|hidden
  current=$1
  wanted "$current" || return 0
  start_viewer "$arrive
$2"
  expect_screen 2 30 "picture" || { ended; return; }
  probe send display >/dev/null
  expect_screen 2 15 "after the display change"
  local shown=shown
  plane_hidden && shown=hidden
  [ "$shown" = "$4" ] || fail "the plane is $shown, expected $4: $(tr "\n" " " <"$(state_unix)" 2>/dev/null)"
  echo "$current: plane $shown: $(grep placement "$(state_unix)" 2>/dev/null)"
  probe send close >/dev/null
  ended
  local lines; lines=$(event_lines | sort -u)
  if [ "$3" = - ]; then
    [ -z "$lines" ] || fail "expected no event-log line, got: $(echo "$lines" | tr '\n' '|')"
  else
    [ "$lines" = "$3" ] || fail "expected only '$3' in the event log, got: $(echo "$lines" | tr '\n' '|')"
  fi
}
plays_on vpsetprop-1 "fail Ovx_VpSetProp prop=1 status=$s" "Ovx_VpSetProp($s)" hidden
plays_on vpsetprop-2 "fail Ovx_VpSetProp prop=2 status=$s" "Ovx_VpSetProp($s)" hidden
plays_on vpsetprop-3 "fail Ovx_VpSetProp prop=3 status=$s" "Ovx_VpSetProp($s)" shown
plays_on vpsetprop-10 "fail Ovx_VpSetProp prop=10 status=$s" "Ovx_VpSetProp($s)" shown
plays_on vpdrawall "fail Ovx_VpDrawAll status=$s" - hidden

# The device closes at the end: its failure is reported once and the end goes on.
current=devclose
if wanted "$current"; then
  start_viewer "$arrive
fail Ovx_DevClose status=$s"
  expect_screen 2 30 "picture"
  probe send close >/dev/null
  ended
  expect_one_report "Ovx_DevClose($s)"
fi

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "fault sweep passed"
