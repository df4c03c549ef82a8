#!/usr/bin/env bash
# Builds the benchmarks in Release and prints one table: the character frame,
# loading and JSON reading, the instruction count of a character frame under
# callgrind (stable where timings are noisy), whole frames of every screen in
# the real window, and the start-up of the real program, each beside its floor
# (a window that only clears and swaps), and the real program's share of a
# core with its frame pacing on and off, on the tournament screen and
# minimised (under openbox on a virtual display of its own); and how costs
# grow with a character's size, on generated characters of 1,000 to 20,000
# bones, plotted into docs/scaling.png; and skelpack's page fill and speed on
# generated folders of pictures. Arguments go to Google Benchmark.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh play bench

dir=build-bench
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DTARN_TESTS=ON -DTARN_BENCH=ON >/dev/null
cmake --build "$dir" -j"$(nproc)" --target tarn_bench tarn_character_frames tarn_frame_bench \
  tarn_first_frame_probe tarn_floor tarn tarn_pacing_bench tarn_frame_counter \
  tarn_scale_files tarn_scale_files_plain skelcheck skelview >/dev/null

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
  # The scaling benchmarks have a table of their own below.
  /^"Scale_/ { next }
  {
    name = unquote($col["name"]); t = $col["cpu_time"]; unit = unquote($col["time_unit"])
    scale = unit == "ns" ? 1 : unit == "us" ? 1e3 : unit == "ms" ? 1e6 : 1e9
    ns[name] = t * scale
    if (col["bytes_per_second"] && $col["bytes_per_second"] != "") mbs[name] = $col["bytes_per_second"] / 1e6
    if (col["fill_percent"] && $col["fill_percent"] != "") fill[name] = $col["fill_percent"]
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
    if ("Edit_Char01/command_and_reload" in ns)
      printf "skelview edit of Char01 (command and reload): %.2f ms, under one frame (16.7 ms): %s\n",
        ns["Edit_Char01/command_and_reload"] / 1e6, ns["Edit_Char01/command_and_reload"] < 16.7e6 ? "yes" : "NO"
    r = mbs["JsonParse/rapidjson"]; l = mbs["JsonParse/nlohmann"]
    split("tracking plain", variants, " ")
    for (v = 1; v <= 2; v++) {
      s = mbs["JsonParse/skel_" variants[v]]
      if (s && r && l) printf "JSON reader (%s): %.2fx RapidJSON, %.2fx nlohmann/json\n", variants[v], s / r, s / l
    }
    if ("BM_SkelpackFill80" in fill)
      printf "skelpack: 80 pictures fill %.1f %% of their 512 x 512 pages; 1,000 pictures in %.2f s (files to files)\n",
        fill["BM_SkelpackFill80"], ns["BM_Skelpack1000"] / 1e9
  }' "$csv" | tee "$dir/bench.table"

# Scaling: time per bone of the generated characters (a chain and a wide tree,
# a slot and a region per bone) at 1,000, 5,000 and 20,000 bones, from the
# benchmarks above; skelcheck on the files (user + system time, median of 3);
# and the memory of loading the 20,000-bone file, above the process's base.
scale=$dir/scale
mkdir -p "$scale"
for shape in chain wide; do
  for bones in 1000 16000; do "$dir/bench/tarn_scale_files" write "$scale" "$bones" "$shape"; done
done
"$dir/bench/tarn_scale_files" write "$scale" 20000 wide
cpu_s() {  # cpu_s COMMAND...: user + system seconds, median of three runs
  local TIMEFORMAT="%U %S"
  for i in 1 2 3; do
    { time { "$@" >/dev/null 2>&1 || true; }; } 2>&1 | awk '{print $1 + $2}'
  done | sort -n | awk 'NR == 2'
}
: >"$scale/skelcheck.txt"
for shape in chain wide; do
  for bones in 1000 16000; do
    f=$scale/scale-$shape-$bones
    echo "$shape $bones $(cpu_s "$dir/tools/skelcheck/skelcheck" skeleton "$f.atlas" "$f.json")" >>"$scale/skelcheck.txt"
  done
