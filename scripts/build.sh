#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR), passing any arguments to
# CMake's configure step. $BUILD_TARGETS, when set, names the only targets to
# build. A line per step; CMake's and the compiler's output go to
# <build>/build.log, and its last lines are shown when a step fails.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
type=${BUILD_TYPE:-RelWithDebInfo}
mkdir -p "$build"
log="$build/build.log"
failed() {
    tail -n 40 "$log" >&2
    echo "$1 failed; the whole output is in $log" >&2
    exit 1
}
# A release build gets Debian's hardening flags, as the package does, so
# that scripts/package.sh can package it as it stands.
if [ "$type" != Debug ] && command -v dpkg-buildflags >/dev/null && [ ! -e "$build/CMakeCache.txt" ]; then
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    # (without the prefix map, which would cut the tests' own source paths)
    CXXFLAGS=$(dpkg-buildflags --get CXXFLAGS | sed 's/-ffile-prefix-map=[^ ]*//')
    CPPFLAGS=$(dpkg-buildflags --get CPPFLAGS) LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
    export CXXFLAGS="$CXXFLAGS $CPPFLAGS" LDFLAGS
fi
echo "Configuring $build ($type; the build's output goes to $log)"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE="$type" "$@" >"$log" 2>&1 || failed "Configuring"
targets=()
for target in ${BUILD_TARGETS:-}; do
    targets+=(--target "$target")
done
echo "Building ${BUILD_TARGETS:-everything} with $(nproc) jobs"
cmake --build "$build" -j "$(nproc)" "${targets[@]}" >>"$log" 2>&1 || failed "Building"
echo "Built."
