#!/usr/bin/env bash
# Checks the built Keywatch.dll: it exports exactly the hook interface under
# undecorated names, and keeps its seven variables, in order, in a section
# ".SHARDT" of plain writable data that is not shared between processes.
#   check_keywatch_dll.sh DLL OBJDUMP NM
set -uo pipefail
dll=$1 objdump=$2 nm=$3
fail=0
bad() { echo "FAIL: $*"; fail=1; }

# Export names.
want="InstallLaunchEv LauncherHook UnInstallLaunchEv count firstkey firstkeydown newone secondkey secondkeydown"
got=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
[ "$got" = "$(echo $want | tr ' ' '\n' | sort | tr '\n' ' ')" ] || bad "exports are: $got"

# Section characteristics straight from the PE section table.
u32() { od -An -tu4 -j"$1" -N4 "$dll" | tr -d ' '; }
u16() { od -An -tu2 -j"$1" -N2 "$dll" | tr -d ' '; }
pe=$(u32 60)
nsec=$(u16 $((pe + 6)))
opt=$(u16 $((pe + 20)))
table=$((pe + 24 + opt))
chars=
for ((i = 0; i < nsec; i++)); do
  off=$((table + 40 * i))
  name=$(dd if="$dll" bs=1 skip=$off count=8 2>/dev/null | tr -d '\0')
  if [ "$name" = .SHARDT ]; then
    chars=$(u32 $((off + 36)))
    vsize=$(u32 $((off + 8)))
    rva=$(u32 $((off + 12)))
  fi
done
if [ -z "$chars" ]; then
  bad "no section .SHARDT"
else
  (( chars & 0x40 )) || bad ".SHARDT is not initialized data"
  (( chars & 0x40000000 )) || bad ".SHARDT is not readable"
  (( chars & 0x80000000 )) || bad ".SHARDT is not writable"
  (( chars & 0x10000000 )) && bad ".SHARDT is shared between processes"
  (( chars & 0x20000000 )) && bad ".SHARDT is executable"
  [ "$vsize" -eq 28 ] || bad ".SHARDT holds $vsize bytes, not seven 32-bit variables"

  # The variables, by their addresses in the symbol table.
  imagebase=$(( 0x$("$objdump" -p "$dll" | sed -n 's/^ImageBase\s*//p') ))
  prev=-1
  expect=$((imagebase + rva))
  for var in g_hHook count firstkey firstkeydown newone secondkey secondkeydown; do
    addr=$("$nm" "$dll" | awk -v v="$var" '$3 == "_" v || $3 ~ ("^__ZL[0-9]+" v "$") { print $1 }')
    if [ -z "$addr" ]; then
      bad "no symbol $var"
      continue
    fi
    [ $((0x$addr)) -eq "$expect" ] || bad "$var at 0x$addr, expected $(printf '0x%x' $expect)"
    expect=$((expect + 4))
  done
fi

[ $fail -eq 0 ] && echo "Keywatch.dll: exports and .SHARDT as required"
exit $fail
