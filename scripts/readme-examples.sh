#!/usr/bin/env bash
# Runs the command-line examples of the README and of the guide in docs/
# from their own text, exactly as a reader copies them: nothing in them is
# rewritten. The pages are read in the README's order (the README, then each
# page of docs/ as the README links it), and every page of docs/ must be
# linked. A block is run when the line before it is
#
#     <!-- runnable -->
#
# and the block is indented by four blanks. The blocks run in one scratch
# folder that looks like a clone (data/, and
# build/ leading to this build), with a journal and a lock folder of their
# own.
#
# The examples' simulated modules live at /tmp/ttyUSB<n>, as the README says.
# So that a run neither meets nor leaves anything in the machine's /tmp, the
# blocks run in a mount and PID namespace with a /tmp of their own (inside a
# user namespace for an ordinary user); whatever a block left running ends
# with it. Where no namespace can be made, the test is skipped (exit 77),
# saying why.
#
#   readme-examples.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
build_dir=$(cd "$2" && pwd)

if [ -z "${TAVIR340_README_INSIDE:-}" ]; then
    # (--mount-proc: a /proc of the new PID namespace, which the sanitizers read)
    namespace=(unshare --mount --pid --fork --kill-child --mount-proc)
    [ "$(id -u)" -eq 0 ] || namespace=(unshare --user --map-root-user --mount --pid --fork --kill-child --mount-proc)
    if ! why=$("${namespace[@]}" true 2>&1); then
        echo "SKIP   : readme-examples: needs a mount namespace for a /tmp of its own, and none can be made here: $why"
        exit 77
    fi
    exec env TAVIR340_README_INSIDE=1 "${namespace[@]}" bash "$0" "$@"
fi

# The new /tmp is made aside, in the build folder, with the source and the
# build reachable inside it (either may itself be under /tmp), then moved
# into place (-n: an ordinary user's namespace may not write mount's table).
stage="$build_dir/readme-tmp"
mkdir -p "$stage"
mount -n -t tmpfs -o mode=1777 tavir340-readme "$stage"
mkdir "$stage/.source" "$stage/.build"
mount -n --bind "$source_dir" "$stage/.source"
mount -n --bind "$build_dir" "$stage/.build"
mount -n --move "$stage" /tmp
source_dir=/tmp/.source build_dir=/tmp/.build
work=$(mktemp -d)
cp -r "$source_dir/data" "$work/data"
ln -s "$build_dir" "$work/build"
export TAVIR340_JOURNAL="$work/journal.sqlite" TAVIR340_LOCK_DIR="$work/locks" XDG_STATE_HOME="$work/state"
mkdir "$work/locks"

# The README first, then its pages in the order it links them.
pages=("$source_dir/README.md")
while IFS= read -r page; do
    pages+=("$source_dir/$page")
done < <(grep -o '](docs/[a-z-]*\.md)' "$source_dir/README.md" | sed 's/^](//; s/)$//' | awk '!seen[$0]++')
for page in "$source_dir"/docs/*.md; do
    [[ " ${pages[*]} " == *" $page "* ]] || { echo "${page#"$source_dir"/} is not linked from README.md" >&2; exit 1; }
done

mkdir "$work/blocks"
awk -v out="$work/blocks" '
    /^<!-- runnable -->$/ { want = 1; open = 0; next }
    want && /^    / { if (!open) { n++; open = 1 } print substr($0, 5) > (out "/" sprintf("%02d", n)); next }
    want && open && /^$/ { print "" > (out "/" sprintf("%02d", n)); next }
    want && open { want = 0; open = 0 }
    want && !/^$/ { want = 0 }
' "${pages[@]}"
blocks=("$work"/blocks/*)
[ -e "${blocks[0]}" ] || { echo "no runnable block in README.md" >&2; exit 1; }

# The blocks run in one shell, one after another, as a reader types them into
# one terminal (an `export` holds for the blocks after it). A block that
# starts simulated modules in the background hands on once their links are
# there, as a reader would wait for the simulator's line.
driver="$work/driver.sh"
{
    echo 'set -euo pipefail'
    echo 'await() { for link in "$@"; do for _ in $(seq 200); do [ -e "$link" ] && break; sleep 0.05; done;'
    echo '          [ -e "$link" ] || { echo "the simulator did not make $link" >&2; return 1; }; done; }'
    for block in "${blocks[@]}"; do
        name=$(basename "$block")
        printf 'echo "--- block %s:"\n' "$name"
        printf 'sed "s/^/    /" %q\n' "$block"
        printf 'trap %q ERR\n' "echo 'FAILED: block $name' >&2"
        printf 'source %q\n' "$block"
        printf 'await %s\n' "$(grep -o -- '--link [^ ]*' "$block" | cut -d' ' -f2 | tr '\n' ' ')"
    done
} >"$driver"
cd "$work"
bash "$driver"
