#!/usr/bin/env bash
# Installs what building and testing need on Debian 12. Safe to run again:
# it does nothing when everything is already there.
set -euo pipefail

packages=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  cmake ninja-build nasm googletest dpkg-dev
  xvfb xdotool imagemagick python3 locales file fonts-wqy-microhei fonts-wine
  clang libclang-rt-14-dev libjpeg62-turbo-dev
)
wine_packages=(wine wine64)

missing=()
for p in "${packages[@]}" "${wine_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# libjpeg-turbo is built from Debian's source package, which needs a deb-src entry.
src_list=/etc/apt/sources.list.d/kelvane-src.sources
if [ ! -f "$src_list" ] && ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ \
   && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  $sudo tee "$src_list" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  $sudo apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get install -y -qq "${packages[@]}" >/dev/null
  $sudo apt-get install -y -qq --no-install-recommends "${wine_packages[@]}" >/dev/null
fi

# Wine gives the program code page 936 only under a Chinese locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  $sudo sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
