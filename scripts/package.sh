#!/usr/bin/env bash
# Builds the Debian package for this machine's architecture with Debian's
# own tools (debhelper; dpkg-shlibdeps decides the dependencies) into
# build-deb/, and prints the package's path as the last line.
#
# A release build in build/ made by scripts/build.sh (Debian's hardening
# flags, no sanitizer) is brought up to date and packaged as it stands;
# without one, dpkg-buildpackage builds the programs from scratch.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh debhelper dpkg-dev fakeroot help2man lintian desktop-file-utils appstream

version=$(dpkg-parsechangelog -S Version)
out=build-deb
source="$out/tavir340-$version"
rm -rf "$out"
mkdir -p "$source"
log="$out/package.log"

built=
cache=build/CMakeCache.txt
if [ -e "$cache" ] && grep -Eq '^CMAKE_BUILD_TYPE:[A-Z]+=(Release|RelWithDebInfo)$' "$cache" \
        && grep -q '^CMAKE_CXX_FLAGS:STRING=.*-fstack-protector-strong' "$cache" \
        && ! grep -q '^TAVIR340_SANITIZE:BOOL=ON' "$cache"; then
    scripts/build.sh >&2
    built=$PWD/build
    echo "Packaging the release build in build/ (dpkg-buildpackage's output: $log)" >&2
else
    echo "No release build in build/: dpkg-buildpackage builds one (its output: $log)" >&2
fi
# The working tree as it stands, without build folders or history.
tar --exclude='./build*' --exclude=./.git -cf - . | tar -xf - -C "$source"
(cd "$source" && TAVIR340_BUILT="$built" dpkg-buildpackage -b -us -uc -j"$(nproc)") >"$log" 2>&1 \
    || { tail -n 40 "$log" >&2; echo "dpkg-buildpackage failed; see $log" >&2; exit 1; }
echo "Built $(cd "$out" && ls tavir340_"$version"_*.deb)" >&2
ls "$PWD/$out"/tavir340_"$version"_*.deb