done
"$dir/bench/tarn_scale_files" load "$scale/scale-wide-20000.atlas" "$scale/scale-wide-20000.json" >"$scale/memory.tracking"
"$dir/bench/tarn_scale_files_plain" load "$scale/scale-wide-20000.atlas" "$scale/scale-wide-20000.json" >"$scale/memory.plain"
rm -f "$scale/plot.dat"
echo
awk -F, -v data="$scale/plot.dat" '
  function unquote(s) { gsub(/"/, "", s); return s }
  function shown(ns) { return ns >= 1e3 ? sprintf("%.2f us", ns / 1e3) : ns >= 100 ? sprintf("%.0f ns", ns) : sprintf("%.1f ns", ns) }
  function verdict(ok) { return ok ? "met" : "missed" }
  # row LABEL NAME TARGET: time per bone at each size, its growth from the
  # smallest to the largest, and the verdict against TARGET (0: none).
  function row(label, name, target,   a, b, c, growth) {
    a = per[name "/1000"]; b = per[name "/5000"]; c = per[name "/20000"]
    if (a == "" || c == "") return
    growth = c / a
    printf "%-48s %9s %9s %9s %7.2fx   %s\n", label, shown(a), shown(b), shown(c), growth,
      target ? sprintf("<= %gx: %s", target, verdict(growth <= target)) : ""
  }
  FILENAME ~ /skelcheck/ { split($0, f, " "); skel[f[1] "/" f[2]] = f[3]; next }
  FILENAME ~ /memory/ { sub(".*[.]", "", FILENAME); mem[FILENAME] = $0; next }
  FNR == 1 { for (i = 1; i <= NF; i++) col[unquote($i)] = i; next }
  /^"Scale_/ {
    name = unquote($col["name"]); t = $col["cpu_time"]; unit = unquote($col["time_unit"])
    scale = unit == "ns" ? 1 : unit == "us" ? 1e3 : unit == "ms" ? 1e6 : 1e9
    # Loading runs with both allocation layers; the game has the tracking one.
    sub("/tracking$", "", name)
    if (sub("/plain$", "", name)) sub("^Scale_Load", "Scale_LoadPlain", name)
    n = name; sub(".*/", "", n)
    ns[name] = t * scale; per[name] = t * scale / n
  }
  END {
    printf "Scaling: time per bone, generated characters (CPU time)\n"
    printf "%-48s %9s %9s %9s %8s   %s\n", "what", "1,000", "5,000", "20,000", "growth", "target"
    row("load atlas + skeleton JSON, chain", "Scale_Load/chain", 1.5)
    row("load atlas + skeleton JSON, wide tree", "Scale_Load/wide", 1.5)
    row("  the same, plain allocation layer, chain", "Scale_LoadPlain/chain", 0)
    row("  the same, plain allocation layer, wide tree", "Scale_LoadPlain/wide", 0)
    row("first apply after a cross-fade, chain", "Scale_FirstApply/chain", 1.5)
    row("first apply after a cross-fade, wide tree", "Scale_FirstApply/wide", 1.5)
    row("pose (world transforms), chain", "Scale_Pose/chain", 0)
    row("pose (world transforms), wide tree", "Scale_Pose/wide", 0)
    row("vertices of every slot, chain", "Scale_Vertices/chain", 0)
    row("vertices of every slot, wide tree", "Scale_Vertices/wide", 0)
    for (s = 1; s <= 2; s++) {
      shape = s == 1 ? "chain" : "wide"
      a = skel[shape "/1000"] / 1000; c = skel[shape "/16000"] / 16000
      if (a > 0) printf "%-48s %9s %9s %9s %7.2fx   <= 2x: %s\n", "skelcheck skeleton, " (s == 1 ? "chain" : "wide tree") " (at 16,000)",
        shown(a * 1e9), "", shown(c * 1e9), c / a, verdict(c / a <= 2)
    }
    # Each memory line: file bytes, then kB: peak before loading, peak after, heap kept.
    split(mem["tracking"], m, " "); split(mem["plain"], p, " ")
    over = (m[3] - m[2]) * 1024 / m[1]
    printf "%-48s %6.1f MB, %.1fx the %.1f MB file   <= 3x: %s\n", "peak memory loading 20,000 bones, above base",
      (m[3] - m[2]) / 1024, over, m[1] / 1048576, verdict(over <= 3)
    printf "%-48s %6.1f MB, %.1fx the file\n", "  heap the loaded character keeps", m[4] / 1024, m[4] * 1024 / m[1]
    printf "%-48s %6.1f MB peak (%.1fx), %.1f MB kept\n", "  the same with the plain allocation layer", (p[3] - p[2]) / 1024,
      (p[3] - p[2]) * 1024 / p[1], p[4] / 1024
    # For the plot: a character at each size, in ms.
    # Beside them, linear and quadratic growth from the chain loaded at 1,000.
    first = ns["Scale_Load/chain/1000"] / 1e6
    if (!first) exit
    printf "# bones; ms: load chain, load wide, pose chain, pose wide, vertices chain, vertices wide, linear, quadratic\n" >data
    split("1000 5000 20000", sizes, " ")
    for (i = 1; i <= 3; i++) {
      b = sizes[i]
      printf "%d %g %g %g %g %g %g %g %g\n", b, ns["Scale_Load/chain/" b] / 1e6, ns["Scale_Load/wide/" b] / 1e6,
        ns["Scale_Pose/chain/" b] / 1e6, ns["Scale_Pose/wide/" b] / 1e6,
        ns["Scale_Vertices/chain/" b] / 1e6, ns["Scale_Vertices/wide/" b] / 1e6,
        first * b / 1000, first * (b / 1000) ^ 2 >data
    }
  }' "$scale/skelcheck.txt" "$scale/memory.tracking" "$scale/memory.plain" "$csv" | tee "$dir/scaling.table"

# skelview's render mode draws and writes one frame at a time: the peak
# resident memory of a long sequence of Char01 at scale 1 (GNU time) stays
# that of a short one, and under 400 MB. No display: it draws off-screen.
echo
render_peak_mb() {  # render_peak_mb FRAMES: peak resident MB of a sequence that long
  local out="$dir/skelview-sequence"
  rm -rf "$out"
  (cd "$dir/workdir" && env -u DISPLAY /usr/bin/time -f "%M" "$dir/tools/skelview/skelview" skel_data/Char01.atlas \
    skel_data/Char01.json --render idle --fps 30 --frames "$1" --out "$out/idle_%04d.png" 2>&1 >/dev/null) |
    tail -1 | awk '{printf "%.1f", $1 / 1024}'
  rm -rf "$out"
}
short_mb=$(render_peak_mb 10)
long_mb=$(render_peak_mb 300)
awk -v s="$short_mb" -v l="$long_mb" 'BEGIN {
  printf "%-58s %9.1f MB   <= 400 MB and <= 10 frames + 32 MB: %s\n",
    "skelview --render, 300 frames of Char01 at scale 1: peak", l, (l <= 400 && l <= s + 32) ? "met" : "missed"
  printf "%-58s %9.1f MB\n", "  the same for 10 frames", s
}' | tee "$dir/skelview-memory.txt"
# Not when the benchmarks were filtered out (arguments).
if [ -s "$scale/plot.dat" ]; then
  gnuplot <<EOF
  set terminal pngcairo size 860,480 font "sans,10"
  set output "docs/scaling.png"
  set title "Generated characters: CPU time against bones (log-log)"
  set logscale xy
  set xrange [800:25000]
  set xlabel "bones"
  set ylabel "ms"
  set xtics (1000, 2000, 5000, 10000, 20000)
  set format y "%g"
  set key outside right
  set grid lc "gray85" dt 1
  plot "$scale/plot.dat" using 1:2 with linespoints lw 2 pt 7 lc "#7b2d8e" title "load, chain", \
    "" using 1:3 with linespoints lw 2 pt 5 dt 2 lc "#7b2d8e" title "load, wide tree", \
    "" using 1:6 with linespoints lw 2 pt 7 lc "#d9720b" title "vertices, chain", \
    "" using 1:7 with linespoints lw 2 pt 5 dt 2 lc "#d9720b" title "vertices, wide tree", \
    "" using 1:4 with linespoints lw 2 pt 7 lc "#1f6fb4" title "pose, chain", \
    "" using 1:5 with linespoints lw 2 pt 5 dt 2 lc "#1f6fb4" title "pose, wide tree", \
    "" using 1:8 with lines lw 2 dt 3 lc "gray30" title "linear growth", \
    "" using 1:9 with lines lw 2 dt 3 lc "gray60" title "quadratic growth"
