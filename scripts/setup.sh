#!/usr/bin/env bash
# Installs what building and testing Varnel needs (Debian/Ubuntu). Idempotent: on a ready
# machine it only asks dpkg and returns within a second.
set -euo pipefail

packages=(
  cmake g++ googletest libgtest-dev libbenchmark-dev   # host build, unit tests, benchmarks
  clang libclang-rt-14-dev                             # libFuzzer target
  g++-mingw-w64-x86-64                                 # the Windows build
  wine64 wine xvfb xdotool imagemagick xclip           # Windows tests and end-to-end scenarios
  fonts-ipafont-gothic locales                         # Japanese text and file names under Wine
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} == 0)); then
  echo "setup: all ${#packages[@]} packages present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=()
if ((EUID != 0)); then sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y "${missing[@]}"
