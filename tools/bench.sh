#!/usr/bin/env bash
# Measures ぽこもじ's speed and memory on this machine and prints one table:
# start-up against a bare Qt program, opening a practice window, a chart
# press, a relayout of a practice window at a new scale, peak memory with
# every window open, and the seconds clock over a minute. Builds its own
# Release tree (build-bench) and runs everything on an Xvfb server of its own
# (tests/display.py), so that windows are really mapped and painted.
#
#   bash tools/bench.sh           # about 75 s, the clock takes a minute
#   bash tools/bench.sh --quick   # without the minute of the clock
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
for arg in "$@"; do
    case "$arg" in
    --quick) quick=1 ;;
    *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
    esac
done

START_RUNS=${START_RUNS:-40}
OPEN_RUNS=50
PRESS_RUNS=500
RELAYOUT_RUNS=200

for tool in cmake ninja Xvfb; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: bash tools/deps.sh --test" >&2; exit 1; }
done
# The rest runs on an X server of its own, which tests/display.py starts and ends.
[[ -n ${BENCH_ON_XVFB-} ]] || BENCH_ON_XVFB=1 exec /usr/bin/python3 tests/display.py -- bash tools/bench.sh "$@"

build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DPOKOMOJI_BENCH=ON >/dev/null
cmake --build "$build" --target bench_launch bench_bare_start bench_menu_start bench_program >/dev/null
bin=$build/bench

work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$work"' EXIT

value() { sed -n "s/^$1=//p" "$2" | head -n 1; }
median() { sort -g | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# 1. Start-up: one run of each that is not counted (it fills the page cache
# and the font cache), then the two programs in turn, each first in every
# other round: a run that follows the other program's pays for the X server
# still tidying up after it.
"$bin/bench_launch" "$bin/bench_bare_start" >/dev/null
"$bin/bench_launch" "$bin/bench_menu_start" >/dev/null
: >"$work/bare"
: >"$work/menu"
: >"$work/bare_phases"
: >"$work/menu_phases"
start() { # bare|menu
    "$bin/bench_launch" "$bin/bench_$1_start" >"$work/run"
    value first_paint_ms "$work/run" >>"$work/$1"
    grep '^phase_' "$work/run" >>"$work/$1_phases"
    [[ $1 == bare ]] && value vmhwm_kb "$work/run" >"$work/bare_kb"
    return 0
}
for ((i = 0; i < START_RUNS; i++)); do
    if ((i % 2)); then start menu; start bare; else start bare; start menu; fi
done
[[ $(wc -l <"$work/bare") -eq $START_RUNS && $(wc -l <"$work/menu") -eq $START_RUNS ]] ||
    { echo "a start-up run printed no time" >&2; exit 1; }
bare_ms=$(median <"$work/bare")
menu_ms=$(median <"$work/menu")
start_ratio=$(awk -v a="$menu_ms" -v b="$bare_ms" 'BEGIN {printf "%.2f", a / b}')

# 2.-4. Each in a process of its own.
"$bin/bench_program" --open "$OPEN_RUNS" >"$work/open"
"$bin/bench_program" --press "$PRESS_RUNS" >"$work/press"
"$bin/bench_program" --relayout "$RELAYOUT_RUNS" >"$work/relayout"
"$bin/bench_menu_start" --memory >"$work/memory"
# 5. The clock, a minute of real time.
if ((!quick)); then
    "$bin/bench_program" --clock >"$work/clock"
fi

open_ms=$(value open_median_ms "$work/open")
press_ms=$(value press_median_ms "$work/press")
relayout_ms=$(value relayout_p90_ms "$work/relayout")
hwm_kb=$(value all_vmhwm_kb "$work/memory")
hwm_mb=$(awk -v k="$hwm_kb" 'BEGIN {printf "%.1f", k / 1024}') # MiB

met() { awk -v v="$1" -v g="$2" 'BEGIN {print (v <= g) ? "met" : "NOT MET"}'; }

echo
echo "ぽこもじ on $(uname -m), $(nproc) CPUs, Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6), Xvfb, Release build"
printf '%-44s %-24s %-10s %s\n' "measure" "value" "goal" "result"
printf '%-44s %-24s %-10s %s\n' "--------------------------------------------" "------------------------" "----------" "-------"
printf '%-44s %-24s %-10s %s\n' "start-up to menu painted / bare Qt (med $START_RUNS)" \
    "$start_ratio ($menu_ms / $bare_ms ms)" "<= 1.05" "$(met "$start_ratio" 1.05)"
printf '%-44s %-24s %-10s %s\n' "open practice window to painted (med $OPEN_RUNS)" \
    "$open_ms ms" "<= 30 ms" "$(met "$open_ms" 30)"
printf '%-44s %-24s %-10s %s\n' "chart press to mark painted (med $PRESS_RUNS)" \
    "$press_ms ms" "<= 5 ms" "$(met "$press_ms" 5)"
printf '%-44s %-24s %-10s %s\n' "relayout at a new scale, painted (p90 $RELAYOUT_RUNS)" \
    "$relayout_ms ms" "<= 16 ms" "$(met "$relayout_ms" 16)"
printf '%-44s %-24s %-10s %s\n' "peak memory, menu + both windows (VmHWM)" \
    "$hwm_mb MiB ($hwm_kb kB)" "<= 40 MiB" "$(met "$hwm_kb" 40960)"
if ((quick)); then
    printf '%-44s %-24s %-10s %s\n' "TimeBox after 60 s" "skipped (--quick)" "60" "-"
else
    reads=$(value clock_reads "$work/clock")
    sixty=$(value clock_sixty_after_ms "$work/clock")
    read_at=$(value clock_read_at_ms "$work/clock")
    clock_ok=$(awk -v r="$reads" -v s="$sixty" 'BEGIN {print (r == "60" && s >= 60000 && s < 60500) ? "met" : "NOT MET"}')
    printf '%-44s %-24s %-10s %s\n' "TimeBox read at ${read_at} ms after Start" "\"$reads\" (60 at $sixty ms)" "60" "$clock_ok"
fi
echo
# The medians of the moments each start-up phase ended, in ms after launch:
# loaded (main entered), application (QApplication made), built (the window
# and its controls made), shown (show() returned), painted.
phases() {
    local phase
    for phase in loaded application built shown; do
        printf '%s %s, ' "$phase" "$(value_all "phase_${phase}_ms" "$work/$1_phases" | median)"
    done
    printf 'painted %s' "$(median <"$work/$1")"
}
value_all() { sed -n "s/^$1=//p" "$2"; }
echo "phases: bare [$(phases bare)]"
echo "        menu [$(phases menu)]"
echo "details: start-up ms bare [$(sort -g "$work/bare" | tr '\n' ' ')]"
echo "         start-up ms menu [$(sort -g "$work/menu" | tr '\n' ' ')]"
echo "         first opening $(value open_first_ms "$work/open") ms, p90 $(value open_p90_ms "$work/open") ms;" \
    "press p90 $(value press_p90_ms "$work/press") ms, right $(value press_right_median_ms "$work/press") ms," \
    "wrong $(value press_wrong_median_ms "$work/press") ms"
echo "         relayout median $(value relayout_median_ms "$work/relayout") ms, max" \
    "$(value relayout_max_ms "$work/relayout") ms, first at each scale (pictures drawn) up to" \
    "$(value relayout_first_max_ms "$work/relayout") ms"
echo "         peak kB: bare Qt $(cat "$work/bare_kb"), menu $(value menu_vmhwm_kb "$work/memory")," \
    "menu + one window $(value one_vmhwm_kb "$work/memory"), menu + both $hwm_kb"
