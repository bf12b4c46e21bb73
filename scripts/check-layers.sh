#!/usr/bin/env bash
# The layers' rule: the core knows no front. Fails, naming the file and the
# line, when a file under core/ includes anything from gui/, cli/ or
# simulator/, or a header of Qt's widget or GUI modules; and when the window
# and the command line include each other.
#   check-layers.sh SOURCE_DIR QT_INCLUDE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
qt_include=${2:-}
# CMake may hand over QtCore's own folder; the modules sit beside it.
[ "$(basename "${qt_include:-x}")" = QtCore ] && qt_include=$(dirname "$qt_include")
status=0

# Where a quoted include lands: beside the file, else from the source root.
resolve() {
    local file=$1 name=$2 beside
    beside=$(realpath -m "$(dirname "$file")/$name")
    if [ -e "$beside" ]; then echo "${beside#"$source_dir"/}"; else realpath -m --relative-to="$source_dir" "$source_dir/$name"; fi
}

check() {
    local layer=$1; shift
    local forbidden=("$@") file line name target
    while IFS= read -r -d '' file; do
        while IFS= read -r line; do
            name=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1/' <<<"${line#*:}")
            if [[ ${line#*:} =~ \" ]]; then
                target=$(resolve "$file" "$name")
            else
                target="<$name>"
                if [ "$layer" = core ] && [ -n "$qt_include" ] && \
                   { [ -e "$qt_include/QtWidgets/${name#QtWidgets/}" ] || [ -e "$qt_include/QtGui/${name#QtGui/}" ] || \
                     [ -e "$qt_include/QtPrintSupport/${name#QtPrintSupport/}" ]; }; then
                    echo "${file#"$source_dir"/}:${line%%:*}: $layer includes the widget header $target" >&2
                    status=1
                fi
                continue
            fi
            for front in "${forbidden[@]}"; do
                if [[ $target == "$front"/* ]]; then
                    echo "${file#"$source_dir"/}:${line%%:*}: $layer includes $target from $front/" >&2
                    status=1
                fi
            done
        done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file" || true)
    done < <(find "$source_dir/$layer" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
}

check core gui cli simulator
check cli gui simulator
check gui cli
check labels gui cli simulator
exit $status
