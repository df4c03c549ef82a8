#!/usr/bin/env bash
# Installs the packages for building and testing that are missing, builds,
# and runs the whole test suite twice: a normal build with static libraries
# and an AddressSanitizer + UndefinedBehaviorSanitizer build with shared ones.
# Tests that need a display run under a virtual X display; among them, the
# install test installs the build into a temporary folder, starts the
# installed game from elsewhere, and builds and runs the examples on that
# install through the CMake package and through pkg-config.
set -uo pipefail
cd "$(dirname "$0")"
scripts/deps.sh play test || exit 1

jobs=$(nproc)
failed=0

build() {  # build DIR CMAKE-ARGS...
  local dir=$1
  shift
  cmake -S . -B "$dir" "$@" >/dev/null && cmake --build "$dir" -j"$jobs"
}

# -noreset: the X server otherwise resets when its last client leaves, and a
# test opening the display during that reset finds none.
run_tests() {  # run_tests DIR [VAR=VALUE...] : ctest with the variables set for the tests only
  local dir=$1
  shift
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" env "$@" ctest --test-dir "$dir" --output-on-failure -j"$jobs"
}

echo "== Code style (.clang-format)"
# Every C++ file of ours, as the committed style formats it.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror || failed=1

echo "== Building (RelWithDebInfo)"
build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARN_TESTS=ON -DTARN_WERROR=ON || exit 1
echo "== API reference (Doxygen: a summary for every public class and function, no warnings)"
cmake --build build --target docs || failed=1
echo "== Building with AddressSanitizer + UndefinedBehaviorSanitizer, shared libraries"
build build-asan -DCMAKE_BUILD_TYPE=Debug -DTARN_SANITIZE=ON -DTARN_TESTS=ON -DTARN_WERROR=ON \
  -DBUILD_SHARED_LIBS=ON || exit 1

if command -v clang++ >/dev/null; then
  echo "== Fuzz smoke"
  scripts/fuzz.sh --all 15 || failed=1
fi

echo "== Tests"
run_tests build || failed=1

echo "== Tests (sanitizers)"
# Mesa's software driver is unloaded at glfwTerminate, leaving its allocations
# without a module LeakSanitizer could match a suppression against; keeping it
# loaded for the whole process makes its state reachable instead of leaked.
mesa_driver=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n 1)
run_tests build-asan \
  LD_PRELOAD="$mesa_driver" \
  ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0 \
  LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 || failed=1

exit $failed