EOF
  echo "Plot: docs/scaling.png"
fi

# Whole frames and start-up need a display: the virtual one with software GL.
export ALSOFT_CONF=$PWD/tests/sound/alsoft.conf
# The game has llvmpipe draw on its own thread; the floor program and the
# replays get the same driver setting, so that the comparisons stay fair.
export LP_NUM_THREADS=0
root=$PWD/$dir
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash -c '
  cd "$1/workdir"
  echo
  "$1/bench/tarn_frame_bench" 2>/dev/null | grep "^frame" | sed "s/^frame /Frame: /" | tee "$1/frames.txt"
  echo
  # The game and the floor program take turns, nine runs each, so that the
  # load of the machine falls on both alike; medians of the time to the first
  # swapped frame and of the peak.
  : >"$1/startup.tarn"
  : >"$1/startup.floor"
  for i in 1 2 3 4 5 6 7 8 9; do
    for name in tarn floor; do
      program="$1/game/tarn"
      [ "$name" = floor ] && program="$1/bench/tarn_floor"
      TARN_PROBE_T0=$(date +%s%N) TARN_PROBE_FRAMES=120 LD_PRELOAD="$1/bench/libtarn_first_frame_probe.so" "$program" 2>&1 |
        awk "/first-frame-ms/ {t = \$3} /peak-rss-kb/ {m = \$3} END {print t, m}" >>"$1/startup.$name"
    done
  done
  for name in tarn floor; do
    t=$(sort -n "$1/startup.$name" | awk "NR == 5 {print \$1}")
    m=$(sort -n -k2 "$1/startup.$name" | awk "NR == 5 {print \$2}")
    printf "Start-up %-8s first frame %6.1f ms (median of 9), peak resident %6.1f MB (median of 9)\n" "$name" "$t" "$(echo "$m" | awk "{print \$1 / 1024}")"
    echo "$t $m" >"$1/startup.$name"
  done
