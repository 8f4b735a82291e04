#!/usr/bin/env bash
# Makes sure this Debian machine has what the build and the tests need.
# As root it installs whatever is missing; otherwise it prints the command to run.
set -euo pipefail

packages=(
  cmake make g++ googletest locales
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64
  wine wine64
  xvfb xdotool x11-utils imagemagick fonts-wqy-microhei
  clang libclang-rt-14-dev
  nsis python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

need_locale=0
locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$' || need_locale=1

if [ ${#missing[@]} -eq 0 ] && [ $need_locale -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Some things this project needs are missing. Run as root:" >&2
  [ ${#missing[@]} -gt 0 ] && echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
  [ $need_locale -eq 1 ] && echo "  sed -i 's/^# *zh_CN.UTF-8/zh_CN.UTF-8/' /etc/locale.gen && locale-gen" >&2
  exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if [ $need_locale -eq 1 ]; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen zh_CN.UTF-8 >/dev/null
fi
