#!/usr/bin/env bash
# The release packages' test: builds them from a Windows build tree, unpacks the portable zip
# and runs qv_dist_tests.exe in a fresh Wine prefix, so that the installer meets a user profile
# nothing else has touched and the build tree's test prefix stays as it is. Uses the display of
# the running test session (scripts/wine-tests.sh starts one).
# Usage: dist-test.sh WIN_BUILD [gtest args]
set -uo pipefail
win=$(cd "${1:?usage: dist-test.sh WIN_BUILD [gtest args]}" && pwd); shift
here=$(cd "$(dirname "$0")" && pwd)
QV_BUILD="$win"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
[ -n "${DISPLAY:-}" ] || { echo "dist-test: no display (run it through scripts/wine-tests.sh)" >&2; exit 1; }

work="$win/dist-test"
export WINEPREFIX="$work/wineprefix"
stop_wine() { /usr/bin/wineserver -k 2>/dev/null; /usr/bin/wineserver -w 2>/dev/null; }
stop_wine
rm -rf "$work"
mkdir -p "$work"
trap stop_wine EXIT

mapfile -t made < <(bash "$here/dist.sh" "$win" "$work/out")
[ ${#made[@]} -eq 2 ] && [ -f "${made[0]}" ] && [ -f "${made[1]}" ] || { echo "dist-test: dist.sh failed" >&2; exit 1; }
unzip -q "${made[1]}" -d "$work/portable" || exit 1

qvwine wineboot -i >/dev/null 2>&1 || { echo "dist-test: wineboot failed" >&2; exit 1; }
qvwine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
# Wine links the profile's Desktop, Documents... to $HOME: shortcuts would land there.
for f in "$WINEPREFIX"/drive_c/users/*/*; do
  if [ -L "$f" ]; then rm "$f" && mkdir "$f"; fi
done

winpath() { local p=$1; printf 'Z:%s' "${p//\//\\}"; }
QV_DIST_SETUP=$(winpath "${made[0]}")
QV_DIST_PORTABLE=$(winpath "$work/portable")
export QV_DIST_SETUP QV_DIST_PORTABLE
qvwine "$win/qv_dist_tests.exe" "$@"
rc=$?
stop_wine
# A failed run keeps its prefix for a look; a passed one gives back the disk space.
[ $rc -eq 0 ] && rm -rf "$WINEPREFIX"
exit $rc
