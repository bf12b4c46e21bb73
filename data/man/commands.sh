#!/bin/sh
# Writes the COMMANDS section of tavir340-cli's manual page from each
# subcommand's own --help, so that the page names every option the program
# takes.
#   commands.sh path/to/tavir340-cli > commands.h2m
set -eu
cli=$1
echo "[COMMANDS]"
for command in $("$cli" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z]*\) .*/\1/p'); do
    echo ".SS $command"
    echo ".nf"
    # roff: a backslash is \e, and a line must not begin with a point or a quote
    "$cli" "$command" --help | sed -n '/^Exit codes:/q;p' | sed -e 's/\\/\\e/g' -e "s/^[.']/\\\\\\&&/"
    echo ".fi"
done
