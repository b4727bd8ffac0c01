#!/usr/bin/env bash
# Builds the benchmarks in Release (build-bench/), runs them in a virtual X
# display with Mesa's software OpenGL (the frame also under a headless
# Wayland compositor), and prints one table: every figure
# (median of the runs, min-max beside it) with the floor or goal it is
# measured against in this same run, and the ratio. The scan benchmark's own
# lines follow the table.
#   bench/run.sh          the scan over 100,000 pictures
#   bench/run.sh --full   the scan over 1,000,000 pictures
# BENCH_DATA names the folder for the generated pictures and trees (default
# /tmp/ruk-bench); they are made on first use and kept.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD:-$top/build-bench}
data=${BENCH_DATA:-/tmp/ruk-bench}
scan_pictures=100000
if [ "${1:-}" = "--full" ]; then
  scan_pictures=1000000
fi

if [ -z "${RUK_BENCH_IN_DISPLAY:-}" ]; then
  # feh: the viewer the start-up race runs against.
  bash "$top/scripts/install_packages.sh" feh
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j"$(nproc)" \
    --target ruk-viewer bench_empty_window bench_scan bench_load bench_step bench_frame bench_memory bench_refine bench_race bench_hostile >/dev/null
  exec env RUK_BENCH_IN_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
export QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
mkdir -p "$data"

echo "load before: $(uptime)"
figures=$(for program in load step frame memory refine hostile; do
  "$build/bench/bench_$program" "$data" | grep '^figure '
done)
# The race: our program and feh from exec, told apart by the windows they draw.
figures+=$'\n'$("$build/bench/bench_race" "$build/ruk-viewer" "$data" "$scan_pictures" | grep '^figure ')
# The frame again as a Wayland client, where the view draws on a
# subsurface of the window.
figures+=$'\n'$("$top/tests/under_weston.sh" "$build/bench/bench_frame" "$data" | grep '^figure frame ' |
  sed 's/^figure frame /figure frame_wayland /')
scan=$("$build/bench/bench_scan" "$data" "$scan_pictures")
figures+=$'\n'$(grep '^figure ' <<<"$scan")
echo "load after:  $(uptime)"

declare -A median low high
while read -r _ key m lo hi _; do
  median[$key]=$m low[$key]=$lo high[$key]=$hi
done <<<"$figures"

row() { # title, key, floor title, floor value, goal
  local ratio
  ratio=$(awk -v a="${median[$2]}" -v b="$4" 'BEGIN { printf "%.2f", a / b }')
  printf '%-58s %9s %19s   %-48s %9s %6s   %s\n' "$1" "${median[$2]}" "(${low[$2]}-${high[$2]})" "$3" "$4" "$ratio" "$5"
}
part() { # title, key: a figure measured against nothing
  printf '%-58s %9s %19s\n' "$1" "${median[$2]}" "(${low[$2]}-${high[$2]})"
}

echo
printf '%-58s %9s %19s   %-48s %9s %6s   %s\n' "figure" "median" "(min-max)" "against" "value" "ratio" "goal"
row "start-up to the first frame, nine 6000x4000 JPEGs (ms)" startup \
  "nine libjpeg-turbo decodes in a row" "${median[floor_nine]}" "<= 0.45"
row "  the first start-up in a fresh process (ms)" startup_first \
  "nine libjpeg-turbo decodes in a row" "${median[floor_nine]}" "<= 0.55"
row "race: exec to the first picture on screen, ours (ms)" race_first \
  "feh on the same folder, same run" "${median[race_feh_first]}" ""
row "  the same against the start-up floor (ms)" race_first \
  "the start-up floor (below), same run" "${median[start_floor]}" "<= 1.15"
part "start-up floor: start view's decodes / cores + empty window (ms)" start_floor
part "  the nine decoded alone at the start's detail, summed / cores (ms)" start_decodes
part "  an empty OpenGL window: exec to its first frame (ms)" start_window
row "race: peak memory (VmHWM), ours (MiB)" race_peak \
  "feh on the same folder, same run" "${median[race_feh_peak]}" "<= 2.00"
row "race: exec to the first picture, tree of $scan_pictures, ours (ms)" race_tree_first \
  "feh --recursive on the same tree, same run" "${median[race_tree_feh_first]}" "<= 0.50"
row "  peak memory (VmHWM), ours (MiB)" race_tree_peak \
  "feh --recursive on the same tree, same run" "${median[race_tree_feh_peak]}" "<= 1.00"
row "scan + sorted list, tree of $scan_pictures (ms)" scan_sort \
  "single-thread walk + bytewise sort" "${median[floor_scan_sort]}" "<= 0.90"
row "Next step, click to the end of its first tick (ms)" step \
  "one libjpeg-turbo decode" "${median[floor_one]}" "<= 0.50"
row "  the click handler alone (ms)" step_handler \
  "one libjpeg-turbo decode" "${median[floor_one]}" ""
row "one frame of the ring, 616x600, nine big pictures (ms)" frame \
  "a 10 ms animation tick" 10 "<= 1.00"
row "  the same under Wayland (ms)" frame_wayland \
  "a 10 ms animation tick" 10 "<= 1.00"
row "wheel to 4x: the longest tick while the finer picture comes (ms)" refine_tick \
  "a 20 ms tick" 20 "<= 1.00"
row "wheel to 4x: zoom to the first frame with the finer picture (ms)" refine_shown \
  "one libjpeg-turbo decode of it" "${median[floor_refine]}" "<= 1.00"
allowed=$(awk -v e="${median[memory_empty]}" 'BEGIN { printf "%.1f", e + 64 }')
row "resident memory after loading nine 6000x4000 (MiB)" memory_loaded \
  "empty ring ${median[memory_empty]} + 64" "$allowed" "<= 1.00"
row "  the same with twelve, two of them decoded ahead (MiB)" memory_twelve \
  "empty ring ${median[memory_empty]} + 64" "$allowed" ""
row "resident memory after loading nine 12000x8000 (MiB)" memory_big \
  "empty ring ${median[memory_empty]} + 64" "$allowed" "<= 1.00"
row "hostile files: the slowest read of a small one declaring GBs (ms)" hostile_time \
  "goal" 100 "<= 1.00"
row "  the most one read raised the resident set (MiB)" hostile_peak \
  "goal" 64 "<= 1.00"
echo
echo "scan (bench_scan, $scan_pictures pictures):"
grep -v '^figure ' <<<"$scan" | sed 's/^/  /'
