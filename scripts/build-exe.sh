#!/usr/bin/env bash
# Cross-builds wendrel.exe with MinGW-w64 and prints its path (all else goes to stderr).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(g++-mingw-w64-x86-64 wine wine64 xvfb xauth xdotool x11-utils imagemagick fonts-wine fonts-liberation fonts-wqy-microhei fonts-dejavu-core cmake)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "== installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >&2
  apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
fi

build="${WENDREL_WIN_BUILD:-$root/build-win}"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >&2
cmake --build "$build" --target wendrel -j"${WENDREL_JOBS:-$(nproc)}" >&2
echo "$build/src/platform/win32/wendrel.exe"
