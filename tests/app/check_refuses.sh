#!/usr/bin/env bash
# Runs a check on a file planted with what it must refuse, and checks that it
# fails and names each thing listed in EXPECTED (one grep pattern a line).
#   check_refuses.sh EXPECTED CHECK CHECK_ARGS...
set -uo pipefail
expected=$1
check=$2
shift 2
out=$(bash "$check" "$@")
rc=$?
echo "$out"
fail=0
[ $rc -ne 0 ] || { echo "FAIL: the check passed"; fail=1; }
while IFS= read -r want; do
  [ -n "$want" ] || continue
  grep -q -- "$want" <<< "$out" || { echo "FAIL: no refusal matching '$want'"; fail=1; }
done < "$expected"
[ $fail -eq 0 ] && echo "everything planted refused"
exit $fail
