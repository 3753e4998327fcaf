#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and this machine lacks.
# When everything is present it only asks dpkg, which takes well under a second.
set -euo pipefail

PACKAGES=(
  cmake make g++ pkg-config
  clang libclang-rt-14-dev clang-format
  g++-mingw-w64-x86-64-posix
  wine64 wine xvfb imagemagick x11-utils
  googletest libbenchmark-dev
  python3-cryptography-vectors libssl-dev zlib1g-dev rhash openssl
  libsimde-dev qemu-user
  nsis p7zip-full
  librust-blake3-dev libxxhash-dev b3sum xxhash
)

missing=()
for package in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}" >&2
SUDO=()
[[ $(id -u) -eq 0 ]] || SUDO=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
