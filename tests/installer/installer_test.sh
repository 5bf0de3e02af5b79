#!/usr/bin/env bash
# The installer under Wine, in a copy of the test prefix (its own wineserver,
# so nothing here touches the shared prefix or its running programs):
#   refusals (missing or read-only target, viewer running) change nothing;
#   a silent install puts files, settings (keeping an administrator's),
#   event source, shortcut and uninstall entry in place; the installed viewer
#   runs against the simulated board and its event-log entry formats through
#   the registered message file; upgrades in place and to another folder;
#   the uninstaller leaves nothing of its own, and the settings only when asked.
#
#   installer_test.sh SETUP.exe RELEASE.zip TEST_PREFIX
set -u
setup=$1 archive=$2 source_prefix=$3
bin=$TAVRIN_BIN
build=$(dirname "$bin")
tools=$(dirname "$TAVRIN_WINE_RUN")/../tools
work=$(mktemp -d)
pfx=$work/prefix
ro=$pfx/drive_c/ReadOnly

cleanup() {
  if [ -f "$pfx/system.reg" ]; then
    wine "$bin/tavrin_probe.exe" send close >/dev/null 2>&1 </dev/null
    wineserver -k >/dev/null 2>&1 </dev/null  # ends a setup left waiting on a failure
    wait 2>/dev/null
  fi
  chattr -i "$ro" 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The copy: registry files and small folders copied, the system folder's
# files (read only to Wine here) linked.
[ -f "$source_prefix/system.reg" ] ||
  flock "$build/.wineprefix.lock" "$tools/wine-prefix.sh" "$source_prefix" >/dev/null 2>&1 ||
  fail "no test prefix"
mkdir -p "$pfx/drive_c/windows"
for e in "$source_prefix"/* "$source_prefix"/.update-timestamp; do
  [ "$(basename "$e")" = drive_c ] || cp -a "$e" "$pfx/"
done
for e in "$source_prefix"/drive_c/*; do
  [ "$(basename "$e")" = windows ] || cp -a "$e" "$pfx/drive_c/"
done
for e in "$source_prefix"/drive_c/windows/*; do
  if [ "$(basename "$e")" = system32 ]; then cp -al "$e" "$pfx/drive_c/windows/"; else cp -a "$e" "$pfx/drive_c/windows/"; fi
done

export WINEPREFIX=$pfx WINEARCH=win64 WINEDLLOVERRIDES="mscoree=;mshtml=" WINEDEBUG=-all
if [ -z "${DISPLAY:-}" ] && [ -f "$build/.xvfb-display" ]; then export DISPLAY=$(cat "$build/.xvfb-display"); fi
wineserver -p >/dev/null 2>&1 </dev/null
# w PROGRAM ARGS...: runs it, output in $work/w.out (CR removed); returns its exit code.
w() {
  local rc
  wine "$@" >"$work/w.raw" 2>"$work/w.err" </dev/null; rc=$?
  tr -d '\r' <"$work/w.raw" >"$work/w.out"
  return $rc
}
probe() { w "$bin/installer_probe.exe" "$@"; cat "$work/w.out"; }
viewer_probe() { w "$bin/tavrin_probe.exe" "$@"; cat "$work/w.out"; }
# expect_values KEY 'Name=type:data'...: the key holds these values (as
# installer_probe dump prints them).
expect_values() {
  local key=$1 v; shift
  probe dump "${key#HKLM\\}" >/dev/null
  for v; do grep -qxF "$v" "$work/w.out" || fail "$key: no $v in: $(tr '\n' ' ' <"$work/w.out")"; done
}
key_exists() { w reg query "$1"; }
install() { w "$(winepath -w "$setup")" /S "$@"; }
# gui_refusal NAME EXPECTED_TEXT [option]: the installer with its pages; Install
# is pressed and the refusal must show EXPECTED_TEXT in a message box.
gui_refusal() {
  local name=$1 expected=$2; shift 2
  ( wine "$(winepath -w "$setup")" "$@" >/dev/null 2>&1 </dev/null; echo $? >"$work/$name.rc" ) &
  [ "$(probe press 'Tavrin Setup' 20 1 | tail -1)" = pressed ] || fail "$name: no Install button"
  probe message-box 'Tavrin Setup' 10 1 >/dev/null || fail "$name: no message box"
  grep -qF "text $expected" "$work/w.out" || fail "$name: message '$(head -1 "$work/w.out")'"
}

settings='HKLM\Software\Velmora\Tavrin'
source_key='HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Tavrin'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrin'
c=$pfx/drive_c
dir="$c/Program Files/Velmora/Tavrin"
lnk='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Tavrin.lnk'

# What the installation may change: the files (temporary folders aside) and
# the keys it writes; with "settings" also the settings key.
snapshot() {
  (cd "$c" && find . -path ./windows/temp -prune -o -path './users/*/Temp' -prune -o -print | LC_ALL=C sort)
  local keys=("${source_key#HKLM\\}" "${uninstall_key#HKLM\\}")
  [ "${1:-}" = settings ] && keys+=('Software\Velmora')
  probe dump "${keys[@]}"
}

