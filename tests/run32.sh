#!/usr/bin/env bash
# Runs a test of the shipped 32-bit files where the kernel runs 32-bit code;
# elsewhere says why it cannot and exits 77, which ctest reports as skipped.
#   run32.sh COMMAND [ARGS...]
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../tools/flavour"
if ! runs_32bit; then
  echo "SKIPPED: this kernel runs no 32-bit code, and this test runs the shipped 32-bit files"
  exit 77
fi
exec "$@"
