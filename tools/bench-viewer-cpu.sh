#!/usr/bin/env bash
# CPU benchmark of the viewer under Wine: CPU time of tavrin.exe per minute in
# Play (the simulated board's HDMI source of 1920 x 1080), against the floor
# of the overlap check: tools/bench/capture_floor, a program that only takes
# the viewer's screen capture of the same video area once a second.  All
# three measures run one after the other in the same run, on the same screen:
#
#   viewer, Detect 1   overlap checks on (the default)
#   capture floor      one capture a second of the area the viewer showed
#   viewer, Detect 0   overlap checks off
#
#   tools/bench-viewer-cpu.sh [--seconds N] [--warmup N] [--markdown] [--log FILE]
#
#   --seconds N  length of each measure (default 60)
#   --warmup N   seconds between the viewer showing Play (or the floor program
#                starting) and the measure (default 5)
#   --markdown   also print the results as rows of the README's table
#   --log FILE   the build's and Wine's messages (default
#                build/windows/bench-viewer-cpu.log)
#
# CPU is user + system time of the Linux process that runs the exe (utime +
# stime of /proc/<pid>/stat, all its threads), per minute of wall time.  The
# rest of the session (wineserver, Wine's own services, Xvfb) is measured over
# the same window and reported in columns of their own, outside the ratios.
# Ratios: (a) viewer Detect 1 / floor, target at most 1.5; (b) viewer
# Detect 0 / floor.
#
# It runs in a Wine prefix of its own (build/windows/bench-wineprefix: the
# registry value Detect is set there, and a viewer of the tests in the usual
# prefix would take over) on an Xvfb of its own of 2560 x 1600, large enough
# for the window of a 1920 x 1080 input whatever DISPLAY says.  On a fresh
# Debian 12, run as root: missing packages are installed first.  The build is
# build/windows (TAVRIN_BUILD_DIR overrides).  A run takes about
# 3 x (seconds + warm-up) plus 30 s of Wine start-ups.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

say() { printf 'bench-viewer-cpu: %s\n' "$*" >&2; }
die() { say "error: $*"; exit 1; }

seconds=60
warmup=5
markdown=
log=
whole() { [[ $1 =~ ^[0-9]+$ ]] && [ "$1" -ge "$2" ] && [ "$1" -le "$3" ]; }
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) [ $# -ge 2 ] && whole "$2" 1 3600 || die "--seconds wants a whole number from 1 to 3600"
      seconds=$2; shift 2 ;;
    --warmup) [ $# -ge 2 ] && whole "$2" 0 600 || die "--warmup wants a whole number from 0 to 600"
      warmup=$2; shift 2 ;;
    --markdown) markdown=1; shift ;;
    --log) [ $# -ge 2 ] || die "--log needs a file name"; log=$2; shift 2 ;;
    -h|--help) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; exit 0 ;;
    *) die "unknown option '$1' (see --help)" ;;
  esac
done

# shellcheck source=tools/deps.sh
source "$top/tools/deps.sh"
ensure_packages || die "missing packages"

