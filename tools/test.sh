#!/usr/bin/env bash
# The one test command: installs what is missing (Debian 12, as root), builds
# the native, ThreadSanitizer and Windows trees and runs both tiers.  Ends with
# the counted totals of all tiers.
set -uo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
source tools/deps.sh
ensure_packages

jobs=${TAVRIN_JOBS:-$(nproc)}
# ccache (when there) may reuse what another checkout of the tree compiled.
export CCACHE_BASEDIR=$top CCACHE_NOHASHDIR=1
# A sanitizer finding fails its test at once, with a stack.
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}
passed=0; failed=0; status=0
summary=()

count() {   # count TIER LOGFILE RC
  local line p f t
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$2" | tail -n1)
  if [ -z "$line" ]; then
    echo "$1: no test totals found" >&2; status=1; summary+=("$1: no totals"); return
  fi
  p=$(sed -E 's/.*% tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\2 \1/' <<<"$line")
  t=${p% *}; f=${p#* }
  passed=$((passed + t - f)); failed=$((failed + f))
  summary+=("$1: $((t - f)) passed, $f failed")
  [ "$3" = 0 ] || status=1
}

run_tier() {  # run_tier NAME  (configure, build, test one preset)
  local name=$1 log=build/$1-ctest.log rc
  echo "=== $name: configure and build"
  cmake --preset "$name" >/dev/null || { status=1; summary+=("$name: configure failed"); return; }
  cmake --build --preset "$name" -j "$jobs" || { status=1; summary+=("$name: build failed"); return; }
  echo "=== $name: tests"
  ctest --preset "$name" -j "$jobs" 2>&1 | tee "$log"; rc=${PIPESTATUS[0]}
  count "$name" "$log" "$rc"
}

mkdir -p build
run_tier native
run_tier native-tsan

# Windows tier: one prefix per build folder, a display, a resident wineserver.
echo "=== windows: configure and build"
if cmake --preset windows >/dev/null && cmake --build --preset windows -j "$jobs"; then
  export WINEPREFIX=$top/build/windows/wineprefix WINEARCH=win64
  flock build/windows/.wineprefix.lock tools/wine-prefix.sh "$WINEPREFIX" || { status=1; summary+=("windows: prefix failed"); }
  xvfb_pid=
  if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 120); do
      [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
      Xvfb ":$n" -screen 0 1920x1280x24 -nolisten tcp >/dev/null 2>&1 &
      xvfb_pid=$!
      for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
      echo ":$n" > build/windows/.xvfb-display
      export DISPLAY=:$n
      break
    done
  else
    echo "$DISPLAY" > build/windows/.xvfb-display
  fi
  WINEDEBUG=-all wineserver -p >/dev/null 2>&1 </dev/null
  # One program first, so that the tests meet a server that is up and a
  # prefix that has finished any first-run work.
  WINEDEBUG=-all timeout 120 wine cmd /c exit >/dev/null 2>&1 </dev/null || true
  log=build/windows-ctest.log
  echo "=== windows: tests (under Wine, DISPLAY=$DISPLAY)"
  ctest --preset windows -j "$jobs" 2>&1 | tee "$log"; rc=${PIPESTATUS[0]}
  count windows "$log" "$rc"
  WINEDEBUG=-all wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -f build/windows/.xvfb-display
else
  status=1; summary+=("windows: build failed")
fi

echo
printf '%s\n' "${summary[@]}"
echo "Totals: $passed passed, $failed failed"
exit $status
