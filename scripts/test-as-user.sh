#!/usr/bin/env bash
# Runs the README's test command as an ordinary user who logs in, on a fresh
# clone, as a newcomer would: CI (root) runs this after the tests as root, with the
# packages already installed. The user is made for it when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "test-as-user.sh is run by root (CI): it makes the user" >&2; exit 2; }
user=tavir340-tester
id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user"
home=$(getent passwd "$user" | cut -d: -f6)
clone="$home/tavir340"
rm -rf "$clone"
git clone --quiet "$PWD" "$clone"
chown -R "$user:" "$clone"
# A login of its own (runuser -l): a fresh environment and the login's PATH,
# without /usr/sbin, as the user would have at a terminal.
runuser -l "$user" -c "cd '$clone' && echo \"PATH of the login: \$PATH\" && scripts/test.sh"
rm -rf "$clone"
