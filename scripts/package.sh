#!/usr/bin/env bash
# Builds the Debian package for this machine's architecture with Debian's
# own tools (debhelper; dpkg-shlibdeps decides the dependencies) into
# build-deb/, and prints the package's path as the last line.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh debhelper dpkg-dev fakeroot help2man lintian desktop-file-utils appstream

version=$(dpkg-parsechangelog -S Version)
out=build-deb
source="$out/tavir340-$version"
rm -rf "$out"
mkdir -p "$source"
# The working tree as it stands, without build folders or history.
tar --exclude='./build*' --exclude=./.git -cf - . | tar -xf - -C "$source"
(cd "$source" && dpkg-buildpackage -b -us -uc -j"$(nproc)") >&2
ls "$PWD/$out"/tavir340_"$version"_*.deb
