#!/bin/bash
# Runs a command inside a private Wine session: its own Xvfb display and a
# persistent wineserver on the project's prefix. Both are stopped on every
# exit path, and only those two: nothing else on the machine is touched.
#   scripts/wine-session.sh ctest --test-dir build --output-on-failure
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=ja_JP.UTF-8
# Without a glibc Japanese locale Wine takes the code page from LC_ALL only.
export LC_ALL=ja_JP.UTF-8

xvfb_pid=""
server_started=""
cleanup() {
  if [ -n "$server_started" ]; then
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  [ -n "${fdfile:-}" ] && rm -f "$fdfile"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# A display number nobody else uses: Xvfb picks it and tells us. In a session
# of its own, as an X server ends on Ctrl+C: programs that are still ending
# (make run's daemon closing its desktops) keep their display until cleanup.
fdfile=$(mktemp)
setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$fdfile" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "wine-session: Xvfb failed to start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$fdfile" ] || { echo "wine-session: Xvfb gave no display number" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fdfile")"
echo "wine-session: Xvfb on $DISPLAY, prefix $WINEPREFIX" >&2

mkdir -p "$(dirname "$WINEPREFIX")"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-session: creating the Wine prefix (once)" >&2
  wineboot -i >/dev/null 2>&1
fi
wineserver -p
server_started=1
# Make sure the prefix is fully up before the first test starts.
wineboot >/dev/null 2>&1

"$@"
