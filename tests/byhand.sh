#!/usr/bin/env bash
# A test program started by hand, from a developer's own shell with nothing
# set up, keeps to itself: after a download that the window journals, the
# developer's home holds no journal, /run/lock is as it was, and the
# program's scratch home is gone.
#
#   byhand.sh BIN_DIR
set -euo pipefail
bin_dir=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
locks() { ls -la --time-style=full-iso /run/lock 2>/dev/null || true; }
before=$(locks)
env -i HOME="$home" PATH=/usr/local/bin:/usr/bin:/bin TMPDIR="$home" USER="${USER:-}" \
    "$bin_dir/tst_transfers" downloadSucceeds
[ -z "$(find "$home" -mindepth 1 -print -quit)" ] || { echo "left behind in the home:" >&2; find "$home" >&2; exit 1; }
[ "$(locks)" = "$before" ] || { echo "/run/lock changed" >&2; exit 1; }
echo "the home and /run/lock are untouched"
