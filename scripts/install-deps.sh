#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages.
# Idempotent: packages already present are skipped, so a second run costs nothing.
set -euo pipefail

packages=(
  cmake g++ ninja-build libgtest-dev libgmock-dev libbenchmark-dev libpng-dev
  clang libclang-rt-14-dev clang-format clang-tidy python3
  g++-mingw-w64-i686
  ffmpeg
  # The peer decoders of bench/compare: libzvbi for its C program (found through pkg-config).
  libzvbi-dev pkg-config
  # GoogleTest's sources for the 32-bit Windows cross build, and 32-bit Wine inside Xvfb to run it.
  googletest wine wine32:i386 fonts-wine xvfb xauth x11-utils x11-apps imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  # wine32 is an i386 package: the architecture must be known before the package lists are read.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
    -o DPkg::Lock::Timeout=600 --no-install-recommends "${missing[@]}"
fi
