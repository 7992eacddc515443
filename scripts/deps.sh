#!/bin/sh
# Installs what the build and the tests need on Debian 12, or, when not root,
# names what is missing and fails.
set -u
need=""
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
check() { # package [command]
  if [ $# -gt 1 ]; then have_cmd "$2" && return 0; fi
  have_pkg "$1" || need="$need $1"
}
check cmake cmake
check g++-mingw-w64-x86-64 x86_64-w64-mingw32-g++-posix
check wine
check wine64 wine64
check xvfb Xvfb
check xauth xauth
check xdotool xdotool
check imagemagick import
check fonts-ipafont-gothic
check googletest
# QVCtl writes its JSON with nlohmann-json (header-only).
check nlohmann-json3-dev
check fp-utils chmcmd
# The native fuzzing build (make fuzz, and its brief run in make test): clang
# with libFuzzer and the sanitizers' run-time libraries.
check clang-14 clang++-14
check libclang-rt-14-dev
[ -d /usr/src/googletest/googletest ] || case "$need" in *googletest*) ;; *) need="$need googletest";; esac
# Wine creates files with Japanese names only under a glibc Japanese locale
# (and the shells stop warning that they cannot set LC_ALL).
have_locale() { locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; }
have_locale || check locales locale-gen
if [ -z "$need" ] && have_locale; then exit 0; fi
if [ "$(id -u)" -ne 0 ]; then
  [ -n "$need" ] && echo "Missing packages:$need" >&2 && echo "Install them with: sudo apt-get install -y$need" >&2
  have_locale || echo "Missing locale ja_JP.UTF-8: enable it in /etc/locale.gen and run: sudo locale-gen" >&2
  exit 1
fi
if [ -n "$need" ]; then
  echo "Installing:$need"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q && apt-get install -y -q $need || exit 1
fi
if ! have_locale; then
  echo "Generating the locale ja_JP.UTF-8"
  if grep -q '^# *ja_JP\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  elif ! grep -q '^ja_JP\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  fi
  locale-gen || exit 1
fi
