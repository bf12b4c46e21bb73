#!/usr/bin/env bash
# Checks a built package the way Debian's tools and a technician would: lintian
# (no errors), the desktop entry and the AppStream metainfo through their own
# validators, then installs it with dpkg, checks that a .t16 is known by its
# MIME type and opens in the window, runs the command line and the window
# from the package, removes it and checks that nothing of it remains.
#
#   scripts/check-package.sh build-deb/tavir340_<version>_<arch>.deb
set -euo pipefail
deb=$(realpath "$1")
cd "$(dirname "$0")/.."
scripts/install-deps.sh lintian desktop-file-utils appstream shared-mime-info

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

echo "== lintian"
lintian --fail-on error --info "$deb"

echo "== desktop entry and metainfo"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
appstreamcli validate --no-net --pedantic "$unpacked"/usr/share/metainfo/*.metainfo.xml

echo "== install"
$sudo dpkg -i "$deb" || $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -f -y -qq --no-install-recommends
files=$(dpkg -L tavir340)
grep -qx /usr/share/tavir340/translations/tavir340_en.qm <<<"$files" || { echo "no English window"; exit 1; }
# A double-clicked .t16 opens in the window: the shared MIME database knows
# its type (the dpkg triggers have run), and the desktop's cache the program.
grep -q '^50:application/x-tavir340-content:\*\.t16$' /usr/share/mime/globs2 \
    || { echo "the MIME database does not know *.t16"; exit 1; }
grep -q "application/x-tavir340-content=.*com.example.tavir340.desktop" /usr/share/applications/mimeinfo.cache \
    || { echo "no program opens application/x-tavir340-content"; exit 1; }

echo "== run"
tavir340-cli --version
tavir340-cli ports
shot="$unpacked/window.png"
runtime=$(mktemp -d)
chmod 700 "$runtime"
# From a folder that holds none of the program's files: it finds its own.
(cd / && XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=offscreen timeout 60 tavir340 --screenshot "$shot")
rm -rf "$runtime"
[ -s "$shot" ] || { echo "the installed window drew nothing"; exit 1; }
echo "the installed window was drawn: $(stat -c %s "$shot") bytes of picture"

echo "== remove"
$sudo dpkg --purge tavir340
left=0
while IFS= read -r path; do
    if [ -e "$path" ] && [ ! -d "$path" ]; then
        echo "left behind: $path"
        left=1
    fi
done <<<"$files"
for folder in /usr/share/tavir340 /usr/share/doc/tavir340; do
    [ ! -e "$folder" ] || { echo "left behind: $folder"; left=1; }
done
[ "$left" -eq 0 ] && echo "removed without a trace"
exit "$left"
