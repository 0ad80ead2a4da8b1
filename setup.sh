#!/usr/bin/env bash
# Installs what the build and the tests need on a bare Debian 12 machine.
# Idempotent and quiet when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++-mingw-w64-i686 googletest
  wine wine32:i386 xvfb xauth xdotool x11-utils imagemagick fonts-wqy-microhei fonts-wine
  locales osslsigncode openssl python3
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine reads Unix file names in the C library's locale; without this one,
# any non-ASCII folder name breaks.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
