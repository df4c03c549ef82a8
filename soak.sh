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
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null && cmake --build build -j"$(nproc)" || exit 1

display() {  # display COMMAND... : under a fresh virtual display
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$@"
}

if command -v clang++ >/dev/null; then
  echo "== Fuzzing, ${fuzz_seconds}s per target"
  scripts/fuzz.sh --all "$fuzz_seconds" || failed=1
else
  echo "clang++ missing: no fuzzing" >&2
  failed=1
fi

echo "== Random player, ${monkey_seconds}s"
display env TARN_MONKEY_SECONDS="$monkey_seconds" \
  ctest --test-dir build --output-on-failure -V -R 'Monkey\.' | grep -E '\[ monkey|Passed|Failed|FAILED|error' || failed=1

echo "== Long session under valgrind memcheck"
if command -v valgrind >/dev/null; then
  log=$PWD/build/soak-valgrind.%p.log
  display env TARN_PROGRAM_WRAPPER="valgrind --leak-check=full --keep-debuginfo=yes --show-leak-kinds=definite,indirect \
--errors-for-leak-kinds=definite,indirect --error-exitcode=3 --suppressions=$PWD/tests/sanitizers/valgrind.supp \
--log-file=$log" \
    ctest --test-dir build --output-on-failure -V -R 'LongSession\.' --timeout 3600 |
    grep -E '\[ session|Passed|Failed|FAILED|error' || failed=1
  for f in build/soak-valgrind.*.log; do
    echo "-- $f"
    grep -E 'definitely lost|indirectly lost|ERROR SUMMARY|peak' "$f" || true
  done
else
  echo "valgrind missing: no memcheck run" >&2
  failed=1
fi

exit $failed
