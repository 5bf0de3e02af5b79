#!/usr/bin/env bash
# The session's reports through the real Windows services under Wine: a
# failing open reaches the event log with its exact text, and the API log
# lands in "log\mira5api.log" on the prefix's Desktop, appended run by run.
set -u
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
probe=$TAVRIN_BIN/session_probe.exe
prefix=${TAVRIN_WINEPREFIX:-$(dirname "$TAVRIN_BIN")/wineprefix}

# 1. Event log: Ovx_DevOpen fails with -5.
printf 'fail Ovx_DevOpen status=-5\n' > "$work/open-fails.txt"
OVXSIM_SCENARIO=$work/open-fails.txt WINEDEBUG=-all,err+eventlog \
  "$TAVRIN_WINE_RUN" "$probe" 0 >"$work/out1" 2>"$work/err1"
grep -q 'no session' "$work/out1" || fail "session opened although the open failed: $(cat "$work/out1")"
n=$(grep -c ':err:eventlog:ReportEventW L"Ovx_DevOpen(-5)"' "$work/err1")
[ "$n" = 1 ] || fail "expected one event-log entry Ovx_DevOpen(-5), got $n: $(grep eventlog "$work/err1")"

# 2. API log on the Desktop, appended by a second run.
user=$(id -un)
log="$prefix/drive_c/users/$user/Desktop/log/mira5api.log"
rm -f "$log"
printf 'clock manual\n' > "$work/plain.txt"
for run in 1 2; do
  OVXSIM_SCENARIO=$work/plain.txt "$TAVRIN_WINE_RUN" "$probe" 1 >"$work/out2" 2>/dev/null || fail "probe run $run failed"
done
[ -f "$log" ] || fail "no API log at $log"
opens=$(grep -c ',0,Ovx_DevOpen,0x[0-9A-F]\{16\},0' "$log")
[ "$opens" = 2 ] || fail "expected two Ovx_DevOpen lines, got $opens: $(cat "$log")"
grep -qE '^[0-9]{4}/[0-9]{2}/[0-9]{2},[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{1,3},0,Ovx_DevGetProp,0x[0-9A-F]{16},6,event:0x4 size.x:0 size.y:0' "$log" \
  || fail "no property-6 line: $(cat "$log")"
tr -d '\r' < "$log" | grep -q 'Ovx_DevClose' || fail "no close line"

# 3. ApiLog 0: no file.
rm -rf "$prefix/drive_c/users/$user/Desktop/log"
OVXSIM_SCENARIO=$work/plain.txt "$TAVRIN_WINE_RUN" "$probe" 0 >/dev/null 2>&1
[ ! -e "$prefix/drive_c/users/$user/Desktop/log" ] || fail "ApiLog 0 created the log folder"
echo "session platform checks passed"
