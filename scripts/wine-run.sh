#!/bin/sh
# Runs one Windows program under Wine with the project's private prefix.
# Used by ctest as the cross-compiling emulator and by hand:
#   scripts/wine-run.sh build/tests/unit/common_tests.exe --gtest_filter='Log*'
here=$(cd "$(dirname "$0")/.." && pwd)
: "${WINEPREFIX:=$here/build/wineprefix}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8
# Without a glibc Japanese locale Wine takes the code page from LC_ALL only.
export LC_ALL=ja_JP.UTF-8
exec wine "$@"
