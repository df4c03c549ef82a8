#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice: a
# normal build and an AddressSanitizer + UndefinedBehaviorSanitizer build.
# Tests that need a display run under a virtual X display.
set -uo pipefail
cd "$(dirname "$0")"
scripts/deps.sh || exit 1

jobs=$(nproc)
failed=0

build() {  # build DIR CMAKE-ARGS...
  local dir=$1
  shift
  cmake -S . -B "$dir" "$@" >/dev/null && cmake --build "$dir" -j"$jobs"
}

run_tests() {  # run_tests DIR
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$1" --output-on-failure -j"$jobs"
}

echo "== Building (RelWithDebInfo)"
build build -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1
echo "== Building with AddressSanitizer + UndefinedBehaviorSanitizer"
build build-asan -DCMAKE_BUILD_TYPE=Debug -DTARN_SANITIZE=ON || exit 1

if [ -x scripts/fuzz.sh ] && command -v clang++ >/dev/null; then
  echo "== Fuzz smoke"
  scripts/fuzz.sh --all 15 || failed=1
fi

echo "== Tests"
run_tests build || failed=1

echo "== Tests (sanitizers)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_tests build-asan || failed=1

exit $failed
