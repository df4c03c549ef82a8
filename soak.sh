#!/usr/bin/env bash
# The long robustness runs, too slow for ./test.sh: every fuzz target for ten
# minutes, the random player for two, and the long session of the real
# program under valgrind's memcheck.
# usage: ./soak.sh [FUZZ-SECONDS [MONKEY-SECONDS]]   (defaults 600 and 120)
set -uo pipefail
cd "$(dirname "$0")"
fuzz_seconds=${1:-600}
monkey_seconds=${2:-120}
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

# Last, on a quiet machine: it measures memory and watches the picture.
echo "== Random player, ${monkey_seconds}s"
display env TARN_MONKEY_SECONDS="$monkey_seconds" \
  ctest --test-dir build --output-on-failure -V -R 'Monkey\.' | grep -E '\[ monkey|Passed|Failed|FAILED|error' || failed=1

exit $failed
