#!/usr/bin/env bash
# Runs a Windows program in the project's Wine prefix (the CTest emulator of the Windows build).
# QV_BUILD names the build tree; it defaults to the tree that holds the program.
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${QV_BUILD:-}" ]; then
  d=$(cd "$(dirname "$1")" && pwd)
  while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
  QV_BUILD=$d
fi
. "$here/wine-env.sh"
LC_ALL=ru_RU.UTF-8 exec "$QV_WINE" "$@"