' _ "$root"

# Frame pacing: the real program paced (as it ships) and uncapped
# (TARN_FRAME_PACING=off); it starts its own virtual display and openbox.
echo
(cd "$root/workdir" && "$root/bench/tarn_pacing_bench") | sed "s/^pacing /Pacing: /" | tee "$dir/pacing.txt" || true

# Whole frames against the drawing they issue: each screen's GL call stream
# is recorded (apitrace) and replayed (glretrace) without the game. The
# replay's CPU time per frame is the difference between replaying the whole
# stream and replaying it without its last 300 frames, so set-up cancels.
screens="GameMainScreen CharSelectScreen CharMattingScreen TournamentSelectScreen OtherBarrackScreen"
: >"$dir/replay.txt"
: >"$dir/replay-start.txt"
if command -v apitrace >/dev/null && command -v glretrace >/dev/null; then
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash -c '
    cd "$1/workdir"
    cpu_ms() {  # cpu_ms TRACE: CPU time of its replay, all threads
      local TIMEFORMAT="%U %S"
      { time glretrace -b "$1" >/dev/null 2>&1; } 2>&1 | awk "{print (\$1 + \$2) * 1000}"
    }
    for screen in $2; do
      t="$1/replay.$screen"
      TARN_FRAME_SCREEN=$screen apitrace trace -o "$t.trace" "$1/bench/tarn_frame_bench" >/dev/null 2>&1
      frames=$(glretrace -b "$t.trace" 2>/dev/null | awk "/^Rendered/ {print \$2}")
      apitrace trim --frames="0-$((frames - 301))" -o "$t.head.trace" "$t.trace" >/dev/null 2>&1
      all=$(cpu_ms "$t.trace")
      head=$(cpu_ms "$t.head.trace")
      echo "$screen $(awk -v a="$all" -v h="$head" "BEGIN {print (a - h) / 300}")"
      rm -f "$t.trace" "$t.head.trace"
    done
  ' _ "$root" "$screens" >"$dir/replay.txt"
  echo
  awk 'NR == FNR {game[$2] = $4; next} {printf "Replay: %-24s game %7.3f ms, replay of its GL stream %7.3f ms per frame (CPU)\n", $1, game[$1], $2}' \
    "$dir/frames.txt" "$dir/replay.txt"

  # Start-up and memory against the drawing they issue: the program's first
  # frame (and its first 120) recorded and replayed alone, beside the floor
  # program recorded and replayed the same way, so glretrace's own costs
  # cancel in the ratio. Wall time of the whole replay; peak resident memory.
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash -c '
    cd "$1/workdir"
    for name in tarn floor; do
      program="$1/game/tarn"
      [ "$name" = floor ] && program="$1/bench/tarn_floor"
      for frames in 1 120; do
        TARN_PROBE_FRAMES=$frames LD_PRELOAD="$1/bench/libtarn_first_frame_probe.so" \
          apitrace trace -o "$1/first.$name.$frames.trace" "$program" >/dev/null 2>&1
      done
    done
    # The two replays take turns, as the programs do above.
    : >"$1/replay-ms.tarn"
    : >"$1/replay-ms.floor"
    for i in 1 2 3 4 5 6 7 8 9; do
      for name in tarn floor; do
        a=$(date +%s%N); glretrace "$1/first.$name.1.trace" >/dev/null 2>&1; b=$(date +%s%N)
        echo $(((b - a) / 1000)) >>"$1/replay-ms.$name"
      done
    done
    for name in tarn floor; do
      ms=$(sort -n "$1/replay-ms.$name" | awk "NR == 5 {print \$1 / 1000}")
      kb=$(for i in 1 2 3; do
        /usr/bin/time -f "%M" glretrace "$1/first.$name.120.trace" 2>&1 >/dev/null | tail -1
      done | sort -n | awk "NR == 2")
      echo "$name $ms $kb"
      rm -f "$1/first.$name.1.trace" "$1/first.$name.120.trace" "$1/replay-ms.$name"
    done
  ' _ "$root" >"$dir/replay-start.txt"
  awk '{printf "Replay: %-24s first frame %6.1f ms (median of 9), peak resident of 120 frames %6.1f MB (median of 3)\n", $1 " alone", $2, $3 / 1024}' \
    "$dir/replay-start.txt"
