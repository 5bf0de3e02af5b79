#!/usr/bin/env bash
# The DLL's export name table holds exactly the three factories, undecorated.
set -u
dll=$1
names=$(x86_64-w64-mingw32-objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' | tr -d '\r')
expected=$'CreateDeviceUtilInstance\nCreateGenericfuncInstance\nCreateSystemCtrlInstance'
if [ "$names" != "$expected" ]; then
  echo "unexpected export names:"; echo "$names"; exit 1
fi
echo "exports ok"
