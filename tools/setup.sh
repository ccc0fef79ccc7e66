#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (as root, or through sudo), and nothing twice.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev fonts-liberation fonts-dejavu-core
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
  # fonts-wine is only recommended (by libwine), so --no-install-recommends leaves it out; without it
  # Wine draws the caption's close box as a letter, clips message boxes and swaps the dialog font.
  wine wine64 fonts-wine xvfb xauth x11-utils imagemagick python3
  # Releases: Authenticode signing of the Windows binaries, and the .deb's dependencies (dpkg-shlibdeps).
  osslsigncode dpkg-dev openssl
  nlohmann-json3-dev tidy python3-jsonschema chromium
  # The fleet play (examples/ansible): Ansible, its Windows modules (the ansible package's
  # ansible.windows collection) and its linter.
  ansible-core ansible ansible-lint
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