# An administrator's settings before the first install: one value of the
# documented type, one of another type; both must stay.
w reg delete 'HKLM\Software\Velmora' /f
w reg add "$settings" /v MaxZoom /t REG_DWORD /d 4 /f || fail "reg add"
w reg add "$settings" /v AudioDelay /t REG_SZ /d 30 /f || fail "reg add"
mkdir -p "$ro"
chmod 555 "$ro"
if touch "$ro/.probe" 2>/dev/null; then rm -f "$ro/.probe"; chattr +i "$ro" 2>/dev/null; fi
snapshot settings >"$work/before"
snapshot | grep -v '^\./ReadOnly$' >"$work/before-plain"

# 1. Refusals leave the system as it was: a missing drive, a read-only
#    target folder and a folder below it, silently and with the setup's pages.
install /D=Q:\\Tavrin; rc=$?
[ $rc = 2 ] || fail "missing target folder: exit code $rc, expected 2"
if touch "$ro/.probe" 2>/dev/null; then
  rm -f "$ro/.probe"
  echo "note: cannot make a read-only folder here (root without chattr); read-only case not run"
else
  for target in 'C:\ReadOnly' 'C:\ReadOnly\Tavrin'; do
    install "/D=$target"; rc=$?
    [ $rc = 2 ] || fail "read-only target $target: exit code $rc, expected 2"
  done
  # With its pages the setup says why and stays on the folder page; the
  # user then cancels.
  gui_refusal readonly-gui 'The installation folder C:\ReadOnly is read-only' '/D=C:\ReadOnly'
  probe press 'Tavrin Setup' 10 2 >/dev/null || fail "no Cancel button"
  probe message-box 'Tavrin Setup' 10 6 >/dev/null || fail "no question before quitting"
  wait
  [ "$(cat "$work/readonly-gui.rc")" = 1 ] || fail "cancelled setup: exit code $(cat "$work/readonly-gui.rc")"
fi
snapshot settings >"$work/after"
diff "$work/before" "$work/after" >"$work/diff" || fail "a refused setup changed the system: $(head -5 "$work/diff")"
chattr -i "$ro" 2>/dev/null
rmdir "$ro"

# 2. Silent install.
install || fail "silent install: exit code $?"
for f in tavrin.exe README.txt LICENSE.txt uninstall.exe; do [ -f "$dir/$f" ] || fail "$f not installed"; done
cmp -s "$dir/tavrin.exe" "$bin/tavrin.exe" || fail "installed tavrin.exe differs from the build's"
cmp -s "$c/windows/system32/ovxcommon.dll" "$bin/ovxcommon.dll" || fail "ovxcommon.dll not in the system folder"
grep -q 'Silent deployment' "$dir/README.txt" || fail "README.txt is not the README's user section"
expect_values "$settings" Detect=dword:0x1 ApiLog=dword:0x0 ExecutionInterval=dword:0x10 DoubleClickZoom=dword:0x5 \
  MaxZoom=dword:0x4 AudioDelay=sz:30
