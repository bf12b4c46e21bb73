#!/usr/bin/env bash
# The layer check itself: a tree with one forbidden include of each kind
# planted in it must be refused, each one named; a loop among core's folders
# must be named with its folders; without Qt's headers the check must fail
# rather than pass.
#   layers-planted.sh SOURCE_DIR QT_INCLUDE_DIR
set -euo pipefail
check=$1/scripts/check-layers.sh
qt_include=$2
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{core,gui,cli,labels,simulator}
touch "$tree"/gui/window.h "$tree"/cli/command.h "$tree"/labels/label.h "$tree"/simulator/sim.h
planted=(
    'core/a.cpp:#include "gui/window.h"'
    'core/b.cpp:#include "cli/command.h"'
    'core/c.cpp:#include "labels/label.h"'
    'core/d.cpp:#include "simulator/sim.h"'
    'core/e.cpp:#include <QWidget>'
    'core/f.cpp:#include <QPainter>'
    'core/g.cpp:#include <QtPrintSupport/QPrinter>'
    'labels/a.cpp:#include <QWidget>'
    'labels/b.cpp:#include "../gui/window.h"'
    'simulator/a.cpp:#include "gui/window.h"'
    'simulator/b.cpp:#include "cli/command.h"'
    'cli/a.cpp:#include <QWidget>'
    'cli/b.cpp:#include "gui/window.h"'
    'gui/a.cpp:#include "cli/command.h"'
    'core/h.cpp:#include <gui/window.h>'
    'core/i.cpp:#include <labels/label.h>'
    'cli/c.cpp:#include <gui/window.h>'
    'gui/b.cpp:#include <cli/command.h>'
)
for plant in "${planted[@]}"; do
    printf '#include <QString>\n%s\n' "${plant#*:}" > "$tree/${plant%%:*}"
done
status=0
if out=$(bash "$check" "$tree" "$qt_include" 2>&1); then
    echo "planted includes passed the check" >&2
    status=1
fi
for plant in "${planted[@]}"; do
    if ! grep -q "^${plant%%:*}:2: " <<<"$out"; then
        echo "not named: ${plant}" >&2
        status=1
    fi
done
[ "$(grep -c . <<<"$out")" -eq "${#planted[@]}" ] || { echo "not the planted lines alone named:"$'\n'"$out" >&2; status=1; }
loop=$(mktemp -d)
trap 'rm -rf "$tree" "$loop"' EXIT
mkdir -p "$loop"/core/{journal,link,port,form}
printf '#include "core/link/line.h"\n' > "$loop/core/journal/journal.h"
printf '#include "../port/port.h"\n' > "$loop/core/link/line.h"
printf '#include <core/journal/journal.h>\n' > "$loop/core/port/port.h"
printf '#include "core/journal/journal.h"\n' > "$loop/core/form/form.h"  # above the loop, not in it
if out=$(bash "$check" "$loop" "$qt_include" 2>&1) || [ "$out" != "core/: its folders include one another in a loop: journal link port" ]; then
    echo "the loop journal → link → port → journal was not named as such: $out" >&2
    status=1
fi
if bash "$check" "$tree" "" 2>/dev/null; [ $? -ne 2 ]; then
    echo "no Qt headers, and the check did not fail with 2" >&2
    status=1
fi
exit $status
