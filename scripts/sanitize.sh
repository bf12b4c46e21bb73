#!/usr/bin/env bash
# Builds everything with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer into build-asan/ and runs every test there; any report fails
# the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."
# The journal's tests start a PostgreSQL server of their own.
scripts/install-deps.sh libqt6sql6-psql postgresql-15 postgresql-client-15 adwaita-qt6 poppler-utils zbar-tools cups-daemon cups-client faketime
BUILD_DIR=build-asan BUILD_TYPE=Debug scripts/build.sh -DTAVIR340_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
