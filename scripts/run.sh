#!/bin/bash
# `make run`: the daemon Quorvel.exe on the sample configuration under Wine.
#   scripts/run.sh [build folder]          (default: build)
# Runs on $DISPLAY when it is set, else on a private Xvfb (wine-session.sh).
# Works on copies of examples/Quorvel.ini and, beside it where the daemon
# sends its control bar, examples/QVCtrlBar.ini in <build>/run/, from
# <build>/bin, where the daemon finds the bar. The sample's desktops each show
# Wine's notepad. After a few seconds it saves a screenshot;
# then it runs until the daemon ends. Ctrl+C ends the daemon through its own
# exit request (QVRequest.exe 12), as a user's tool would, and waits for it.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" 2>/dev/null && pwd) || { echo "run: no build folder ${1:-build}" >&2; exit 1; }
bin=$build/bin
rundir=$build/run

# The sample switches the bar on: without it the daemon would stop at its
# "not found" box.
for program in Quorvel.exe QVRequest.exe QVCtrlBar.exe; do
  if [ ! -f "$bin/$program" ]; then
    echo "run: $bin/$program is not built" >&2
    exit 1
  fi
done

export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"

# No display: start again inside a private session, which stops its Xvfb and
# wineserver when this script ends.
if [ -z "${DISPLAY:-}" ]; then
  exec "$here/scripts/wine-session.sh" "$0" "$build"
fi

wine_run() { "$here/scripts/wine-run.sh" "$@"; }

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run: creating the Wine prefix $WINEPREFIX (once)"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wine_run wineboot -i >/dev/null 2>&1
fi

windows_path() { wine_run winepath -w "$1" 2>/dev/null | tr -d '\r'; }

mkdir -p "$rundir"
parameters=$rundir/Quorvel.ini
log=$rundir/Quorvel.log
screenshot=$rundir/screenshot.png
rm -f "$screenshot"
# The sample names its log relative to the working folder (bin); the copy
# names this run's folder instead. Bytes only: the file is Shift-JIS.
LOGPATH=$(windows_path "$log") LC_ALL=C awk '
  /^LogFileName\t/ { printf "LogFileName\t%s\r\n", ENVIRON["LOGPATH"]; next }
  { print }' "$here/examples/Quorvel.ini" >"$parameters"
cp "$here/examples/QVCtrlBar.ini" "$rundir/QVCtrlBar.ini"
parameters_windows=$(windows_path "$parameters")

interrupted=""
trap 'interrupted=1' INT TERM

cd "$bin" || exit 1
echo "run: Quorvel.exe -p $parameters_windows  (in $bin, DISPLAY=$DISPLAY)"
# A session of its own: Ctrl+C on the terminal must not reach the daemon,
# which is ended through its exit request instead.
setsid "$here/scripts/wine-run.sh" Quorvel.exe -p "$parameters_windows" &
daemon=$!

# Screenshot once the desktops and their programs are up.
for _ in $(seq 1 80); do
  if [ -n "$interrupted" ] || ! kill -0 "$daemon" 2>/dev/null; then break; fi
  sleep 0.1
done
if [ -z "$interrupted" ] && kill -0 "$daemon" 2>/dev/null; then
  if import -window root "$screenshot" 2>/dev/null; then
    echo "run: screenshot $screenshot"
  else
    echo "run: no screenshot (import failed on $DISPLAY)" >&2
  fi
  echo "run: Quorvel runs; Ctrl+C ends it (as does: cd $bin && $here/scripts/wine-run.sh QVRequest.exe 12)"
fi

wait "$daemon"
status=$?
if [ -n "$interrupted" ] && kill -0 "$daemon" 2>/dev/null; then
  # A second Ctrl+C must not cut the daemon's own end short.
  trap '' INT TERM
  echo
  echo "run: ending Quorvel (QVRequest.exe 12)"
  wine_run QVRequest.exe 12
  # Closing the desktops' programs takes a moment; past a minute it is hung.
  for _ in $(seq 1 600); do
    kill -0 "$daemon" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$daemon" 2>/dev/null; then
    echo "run: Quorvel did not end within 60 s; stopping it" >&2
    kill "$daemon" 2>/dev/null
  fi
  wait "$daemon"
  status=$?
fi

echo "run: Quorvel ended with exit code $status"
if [ -f "$log" ]; then
  echo "run: log file $log"
else
  echo "run: no log file was written ($log)"
fi
exit "$status"
