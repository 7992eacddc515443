#!/bin/sh
# Runs one Windows program under Wine with the project's private prefix.
# Used by ctest as the cross-compiling emulator and by hand:
#   scripts/wine-run.sh build/tests/unit/common_tests.exe --gtest_filter='Log*'
here=$(cd "$(dirname "$0")/.." && pwd)
# The second session of wine-session.sh, for the tests that run in group b.
if [ "${QV_WINE_SESSION:-}" = b ] && [ -n "${QV_WINEPREFIX_B:-}" ]; then
  WINEPREFIX=$QV_WINEPREFIX_B
  DISPLAY=$QV_DISPLAY_B
  export DISPLAY
fi
: "${WINEPREFIX:=$here/build/wineprefix}"
export WINEPREFIX
export WINEDEBUG="${QV_WINEDEBUG:-${WINEDEBUG:--all}}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
export LANG=ja_JP.UTF-8
# Without a glibc Japanese locale Wine takes the code page from LC_ALL only.
export LC_ALL=ja_JP.UTF-8
# Wine's helper processes (a desktop's explorer.exe, started by whichever
# program first makes a window on that desktop) inherit the standard output
# of the program that started them and can live for as long as the desktop is
# in use. Whoever reads the program's output through a pipe (ctest) would
# wait for them too; through a file, nobody does.
out=$(mktemp)
# The Unix side of the shared process record: when each program was started
# and how it ended, beside the lines the programs write themselves.
record() {
  [ -n "${QV_PROCESS_LOG_FILE:-}" ] && echo "$(date -u +%H:%M:%S.%3N) wine-run $*" >>"$QV_PROCESS_LOG_FILE"
}
record "start ${QV_WINE_SESSION:-a} $*"
# Without address randomisation, as in wine-session.sh (the reason is there),
# also for a program run by hand outside a session.
fixed_layout=""
setarch -R true 2>/dev/null && fixed_layout="setarch -R"
$fixed_layout wine "$@" >"$out" 2>&1 </dev/null &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid; cat "$out"; rm -f "$out"; exit 143' TERM INT
wait $pid
rc=$?
record "exit rc=$rc ${QV_WINE_SESSION:-a} $*"
cat "$out"
# A program that ends before it writes anything leaves ctest an empty log:
# say at least how it ended (1 is the exit code the tests' own clean-up
# gives a process it terminates).
[ $rc -ne 0 ] && [ ! -s "$out" ] && echo "wine-run: $1 ended with exit code $rc before writing anything" >&2
rm -f "$out"
exit $rc