fi

# Every target of the performance issue beside its figure: instruction counts
# and ratios, which move far less with the machine's load than times do.
echo
echo "Targets"
read -r game_ms game_kb <"$dir/startup.tarn"
read -r floor_ms floor_kb <"$dir/startup.floor"
json=$(awk '/^JSON reader \(tracking\)/ {sub("x", "", $(NF - 1)); print $(NF - 1)}' "$dir/bench.table")
read -r pack_fill pack_s < <(awk '/^skelpack:/ {print $5, $(NF - 4)}' "$dir/bench.table") || true
read -r _ rt_ms rt_kb < <(grep '^tarn ' "$dir/replay-start.txt" 2>/dev/null || echo "- 0 0")
read -r _ rf_ms rf_kb < <(grep '^floor ' "$dir/replay-start.txt" 2>/dev/null || echo "- 0 0")
awk -v ir="$per_frame" -v gms="$game_ms" -v fms="$floor_ms" -v gkb="$game_kb" -v fkb="$floor_kb" -v json="$json" \
  -v rtms="$rt_ms" -v rfms="$rf_ms" -v rtkb="$rt_kb" -v rfkb="$rf_kb" \
  -v packfill="$pack_fill" -v packs="$pack_s" '
  function verdict(ok) { return ok ? "met" : "missed" }
  BEGIN {
    printf "%-58s %12s   %s\n", "what", "figure", "target"
    printf "%-58s %12d   <= 25000 (moonshot 15000): %s\n", "character frame, instructions (callgrind)", ir, verdict(ir <= 25000)
    printf "%-58s %11.2fx   <= 1.5x: %s\n", "start-up, first swapped frame against the floor program", gms / fms, verdict(gms / fms <= 1.5)
    if (rtms > 0 && rfms > 0) {
      printf "%-58s %11.2fx   (the drawing alone)\n", "  its first frame replayed alone, against the floor replayed", rtms / rfms
      printf "%-58s %11.2fx   <= 1.1x: %s\n", "  start-up against the floor, over the drawing alone", (gms / fms) / (rtms / rfms), verdict((gms / fms) / (rtms / rfms) <= 1.1)
    }
    printf "%-58s %9.1f MB   <= +32 MB: %s\n", "peak resident memory above the floor program", (gkb - fkb) / 1024, verdict(gkb - fkb <= 32 * 1024)
    if (rtkb > 0 && rfkb > 0) printf "%-58s %9.1f MB   (the drawing alone)\n", "  its first 120 frames replayed alone, above the floor replayed", (rtkb - rfkb) / 1024
    if (json != "") printf "%-58s %11.2fx   >= 1.5x: %s\n", "JSON reader (tracking layer) against nlohmann/json", json, verdict(json >= 1.5)
    if (packfill != "") {
      printf "%-58s %10.1f %%   >= 85 %%: %s\n", "skelpack, 80 pictures on 512 x 512 pages: fill", packfill, verdict(packfill >= 85)
      printf "%-58s %10.2f s   < 2 s: %s\n", "skelpack, 1,000 pictures (CPU time)", packs, verdict(packs < 2)
    }
  }'
