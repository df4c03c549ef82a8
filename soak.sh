#!/usr/bin/env bash
# The long robustness runs, too slow for ./test.sh: every fuzz target for ten
# minutes, the long session of the real program under valgrind's memcheck,
# hundreds of starts of the real program under AddressSanitizer and as built,
# some under ThreadSanitizer, and the random player for two minutes.
# usage: ./soak.sh [FUZZ-SECONDS [MONKEY-SECONDS [STARTS]]]   (defaults 600, 120, 300)
set -uo pipefail
cd "$(dirname "$0")"
fuzz_seconds=${1:-600}
monkey_seconds=${2:-120}
starts=${3:-300}
failed=0

echo "== Building (RelWithDebInfo)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARN_TESTS=ON >/dev/null && cmake --build build -j"$(nproc)" || exit 1

display() {  # display COMMAND... : under a fresh virtual display
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$@"
}

# The session under valgrind takes most of an hour at about a frame a second
# and uses one core, so it runs beside the fuzzers (one core each in turn).
session_log=build/soak-session.txt
if command -v valgrind >/dev/null; then
  rm -f build/soak-valgrind.*.log
  log=$PWD/build/soak-valgrind.%p.log
  display env TARN_PROGRAM_WRAPPER="valgrind --leak-check=full --keep-debuginfo=yes --show-leak-kinds=definite,indirect \
--errors-for-leak-kinds=definite,indirect --error-exitcode=3 --suppressions=$PWD/tests/sanitizers/valgrind.supp \
--log-file=$log" \
    ctest --test-dir build --output-on-failure -V -R 'LongSession\.' --timeout 7200 >"$session_log" 2>&1 &
  session=$!
else
  echo "valgrind missing: no memcheck run" >&2
  failed=1
fi

if command -v clang++ >/dev/null; then
  echo "== Fuzzing, ${fuzz_seconds}s per target"
  scripts/fuzz.sh --all "$fuzz_seconds" || failed=1
else
  echo "clang++ missing: no fuzzing" >&2
  failed=1
fi

if [ -n "${session:-}" ]; then
  echo "== Long session under valgrind memcheck"
  wait "$session" || failed=1
  grep -E '\[ session|Passed|Failed|FAILED|error' "$session_log"
  for f in build/soak-valgrind.*.log; do
    echo "-- $f"
    grep -E 'definitely lost|indirectly lost|ERROR SUMMARY' "$f" || true
  done
fi

# Each setting starts the program to its main screen and closes it, STARTS
# times; the busy loop takes the other core from start-up's threads. In
# Japanese, when the locale's source is there to build it from. (The crash at
# start once seen here in some 250 starts was Mesa 22.3's llvmpipe freeing a
# fence one of its own threads still held; the framework has llvmpipe draw on
# the program's thread since.)
echo "== Start-up, ${starts} starts per setting, under AddressSanitizer and plain"
# The same configuration as test.sh's build-asan, so neither rebuilds it for the other.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTARN_SANITIZE=ON -DTARN_TESTS=ON -DTARN_WERROR=ON \
  -DBUILD_SHARED_LIBS=ON >/dev/null &&
  cmake --build build-asan -j"$(nproc)" || exit 1
locale_env=()
mkdir -p build-asan/locale
if [ -d build-asan/locale/ja_JP.UTF-8 ] || localedef -i ja_JP -f UTF-8 "$PWD/build-asan/locale/ja_JP.UTF-8" 2>/dev/null; then
  locale_env=(LOCPATH="$PWD/build-asan/locale" LANG=ja_JP.UTF-8)
fi
# As in ./test.sh: the software driver stays loaded, so that LeakSanitizer
# can match its suppressions.
mesa_driver=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n 1)
start_up() {  # start_up DIR LOG [VAR=VALUE...] : the whole output in DIR/LOG
  local dir=$1 log=$1/$2
  shift 2
  display env "${locale_env[@]}" ALSOFT_DRIVERS=null TARN_STARTS="$starts" "$@" \
    ctest --test-dir "$dir" --output-on-failure -V -R 'StartUpStress\.' --timeout 36000 >"$log" 2>&1 || failed=1
  grep -E '\[ starts|start [0-9]+:|ERROR: |WARNING: ThreadSanitizer' "$log"
}
busy() {  # busy COMMAND... : runs it with a busy loop on the other core
  sh -c 'while :; do :; done' &
  local loop=$!
  "$@"
  kill "$loop"
  wait "$loop" 2>/dev/null
}
asan_env=(LD_PRELOAD="$mesa_driver" ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0
  LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1)
echo "-- as shipped"
start_up build-asan soak-start-up-asan.txt "${asan_env[@]}"
echo "-- as shipped, the other core busy"
busy start_up build-asan soak-start-up-asan-busy.txt "${asan_env[@]}"
# Heap damage shows in glibc's allocator, which AddressSanitizer replaces: the
# plain build too, with the other core busy.
echo "-- the plain build, the other core busy"
busy start_up build soak-start-up.txt

# Races among start-up's threads: the picture decoder's own tests, the
# skeletal runtime loading on two threads while a third poses, and some
# starts of the program, under ThreadSanitizer (every library instrumented).
# The framework keeps llvmpipe on the drawing thread, so every thread is the
# program's or OpenAL's.
echo "== Start-up under ThreadSanitizer"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARN_SANITIZE_THREAD=ON -DTARN_TESTS=ON >/dev/null &&
  cmake --build build-tsan -j"$(nproc)" || exit 1
display env TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure \
  -R 'Graphic2DTest\.PicturesDecoded|OutOfThreads\.|SkelExtension\.ThreadsLoadFreeAndPoseAtOnce|VertexAttachment\.ThreadsMaking' || failed=1
starts=$((starts / 10 + 1)) start_up build-tsan soak-start-up.txt TSAN_OPTIONS=halt_on_error=1

# Last, on a quiet machine: it measures memory and watches the picture.
echo "== Random player, ${monkey_seconds}s"
display env TARN_MONKEY_SECONDS="$monkey_seconds" \
  ctest --test-dir build --output-on-failure -V -R 'Monkey\.' | grep -E '\[ monkey|Passed|Failed|FAILED|error' || failed=1

exit $failed
