#!/usr/bin/env bash
# Checks the built Keywatch.dll, which the system loads into every process that
# receives keyboard input: it exports exactly the hook interface under
# undecorated names; keeps its seven variables, in order, in a section
# ".SHARDT" of plain writable data that is not shared between processes, and
# the slots' hook handles alone in a section ".SHHOOK" that is; imports from
# KERNEL32, USER32 and ADVAPI32 only; carries no runtime (no unwind tables, no
# exception support, no start-up code: DllMain is the entry point and calls
# DisableThreadLibraryCalls and nothing else); and is at most 16 KB stripped,
# printed beside a bare hook library built the same way.
#   check_keywatch_dll.sh DLL OBJDUMP NM STRIP [BARE_DLL]
set -uo pipefail
dll=$1 objdump=$2 nm=$3 strip=$4 bare=${5:-}
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
# The hook handle of each of the 16 slots, and nothing else.
section .SHHOOK shared 64 g_slotHooks

# Imports.
dlls=$("$objdump" -p "$dll" | sed -n 's/^\tDLL Name: //p' | tr a-z A-Z | sort | tr '\n' ' ')
[ "$dlls" = "ADVAPI32.DLL KERNEL32.DLL USER32.DLL " ] || bad "imports from: $dlls"

# No runtime.
# Section names as the linker wrote them (the table holds 8 characters).
names=$("$objdump" -h "$dll" | awk '/^ *[0-9]+ / { print $2 }')
for sect in .eh_frame .gcc_except_table .tls .CRT .ctors .dtors; do
  grep -qx -- "$sect" <<< "$names" && bad "a section $sect"
done
runtime=$(grep -oE ' _*(_Unwind_[A-Za-z]*|__gxx_personality[a-z0-9_]*|__register_frame_info|__deregister_frame_info|__main|atexit|__cxa_[a-z_]*|_pei386_runtime_relocator|DllMainCRTStartup)(@[0-9]+)?$' <<< "$symbols" | sort -u)
[ -z "$runtime" ] || bad "runtime symbols: $(echo $runtime)"

# DllMain is the entry point, and calls nothing but DisableThreadLibraryCalls.
entry=$(( imagebase + 0x$("$objdump" -p "$dll" | sed -n 's/^AddressOfEntryPoint\s*//p') ))
main=$(awk '$3 ~ /^_?DllMain(@12)?$/ { print $1 }' <<< "$symbols")
if [ -z "$main" ]; then
  bad "no symbol DllMain"
else
  main=$((0x$main))
  [ "$entry" -eq "$main" ] || bad "the entry point is $(printf 0x%x $entry), not DllMain at $(printf 0x%x $main)"
  end=$("$nm" -n "$dll" | awk -v m="$(printf %08x "$main")" 'NF == 3 && $1 > m { print "0x" $1; exit }')
  disable=$(awk '$3 ~ /__imp__?DisableThreadLibraryCalls(@4)?$/ { print $1 }' <<< "$symbols")
  calls=$("$objdump" -d --no-show-raw-insn --start-address=$main --stop-address=$end "$dll" |
          awk -F'\t' '$2 ~ /^(call|jmp)/ { print $2 }' | sed 's/^[a-z]* *//; s/ .*//' | sort -u)
  while read -r target; do
    [ -z "$target" ] && continue
    case $target in
      \*0x*) [ -n "$disable" ] && [ $((${target#\*})) -eq $((0x$disable)) ] ||
                bad "DllMain calls through $target, not DisableThreadLibraryCalls" ;;
      *) (( 0x$target >= main && 0x$target < end )) || bad "DllMain calls $target" ;;
    esac
  done <<< "$calls"
fi

# Size as shipped, stripped.
size_of() {
  local tmp
  tmp=$(mktemp)
  "$strip" -o "$tmp" "$1" && stat -c %s "$tmp"
  rm -f "$tmp"
}
size=$(size_of "$dll")
echo "Keywatch.dll: $size bytes stripped (at most 16384)${bare:+; a bare hook library: $(size_of "$bare") bytes}"
[ -n "$size" ] && (( size <= 16384 )) || bad "Keywatch.dll is $size bytes stripped, more than 16384"

[ $fail -eq 0 ] && echo "Keywatch.dll: exports, .SHARDT, .SHHOOK, imports, no runtime and size as required"
exit $fail
