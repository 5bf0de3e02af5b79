#!/usr/bin/env bash
# The CPU benchmark's floor program under Wine: it captures what is on the
# screen, counts an area off every screen as a failed capture, and refuses a
# bad command line.
set -u
run=$TAVRIN_WINE_RUN
floor=$TAVRIN_BIN/capture_floor.exe
fail() { echo "FAIL: $*"; exit 1; }
# expect CODE OUTPUT ARGS...: exit code and output of one run.
expect() {
  local code=$1 want=$2 out rc; shift 2
  out=$("$run" "$floor" "$@" 2>/dev/null); rc=$?
  out=${out//$'\r'/}
  [ "$rc" = "$code" ] || fail "capture_floor $*: exit code $rc, expected $code"
  [ "$out" = "$want" ] || fail "capture_floor $*: printed '$out', expected '$want'"
}
expect 0 "captures 2 failed 0" 0 0 640 360 2
expect 1 "captures 0 failed 1" -100000 -100000 64 64 1
expect 2 "" 0 0 0 64 1
expect 2 "" 0 0 64 64
echo "capture_floor: ok"
