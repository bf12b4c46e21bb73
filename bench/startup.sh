#!/usr/bin/env bash
# Start-up to the first painted window and peak memory of the program, beside
# a bare Qt Widgets window with one label, offscreen and under Xvfb.
#
#   bench/startup.sh [build-dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-15}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"

# One run: milliseconds from exec to first paint, and peak RSS in kB.
measure() {
    local start line
    start=$(date +%s%N)
    line=$("$1")
    set -- $line
    echo "$(( ($2 - start) / 1000 )) $4"
}

# Median of the first or second column over the runs.
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

report() {
    local platform=$1 program=() bare=() p b pm bm
    for _ in $(seq "$runs"); do
        program+=("$(measure "$build/bin/startupprobe")")
        bare+=("$(measure "$build/bin/bareprobe")")
    done
    p=$(printf '%s\n' "${program[@]}" | awk '{ print $1 }' | median)
    b=$(printf '%s\n' "${bare[@]}" | awk '{ print $1 }' | median)
    pm=$(printf '%s\n' "${program[@]}" | awk '{ print $2 }' | median)
    bm=$(printf '%s\n' "${bare[@]}" | awk '{ print $2 }' | median)
    awk -v n="$platform" -v p="$p" -v b="$b" -v pm="$pm" -v bm="$bm" 'BEGIN {
        printf "%-9s start-up %6.1f ms vs %6.1f ms  ratio %.2f   peak memory %6d kB vs %6d kB  ratio %.2f\n",
               n, p / 1000, b / 1000, p / b, pm, bm, pm / bm }'
}

echo "medians of $runs runs each, program vs bare label window"
QT_QPA_PLATFORM=offscreen report offscreen

display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
done
DISPLAY=$display QT_QPA_PLATFORM=xcb report xvfb
