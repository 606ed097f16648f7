#!/usr/bin/env bash
# Checks that shipped files hold only instructions an i486 has: no conditional
# moves (cmov, fcmov), no fcomi/fucomi, no cmpxchg8b, no MMX or SSE, and no
# cpuid or rdtsc. Names the function of each offending instruction.
#   check_i486.sh OBJDUMP FILE...
set -uo pipefail
objdump=$1
shift
fail=0
for file in "$@"; do
  name=$(basename "$file")
  found=$("$objdump" -d -C --no-show-raw-insn "$file" | awk -v file="$name" '
    /^[0-9a-f]+ <.*>:$/ { fn = substr($0, index($0, "<")); sub(/>:$/, ">", fn); data = fn ~ /^<\.gcc_except_table/; next }
    data { next }
    /^ *[0-9a-f]+:\t/ {
      ++insns
      split($0, part, "\t"); ins = part[2]; mnem = ins; sub(/ .*/, "", mnem)
      if (mnem ~ /^(cmov|fcmov|f(u)?comip?$|cmpxchg8b|cpuid|rdtsc|rdrand|rdseed|emms|femms|(s|l|m)fence|prefetch|clflush|movnt|maskmov|ldmxcsr|stmxcsr|fxsave|fxrstor|sysenter|sysexit)/ \
          || ins ~ /%x?mm[0-9]/)
        print file ": " fn ": " ins
    }
    END { if (insns == 0) print file ": no instructions read" }')
  if [ -n "$found" ]; then
    echo "$found" | sed 's/^/FAIL: /'
    fail=1
  fi
done
[ $fail -eq 0 ] && echo "only i486 instructions in $*"
exit $fail
