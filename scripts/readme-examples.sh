#!/usr/bin/env bash
# Runs the README's command-line examples from the README's own text, so that
# the two cannot drift apart. A block is run when the line before it is
#
#     <!-- runnable -->
#
# and the block is indented by four blanks. Each block runs with bash -e in
# one scratch folder (a copy of data/, so `data/example.t16` is there), with
# the build's programs first on the PATH, its own journal, and a simulated
# module behind each ttyUSB<n> the examples name.
#
#   readme-examples.sh SOURCE_DIR BIN_DIR
set -euo pipefail
source_dir=$1
bin_dir=$(cd "$2" && pwd)
work=$(mktemp -d)
sims=()
finish() {
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT
cp -r "$source_dir/data" "$work/data"
export PATH="$bin_dir:$PATH" TAVIR340_JOURNAL="$work/journal.sqlite"

# Each block into a file of its own; the examples' port names become links
# to simulated modules in the scratch folder.
mkdir "$work/blocks"
awk -v out="$work/blocks" '
    /^<!-- runnable -->$/ { want = 1; next }
    want && /^    / { if (!open) { n++; open = 1 } print substr($0, 5) > (out "/" sprintf("%02d", n)); next }
    want && open && /^$/ { print "" > (out "/" sprintf("%02d", n)); next }
    want && open { want = 0; open = 0 }
    want && !/^$/ { want = 0 }
' "$source_dir/README.md"
blocks=("$work"/blocks/*)
[ -e "${blocks[0]}" ] || { echo "no runnable block in README.md" >&2; exit 1; }

for port in $(grep -ho 'ttyUSB[0-9]' "${blocks[@]}" | sort -u); do
    tavir340-sim --link "$work/$port" >/dev/null 2>&1 &
    sims+=($!)
done
for port in $(grep -ho 'ttyUSB[0-9]' "${blocks[@]}" | sort -u); do
    for _ in $(seq 100); do [ -e "$work/$port" ] && break; sleep 0.05; done
done

cd "$work"
status=0
for block in "${blocks[@]}"; do
    sed -i "s#\bttyUSB\([0-9]\)#$work/ttyUSB\1#g" "$block"
    echo "--- README block $(basename "$block"):"
    sed 's/^/    /' "$block"
    if ! bash -euo pipefail "$block"; then
        echo "FAILED: README block $(basename "$block")" >&2
        status=1
    fi
done
exit $status
