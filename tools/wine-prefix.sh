#!/usr/bin/env bash
# Create (or reuse) a 64-bit Wine prefix for the tests and make the
# simulated capture board's driver installation visible to SetupAPI.
#
#   wine-prefix.sh [PREFIX_DIR]
#
# PREFIX_DIR defaults to $WINEPREFIX, else ./wineprefix.  Idempotent: an
# existing prefix is reused and the registry data is imported again.
# Environment knobs:
#   BOARD_REG=<file>            registry file to import (default: sim/board/board-install.reg)
#   BOARD_INTERFACE_GUID={...}  also register a present device interface of this class GUID for the board
#   WINE_MANAGED_WINDOWS=1      keep Wine's default managed X11 windows (default: unmanaged, see notes)
#   WINEDEBUG_SETUP=...         WINEDEBUG for the setup commands (default -all)
# The viewer's fonts "Meiryo" (also by its Japanese name) and "MS UI Gothic"
# are not in a Wine prefix: they are substituted by IPA P Gothic
# (fonts-ipafont-gothic), which has the glyphs of all three interface languages.
set -euo pipefail

say() { printf 'prefix-setup: %s\n' "$*"; }
die() { printf 'prefix-setup: error: %s\n' "$*" >&2; exit 1; }

for tool in wine wineserver timeout; do
  command -v "$tool" >/dev/null 2>&1 || die "'$tool' not found in PATH; install Wine (Debian: apt-get install wine wine64)"
done

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=${1:-${WINEPREFIX:-$PWD/wineprefix}}
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
reg_file=${BOARD_REG:-$here/../sim/board/board-install.reg}
# The simulated driver's device interface class (see sim/board/README.md).
board_guid='{7e210b58-3c1d-4f6a-9b2e-5d8c0a1f4e73}'
BOARD_INTERFACE_GUID=${BOARD_INTERFACE_GUID:-$board_guid}
[ -f "$reg_file" ] || die "registry file not found: $reg_file"

export WINEPREFIX=$prefix WINEARCH=win64
export WINEDEBUG=${WINEDEBUG_SETUP:--all}
export WINEDLLOVERRIDES="mscoree=;mshtml="   # no Mono/Gecko install prompts

# Wine tools print a 'wine32 is missing' note and wineserver inherits stdio:
# keep them off the caller's pipes so that "prefix-setup.sh | tee" cannot hang.
q() { "$@" >/dev/null 2>&1 </dev/null; }

if [ -f "$prefix/system.reg" ]; then
  [ -d "$prefix/drive_c/windows/syswow64" ] || die "$prefix exists but is not a win64 prefix; remove it first"
  say "reusing prefix $prefix"
else
  say "creating prefix $prefix (about 15 s)"
  # wineboot can hang on a boot-event time-out: limit it and retry once with -u
  if ! q timeout 180 wineboot -i; then
    say "wineboot -i did not finish; retrying with wineboot -u"
    q wineserver -k || true
    q timeout 180 wineboot -u || die "wineboot failed (rerun with WINEDEBUG_SETUP=err+all to see why)"
  fi
  q timeout 60 wineserver -w || true
  q wine winecfg -v win10 || say "warning: could not set the Windows version to win10"
fi