# "Pacing: tournament paced 60.0 fps 9.1 % of a core (X server ...)"
awk '$2 == "tournament" && $3 == "paced" {fps = $4; cpu = $6}
  $2 == "minimised" && $3 == "paced" {idle = $6}
  END {
    if (fps == "") { printf "%-58s %12s   not measured\n", "frame pacing (tarn_pacing_bench)", "-"; exit }
    printf "%-58s %8.1f fps   about 60: %s\n", "tournament screen, paced, virtual display: frame rate", fps, (fps >= 55 && fps <= 61) ? "met" : "missed"
    printf "%-58s %10.1f %%   under 50 %%: %s\n", "  its share of a core", cpu, cpu < 50 ? "met" : "missed"
    printf "%-58s %10.1f %%   near 0 (under 2 %%): %s\n", "minimised window, share of a core", idle, idle < 2 ? "met" : "missed"
  }' "$dir/pacing.txt"
awk 'NR == FNR {game[$2] = $4; next} $2 > 0 {r = game[$1] / $2; if (r > worst) {worst = r; name = $1}}
  END {
    if (name == "") printf "%-58s %12s   <= 1.1x: not measured (no apitrace)\n", "whole frames against the replay of their own GL stream", "-"
    else printf "%-58s %11.2fx   <= 1.1x on every screen: %s (worst: %s)\n", "whole frames against the replay of their own GL stream", worst, worst <= 1.1 ? "met" : "missed", name
  }' "$dir/frames.txt" "$dir/replay.txt"

