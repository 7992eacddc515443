#!/bin/bash
# Runs a command inside a private Wine session: its own Xvfb display and a
# persistent wineserver on the project's prefix, and a second pair on a copy
# of the prefix (session "b"), so that the tests that need a whole Windows
# session to themselves (one daemon, one pipe name) can run in two groups at
# once; wine-run.sh picks the second pair when QV_WINE_SESSION=b. All of them
# are stopped on every exit path, and only those: nothing else on the machine
# is touched.
#   scripts/wine-session.sh ctest --test-dir build --output-on-failure
set -u
# Debian's Wine has no preloader, so nothing keeps Linux from placing the
# loader's randomised heap over the fixed page Wine maps the shared user data
# at (0x7FFE0000): about one start in 7,300 then dies with "failed to map the
# shared user data: c0000018" before any Windows code runs. Without address
# randomisation the heap always follows the loader, far below that page. The
# whole session runs so, for wineboot and reg as for every test program.
if [ -z "${QV_FIXED_LAYOUT:-}" ] && setarch -R true 2>/dev/null; then
  QV_FIXED_LAYOUT=1 exec setarch -R "$0" "$@"
fi
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=ja_JP.UTF-8
# Without a glibc Japanese locale Wine takes the code page from LC_ALL only.
export LC_ALL=ja_JP.UTF-8

export QV_WINEPREFIX_B="$WINEPREFIX-b"

# The record of test programs' starts and ends and of every process the test
# support ends, shared by both sessions (tests/support/ProcessLog.h); the
# Windows side reaches it through drive Z:, which is the Unix root.
export QV_PROCESS_LOG_FILE="${QV_PROCESS_LOG_FILE:-$here/build/process-events.log}"
export QV_PROCESS_LOG="Z:$QV_PROCESS_LOG_FILE"
mkdir -p "$(dirname "$QV_PROCESS_LOG_FILE")"
: >"$QV_PROCESS_LOG_FILE"

xvfb_pids=""
servers_started=""
cleanup() {
  for prefix in $servers_started; do
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
    WINEPREFIX=$prefix wineserver -w >/dev/null 2>&1
  done
  for pid in $xvfb_pids; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -f ${fdfiles:-}
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# A display number nobody else uses: Xvfb picks it and tells us. In a session
# of its own, as an X server ends on Ctrl+C: programs that are still ending
# (make run's daemon closing its desktops) keep their display until cleanup.
start_xvfb() {
  local fdfile
  fdfile=$(mktemp)
  fdfiles="${fdfiles:-} $fdfile"
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  local pid=$!
  xvfb_pids="$xvfb_pids $pid"
  for _ in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    kill -0 "$pid" 2>/dev/null || { echo "wine-session: Xvfb failed to start" >&2; return 1; }
    sleep 0.1
  done
  [ -s "$fdfile" ] || { echo "wine-session: Xvfb gave no display number" >&2; return 1; }
  xvfb_display=":$(head -n1 "$fdfile")"
}
start_xvfb || exit 1
export DISPLAY=$xvfb_display
start_xvfb || exit 1
export QV_DISPLAY_B=$xvfb_display
echo "wine-session: Xvfb on $DISPLAY and $QV_DISPLAY_B, prefix $WINEPREFIX (and -b)" >&2

mkdir -p "$(dirname "$WINEPREFIX")"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-session: creating the Wine prefix (once)" >&2
  wineboot -i >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
fi
if [ ! -f "$QV_WINEPREFIX_B/system.reg" ]; then
  # A copy is much quicker than a second wineboot -i; the prefix's server
  # has ended, so its registry is whole on disk.
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  rm -rf "$QV_WINEPREFIX_B"
  cp -a "$WINEPREFIX" "$QV_WINEPREFIX_B"
fi
wineserver -p
servers_started="$WINEPREFIX"
WINEPREFIX=$QV_WINEPREFIX_B DISPLAY=$QV_DISPLAY_B wineserver -p
servers_started="$servers_started $QV_WINEPREFIX_B"
# Make sure the prefixes are fully up before the first test starts.
wineboot >/dev/null 2>&1
WINEPREFIX=$QV_WINEPREFIX_B DISPLAY=$QV_DISPLAY_B wineboot >/dev/null 2>&1
# Xvfb runs no window manager. Wine's managed windows wait for one to
# confirm every unmap (up to 2 s for each window that closes); unmanaged
# windows are mapped and unmapped by Wine itself. The first session runs
# them unmanaged. The second keeps them managed: there the suites press
# keys, and an unmanaged window of any desktop that takes the X focus takes
# the foreground, and the keys, from the window under test.
x11_key='HKCU\Software\Wine\X11 Driver'
if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
  wine reg add "$x11_key" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
fi
if grep -q '^"Managed"="N"' "$QV_WINEPREFIX_B/user.reg" 2>/dev/null; then
  WINEPREFIX=$QV_WINEPREFIX_B wine reg delete "$x11_key" /v Managed /f >/dev/null 2>&1
fi

"$@"
