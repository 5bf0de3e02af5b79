# Sourced by the viewer's script tests: one viewer under Wine, driven from
# outside by tavrin_probe.exe and, where a user acts, by xdotool.
run=$TAVRIN_WINE_RUN
bin=$TAVRIN_BIN
work=$(mktemp -d)
cleanup() {
  "$run" "$bin/tavrin_probe.exe" send close >/dev/null 2>&1
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -s "$work/probe.err" ] && { echo "last probe messages:"; grep -v -e ALSA -e wine32 "$work/probe.err" | tail -5; }
  exit 1
}
probe() { "$run" "$bin/tavrin_probe.exe" "$@" 2>"$work/probe.err" | tr -d '\r'; }
# start NAME [VAR=value ...]: the viewer in the background, at most 120 s (a loaded
# machine makes each probe call take seconds).
start() {
  local name=$1; shift
  ( env "$@" timeout 120 "$run" "$bin/tavrin.exe" >"$work/$name.out" 2>"$work/$name.err"
    echo $? >"$work/$name.rc" ) &
}
# ended NAME: the viewer's process ended by itself with code 0.
ended() {
  local i
  for i in $(seq 100); do [ -f "$work/$1.rc" ] && break; sleep 0.1; done
  [ "$(cat "$work/$1.rc" 2>/dev/null)" = 0 ] || fail "$1: viewer did not end cleanly (rc $(cat "$work/$1.rc" 2>/dev/null))"
}
expect_screen() {  # kind seconds what
  local got; got=$(probe wait-screen "$1" "$2")
  [ "$got" = "screen $1" ] || fail "$3: expected screen $1, got '$got'"
}
[ -n "${DISPLAY:-}" ] || export DISPLAY=$(cat "$bin/../.xvfb-display" 2>/dev/null)
