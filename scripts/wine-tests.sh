#!/usr/bin/env bash
# Runs the Wine tests of a Windows build tree inside one display + Wine session.
set -uo pipefail
build=${1:?usage: wine-tests.sh BUILD_DIR [ctest args]}; shift
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$build" && pwd)
"$here/wine-session.sh" start "$build" || exit 1
trap '"$here/wine-session.sh" stop "$build"' EXIT
# The Wine tests start the phone simulator of the native build on mapped COM ports.
native=${QV_NATIVE_BUILD:-$(dirname "$build")/native}
[ -d "$native" ] && native=$(cd "$native" && pwd)
export QV_PHONESIM=${QV_PHONESIM:-$native/tools/phonesim/phonesim}
cd "$build" && QV_BUILD="$build" ctest --output-on-failure "$@"