expect_values "$source_key" 'EventMessageFile=expand_sz:C:\Program Files\Velmora\Tavrin\tavrin.exe' \
  TypesSupported=dword:0x7
expect_values "$uninstall_key" DisplayName=sz:Tavrin 'DisplayVersion=sz:V1.00L11 M05' Publisher=sz:Velmora \
  'UninstallString=sz:"C:\Program Files\Velmora\Tavrin\uninstall.exe"' \
  'QuietUninstallString=sz:"C:\Program Files\Velmora\Tavrin\uninstall.exe" /S'
[ "$(probe shortcut "$lnk")" = 'target C:\Program Files\Velmora\Tavrin\tavrin.exe' ] ||
  fail "shortcut: $(cat "$work/w.out")"

# An upgrade while another program holds the library is refused too.
wine "$bin/installer_probe.exe" hold-module 'C:\windows\system32\ovxcommon.dll' TavrinTestHold \
  >"$work/hold.out" 2>/dev/null </dev/null &
for i in $(seq 100); do grep -q held "$work/hold.out" && break; sleep 0.2; done
grep -q held "$work/hold.out" || fail "could not load the installed ovxcommon.dll: $(cat "$work/hold.out")"
snapshot settings >"$work/before-held"
install; rc=$?
w "$bin/installer_probe.exe" set-event TavrinTestHold
wait
[ $rc = 2 ] || fail "install while ovxcommon.dll is in use: exit code $rc, expected 2"
snapshot settings >"$work/after"
diff "$work/before-held" "$work/after" >"$work/diff" || fail "refused upgrade changed the system: $(head -5 "$work/diff")"

# 3. The installed viewer against the simulated board (the board's software
#    puts its capture and tablet-mode libraries on the search path).
cp "$bin/ovxcapture.dll" "$bin/Pivra_x64.dll" "$c/windows/system32/"
installed='C:\Program Files\Velmora\Tavrin\tavrin.exe'
( timeout 60 wine "$installed" >"$work/viewer.out" 2>"$work/viewer.err" </dev/null; echo $? >"$work/viewer.rc" ) &
[ "$(viewer_probe wait-screen 2 15)" = "screen 2" ] || fail "installed viewer did not reach the video screen"
# An upgrade while it runs is refused and changes nothing.
snapshot settings >"$work/before-running"
install; rc=$?
[ $rc = 2 ] || fail "install while the viewer runs: exit code $rc, expected 2"
snapshot settings >"$work/after"
diff "$work/before-running" "$work/after" >"$work/diff" || fail "refused upgrade changed the system: $(head -5 "$work/diff")"
gui_refusal running-gui 'Tavrin is running. Close it and run the installer again'
[ "$(viewer_probe screen)" = "screen 2" ] || fail "the viewer went away during the refused install"
viewer_probe send close >/dev/null
wait
[ "$(cat "$work/running-gui.rc")" = 2 ] || fail "refused setup: exit code $(cat "$work/running-gui.rc")"
[ "$(cat "$work/viewer.rc")" = 0 ] || fail "installed viewer did not end cleanly"

# Its event-log entry (the board does not open) formats through the
# registered message file as the entry's own text.
printf 'fail Ovx_DevOpen status=-5\n' >"$work/open-fails.txt"
( OVXSIM_SCENARIO=$work/open-fails.txt WINEDEBUG=-all,err+eventlog timeout 60 wine "$installed" \
    >"$work/viewer.out" 2>"$work/viewer.err" </dev/null; echo $? >"$work/viewer.rc" ) &
