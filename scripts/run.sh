#!/usr/bin/env bash
# Starts qv.exe under Wine (on the real display when there is one, else on Xvfb) with its
# working folder under the build tree, so its program.cfg stays there.
set -uo pipefail
win=${1:?usage: run.sh WIN_BUILD NATIVE_BUILD}
nat=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
win=$(cd "$win" && pwd)
"$here/wine-session.sh" start "$win" || exit 1
trap '"$here/wine-session.sh" stop "$win"' EXIT
export QV_BUILD="$win"
. "$here/wine-env.sh"
work="$win/run"
mkdir -p "$work"
echo "qv.exe runs on display $DISPLAY; its program.cfg is $work/program.cfg"
cd "$work" && LC_ALL=ru_RU.UTF-8 "$QV_WINE" "$win/qv.exe"
rc=$?
echo "qv.exe exited with code $rc"
exit $rc
