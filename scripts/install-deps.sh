#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages.
# Idempotent: packages already present are skipped, so a second run costs nothing.
set -euo pipefail

# What the native build, the tools and the cross build need: without these nothing is built.
packages=(
  cmake g++ ninja-build libgtest-dev libgmock-dev libbenchmark-dev libpng-dev
  clang libclang-rt-14-dev clang-format clang-tidy python3
  g++-mingw-w64-i686
  ffmpeg
  # The peer decoders of bench/compare: libzvbi for its C program (found through pkg-config).
  libzvbi-dev pkg-config
  # GoogleTest's sources for the 32-bit Windows cross build.
  googletest
)
# 32-bit Wine inside Xvfb runs the cross build's tests. Without it the Windows code is still built
# and scripts/test.sh says loudly that its tests did not run.
wine_packages=(wine wine32:i386 fonts-wine xvfb xauth x11-utils x11-apps imagemagick)
# A real print queue for the printing test: CUPS with the cups-pdf back end (a printer that writes
# PDF files), the 32-bit CUPS library through which Wine finds its printers, and pdftoppm to look
# at what was printed. Without them the printing test prints through Wine's own driver instead.
print_packages=(cups cups-bsd printer-driver-cups-pdf libcups2:i386 poppler-utils)

missing_of() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}
mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t missing_wine < <(missing_of "${wine_packages[@]}")
mapfile -t missing_print < <(missing_of "${print_packages[@]}")
[ ${#missing[@]} -gt 0 ] || [ ${#missing_wine[@]} -gt 0 ] || [ ${#missing_print[@]} -gt 0 ] || exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
install() {
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq \
    -o DPkg::Lock::Timeout=600 --no-install-recommends "$@"
}

# wine32 is an i386 package: the architecture must be known before the package lists are read.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
# A mirror in the middle of a sync serves an index that does not match its release file; apt then
# fails the update but keeps every other list. Try again a little later, then go on with what came.
for attempt in 1 2 3; do
  "${sudo_cmd[@]}" apt-get update -qq && break
  if [ "$attempt" -eq 3 ]; then
    echo "install-deps: the package lists are incomplete; going on with those that arrived" >&2
  else
    sleep 20
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  install "${missing[@]}"
fi
# An incomplete i386 list leaves wine32's libraries at other versions than the installed 64-bit
# ones, which apt refuses; the build and the native tests do not need Wine, so that is a warning.
if [ ${#missing_wine[@]} -gt 0 ]; then
  echo "installing: ${missing_wine[*]}"
  install "${missing_wine[@]}" ||
    echo "install-deps: 32-bit Wine could not be installed; the Windows tests will not run" >&2
fi
if [ ${#missing_print[@]} -gt 0 ]; then
  echo "installing: ${missing_print[*]}"
  install "${missing_print[@]}" ||
    echo "install-deps: the print queue could not be installed; printing is tested without CUPS" >&2
fi