[ "$(viewer_probe wait-screen 8 15)" = "screen 8" ] || fail "installed viewer did not show the abnormal stop"
viewer_probe send press >/dev/null
wait
entry=$(sed -n 's/.*:err:eventlog:ReportEventW L"\(.*\)".*/\1/p' "$work/viewer.err")
[ "$entry" = "Ovx_DevOpen(-5)" ] || fail "event entry: '$entry'"
probe event-message Tavrin "$entry" >/dev/null || fail "event message: $(cat "$work/w.out")"
grep -q '^readback yes' "$work/w.out" || echo "note: Wine's event log keeps no entries; the text was formatted from the entry's insertion string"
for lang in 0000 0409 040c 0411; do
  grep -qx "message $lang $entry" "$work/w.out" || fail "message table ($lang): $(cat "$work/w.out")"
done

# 4. Upgrade in place: a changed file is replaced, settings and the one
#    uninstall entry stay.
echo old >"$dir/README.txt"
install || fail "upgrade: exit code $?"
grep -q 'Silent deployment' "$dir/README.txt" || fail "upgrade did not replace README.txt"
expect_values "$settings" MaxZoom=dword:0x4
expect_values "$uninstall_key" 'InstallLocation=sz:C:\Program Files\Velmora\Tavrin'

# 5. Uninstall (it returns at once and goes on from a copy): everything of
#    its own goes, the settings stay.
uninstall() {  # FOLDER [options]
  local folder=$1; shift
  w "$folder\uninstall.exe" /S "$@" || fail "uninstall: exit code $?"
  local i unix; unix=$(winepath -u "$folder")
  for i in $(seq 100); do
    if [ ! -e "$unix" ] && ! key_exists "$uninstall_key"; then break; fi
    sleep 0.2
  done
  sleep 1  # its last registry writes
}
rm -f "$c/windows/system32/ovxcapture.dll" "$c/windows/system32/Pivra_x64.dll"
probe dump 'Software\Velmora\Tavrin' >"$work/settings-installed"
uninstall 'C:\Program Files\Velmora\Tavrin'
snapshot >"$work/after"
diff "$work/before-plain" "$work/after" >"$work/diff" || fail "the uninstaller left something: $(head -20 "$work/diff")"
probe dump 'Software\Velmora\Tavrin' >/dev/null
diff "$work/settings-installed" "$work/w.out" >"$work/diff" || fail "uninstall changed the settings: $(cat "$work/diff")"
# Its own running copy (in the temporary folder) goes at the next restart.
w reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations
grep -q 'Un\.exe' "$work/w.out" || fail "the uninstaller's temporary copy is not marked for removal at restart"

# An installation moves with an upgrade into another folder; uninstalling it
# with /REMOVESETTINGS removes the settings too.
install || fail "reinstall: exit code $?"
install '/D=C:\Apps\Tavrin' || fail "upgrade to another folder: exit code $?"
[ ! -e "$c/Program Files/Velmora" ] || fail "the old folder stayed: $(ls -R "$c/Program Files/Velmora")"
expect_values "$source_key" 'EventMessageFile=expand_sz:C:\Apps\Tavrin\tavrin.exe'
[ "$(probe shortcut "$lnk")" = 'target C:\Apps\Tavrin\tavrin.exe' ] || fail "shortcut after the move"
uninstall 'C:\Apps\Tavrin' /REMOVESETTINGS
[ ! -e "$c/Apps/Tavrin" ] || fail "C:\Apps\Tavrin stayed"
key_exists "$settings" && fail "settings stayed with /REMOVESETTINGS"
key_exists 'HKLM\Software\Velmora' && fail "empty vendor key stayed"
key_exists "$source_key" && fail "event source stayed"

# 6. The release archive: one folder with the two programs and two texts.
listing=$(cmake -E tar tf "$archive" | sed "s,/$,," | LC_ALL=C sort | tr '\n' ' ')
name=$(basename "$archive" -x64.zip)
expected="$name $name/LICENSE.txt $name/README.txt $name/ovxcommon.dll $name/tavrin.exe "
[ "$listing" = "$expected" ] || fail "archive holds '$listing', expected '$expected'"
echo "installer checks passed"
