#!/usr/bin/env bash
# The folders of src stand on one another in floors; an include may reach its
# own floor's folder or any floor below, never one above. A new include that
# runs upward fails here with the line that does it.
# Usage: test_includes_point_down.sh SRC_FOLDER
set -euo pipefail
src=${1:?the src folder}

floor() {
    case $1 in
    app | convert) echo 4 ;;                  # the window, start-up and the batch program
    entries | conversion | results) echo 3 ;; # the commands
    commands) echo 2 ;;                       # what every command stands on
    lists) echo 1 ;;
    platform) echo 0 ;;
    *) echo "" ;;
    esac
}

status=0
while IFS= read -r -d '' file; do
    folder=${file#"$src"/}
    folder=${folder%%/*}
    own=$(floor "$folder")
    [[ -n $own ]] || continue
    while IFS=: read -r line target; do
        to=${target%%/*}
        theirs=$(floor "$to")
        [[ -n $theirs && $to != "$folder" ]] || continue
        # The commands' floor holds three rooms side by side that do not lean on each other.
        if ((theirs > own)) || ((theirs == own && own == 3)); then
            echo "${file#"$src"/}:$line includes \"$target\", a floor above or beside it" >&2
            status=1
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
        sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/' || true)
done < <(find "$src" \( -name '*.h' -o -name '*.cpp' \) -print0)
exit $status
