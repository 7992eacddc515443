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
[ -d /usr/src/googletest/googletest ] || case "$need" in *googletest*) ;; *) need="$need googletest";; esac
[ -z "$need" ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages:$need" >&2
  echo "Install them with: sudo apt-get install -y$need" >&2
  exit 1
fi
echo "Installing:$need"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q && apt-get install -y -q $need
