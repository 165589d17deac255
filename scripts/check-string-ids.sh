#!/usr/bin/env bash
# Fails when two strings of the program's string tables share an id: the resource compiler
# accepts that without a word and one of the texts is silently lost.
set -uo pipefail
dir=${1:?usage: check-string-ids.sh RESOURCE_DIR}
awk '
  FNR == 1 { file++ }
  file == 1 && $1 == "#define" && $3 ~ /^[0-9]+$/ { value[$2] = $3; next }
  file == 2 && /^STRINGTABLE/ { table = 1; next }
  file == 2 && table && /^END/ { table = 0; next }
  file == 2 && table && $1 != "BEGIN" && NF > 1 {
    id = ($1 in value) ? value[$1] : $1
    if (id in seen) { printf "string id %s used by %s and %s\n", id, seen[id], $1; bad = 1 }
    seen[id] = $1
    count++
  }
  END {
    if (count == 0) { print "no string table found"; exit 1 }
    if (bad) exit 1
    printf "%d string ids, all different\n", count
  }
' "$dir/resource.h" "$dir/qv.rc"
