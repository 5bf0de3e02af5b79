# shellcheck shell=bash
# The Wine prefix and the X display the tool scripts run Windows programs in.
# Sourced; the caller defines say (a progress line) and has `build` (the
# Windows build folder) and `log` (where Wine's messages go) set.
#
#   wine_session_prefix [PREFIX]   exports WINEPREFIX (default $build/wineprefix)
#                                  and the Wine settings of the tools, and makes
#                                  the prefix the first time (tools/wine-prefix.sh)
#   wine_session_display [WxHxD]   without DISPLAY, starts an Xvfb of that size
#                                  (default 1920x1280x24) on a free display :130
#                                  to :160 and exports DISPLAY
#   wine_session_end               after the programs were closed: lets Wine's own
#                                  processes leave the display, then stops that Xvfb
#
# wine_session_xvfb holds the started Xvfb's process id (empty when none).

wine_session_xvfb=

wine_session_prefix() {
  local prefix=${1:-$build/wineprefix}
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDLLOVERRIDES="mscoree=;mshtml="
  export WINEDEBUG=${WINEDEBUG:--all}
  # Made once; an existing prefix is used as it is (its wineserver may be running).
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  say "making the Wine prefix $WINEPREFIX (once, about 15 s)"
  flock "$(dirname "$prefix")/.$(basename "$prefix").lock" \
    "$top/tools/wine-prefix.sh" "$WINEPREFIX" >>"$log" 2>&1
}

wine_session_display() {
  local size=${1:-1920x1280x24} n
  [ -n "${DISPLAY:-}" ] && return 0
  for n in $(seq 130 160); do
    [ -e /tmp/.X11-unix/X"$n" ] || [ -e /tmp/.X"$n"-lock ] && continue
    Xvfb ":$n" -screen 0 "$size" -nolisten tcp >/dev/null 2>&1 &
    wine_session_xvfb=$!
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X"$n" ] && break; sleep 0.1; done
    # Another script may have taken the same number a moment earlier.
    if kill -0 "$wine_session_xvfb" 2>/dev/null; then
      export DISPLAY=:$n
      say "started Xvfb on $DISPLAY"
      return 0
    fi
    wine_session_xvfb=
  done
  return 1  # no free display number
}

wine_session_end() {
  [ -n "$wine_session_xvfb" ] || return 0
  timeout 5 wineserver -w >/dev/null 2>&1 || true
  kill "$wine_session_xvfb" 2>/dev/null || true
  wine_session_xvfb=
}
