#!/usr/bin/env bash
# Runs check_i486.sh on a file with planted instructions an i486 lacks and
# checks that it fails and names each of them.
#   check_i486_refuses.sh CHECK OBJDUMP FILE
set -uo pipefail
check=$1
shift
out=$(bash "$check" "$@")
rc=$?
echo "$out"
fail=0
[ $rc -ne 0 ] || { echo "FAIL: the check passed"; fail=1; }
for want in 'nopw' 'endbr32' 'fisttpl' 'popcnt' 'movbe' 'syscall' 'cmove'; do
  grep -q "Planted.*$want" <<< "$out" || { echo "FAIL: no refusal of $want"; fail=1; }
done
[ $fail -eq 0 ] && echo "every planted instruction refused"
exit $fail
