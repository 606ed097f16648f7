#!/usr/bin/env bash
# Checks the built Keywatch.dll: it exports exactly the hook interface under
# undecorated names, keeps its seven variables, in order, in a section
# ".SHARDT" of plain writable data that is not shared between processes, and
# the hook handle alone in a section ".SHHOOK" that is.
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
declare -A chars=() vsize=() rva=()
for ((i = 0; i < nsec; i++)); do
  off=$((table + 40 * i))
  name=$(dd if="$dll" bs=1 skip=$off count=8 2>/dev/null | tr -d '\0')
  chars[$name]=$(u32 $((off + 36)))
  vsize[$name]=$(u32 $((off + 8)))
  rva[$name]=$(u32 $((off + 12)))
done
imagebase=$(( 0x$("$objdump" -p "$dll" | sed -n 's/^ImageBase\s*//p') ))
symbols=$("$nm" "$dll")

# section SECTION SHARED BYTES VARIABLE...: SECTION is initialized, readable,
# writable, not executable data, shared between processes or not, of BYTES,
# and holds the VARIABLEs at its start, 32 bits each, in this order.
section() {
  local sect=$1 shared=$2 bytes=$3 c expect var addr
  shift 3
  c=${chars[$sect]:-}
  if [ -z "$c" ]; then
    bad "no section $sect"
    return
  fi
  (( c & 0x40 )) || bad "$sect is not initialized data"
  (( c & 0x40000000 )) || bad "$sect is not readable"
  (( c & 0x80000000 )) || bad "$sect is not writable"
  (( c & 0x20000000 )) && bad "$sect is executable"
  if [ "$shared" = shared ]; then
    (( c & 0x10000000 )) || bad "$sect is not shared between processes"
  else
    (( c & 0x10000000 )) && bad "$sect is shared between processes"
  fi
  [ "${vsize[$sect]}" -eq "$bytes" ] || bad "$sect holds ${vsize[$sect]} bytes, not $bytes"
  expect=$((imagebase + ${rva[$sect]}))
  for var in "$@"; do
    addr=$(awk -v v="$var" '$3 == "_" v || $3 ~ ("^__ZL[0-9]+" v "$") { print $1 }' <<< "$symbols")
    if [ -z "$addr" ]; then
      bad "no symbol $var"
    else
      [ $((0x$addr)) -eq "$expect" ] || bad "$var at 0x$addr, expected $(printf '0x%x' $expect)"
    fi
    expect=$((expect + 4))
  done
}

# The seven per-process variables.
section .SHARDT unshared 28 g_hHook count firstkey firstkeydown newone secondkey secondkeydown
# The hook handle every process passes on, and nothing else.
section .SHHOOK shared 4 g_hSharedHook

[ $fail -eq 0 ] && echo "Keywatch.dll: exports, .SHARDT and .SHHOOK as required"
exit $fail
