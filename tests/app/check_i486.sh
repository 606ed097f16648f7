#!/usr/bin/env bash
# Checks that shipped files hold only instructions an i486 has: no conditional
# moves (cmov, fcmov), no fcomi/fucomi, no cmpxchg8b, no MMX or SSE, no
# multi-byte NOPs (0f 1f), endbr32, fisttp, popcnt, movbe, syscall, cpuid or
# rdtsc. Names the function of each offending instruction.
#
# With --shipped, each FILE's copy of the same name in PLACE (a folder or a
# zip archive: the stripped files as shipped) must hold FILE's code byte for
# byte; FILE's symbols then name the functions and mark the exception tables'
# data in the code section, which is skipped.
#   check_i486.sh OBJDUMP [--shipped PLACE] FILE...
set -uo pipefail
objdump=$1
shift
objcopy=${objdump%objdump}objcopy
fail=0
bad() { echo "FAIL: $*"; fail=1; }

shipped=
if [ "${1:-}" = --shipped ]; then
  shipped=$2
  shift 2
  if [ -f "$shipped" ]; then
    unpacked=$(mktemp -d)
    trap 'rm -rf "$unpacked"' EXIT
    unzip -q "$shipped" -d "$unpacked" || bad "cannot unpack $shipped"
    shipped=$unpacked
  fi
fi

# code FILE SECTION OUT: the section's bytes.
code() { "$objcopy" -O binary --only-section="$2" "$1" "$3" 2>/dev/null; }

for file in "$@"; do
  name=$(basename "$file")
  if [ -n "$shipped" ]; then
    copy=$shipped/$name
    if [ ! -f "$copy" ]; then
      bad "$name is not among the shipped files"
    else
      sections=$("$objdump" -h "$file" | awk '/^ *[0-9]+ / { sect = $2 } /CODE/ { print sect }')
      [ -n "$sections" ] || bad "$name: no code section read"
      tmp=$(mktemp -d)
      for sect in $sections; do
        code "$file" "$sect" "$tmp/built" && code "$copy" "$sect" "$tmp/shipped" &&
          cmp -s "$tmp/built" "$tmp/shipped" || bad "$name: the shipped $sect differs from the one checked"
      done
      rm -rf "$tmp"
    fi
  fi
  found=$("$objdump" -d -C --no-show-raw-insn "$file" | awk -v file="$name" '
    /^[0-9a-f]+ <.*>:$/ { fn = substr($0, index($0, "<")); sub(/>:$/, ">", fn); data = fn ~ /^<\.gcc_except_table/; next }
    data { next }
    /^ *[0-9a-f]+:\t/ {
      ++insns
      split($0, part, "\t"); ins = part[2]; mnem = ins; sub(/ .*/, "", mnem)
      if (mnem ~ /^(cmov|fcmov|f(u)?comip?$|cmpxchg8b|cpuid|rdtsc|rdpmc|rdrand|rdseed|emms|femms|(s|l|m)fence|prefetch|clflush|movnt|maskmov|ldmxcsr|stmxcsr|fxsave|fxrstor|sysenter|sysexit|syscall|sysret|endbr|fisttp|popcnt|lzcnt|tzcnt|movbe)/ \
          || ins ~ /%x?mm[0-9]/ \
          || ins ~ /(^|[ \t])nop[wl]?[ \t]+[^ \t]/)
        print file ": " fn ": " ins
    }
    END { if (insns == 0) print file ": no instructions read" }')
  if [ -n "$found" ]; then
    echo "$found" | sed 's/^/FAIL: /'
    fail=1
  fi
done
[ $fail -eq 0 ] && echo "only i486 instructions in $*${shipped:+, as shipped}"
exit $fail
