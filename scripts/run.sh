#!/usr/bin/env bash
# Starts qv.exe under Wine (on the real display when there is one, else on Xvfb) with its
# working folder under the build tree, so its program.cfg stays there. A simulated Siemens
# phone waits on a mapped COM port (COM10..COM29 of the prefix) with a small tree of
# pictures, sounds and folders with Cyrillic names; qv.exe finds it and shows its button and
# information view, and its "Проводник" shows the phone's folders. The simulator is stopped
# when qv.exe exits.
set -uo pipefail
win=${1:?usage: run.sh WIN_BUILD NATIVE_BUILD}
nat=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
win=$(cd "$win" && pwd)
sim_pid=
cleanup() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
  fi
  "$here/wine-session.sh" stop "$win"
}
"$here/wine-session.sh" start "$win" || exit 1
trap cleanup EXIT
trap 'exit 130' INT TERM HUP
export QV_BUILD="$win"
. "$here/wine-env.sh"
work="$win/run"
mkdir -p "$work"

# The phone's memory: made once, then kept with whatever the user copied onto it.
tree="$work/phone"
if [ ! -d "$tree" ]; then
  mkdir -p "$tree/Pictures/Отпуск" "$tree/Sounds" "$tree/Документы" "$tree/Мелодии"
  printf '\xff\xd8\xff\xe0' >"$tree/Pictures/sunrise.jpg"; head -c 4000 /dev/urandom >>"$tree/Pictures/sunrise.jpg"
  printf '\xff\xd8\xff\xe0' >"$tree/Pictures/Отпуск/море.jpg"; head -c 9000 /dev/urandom >>"$tree/Pictures/Отпуск/море.jpg"
  printf 'GIF89a' >"$tree/Pictures/logo.gif"; head -c 700 /dev/urandom >>"$tree/Pictures/logo.gif"
  printf 'MThd' >"$tree/Sounds/ring.mid"; head -c 600 /dev/urandom >>"$tree/Sounds/ring.mid"
  printf 'RIFF' >"$tree/Мелодии/звонок.wav"; head -c 2000 /dev/urandom >>"$tree/Мелодии/звонок.wav"
  printf 'Список покупок: хлеб, молоко.\r\n' | iconv -f UTF-8 -t CP1251 >"$tree/Документы/заметка.txt"
  printf 'Simulated phone memory.\r\n' >"$tree/readme.txt"
fi


sim="${nat:+$nat/tools/phonesim/phonesim}"
port=
if [ -n "$sim" ] && [ -x "$sim" ]; then
  mkdir -p "$win/ports"
  for n in $(seq 10 29); do
    [ -e "$win/ports/COM$n" ] || [ -e "$win/ports/COM$n.lock" ] && continue
    port="COM$n"
    break
  done
fi
# A settings file makes this no first start, on which every serial port would be switched off.
# The one made here switches off the other COM ports instead (Wine maps COM1 to /dev/ttyS0: a
# silent line that would hold the scan for half a minute before it reaches the phone).
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }
if [ ! -f "$work/program.cfg" ]; then
  {
    printf '\x01\x01\x01'
    names=()
    for n in $(seq 1 29); do [ "COM$n" = "$port" ] || names+=("COM$n"); done
    printf '\x0a\x00'; printf "$(le32 ${#names[@]})"
    for name in "${names[@]}"; do
      printf "$(le32 0)$(le32 $((${#name} + 1)))"
      for ((i = 0; i < ${#name}; i++)); do printf '%s\x00' "${name:i:1}"; done
      printf '\x00\x00'
    done
  } >"$work/program.cfg"
fi
if [ -n "$port" ]; then
  "$sim" --profile siemens --root "$tree" --link "$win/ports/$port" --log "$work/phonesim.log" \
    >"$work/phonesim.out" 2>&1 &
  sim_pid=$!
  for _ in $(seq 100); do [ -e "$win/ports/$port" ] && break; sleep 0.05; done
  echo "a simulated Siemens S65 waits on $port (log: $work/phonesim.log);"
  echo "qv.exe lists it as the button \"SIEMENS S65\" and shows its information view;"
  echo "\"Проводник\" on the left shows the phone's folders"
else
  echo "no phone simulator (build the native tree) or no free COM port: qv.exe runs without a phone"
fi

echo "qv.exe runs on display $DISPLAY; its program.cfg is $work/program.cfg"
# In the background so that Ctrl+C reaches the trap at once; the session stop ends qv.exe too.
(cd "$work" && LC_ALL=ru_RU.UTF-8 exec "$QV_WINE" "$win/qv.exe") &
wait $!
rc=$?
echo "qv.exe exited with code $rc"
exit $rc
