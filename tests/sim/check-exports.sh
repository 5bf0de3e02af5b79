#!/usr/bin/env bash
# The stand-in DLL must export the nine API functions under their plain names.
# Usage: check-exports.sh <objdump> <dll>
set -u
objdump=$1
dll=$2
table=$("$objdump" -p "$dll") || { echo "cannot read the export table of $dll"; exit 1; }
missing=0
for name in Ovx_DevOpen Ovx_DevClose Ovx_DevGetProp Ovx_DevSetProp Ovx_DevSetCb \
            Ovx_DevWdtInit Ovx_VpCreate Ovx_VpSetProp Ovx_VpDrawAll; do
  if ! grep -Eq "^[[:space:]]*\[[[:space:]]*[0-9]+\] ${name}\$" <<<"$table"; then
    echo "missing export: $name"
    missing=1
  fi
done
# Only the runtime the system has: no MinGW runtime DLLs to ship.
if grep -E 'DLL Name: (libstdc|libgcc|libwinpthread)' <<<"$table"; then
  echo "depends on a MinGW runtime DLL"
  missing=1
fi
exit $missing
