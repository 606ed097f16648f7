#!/usr/bin/env bash
# Checks that shipped files load on Windows 95, NT 3.51, 4 and 2000 with their
# own comctl32:
#  - the headers are what the Windows 95 loader accepts: subsystem version 4.0
#    or older, page-aligned sections, and for a DLL (which the system loads
#    into other processes with LoadLibrary) relocations and no thread-local
#    storage directory;
#  - every imported function is listed in ALLOWED with its documented minimum
#    systems (NT 3.51 or older, Windows 95), and is not a known newer one;
#  - the C++ runtime linked in, if any, is the win32-thread-model one: the
#    link map names no POSIX-model library and no winpthread, the image no
#    pthread symbol.
#   check_imports.sh OBJDUMP NM ALLOWED FILE MAP [FILE MAP]...
set -uo pipefail
objdump=$1 nm=$2 allowed=$3
shift 3
fail=0
bad() { echo "FAIL: $*"; fail=1; }

# Newer than the target systems, or unsafe there, with the reason.
declare -A refused=(
  [GetTickCount64]="Windows Vista and later"
  [AddVectoredExceptionHandler]="Windows XP and later"
  [RemoveVectoredExceptionHandler]="Windows XP and later"
  [TryEnterCriticalSection]="NT 4 only, not Windows 95"
  [InitializeCriticalSectionAndSpinCount]="NT 4 SP3 and Windows 98 and later"
  [InterlockedCompareExchange]="NT 4 and Windows 98 and later"
  [InterlockedExchangeAdd]="NT 4 and Windows 98 and later"
  [GetProcessAffinityMask]="not on Windows 95"
  [SetProcessAffinityMask]="NT only"
  [GetHandleInformation]="NT only"
  [SetWindowSubclass]="exported by name only by comctl32 6.0"
  [GetWindowSubclass]="exported by name only by comctl32 6.0"
  [RemoveWindowSubclass]="exported by name only by comctl32 6.0"
  [DefSubclassProc]="exported by name only by comctl32 6.0"
  [InitCommonControlsEx]="comctl32 4.70 and later: look it up at run time"
)

# ALLOWED: "DLL FUNCTION NT 9X SOURCE", NT the oldest NT version documented to
# have the function, 9X the oldest Windows 95 family version.
declare -A listed=() firstnt=() dlls=()
while read -r dll fn nt nine _; do
  [[ -z $dll || $dll == \#* ]] && continue
  dll=${dll^^}
  case $nt in 3.1|3.5|3.51|4.0) ;; *) bad "$allowed: $dll $fn needs NT $nt" ;; esac
  [[ $nine =~ ^95(/IE[345])?$ ]] || bad "$allowed: $dll $fn needs Windows $nine"
  [ -n "${refused[$fn]:-}" ] && bad "$allowed: $dll $fn is listed but ${refused[$fn]}"
  listed["$dll $fn"]=1
  firstnt["$dll $fn"]=$nt
  dlls[$dll]=1
done < "$allowed"

while [ $# -ge 2 ]; do
  file=$1 map=$2
  shift 2
  name=$(basename "$file")

  # Headers.
  header=$("$objdump" -p "$file")
  if ! grep -q '^Magic.*PE32' <<< "$header"; then
    bad "$name: no PE image read"
    continue
  fi
  field() { awk -v f="$1" '$1 == f { print $2; exit }' <<< "$header"; }
  subsystem=$(( 10#$(field MajorSubsystemVersion) * 100 + 10#$(field MinorSubsystemVersion) ))
  (( subsystem <= 400 )) || bad "$name: subsystem version $(field MajorSubsystemVersion).$(field MinorSubsystemVersion), Windows 95 takes 4.0 or older"
  (( 16#$(field SectionAlignment) % 4096 == 0 && 16#$(field FileAlignment) >= 512 )) ||
    bad "$name: sections aligned to $(field SectionAlignment) in memory and $(field FileAlignment) in the file, Windows 95 maps pages of 4096 from sectors of 512"
  (( 16#$(field DllCharacteristics) & 0x8000 )) ||
    bad "$name: not marked Terminal Server aware, so that there the system names it a Windows folder of the user's own"
  if (( $(field Characteristics) & 0x2000 )); then
    read -r _ _ rva size _ <<< "$(grep '^Entry 9 ' <<< "$header")"
    [ "$rva$size" = 0000000000000000 ] ||
      bad "$name: a thread-local storage directory, which makes LoadLibrary on the Windows 95 family refuse the DLL"
    read -r _ _ rva size _ <<< "$(grep '^Entry 5 ' <<< "$header")"
    [ "$size" != 00000000 ] || bad "$name: a DLL without relocations, which loads only at its preferred address"
  fi

  # Import table: "DLL FUNCTION", an import by ordinal as "#N".
  imports=$("$objdump" -p "$file" | awk '
    /^\tDLL Name: / { dll = toupper($3); next }
    /^$/ { dll = "" }
    dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]/ {
      print dll, ($3 == "<none>" ? "#" $2 : $3)
    }')
  [ -n "$imports" ] || bad "$name: no imports read"
  while read -r dll fn; do
    [ -z "$dll" ] && continue
    if [ -n "${refused[$fn]:-}" ]; then
      bad "$name imports $dll $fn: ${refused[$fn]}"
    elif [[ $dll == KERNEL32.DLL && $fn == \#* ]]; then
      bad "$name imports KERNEL32.DLL by ordinal $fn, which the Windows 95 family refuses"
    elif [[ $fn =~ [a-z0-9]W$ ]]; then
      bad "$name imports $dll $fn: a wide-character call (Windows 95 has only failing stubs)"
    elif [ -z "${dlls[$dll]:-}" ]; then
      bad "$name imports from $dll, which is not a DLL of the target systems"
    elif [ -z "${listed["$dll $fn"]:-}" ]; then
      bad "$name imports $dll $fn, not in $(basename "$allowed"): check its minimum systems and list it"
    elif [ "${firstnt["$dll $fn"]}" = 4.0 ]; then
      bad "$name imports $dll $fn: first in NT 4.0, NT 3.51 would not load the file (look it up at run time)"
    fi
  done <<< "$imports"

  # The runtime that was linked in.
  if [ ! -s "$map" ]; then
    bad "$name: no link map $map"
  else
    # A file linked without any runtime (Keywatch.dll) names no GCC library.
    if grep -qE 'lib(stdc\+\+|supc\+\+|gcc|gcc_eh)\.a' "$map"; then
      grep -q '/12-win32/lib' "$map" || bad "$name: the map names no win32-thread-model runtime"
    fi
    # Files of the POSIX-model GCC directory itself, and winpthread.
    posix=$(grep -oE '[^ (]*(/12-posix/[a-z][^ (/]*|lib(win)?pthread\.a)' "$map" | sort -u)
    [ -z "$posix" ] || bad "$name links $(echo $posix)"
  fi
  syms=$("$nm" "$file" 2>/dev/null | grep -E -m3 '(^| )_*(pthread_|__gthr_posix)')
  [ -z "$syms" ] || bad "$name holds pthread symbols: $(echo $syms)"
done

[ $fail -eq 0 ] && echo "imports and runtime of the shipped files as required"
exit $fail
