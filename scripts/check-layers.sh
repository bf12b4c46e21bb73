#!/usr/bin/env bash
# The layers' rule. Fails, naming the file and the line, when a layer
# includes a folder or a Qt module it must not know:
#   core/       no front, no labels/, no simulator/; no widget, GUI or print header
#   labels/     no front, no simulator/; no widget header (it draws, for both fronts)
#   simulator/  no front, no labels/; no widget or GUI header
#   cli/        not the window; no widget header
#   gui/        not the command line
# Qt's headers must be where QT_INCLUDE_DIR says: without them the check of
# widget headers could not be made, and that is an error, not a pass.
#   check-layers.sh SOURCE_DIR QT_INCLUDE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
qt_include=${2:-}
# CMake may hand over QtCore's own folder; the modules sit beside it.
[ "$(basename "${qt_include:-x}")" = QtCore ] && qt_include=$(dirname "$qt_include")
if [ -z "$qt_include" ] || [ ! -e "$qt_include/QtWidgets/QWidget" ]; then
    echo "check-layers.sh: no Qt headers at '${qt_include}' (QtWidgets/QWidget): give the folder that holds QtCore" >&2
    exit 2
fi
status=0

# Where a quoted include lands: beside the file, else from the source root.
resolve() {
    local file=$1 name=$2 beside
    beside=$(realpath -m "$(dirname "$file")/$name")
    if [ -e "$beside" ]; then echo "${beside#"$source_dir"/}"; else realpath -m --relative-to="$source_dir" "$source_dir/$name"; fi
}

# The Qt module of an angled include, when it is one of `modules`.
qt_module_of() {
    local name=$1 module; shift
    for module in "$@"; do
        if [ -e "$qt_include/$module/${name#"$module"/}" ]; then echo "$module"; return; fi
    done
}

# check LAYER "FOLDERS" "QT MODULES"
check() {
    local layer=$1 folders=$2 modules=$3 file line name target folder module
    [ -d "$source_dir/$layer" ] || return 0
    while IFS= read -r -d '' file; do
        while IFS= read -r line; do
            name=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1/' <<<"${line#*:}")
            if [[ ${line#*:} =~ \" ]]; then
                target=$(resolve "$file" "$name")
                for folder in $folders; do
                    if [[ $target == "$folder"/* ]]; then
                        echo "${file#"$source_dir"/}:${line%%:*}: $layer includes $target from $folder/" >&2
                        status=1
                    fi
                done
            else
                # shellcheck disable=SC2086
                module=$(qt_module_of "$name" $modules)
                if [ -n "$module" ]; then
                    echo "${file#"$source_dir"/}:${line%%:*}: $layer includes <$name> from $module" >&2
                    status=1
                fi
            fi
        done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file" || true)
    done < <(find "$source_dir/$layer" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
}

check core "gui cli labels simulator" "QtWidgets QtGui QtPrintSupport"
check labels "gui cli simulator" "QtWidgets"
check simulator "gui cli labels" "QtWidgets QtGui"
check cli "gui" "QtWidgets"
check gui "cli" ""
exit $status
