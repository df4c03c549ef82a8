#!/usr/bin/env bash
# Builds the benchmarks in Release and prints one table: the character frame,
# loading and JSON reading, and the instruction count of a character frame
# under callgrind (stable where timings are noisy).
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh

dir=build-bench
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DTARN_TESTS=OFF -DTARN_BENCH=ON >/dev/null
cmake --build "$dir" -j"$(nproc)" --target tarn_bench tarn_character_frames >/dev/null

csv=$dir/bench.csv
"$dir/bench/tarn_bench" --benchmark_format=csv --benchmark_min_time=1 "$@" 2>/dev/null >"$csv"

# Instructions of one frame: the difference of two runs, so loading cancels.
instructions() {  # instructions FRAMES
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$dir/bench/tarn_character_frames" "$1" 2>&1 >/dev/null |
    awk '/Collected/ {print $4}'
}
few=$(instructions 200)
many=$(instructions 1200)
per_frame=$(((many - few) / 1000))

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo
awk -F, -v ir="$per_frame" '
  function unquote(s) { gsub(/"/, "", s); return s }
  NR == 1 { for (i = 1; i <= NF; i++) col[unquote($i)] = i; next }
  {
    name = unquote($col["name"]); t = $col["cpu_time"]; unit = unquote($col["time_unit"])
    scale = unit == "ns" ? 1 : unit == "us" ? 1e3 : unit == "ms" ? 1e6 : 1e9
    ns[name] = t * scale
    if (col["bytes_per_second"] && $col["bytes_per_second"] != "") mbs[name] = $col["bytes_per_second"] / 1e6
    order[++n] = name
  }
  END {
    printf "%-32s %14s %12s\n", "benchmark", "CPU time", "MB/s"
    for (i = 1; i <= n; i++) {
      name = order[i]
      if (ns[name] >= 1e6) shown = sprintf("%.2f ms", ns[name] / 1e6)
      else if (ns[name] >= 1e3) shown = sprintf("%.1f us", ns[name] / 1e3)
      else shown = sprintf("%.0f ns", ns[name])
      printf "%-32s %14s %12s\n", name, shown, (name in mbs) ? sprintf("%.1f", mbs[name]) : ""
    }
    printf "\n"
    if ("BM_CharacterFrame" in ns) {
      f = ns["BM_CharacterFrame"]
      printf "Character frame: %.0f ns, %.0f characters per 16.7 ms on one core, %d instructions (callgrind)\n",
        f, 16.7e6 / f, ir
    }
    r = mbs["JsonParse/rapidjson"]; l = mbs["JsonParse/nlohmann"]
    split("tracking plain", variants, " ")
    for (v = 1; v <= 2; v++) {
      s = mbs["JsonParse/skel_" variants[v]]
      if (s && r && l) printf "JSON reader (%s): %.2fx RapidJSON, %.2fx nlohmann/json\n", variants[v], s / r, s / l
    }
  }' "$csv"
