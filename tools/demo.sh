#!/usr/bin/env bash
# A scripted session of the viewer under Wine against the simulated board,
# one composited picture per step (what the tablet's user would see) and an
# animated image of them all:
#
#   tools/demo.sh OUT_DIR
#
# Steps: no source yet (NoSignal), the source arrives (Waiting, then the
# picture), a double click zooms in about a point (as a double tap does), a
# drag pans the magnified picture, full screen by its button and the bar
# hiding after 5 s, back to normal, another program's window over the video
# (Overlapped, then the picture by itself when it goes), the session is locked
# (Stopped), Continue is clicked with the mouse (Waiting, then the picture
# again).  Writes OUT_DIR/NN-<step>.png and OUT_DIR/demo.gif; Wine's messages
# go to OUT_DIR/demo.log.  A step whose screen is gone before its picture was
# taken (Waiting lasts one second) is named by what the picture shows, never
# by what was hoped for.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
say() { printf 'demo: %s\n' "$*" >&2; }
die() { say "error: $*"; exit 1; }
[ $# = 1 ] || die "usage: tools/demo.sh OUT_DIR"
mkdir -p "$1"
out=$(cd "$1" && pwd)
log=$out/demo.log
: >"$log"

# shellcheck source=tools/deps.sh
source "$top/tools/deps.sh"
TAVRIN_PACKAGES+=(imagemagick fonts-dejavu-core xdotool)
ensure_packages || die "missing packages"
build=${TAVRIN_BUILD_DIR:-$top/build/windows}
say "building in $build (messages: $log)"
{ cmake -S "$top" -B "$build" --preset windows &&
  cmake --build "$build" --target tavrin ovxcapture Pivra_x64 tavrin_probe; } >>"$log" 2>&1 ||
  die "the build failed (see $log)"
bin=$build/bin

# shellcheck source=tools/lib-wine-session.sh
source "$top/tools/lib-wine-session.sh"
wine_session_prefix || die "no Wine prefix"
work=$(mktemp -d)
viewer_pid=
cleanup() {
  [ -n "$viewer_pid" ] && { wine "$bin/tavrin_probe.exe" send close >/dev/null 2>&1 || true; wait "$viewer_pid" 2>/dev/null || true; }
  wine_session_end
  rm -rf "$work"
}
trap cleanup EXIT
wine_session_display || die "no free display number for Xvfb"

probe() { wine "$bin/tavrin_probe.exe" "$@" 2>>"$log" | tr -d '\r'; }
names=([1]=blank [2]=picture [3]=bar-hidden [4]=stopped [5]=waiting [6]=no-signal [7]=overlapped [8]=abnormal)
step=0
last=
# Takes the screen and the board's state together and names the picture by
# the screen it shows; "optional" skips a picture of the screen just taken;
# a second word names a picture of the video by what was done to it.
shot() {
  local kind before try label=${2:-}
  for try in 1 2 3; do  # the screen must be the same before and after the picture
    before=$(probe screen)
    import -window root "$work/raw.png"
    rm -f "$work/shown.txt"
    [ -f "$work/state.txt" ] && cp "$work/state.txt" "$work/shown.txt"
    kind=$(probe screen)
    [ "$kind" = "$before" ] && break
  done
  kind=${kind#screen }
  [ "${1:-}" = optional ] && [ "$kind" = "$last" ] && return 0
  last=$kind
  step=$((step + 1))
  [ "$kind" = 2 ] && [ -n "$label" ] || label=${names[$kind]:-screen-$kind}
  local name; name=$(printf '%02d-%s' "$step" "$label")
  "$top/tools/composite-screenshot.sh" "$work/raw.png" "$work/shown.txt" "$out/$name.png" "$build" >/dev/null 2>>"$log"
  say "$name.png"
}

# The source arrives 8 s after the board opens, so the no-signal screen can be seen first.
printf 'clock realtime\nat 8000 event 0x02 1920 1080\n' >"$work/scenario.txt"
export OVXSIM_SCENARIO=$work/scenario.txt OVXSIM_STATE_FILE="Z:${work//\//\\}\\state.txt"
cd "$bin"
wine tavrin.exe >>"$log" 2>&1 &
viewer_pid=$!
say "waiting for the viewer's window"
[ "$(probe wait-screen 6 60)" = "screen 6" ] || die "no NoSignal screen (see $log)"
shot
probe wait-screen 5 15 >/dev/null && shot optional
[ "$(probe wait-screen 2 15)" = "screen 2" ] || die "the picture did not come"
sleep 1
shot optional
# Zoom about a point a third into the picture, then pan with a drag.
read -r _ l t r b < <(probe display-view)
x=$((l + (r - l) / 3)) y=$((t + (b - t) / 3))
xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
sleep 1
shot any zoomed
xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) mousedown 1 mousemove_relative --sync -- -150 -100 \
  mousemove_relative --sync -- -150 -100 mouseup 1
sleep 1
shot any panned
# Full screen by the button; the bar hides when nobody touches anything.
read -r _ x y < <(probe control 1004)
xdotool mousemove "$x" "$y" click 1
sleep 1.5
shot any full-screen
[ "$(probe wait-screen 3 12)" = "screen 3" ] || die "the bar did not hide"
shot
xdotool mousemove 40 40
read -r _ x y < <(probe control 1004)
xdotool mousemove "$x" "$y" click 1
sleep 1.5
shot any normal-screen
# Another program's window over part of the video.
read -r _ l t r b < <(probe display-view)
wine "$bin/tavrin_probe.exe" cover $((l + 200)) $((t + 150)) $((l + 700)) $((t + 450)) 7 >/dev/null 2>>"$log" &
[ "$(probe wait-screen 7 8)" = "screen 7" ] || die "no Overlapped screen under a covering window"
sleep 0.5
shot
[ "$(probe wait-screen 2 12)" = "screen 2" ] || die "the picture did not come back after the cover"
sleep 1
shot any uncovered
probe send lock >/dev/null
[ "$(probe wait-screen 4 10)" = "screen 4" ] || die "lock did not stop the video"
shot
where=$(probe wait-button 4 5)
[[ $where =~ button\ (-?[0-9]+)\ (-?[0-9]+)$ ]] || die "no Continue button"
xdotool mousemove "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" click 1
probe wait-screen 5 5 >/dev/null && shot optional
[ "$(probe wait-screen 2 15)" = "screen 2" ] || die "Continue did not bring the picture back"
sleep 1
shot optional
convert -delay 150 -loop 0 "$out"/[0-9][0-9]-*.png -resize 33% -colors 64 "$out/demo.gif"
say "animated: $out/demo.gif"