build=${TAVRIN_BUILD_DIR:-$top/build/windows}
mkdir -p "$build"
log=${log:-$build/bench-viewer-cpu.log}
case $log in /*) ;; *) log=$PWD/$log ;; esac
: >"$log" || die "cannot write the log $log"
say "building in $build (messages: $log)"
{ cmake -S "$top" -B "$build" --preset windows &&
  cmake --build "$build" --target tavrin ovxcapture Pivra_x64 tavrin_probe capture_floor; } >>"$log" 2>&1 ||
  { tail -20 "$log" >&2; die "the build failed (see $log)"; }
bin=$build/bin

# shellcheck source=tools/lib-wine-session.sh
source "$top/tools/lib-wine-session.sh"
work=$(mktemp -d)
running=
cleanup() {
  if [ -n "$running" ] && kill -0 "$running" 2>/dev/null; then
    wine "$bin/tavrin_probe.exe" send close >/dev/null 2>&1 || kill "$running" 2>/dev/null || true
    wait "$running" 2>/dev/null || true
  fi
  wine_session_end
  rm -rf "$work"
}
trap cleanup EXIT
# One run at a time: a second viewer in the prefix would hand over to the first.
exec 9>"$build/.bench-viewer-cpu.lock"
flock -n 9 || die "another run of the benchmark uses $build"
wine_session_prefix "$build/bench-wineprefix" || die "the Wine prefix could not be made (see $log)"
unset DISPLAY PIVRA_MODE OVXSIM_STATE_FILE
wine_session_display 2560x1600x24 || die "no free display number for Xvfb"
# The board's source: 1920 x 1080, half a second after the open.
input_w=1920 input_h=1080
printf 'clock realtime\nat 500 event 0x02 %s %s\n' "$input_w" "$input_h" >"$work/scenario.txt"
export OVXSIM_SCENARIO=$work/scenario.txt
ticks=$(getconf CLK_TCK)

probe() { wine "$bin/tavrin_probe.exe" "$@" 2>>"$log" | tr -d '\r'; }

# Process ids of this Wine session: their environment names this prefix.
session_pids() {
  local f
  for f in $(grep -lzx "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null); do
    f=${f#/proc/}
    echo "${f%/environ}"
  done
}

# "pid start ticks kind" of every process of the session and of the Xvfb
# (start tells a reused pid apart; kind: wineserver, xvfb or wine).  No
# process is started per entry: this runs inside the measured window.
snapshot() {
  local p line kind
  for p in $(session_pids) $wine_session_xvfb; do
    read -r line <"/proc/$p/stat" 2>/dev/null || continue
    kind=${line#*(}
    case ${kind%)*} in wineserver*) kind=wineserver ;; *) kind=wine ;; esac
    [ "$p" = "$wine_session_xvfb" ] && kind=xvfb
    # shellcheck disable=SC2086
    set -- ${line##*) }  # stat's field 3 is $1: utime $12, stime $13, starttime $20
    echo "$p ${20} $((${12} + ${13})) $kind"
  done
}

# The Linux process of a Windows program of this session, by the program's
# name in its command line (Wine puts the exe there).
exe_pid() {
  local name=$1 p argv0
  for p in $(session_pids); do
    argv0=$(tr '\0' '\n' <"/proc/$p/cmdline" 2>/dev/null | head -1) || continue
    argv0=${argv0##*[\\/]}
    [ "${argv0,,}" = "${name,,}" ] && { echo "$p"; return 0; }
  done
  return 1
}

# Measures exe's process for the window; prints the ticks of it, of
# wineserver, of the Xvfb and of Wine's other processes.
measure() {
  local exe=$1 pid
  pid=$(exe_pid "$exe") || die "no Linux process for $exe"
  sleep "$warmup"
  snapshot >"$work/before"
  sleep "$seconds"
  snapshot >"$work/after"
  awk -v pid="$pid" '
    NR == FNR { start[$1] = $2; cpu[$1] = $3; next }
    ($1 in start) && start[$1] == $2 { d = $3 - cpu[$1]; if ($1 == pid) { own += d; seen = 1 } else rest[$4] += d }
    END { if (!seen) exit 1; print own + 0, rest["wineserver"] + 0, rest["xvfb"] + 0, rest["wine"] + 0 }' \
    "$work/before" "$work/after" ||
    die "$exe ended during the measure (see $log)"
}

# One viewer run with the registry value Detect; sets view (l t r b) and result.
viewer_run() {
  local detect=$1 screen
  wine reg add 'HKLM\Software\Velmora\Tavrin' /v Detect /t REG_DWORD /d "$detect" /f >>"$log" 2>&1 ||
    die "could not set Detect (see $log)"
  say "viewer, Detect $detect: starting"
  (cd "$bin" && exec wine tavrin.exe) >>"$log" 2>&1 &
  running=$!
  [ "$(probe wait-screen 2 120)" = "screen 2" ] || die "the viewer did not reach Play (see $log)"
  read -r _ vl vt vr vb <<<"$(probe display-view)"
  [[ $vb =~ ^-?[0-9]+$ ]] || die "no display view on the screen"
  say "viewer, Detect $detect: in Play; ${warmup}s warm-up, then ${seconds}s measured"
  result=$(measure tavrin.exe)
  screen=$(probe screen)
  [ "$screen" = "screen 2" ] || say "warning: the viewer left Play during the measure ($screen)"
  probe send close >/dev/null || true
  probe wait-gone 20 >/dev/null || { say "warning: the viewer did not close; ended"; kill "$running" 2>/dev/null || true; }
  wait "$running" || true
  running=
}

left=$(exe_pid tavrin.exe) && die "a viewer of an earlier run is still running (process $left)"
viewer_run 1
detect_on=$result
# The video rectangle the viewer watches: the input fitted into the display view, centred.
read -r fx fy fw fh <<<"$(awk -v l="$vl" -v t="$vt" -v r="$vr" -v b="$vb" -v iw="$input_w" -v ih="$input_h" '
  function trunc(x) { return x < 0 ? -int(-x) : int(x) }
  BEGIN {
    rw = r - l; rh = b - t; sx = rw / iw; sy = rh / ih; x = l; y = t; w = rw; h = rh
    if (sy > sx) { hh = ih * sx; y = t + int(trunc(rh - hh) / 2); h = trunc(hh + 0.5) }
    else { ww = iw * sy; x = l + int(trunc(rw - ww) / 2); w = trunc(ww + 0.5) }
    print x, y, w, h
  }')"
say "capture floor: ${fw} x ${fh} at (${fx}, ${fy}) once a second; ${warmup}s warm-up, then ${seconds}s measured"
(cd "$bin" && exec wine capture_floor.exe "$fx" "$fy" "$fw" "$fh" $((warmup + seconds + 10))) \
  >"$work/floor.out" 2>>"$log" &
running=$!
for _ in $(seq 60); do exe_pid capture_floor.exe >/dev/null && break; sleep 0.5; done
floor=$(measure capture_floor.exe)
wait "$running" || die "the capture floor program failed: $(tr -d '\r' <"$work/floor.out")"
running=
say "capture floor: $(tr -d '\r' <"$work/floor.out")"
viewer_run 0
detect_off=$result

# Seconds of CPU per minute, and the ratios.
awk -v tick="$ticks" -v s="$seconds" -v w="$warmup" -v md="$markdown" -v area="${fw} x ${fh}" \
    -v m1="$detect_on" -v m2="$floor" -v m3="$detect_off" '
  function perMin(t) { return t / tick * 60 / s }
  function take(i, m,   x, k) { n = split(m, x, " "); for (k = 1; k <= n; k++) v[i, k] = perMin(x[k]) }
  BEGIN {
    name[1] = "viewer, Detect 1 (checks on)"; label[1] = "viewer, `Detect` 1 (checks on)"
    name[2] = "capture floor (1 capture/s)"; label[2] = "capture floor (one capture a second)"
    name[3] = "viewer, Detect 0 (checks off)"; label[3] = "viewer, `Detect` 0 (checks off)"
    take(1, m1); take(2, m2); take(3, m3)
    ratio[2] = "1"
    ratio[1] = v[2, 1] > 0 ? sprintf("%.2f", v[1, 1] / v[2, 1]) : "n/a"
    ratio[3] = v[2, 1] > 0 ? sprintf("%.2f", v[3, 1] / v[2, 1]) : "n/a"
    printf "CPU seconds per minute, %s s measured after %s s of warm-up, video area %s\n", s, w, area
    printf "%-30s %8s %6s  %10s %6s %6s\n", "measure", "program", "ratio", "wineserver", "Xvfb", "Wine"
    for (i = 1; i <= 3; i++)
      printf "%-30s %8.3f %6s  %10.3f %6.3f %6.3f\n", name[i], v[i, 1], ratio[i], v[i, 2], v[i, 3], v[i, 4]
    printf "ratio (a) viewer Detect 1 / floor: %s (target at most 1.5)\n", ratio[1]
    printf "ratio (b) viewer Detect 0 / floor: %s\n", ratio[3]
    if (md == "") exit
    printf "\n| measure (%s s, video area %s) | CPU s/min | ratio to the floor | wineserver | Xvfb | other Wine processes |\n", s, area
    printf "|---|---|---|---|---|---|\n"
    for (i = 1; i <= 3; i++)
      printf "| %s | %.3f | %s | %.3f | %.3f | %.3f |\n", label[i], v[i, 1], ratio[i], v[i, 2], v[i, 3], v[i, 4]
  }'
