#!/usr/bin/env bash
# Builds the release packages from a Windows build tree into OUT_DIR:
#   Quorvan-<version>-setup.exe     per-user installer (NSIS)
#   Quorvan-<version>-portable.zip  folder Quorvan with qv.exe and a read-me
# both with qv.exe stripped of its debug information.
# The version is the FileVersion string of qv.exe's version resource.
# Usage: dist.sh WIN_BUILD OUT_DIR
set -euo pipefail
win=$(cd "${1:?usage: dist.sh WIN_BUILD OUT_DIR}" && pwd)
out=${2:?usage: dist.sh WIN_BUILD OUT_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
exe="$win/qv.exe"
[ -f "$exe" ] || { echo "dist: $exe is missing (make build-win)" >&2; exit 1; }

# The string table of a version resource is UTF-16: the value follows its key.
version=$(x86_64-w64-mingw32-strings -el "$exe" | sed -n '/^FileVersion$/{n;p;q}')
if ! [[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
  echo "dist: no FileVersion a.b.c.d in the version resource of $exe (found '$version')" >&2
  exit 1
fi

mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The build tree's qv.exe carries debug information that users have no use for.
mkdir "$work/Quorvan"
x86_64-w64-mingw32-strip -o "$work/Quorvan/qv.exe" "$exe"

# Welcome and finish page picture: the program icon on a light gradient.
convert -size 164x314 gradient:'#ffffff-#c9dcf2' \
  \( "$root/src/resources/program.ico[0]" -filter point -resize 96x96 \) \
  -gravity north -geometry +0+64 -composite -type truecolor BMP3:"$work/welcome.bmp"

setup="$out/Quorvan-$version-setup.exe"
makensis -V2 -INPUTCHARSET UTF8 \
  -DVERSION="$version" -DQV_EXE="$work/Quorvan/qv.exe" -DICON="$root/src/resources/program.ico" \
  -DWELCOME_BMP="$work/welcome.bmp" -DOUTFILE="$setup" \
  "$root/packaging/quorvan.nsi"

# Notepad on every Windows reads UTF-8 with a byte order mark and CRLF line ends.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' "$root/packaging/readme.txt"; } >"$work/Quorvan/readme.txt"
zipfile="$out/Quorvan-$version-portable.zip"
rm -f "$zipfile"
(cd "$work" && zip -q -X -r "$zipfile" Quorvan)

echo "$setup"
echo "$zipfile"
