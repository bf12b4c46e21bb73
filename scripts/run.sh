#!/usr/bin/env bash
# Installs what is missing (through sudo), builds the window and starts it as
# the user who runs this script.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD_TARGETS=tavir340 scripts/build.sh
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display here: the window needs a graphical desktop (X11, or Wayland)." >&2
    echo "Run scripts/run.sh from a terminal on the desktop, or log in with 'ssh -X' to see it;" >&2
    echo "QT_QPA_PLATFORM=offscreen build/bin/tavir340 --screenshot window.png draws it without one." >&2
    exit 1
fi
if [ "$(id -u)" -eq 0 ]; then
    echo "Note: the window is running as root. A technician runs it as an ordinary user" \
         "in the serial ports' group (see docs/serial-ports.md)." >&2
fi
echo "Starting build/bin/tavir340"
exec build/bin/tavir340 "$@"
