#!/usr/bin/env bash
# Creates the private Wine prefix of a Windows build tree: Russian locale (code page 1251),
# Wine's fonts, no window manager decorations, and COM ports mapped to fixed paths under
# $QV_BUILD/ports, where tests and `make run` link the pseudo-terminals of simulated phones.
set -euo pipefail
QV_BUILD=${1:?usage: wine-prefix.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$QV_BUILD"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

stamp="$WINEPREFIX/.qv-ready-3"
[ -f "$stamp" ] && exit 0

mkdir -p "$LOCPATH" "$QV_BUILD/ports"
if [ ! -d "$LOCPATH/ru_RU.UTF-8" ]; then
  localedef -i ru_RU -f UTF-8 "$LOCPATH/ru_RU.UTF-8" 2>/dev/null || [ -d "$LOCPATH/ru_RU.UTF-8" ]
fi

rm -rf "$WINEPREFIX"
qvwine wineboot -i >/dev/null 2>&1
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp -f /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true

reg() { qvwine reg add "$@" /f >/dev/null 2>&1; }
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
for n in $(seq 10 29); do
  reg 'HKLM\Software\Wine\Ports' /v "COM$n" /t REG_SZ /d "$QV_BUILD/ports/COM$n"
done
/usr/bin/wineserver -k 2>/dev/null || true
/usr/bin/wineserver -w 2>/dev/null || true
touch "$stamp"
