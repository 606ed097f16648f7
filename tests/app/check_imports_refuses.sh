#!/usr/bin/env bash
# Runs check_imports.sh on a DLL built with imports and headers it must refuse
# and checks that it fails and names each of them.
#   check_imports_refuses.sh CHECK OBJDUMP NM ALLOWED FILE MAP
set -uo pipefail
check=$1
shift
out=$(bash "$check" "$@")
rc=$?
echo "$out"
fail=0
[ $rc -ne 0 ] || { echo "FAIL: the check passed"; fail=1; }
for want in 'GetTickCount64: Windows Vista' 'AddVectoredExceptionHandler: Windows XP' \
            'TryEnterCriticalSection: NT 4 only' 'SetWindowSubclass: exported by name only' \
            'CreateSemaphoreW: a wide-character call' 'KERNEL32.DLL Beep, not in' \
            'SetMenuDefaultItem: first in NT 4.0' \
            'subsystem version 5.0' 'a thread-local storage directory' \
            'links .*pthread' 'holds pthread symbols'; do
  grep -q -- "$want" <<< "$out" || { echo "FAIL: no refusal matching '$want'"; fail=1; }
done
[ $fail -eq 0 ] && echo "every planted import refused"
exit $fail
