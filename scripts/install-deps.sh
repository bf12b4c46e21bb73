#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build and test the tool, if any is
# missing, asking sudo for that step only. Arguments name further packages.
# apt's output goes to build/apt.log; a line per step is printed.
set -euo pipefail
cd "$(dirname "$0")/.."

# The packages to build, run and test.
packages=(build-essential cmake qt6-base-dev qt6-tools-dev qt6-l10n-tools libqt6sql6-sqlite libgl-dev libfontconfig-dev libqrencode-dev libcanberra-dev libphonenumber-dev libicu-dev pkgconf
          xvfb xauth "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
mkdir -p build
log=$PWD/build/apt.log
# The PostgreSQL server's programs are for the tests, which start servers of
# their own: no system cluster is made (postgresql-common reads this before
# it would make one), so none is started either.
if printf '%s\n' "${missing[@]}" | grep -q '^postgresql-[0-9]'; then
    "${sudo[@]}" mkdir -p /etc/postgresql-common/createcluster.d
    echo 'create_main_cluster = false' | "${sudo[@]}" tee /etc/postgresql-common/createcluster.d/no-main-cluster.conf >/dev/null
fi
echo "Installing ${missing[*]} (apt's output: $log)"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq >>"$log" 2>&1 \
    || { echo "apt-get update failed; see $log" >&2; exit 1; }
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >>"$log" 2>&1 \
    || { tail -n 20 "$log" >&2; echo "apt-get install failed; see $log" >&2; exit 1; }
echo "Installed."
