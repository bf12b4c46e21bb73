#!/usr/bin/env bash
# Start-up to the first painted window and peak memory of the program, beside
# a bare Qt Widgets window with one label, offscreen and under Xvfb. A third
# window, a plain one of the form's size with as many stock widgets and
# nothing else, shows what the widgets alone cost.
#
#   bench/startup.sh [build-dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-15}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"

# One run: microseconds from exec to first paint, and peak RSS in kB.
measure() {
    local start line
    start=$(date +%s%N)
    line=$("$build/bin/$1")
    set -- $line
    echo "$(( ($2 - start) / 1000 )) $4"
}

# Median of one column of a probe's results.
median() {
    awk -v c="$2" '{ print $c }' "$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

report() {
    local platform=$1 dir probe
    dir=$(mktemp -d)
    # Interleaved, so that a slow spell of the machine hits all three alike.
    for _ in $(seq "$runs"); do
        for probe in startupprobe plainprobe bareprobe; do
            measure "$probe" >>"$dir/$probe"
        done
    done
    for probe in startupprobe plainprobe; do
        awk -v n="$platform" -v w="$([ "$probe" = startupprobe ] && echo program || echo plain)" \
            -v p="$(median "$dir/$probe" 1)" -v b="$(median "$dir/bareprobe" 1)" \
            -v pm="$(median "$dir/$probe" 2)" -v bm="$(median "$dir/bareprobe" 2)" 'BEGIN {
            printf "%-9s %-7s start-up %6.1f ms vs %6.1f ms  ratio %.2f   peak memory %6d kB vs %6d kB  ratio %.2f\n",
                   n, w, p / 1000, b / 1000, p / b, pm, bm, pm / bm }'
    done
    rm -r "$dir"
}

echo "medians of $runs runs each, against the bare label window"
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
