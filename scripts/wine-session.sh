#!/usr/bin/env bash
# start|stop BUILD_DIR: the X display (Xvfb when there is none) and a long-lived Wine
# process for a run of tests or of the program.
set -uo pipefail
cmd=${1:?usage: wine-session.sh start|stop BUILD_DIR}
QV_BUILD=${2:?usage: wine-session.sh start|stop BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
sess="$QV_BUILD/session"

stop_session() {
  [ -d "$sess" ] || return 0
  for f in keep xvfb; do
    if [ -f "$sess/$f.pid" ]; then
      kill "$(cat "$sess/$f.pid")" 2>/dev/null
      rm -f "$sess/$f.pid"
    fi
  done
  rm -f "$sess/display"
  QV_BUILD="$QV_BUILD" bash -c ". '$here/wine-env.sh'; /usr/bin/wineserver -k" >/dev/null 2>&1
  return 0
}

case "$cmd" in
start)
  stop_session
  mkdir -p "$sess"
  "$here/wine-prefix.sh" "$QV_BUILD"
  if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 173 199); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$sess/xvfb.log" 2>&1 &
      echo $! >"$sess/xvfb.pid"
      for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      if [ -e "/tmp/.X11-unix/X$n" ]; then echo ":$n" >"$sess/display"; break; fi
      kill "$(cat "$sess/xvfb.pid")" 2>/dev/null; rm -f "$sess/xvfb.pid"
    done
    [ -f "$sess/display" ] || { echo "no X display could be started" >&2; exit 1; }
  else
    echo "$DISPLAY" >"$sess/display"
  fi
  . "$here/wine-env.sh"
  keep="$QV_BUILD/winekeep.exe"
  if [ -f "$keep" ]; then
    qvwine "$keep" >/dev/null 2>&1 &
    echo $! >"$sess/keep.pid"
  fi
  # The first Wine start of a session with its output on /dev/null keeps later piped runs fast.
  qvwine cmd.exe /c exit >/dev/null 2>&1 </dev/null
  ;;
stop)
  stop_session
  ;;
*)
  echo "usage: wine-session.sh start|stop BUILD_DIR" >&2; exit 2 ;;
esac
