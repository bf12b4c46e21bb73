#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
# The journal's tests start a PostgreSQL server of their own: its programs,
# without a cluster of the system's.
scripts/install-deps.sh libqt6sql6-psql postgresql-15 postgresql-client-15 adwaita-qt6 poppler-utils zbar-tools cups-daemon cups-client faketime
scripts/build.sh
build=${BUILD_DIR:-build}
status=0
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" || status=$?
# What needs root is skipped for anyone else, each with its reason; CI runs
# as root, where nothing may be skipped.
skipped=$(grep -h '^SKIP   :' "$build"/Testing/Temporary/LastTest.log || true)
count=$(grep -c . <<<"$skipped" || true)
if [ "$count" -gt 0 ]; then
    echo "$count test functions skipped:"
    sed 's/^SKIP   : */  /' <<<"$skipped"
    if [ "$(id -u)" -eq 0 ]; then
        echo "nothing may be skipped as root" >&2
        status=1
    fi
else
    echo "0 test functions skipped"
fi
exit $status
