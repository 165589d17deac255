# Sourced: the environment of the project's private Wine prefix for build tree $QV_BUILD.
: "${QV_BUILD:?QV_BUILD must name the Windows build tree}"
QV_BUILD=$(cd "$QV_BUILD" && pwd)
export QV_BUILD
export WINEPREFIX="$QV_BUILD/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LOCPATH="$QV_BUILD/locale"
unset LANGUAGE
# Russian ANSI code page 1251 inside Wine; given per command so that this shell keeps its own locale.
qvwine() { LC_ALL=ru_RU.UTF-8 "$QV_WINE" "$@"; }
QV_WINE=/usr/lib/wine/wine64
[ -x "$QV_WINE" ] || QV_WINE=$(command -v wine64 || command -v wine)
export QV_WINE
# The display of the running test session, unless the caller has one.
if [ -z "${DISPLAY:-}" ] && [ -f "$QV_BUILD/session/display" ]; then
  DISPLAY=$(cat "$QV_BUILD/session/display")
  export DISPLAY
fi
