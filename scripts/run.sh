#!/usr/bin/env bash
# Installs what is missing (through sudo), builds the window and starts it as
# the user who runs this script.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD_TARGETS=tavir340 scripts/build.sh
if [ "$(id -u)" -eq 0 ]; then
    echo "Note: the window is running as root. A technician runs it as an ordinary user" \
         "in the serial ports' group (see README.md, Serial ports on Linux)." >&2
fi
exec build/bin/tavir340 "$@"
