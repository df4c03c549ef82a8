#!/usr/bin/env bash
# Installs the Debian packages Tarn builds, runs and tests with; only what is missing.
set -euo pipefail

PACKAGES=(
  # build
  build-essential cmake pkg-config
  # libraries
  libglfw3-dev libglew-dev libfreetype-dev libopenal-dev liblodepng-dev
  # the game's font (M+ 2 Medium)
  fonts-mplus
  # tests: GoogleTest, a virtual X display with software GL, real X input, screenshots
  libgtest-dev xvfb xauth xdotool x11-utils libgl1-mesa-dri
  # sanitizer build and fuzz targets
  clang libclang-rt-14-dev
  # benchmarks: Google Benchmark, two JSON libraries to compare with, callgrind
  libbenchmark-dev rapidjson-dev nlohmann-json3-dev valgrind apitrace
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
