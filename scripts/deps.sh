#!/usr/bin/env bash
# Installs the Debian packages a job needs, only those that are missing.
# usage: scripts/deps.sh [GROUP...]   (default: play)
#   play      build and play: compiler, CMake, the libraries, the font, and
#             for skelview's render mode EGL with Mesa's renderer (no display
#             needed), libwebp and giflib
#   headless  a virtual X display, for ./run.sh without a display
#   test      the test suite: GoogleTest, the virtual display, real X input,
#             a window manager (openbox) for the desktop tests, clang with its
#             sanitizer runtime, clang-format, valgrind, the desktop-file and
#             AppStream validators, Doxygen for the API reference
#   bench     the benchmarks: Google Benchmark, two JSON libraries to compare
#             with, callgrind, apitrace, GNU time (peak memory of a replay),
#             the window harness the frame benchmark uses, a window manager
#             (openbox) for the frame pacing benchmark, and gnuplot for the
#             scaling plot
set -euo pipefail

group_packages() {  # group_packages GROUP: prints its packages
  case $1 in
    play)
      echo build-essential cmake pkg-config \
        libglfw3-dev libglew-dev libfreetype-dev libopenal-dev liblodepng-dev libx11-dev \
        libegl-dev libegl-mesa0 libgl1-mesa-dri libwebp-dev libgif-dev \
        fonts-mplus ;;
    headless)
      echo xvfb xauth libgl1-mesa-dri ;;
    test)
      echo libgtest-dev xvfb xauth xdotool x11-utils openbox libgl1-mesa-dri \
        clang libclang-rt-14-dev clang-format valgrind desktop-file-utils appstream-util appstream doxygen ;;
    bench)
      echo libbenchmark-dev rapidjson-dev nlohmann-json3-dev valgrind apitrace time \
        libgtest-dev xvfb xauth xdotool openbox libgl1-mesa-dri gnuplot-nox ;;
    *)
      return 1 ;;
  esac
}

[ $# -eq 0 ] && set -- play
wanted=()
for group in "$@"; do
  if ! packages=$(group_packages "$group"); then
    echo "deps.sh: unknown group \"$group\" (play, headless, test, bench)" >&2
    exit 2
  fi
  for p in $packages; do
    [[ " ${wanted[*]} " == *" $p "* ]] || wanted+=("$p")
  done
done

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "Packages for $*: all ${#wanted[@]} installed"
  exit 0
fi

echo "Packages for $*: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  echo "Updating the package lists"
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
else
  echo "Not root: install them with" >&2
  echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
