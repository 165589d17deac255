#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build tree for SECONDS each, seeded from tests/fuzz/corpus/NAME.
set -uo pipefail
build=${1:?usage: fuzz.sh BUILD_DIR SECONDS}; secs=${2:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$build" && pwd)
rc=0; count=0
for f in "$build"/*_fuzz; do
  [ -x "$f" ] || continue
  name=$(basename "$f")
  work="$build/corpus/$name"; mkdir -p "$work"
  seeds=()
  [ -d "$root/tests/fuzz/corpus/$name" ] && seeds+=("$root/tests/fuzz/corpus/$name")
  log="$build/$name.log"
  if "$f" -max_total_time="$secs" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
       "$work" "${seeds[@]}" >"$log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
    echo "fuzz $name: ${runs:-?} executions, no finding"
    count=$((count + 1))
  else
    echo "fuzz $name: FAILED (see $log)"; tail -40 "$log"; rc=1
  fi
done
echo "$count fuzz targets ran"
exit $rc