# Wine links the profile's Desktop (and Documents, ...) to $HOME when no XDG
# folder exists; a program writing "Desktop\log\..." would then write into the
# real home.  Make Desktop a plain folder inside the prefix.
for d in "$prefix"/drive_c/users/*/Desktop; do
  [ -L "$d" ] || continue
  rm -f "$d" && mkdir -p "$d" && say "made ${d#$prefix/} a real folder (was a link to $HOME)"
done

# One import: the board file plus the test-friendly Wine settings.
tmp=$(mktemp "$prefix/setup-XXXXXX.reg")
fonts=$(mktemp "$prefix/fonts-XXXXXX.reg")
trap 'rm -f "$tmp" "$fonts"' EXIT
{
  cat "$reg_file"
  printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n'
  if [ "${WINE_MANAGED_WINDOWS:-0}" = 1 ]; then
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"=-\r\n'
  else
    printf '\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n'
  fi
  if [ -n "${BOARD_INTERFACE_GUID:-}" ]; then
    g=$(printf '%s' "$BOARD_INTERFACE_GUID" | tr 'A-F' 'a-f')
    [[ $g =~ ^\{[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\}$ ]] \
      || die "BOARD_INTERFACE_GUID must look like {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"
    inst='PCI\VEN_7E21&DEV_0B58&SUBSYS_00017E21&REV_01\4&1A2B3C4D&0&0018'
    tail="${inst//\\/#}#$g"
    key="HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\$g\\##?#$tail"
    printf '\r\n[%s]\r\n"DeviceInstance"="%s"\r\n' "$key" "${inst//\\/\\\\}"
    printf '\r\n[%s\\#]\r\n"SymbolicLink"="\\\\\\\\?\\\\%s"\r\n' "$key" "$tail"
    printf '\r\n[%s\\#\\Control]\r\n"Linked"=dword:00000001\r\n' "$key"
  fi
} > "$tmp"

say "importing $(basename "$reg_file")${BOARD_INTERFACE_GUID:+ and device interface $BOARD_INTERFACE_GUID}"
say "settings: crash dialog off; X11 windows $([ "${WINE_MANAGED_WINDOWS:-0}" = 1 ] && echo managed || echo unmanaged)"
q wine regedit /S "Z:${tmp//\//\\}" || die "regedit import failed"   # Z: is the Unix root

# A Japanese value name needs a UTF-16 registry file.  Without the substitutes
# Wine picks Droid Sans Fallback (no Latin letters) or Liberation Sans (no
# Japanese) for these names, and texts show boxes.
if ! ls /usr/share/fonts/*/ipafont-gothic/ipagp.ttf >/dev/null 2>&1 && ! fc-list 2>/dev/null | grep -q ipagp; then
  say "warning: IPA P Gothic not found (apt-get install fonts-ipafont-gothic): Japanese texts will show boxes"
fi
{
  printf '\xff\xfe'
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
    '"Meiryo"="IPAPGothic"' '"メイリオ"="IPAPGothic"' '"MS UI Gothic"="IPAPGothic"' | iconv -f UTF-8 -t UTF-16LE
} > "$fonts"
say "fonts: Meiryo, メイリオ and MS UI Gothic substituted by IPAPGothic"
q wine regedit /S "Z:${fonts//\//\\}" || die "font substitutes import failed"

# Wine draws the caption buttons with Marlett, and this Wine does not read its
# own font folder: without a copy in the prefix they show as "0 1 r".
marlett=/usr/share/wine/fonts/marlett.ttf
if [ -f "$marlett" ]; then
  cp -u "$marlett" "$prefix/drive_c/windows/Fonts/" && say "fonts: Marlett for the caption buttons"
else
  say "warning: $marlett not found (apt-get install fonts-wine): caption buttons will show letters"
fi

ver=$(wine reg query 'HKLM\SYSTEM\CurrentControlSet\Control\Class\{4d36e96c-e325-11ce-bfc1-08002be10318}\0000' \
        /v DriverVersion 2>/dev/null </dev/null | tr -d '\r' | awk '/DriverVersion/ {print $3}')
# Flush the registry to disk and let the server exit; a resident server
# (wineserver -p, as the test command starts one) never exits, and its
# programs see the new registry data at once anyway.
q timeout 30 wineserver -w || true
[ -n "$ver" ] || die "board registry data not found after import"
say "board visible to SetupAPI: MatchingDeviceId PCI\\VEN_7E21&DEV_0B58, DriverVersion=$ver"
desk=$(ls -d "$prefix"/drive_c/users/*/Desktop 2>/dev/null | grep -v /Public/ | head -n1 || true)
say "Desktop folder: ${desk:-?}"
say "done: export WINEPREFIX=$prefix WINEARCH=win64"
