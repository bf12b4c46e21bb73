#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR), passing any arguments to
# CMake's configure step. $BUILD_TARGETS, when set, names the only targets to
# build.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
targets=()
for target in ${BUILD_TARGETS:-}; do
    targets+=(--target "$target")
done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
