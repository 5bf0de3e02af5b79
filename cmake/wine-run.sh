#!/usr/bin/env bash
# Runs one Windows program under Wine for CTest (the cross-compiling emulator).
# The prefix lives in the build folder next to bin/ and is made once by
# tools/wine-prefix.sh; a display is taken from DISPLAY or from the Xvfb that
# tools/test.sh started (its number is kept in the build folder).
set -u
exe=$1; shift
bindir=$(cd "$(dirname "$exe")" && pwd)
build=${TAVRIN_BUILD_DIR:-$(dirname "$bindir")}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${TAVRIN_WINEPREFIX:-$build/wineprefix}
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINEDEBUG=${WINEDEBUG:--all}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  flock "$build/.wineprefix.lock" "$here/../tools/wine-prefix.sh" "$WINEPREFIX" >&2 || exit 70
fi
if [ -z "${DISPLAY:-}" ] && [ -f "$build/.xvfb-display" ]; then
  export DISPLAY=$(cat "$build/.xvfb-display")
fi
# Wine's output goes through files, never straight into the caller's pipes:
# a wineserver that a wine call starts inherits them and would hold CTest's
# pipe open after the program ended.  Wine has also been seen, rarely, to end
# a program before it ran (no output at all, nonzero exit), mostly right
# after the server started; a program that ran prints something, so only a
# silent failure is tried again.
out=$(mktemp); err=$(mktemp); trap 'rm -f "$out" "$err"' EXIT
for attempt in 1 2 3; do
  wine "$exe" "$@" >"$out" 2>"$err" </dev/null; rc=$?
  if [ "$rc" = 0 ] || [ -s "$out" ]; then break; fi
  echo "wine-run: $(basename "$exe") ended with $rc before printing anything (attempt $attempt)" >&2
  cat "$err" >&2
  sleep 1
done
cat "$out"
cat "$err" >&2
exit "$rc"
