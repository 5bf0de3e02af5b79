#!/usr/bin/env bash
# Lays the simulated board's picture over a screenshot, where the board's
# state file says its plane lies (see tools/run-viewer.sh --screenshot).
#
#   tools/composite-screenshot.sh RAW.png STATE.txt OUT.png [BUILD_DIR]
#
# STATE.txt missing means the board never drew: OUT is RAW unchanged.  The
# compositor (tools/composite) is built with the host g++ into
# BUILD_DIR/tools (default build/windows) when missing or out of date.
# Prints the number of pixels painted.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[ $# -ge 3 ] && [ $# -le 4 ] || { echo "usage: composite-screenshot.sh RAW.png STATE.txt OUT.png [BUILD_DIR]" >&2; exit 1; }
raw=$1 state=$2 out=$3 build=${4:-$top/build/windows}
composite=$build/tools/plane_composite
if [ ! -x "$composite" ] || [ -n "$(find "$top/tools/composite" -newer "$composite" -name '*.[ch]*')" ]; then
  mkdir -p "$build/tools"
  g++ -std=c++20 -O2 -o "$composite" "$top"/tools/composite/*.cpp
fi
if [ ! -f "$state" ]; then
  cp "$raw" "$out"
  echo 0
  exit 0
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$top/tools/test-pattern.sh" "$tmp/pattern.ppm" "$(date -u +%H:%M:%S)"
convert "$raw" -depth 8 "$tmp/screen.ppm"
painted=$("$composite" "$tmp/screen.ppm" "$state" "$tmp/pattern.ppm" "$tmp/out.ppm")
convert "$tmp/out.ppm" "$out"
echo "${painted#painted }"
