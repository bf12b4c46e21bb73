#!/usr/bin/env bash
# The layers' rule. Fails, naming the file and the line, when a layer
# includes a folder or a Qt module it must not know:
#   core/       no front, no labels/, no simulator/; no widget, GUI or print header
#   labels/     no front, no simulator/; no widget header (it draws, for both fronts)
#   simulator/  no front, no labels/; no widget or GUI header
#   cli/        not the window; no widget header
#   gui/        not the command line
# and core's own folders include one another in one direction only: a loop
# (journal → link → port → journal) is named with its folders.
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
# Folded in bash, for the check reads every include of the tree.
# Each of these answers in REPLY: no subshell per include.
fold() {
    local part out=()
    local IFS=/
    for part in $1; do
        case $part in
            ''|.) ;;
            ..) [ ${#out[@]} -gt 0 ] && unset 'out[${#out[@]}-1]' ;;
            *) out+=("$part") ;;
        esac
    done
    REPLY="${out[*]}"
}
resolve() {
    local file=${1#"$source_dir"/} name=$2
    fold "${file%/*}/$name"
    [ -e "$source_dir/$REPLY" ] || fold "$name"
}

# The Qt module of an angled include, when it is one of `modules`; looked up
# once a name.
declare -A module_of=()
qt_module_of() {
    local name=$1 module key="$*"
    if [ -z "${module_of[$key]+x}" ]; then
        module_of[$key]=""
        shift
        for module in "$@"; do
            if [ -e "$qt_include/$module/${name#"$module"/}" ]; then module_of[$key]=$module; break; fi
        done
    fi
    REPLY=${module_of[$key]}
}

include_line='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]+)[>"]'

# check LAYER "FOLDERS" "QT MODULES"
check() {
    local layer=$1 folders=$2 modules=$3 file line number name target folder module kind
    [ -d "$source_dir/$layer" ] || return 0
    while IFS= read -r -d '' file; do
        while IFS= read -r line; do
            number=${line%%:*}
            [[ ${line#*:} =~ $include_line ]] || continue
            kind=${BASH_REMATCH[1]} name=${BASH_REMATCH[2]}
            # The source root is on the include path: an angled include of
            # one of our folders lands there as a quoted one would.
            if [ "$kind" = '"' ]; then resolve "$file" "$name"; else fold "$name"; fi
            target=$REPLY
            for folder in $folders; do
                if [[ $target == "$folder"/* ]]; then
                    echo "${file#"$source_dir"/}:$number: $layer includes $target from $folder/" >&2
                    status=1
                fi
            done
            if [ "$kind" = '<' ] && [[ $target != */* || ! -d "$source_dir/${target%%/*}" ]]; then
                # shellcheck disable=SC2086
                qt_module_of "$name" $modules
                module=$REPLY
                if [ -n "$module" ]; then
                    echo "${file#"$source_dir"/}:$number: $layer includes <$name> from $module" >&2
                    status=1
                fi
            fi
        done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file" || true)
    done < <(find "$source_dir/$layer" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
}

# "from to" for each include from one of core's folders into another.
core_edges() {
    local file line from target
    while IFS= read -r -d '' file; do
        from=${file#"$source_dir"/core/}
        [[ $from == */* ]] || continue
        from=${from%%/*}
        while IFS= read -r line; do
            [[ $line =~ $include_line ]] || continue
            if [ "${BASH_REMATCH[1]}" = '"' ]; then resolve "$file" "${BASH_REMATCH[2]}"; else fold "${BASH_REMATCH[2]}"; fi
            target=$REPLY
            [[ $target == core/*/* ]] || continue
            target=${target#core/}
            target=${target%%/*}
            [ "$target" = "$from" ] || echo "$from $target"
        done < <(grep -E '^[[:space:]]*#[[:space:]]*include' "$file" || true)
    done < <(find "$source_dir/core" -mindepth 2 -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
}

check_core_loops() {
    [ -d "$source_dir/core" ] || return 0
    local loop
    loop=$( (core_edges | sort -u | tsort 2>&1 >/dev/null || true) | sed -n 's/^tsort: \([^ :]*\)$/\1/p' | sort -u | tr '\n' ' ')
    if [ -n "$loop" ]; then
        echo "core/: its folders include one another in a loop: ${loop% }" >&2
        status=1
    fi
}

check core "gui cli labels simulator" "QtWidgets QtGui QtPrintSupport"
check labels "gui cli simulator" "QtWidgets"
check simulator "gui cli labels" "QtWidgets QtGui"
check cli "gui" "QtWidgets"
check gui "cli" ""
check_core_loops
exit $status
