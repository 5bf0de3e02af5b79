#!/usr/bin/env bash
# Builds the viewer for Windows and runs it under Wine against the simulated
# capture board.
#
#   tools/run-viewer.sh [--scenario NAME|FILE] [--seconds N] [--screenshot OUT.png] [--log FILE]
#                       [--lock] [--elsewhere]
#
#   --scenario   what the simulated board does: "default" (no source at open,
#                an HDMI source of 1920 x 1080 half a second later: Waiting,
#                then the video screen), "no-signal" (never a source),
#                "open-fails" (the board does not open: Abnormal),
#                "update-required" (a firmware newer than the viewer knows),
#                or a scenario file (sim/ovxcapture format).  Without the
#                option OVXSIM_SCENARIO is used when set.
#   --seconds N  close the viewer N seconds after its window showed (default: run until its
#                window is closed).
#   --screenshot OUT.png
#                take a picture of the whole screen after --seconds (default
#                5) and then close the viewer.  The board's picture (a test
#                pattern with the time of the shot) is laid over the video
#                area where the simulated board shows its plane, only on
#                key-coloured pixels, as the tablet's user would see it;
#                OUT-raw.png is the screen as captured.
#   --log FILE   where the build's, Wine's and the sound system's messages
#                go (default build/windows/run-viewer.log).
#   --lock       lock the session a second before --seconds end (the
#                Stopped screen).
#   --elsewhere  a copy of the viewer runs in another session (the
#                AlreadyRunning screen).
#
# On a fresh Debian 12, run as root: missing packages are installed first.
# Without DISPLAY an Xvfb (1920 x 1280) is started for the run (screenshots
# then show it; to watch the viewer, give a real DISPLAY).  PIVRA_MODE=2
# starts the simulated tablet-mode library in tablet mode.  The build is
# build/windows (TAVRIN_BUILD_DIR overrides), the Wine prefix lives in it.
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

say() { printf 'run-viewer: %s\n' "$*" >&2; }
die() { say "error: $*"; exit 1; }

scenario=
seconds=
shot=
log=
lock=
elsewhere=
while [ $# -gt 0 ]; do
  case $1 in
    --scenario) [ $# -ge 2 ] || die "--scenario needs a name or file"; scenario=$2; shift 2 ;;
    --seconds) [ $# -ge 2 ] || die "--seconds needs a number"; seconds=$2; shift 2 ;;
    --screenshot) [ $# -ge 2 ] || die "--screenshot needs a file name"; shot=$2; shift 2 ;;
    --log) [ $# -ge 2 ] || die "--log needs a file name"; log=$2; shift 2 ;;
    --lock) lock=1; shift ;;
    --elsewhere) elsewhere=1; shift ;;
    -h|--help) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; exit 0 ;;
    *) die "unknown option '$1' (see --help)" ;;
  esac
done
if [ -n "$seconds" ] && ! [[ $seconds =~ ^[0-9]+$ && $seconds -ge 1 && $seconds -le 86400 ]]; then
  die "--seconds wants a whole number of seconds from 1 to 86400"
