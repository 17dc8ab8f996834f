#!/usr/bin/env bash
# Installs, from Debian's packages only, everything the builds and tests need.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  cmake g++ clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev libjpeg-dev libspng-dev libwebp-dev zlib1g-dev
  libheif-dev libheif-examples meson ninja-build
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 fonts-wine xvfb x11-apps imagemagick python3-pil fonts-liberation
  nasm dpkg-dev libjpeg-turbo-progs webp libsqlite3-dev tcl
  weasyprint poppler-utils zip unzip xdotool
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# libjpeg-turbo, zlib, libspng, libwebp, sqlite3, libde265, dav1d and libheif for the Windows
# build come from Debian's source packages.
if ! grep -rqs 'deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      > /etc/apt/sources.list.d/debian-src.sources
  else
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/debian-src.list
  fi
  apt-get update -qq
fi
