#!/usr/bin/env bash
# Runs the native, Wine and fuzz tests one after the other (all of them, even after a failure)
# and ends with one summary line over the three.
set -uo pipefail
log=$(mktemp)
trap 'rm -f "$log"' EXIT
rc=0
for target in test-native test-wine test-fuzz; do
  make --no-print-directory B="${B:-build}" JOBS="${JOBS:-2}" FUZZ_SECONDS="${FUZZ_SECONDS:-20}" "$target" 2>&1 | tee -a "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || rc=1
done
passed=0; failed=0
while read -r p f; do
  passed=$((passed + p)); failed=$((failed + f))
done < <(sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\2 \1/p' "$log" |
         awk '{print $1 - $2, $2}')
fuzz_ok=$(grep -c '^fuzz .*no finding$' "$log")
fuzz_bad=$(grep -c '^fuzz .*FAILED' "$log")
passed=$((passed + fuzz_ok)); failed=$((failed + fuzz_bad))
[ "$rc" -eq 0 ] || [ "$failed" -gt 0 ] || failed=1
echo "$passed passed, $failed failed"
exit $rc