fi
[ -n "$shot" ] && [ -z "$seconds" ] && seconds=5
if [ -n "$shot" ]; then
  case $shot in /*) ;; *) shot=$PWD/$shot ;; esac
  [ -d "$(dirname "$shot")" ] || die "no folder for $shot"
fi

# 1. Packages.
# shellcheck source=tools/deps.sh
source "$top/tools/deps.sh"
[ -n "$shot" ] && TAVRIN_PACKAGES+=(imagemagick fonts-dejavu-core)
ensure_packages || die "missing packages"

# 2. Build: only what the viewer needs at run time, and the probe that closes it.
build=${TAVRIN_BUILD_DIR:-$top/build/windows}
mkdir -p "$build"
log=${log:-$build/run-viewer.log}
case $log in /*) ;; *) log=$PWD/$log ;; esac
: >"$log" || die "cannot write the log $log"
say "messages of the build, Wine and the sound system go to $log"
say "building tavrin.exe, ovxcapture.dll and Pivra_x64.dll in $build"
{ cmake -S "$top" -B "$build" --preset windows && \
  cmake --build "$build" --target tavrin ovxcapture Pivra_x64 tavrin_probe; } >>"$log" 2>&1 ||
  { tail -20 "$log" >&2; die "the build failed (see $log)"; }
bin=$build/bin
# 3. The scenario.
# shellcheck source=tools/lib-wine-session.sh
source "$top/tools/lib-wine-session.sh"
work=$(mktemp -d)
viewer_pid=
cleanup() {
  if [ -n "$viewer_pid" ] && kill -0 "$viewer_pid" 2>/dev/null; then
    wine "$bin/tavrin_probe.exe" send close >/dev/null 2>&1 || true
    wait "$viewer_pid" 2>/dev/null || true
  fi
  wine_session_end
  rm -rf "$work"
}
trap cleanup EXIT
case ${scenario:-} in
  "") ;;
  default) unset OVXSIM_SCENARIO; scenario= ;;
  no-signal) printf '# no source at all\nclock realtime\n' >"$work/scenario.txt"; scenario=$work/scenario.txt ;;
  open-fails) printf 'fail Ovx_DevOpen status=-5\n' >"$work/scenario.txt"; scenario=$work/scenario.txt ;;
  update-required) printf 'firmware 0x20000000\n' >"$work/scenario.txt"; scenario=$work/scenario.txt ;;
  *) [ -f "$scenario" ] || die "no scenario '$scenario' (default, no-signal, open-fails, update-required or a file)"
     scenario=$(cd "$(dirname "$scenario")" && pwd)/$(basename "$scenario") ;;
esac
[ -n "$scenario" ] && export OVXSIM_SCENARIO=$scenario

# 4. Prefix and display.
wine_session_prefix || die "the Wine prefix could not be made (see $log)"
wine_session_display || die "no free display number for Xvfb"

# 5. Run.  The board tells where its plane lies through a state file (a
# Windows path for the DLL, the same file for the compositor).
state=$work/plane-state.txt
export OVXSIM_STATE_FILE="Z:${state//\//\\}"
say "running tavrin.exe (DISPLAY=$DISPLAY, scenario ${OVXSIM_SCENARIO:-built-in default})"
cd "$bin"
if [ -n "$elsewhere" ]; then
  wine tavrin_probe.exe hold-global "${seconds:-86400}" >/dev/null 2>&1 &
  wine tavrin_probe.exe wait-global 15 >/dev/null 2>&1 || die "the other session's copy did not start"
fi
if [ -z "$seconds" ]; then
  wine tavrin.exe >>"$log" 2>&1
  rc=$?
  say "tavrin.exe ended (exit code $rc)"
  exit $rc
fi
wine tavrin.exe >>"$log" 2>&1 &
viewer_pid=$!
# The seconds count from the window's appearance: Wine's start-up takes its time.
for i in $(seq 120); do
  kill -0 "$viewer_pid" 2>/dev/null || die "tavrin.exe ended before its window showed (see $log)"
  wine tavrin_probe.exe windows 2>>"$log" | grep -q 'windows [1-9]' && break
  [ "$i" = 120 ] && die "no viewer window after 60 s (see $log)"
  sleep 0.5
done
say "the viewer's window is up; waiting ${seconds}s"
if [ -n "$lock" ] && [ "$seconds" -gt 1 ]; then
  sleep $((seconds - 1))
  wine tavrin_probe.exe send lock >/dev/null 2>>"$log" || true
  sleep 1
else
  sleep "$seconds"
fi
screen=$(wine tavrin_probe.exe screen 2>>"$log" | tr -d '\r' || true)
say "after ${seconds}s: ${screen:-no window} (2 video, 4 stopped, 5 waiting, 6 no signal, 7 overlapped, 8 abnormal, 9 update required, 10 already running)"
if [ -n "$shot" ]; then
  raw=${shot%.*}-raw.png
  import -window root "$raw"
  # The plane as it was when the screen was taken.
  [ -f "$state" ] && cp "$state" "$work/shown.txt" && state=$work/shown.txt
  if [ -f "$state" ]; then
    say "plane: $(grep -E '^(enable|angle|placement|parts) ' "$state" | tr '\n' ' ')"
  else
    say "plane: the board never drew one"
  fi
  painted=$("$top/tools/composite-screenshot.sh" "$raw" "$state" "$shot" "$build" 2>>"$log") ||
    die "compositing failed (see $log)"
  say "screenshot: $shot (${painted} pixels of the board's picture; as captured: $raw)"
fi
