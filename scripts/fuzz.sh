#!/usr/bin/env bash
# Runs one fuzz target for a number of seconds on a copy of its seed corpus.
# usage: scripts/fuzz.sh TARGET SECONDS   (TARGET: a folder of tests/fuzz/corpus)
#        scripts/fuzz.sh --all SECONDS    (every target in turn)
# Builds the targets with clang into build-fuzz (or $TARN_FUZZ_BUILD) when
# needed. Exits non-zero when the target finds a fault (a crash, a sanitizer
# report, or one input running longer than 10 s); the input that caused it is
# kept under <build>/fuzz-artifacts/TARGET/. Exit status 2: could not build.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 TARGET SECONDS" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "$1" = "--all" ]; then
  status=0
  for seeds in "$root"/tests/fuzz/corpus/*/; do
    "$0" "$(basename "$seeds")" "$2" || status=1
  done
  exit "$status"
fi
target=${1#fuzz_}
seconds=$2
build=${TARN_FUZZ_BUILD:-$root/build-fuzz}
seeds=$root/tests/fuzz/corpus/$target
if [ ! -d "$seeds" ]; then
  echo "$0: no fuzz target named $target" >&2
  exit 2
fi
if ! command -v clang++ >/dev/null; then
  echo "$0: clang++ is needed for the fuzz targets" >&2
  exit 2
fi

# Configured every time (quick): a target added since the last run must be known.
mkdir -p "$build"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARN_FUZZ=ON -DTARN_SANITIZE=ON -DTARN_TESTS=OFF >"$build/fuzz-configure.log" 2>&1 ||
  { tail -20 "$build/fuzz-configure.log" >&2; exit 2; }
if ! cmake --build "$build" --target "fuzz_$target" -j2 >"$build/fuzz-build.log" 2>&1; then
  tail -40 "$build/fuzz-build.log" >&2
  exit 2
fi

# The seeds stay as committed: the run grows a scratch copy.
corpus=$build/fuzz-corpus/$target
artifacts=$build/fuzz-artifacts/$target
rm -rf "$corpus"
mkdir -p "$corpus" "$artifacts"
cp "$seeds"/* "$corpus"/
dict=()
# A target named after another's input (skeleton_lint) shares its dictionary.
for name in "$target" "${target%%_*}"; do
  if [ -f "$root/tests/fuzz/$name.dict" ]; then
    dict=(-dict="$root/tests/fuzz/$name.dict")
    break
  fi
done

log=$build/fuzz-$target.log
status=0
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  "$build/tests/fuzz/fuzz_$target" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1 || status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
echo "fuzz_$target: ${runs:-?} executions in ${seconds}s, exit status $status (log: $log)"
if [ "$status" -ne 0 ]; then
  tail -40 "$log" >&2
fi
exit "$status"
