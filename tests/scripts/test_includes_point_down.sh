#!/usr/bin/env bash
# The folders of src stand on one another in floors; an include may reach
# down, or across to another room of its own floor as long as that room never
# reaches back, but never up. A new include that runs the wrong way fails here
# with the line that does it.
# Usage: test_includes_point_down.sh SRC_FOLDER
set -euo pipefail
src=${1:?the src folder}

floor() {
    case $1 in
    app | batch | sql) echo 4 ;;              # the window, start-up, the batch program, SQL
    entries | conversion | results) echo 3 ;; # the commands
    commands | reading) echo 2 ;;             # what every command stands on; reading input
    lists) echo 1 ;;
    platform) echo 0 ;;
    *) echo "" ;;
    esac
}

status=0
declare -A across=() # "from to" for includes between rooms of one floor
while IFS= read -r -d '' file; do
    folder=${file#"$src"/}
    folder=${folder%%/*}
    own=$(floor "$folder")
    [[ -n $own ]] || continue
    while IFS=: read -r line target; do
        to=${target%%/*}
        theirs=$(floor "$to")
        [[ -n $theirs && $to != "$folder" ]] || continue
        if ((theirs > own)); then
            echo "${file#"$src"/}:$line includes \"$target\", a floor above it" >&2
            status=1
        elif ((theirs == own)); then
            across["$folder $to"]="${file#"$src"/}:$line"
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
        sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/' || true)
done < <(find "$src" \( -name '*.h' -o -name '*.cpp' \) -print0)

for pair in "${!across[@]}"; do
    read -r from to <<<"$pair"
    if [[ -n ${across["$to $from"]:-} && $from < $to ]]; then
        echo "$from and $to lean on each other: ${across[$pair]} and ${across["$to $from"]}" >&2
        status=1
    fi
done
exit $status
