#!/usr/bin/env bash
# Runs the benchmarks and prints their figures: every native *_bench program, then the Wine
# benchmarks (disabled gtest cases of suites named *Throughput* or *Timing*) inside a Wine
# session.
# Usage: bench.sh NATIVE_BUILD WINDOWS_BUILD
set -uo pipefail
native=$(cd "${1:?usage: bench.sh NATIVE_BUILD WINDOWS_BUILD}" && pwd)
win=$(cd "${2:?usage: bench.sh NATIVE_BUILD WINDOWS_BUILD}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
rc=0

for b in "$native"/*_bench; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" || rc=1
done

"$here/wine-session.sh" start "$win" || exit 1
trap '"$here/wine-session.sh" stop "$win"' EXIT
export QV_BUILD="$win"
export QV_PHONESIM="$native/tools/phonesim/phonesim"
for exe in "$win"/qv_*_tests.exe; do
  [ -f "$exe" ] || continue
  if "$here/wine-run.sh" "$exe" --gtest_list_tests --gtest_also_run_disabled_tests 2>/dev/null |
      grep -q 'DISABLED_'; then
    echo "== $(basename "$exe") (Wine)"
    "$here/wine-run.sh" "$exe" --gtest_also_run_disabled_tests \
      --gtest_filter='*Throughput*.DISABLED_*:*Timing*.DISABLED_*' | grep -v '^\[' | tr -d '\r' || rc=1
  fi
done
exit $rc
