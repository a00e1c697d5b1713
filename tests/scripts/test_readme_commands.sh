#!/usr/bin/env bash
# The README's commands, pasted as a newcomer would after the quick start, in a
# fresh copy of the tree (its tracked files, as a clone has them) with a home
# folder of its own: scripts/run.sh --install-user builds both programs and
# puts them on the PATH, then every command shown under "Converting in
# scripts" runs on small files and must succeed with output.
# Usage: test_readme_commands.sh SOURCE_TREE
set -euo pipefail
source_tree=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tree" "$work/home" "$work/files"
(cd "$source_tree" && git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$work/tree")

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

export HOME=$work/home
export PATH=$HOME/.local/bin:$PATH
export QT_QPA_PLATFORM=offscreen
(cd "$work/tree" && scripts/run.sh --install-user) || fail "scripts/run.sh --install-user"
for program in tallyvane tallyvane-convert; do
    [[ $(command -v "$program") == "$HOME/.local/bin/$program" ]] || fail "$program is not on the PATH"
    [[ -r $HOME/.local/share/man/man1/$program.1 ]] || fail "no man page for $program"
done
tallyvane --version | grep -q . || fail "tallyvane --version"
tallyvane --help | grep -q . || fail "tallyvane --help"
if command -v man >/dev/null; then
    (cd "$work/tree" && man -l packaging/man/tallyvane-convert.1 | grep -q tallyvane-convert) ||
        fail "man -l packaging/man/tallyvane-convert.1"
fi

# Files the commands name.
cd "$work/files"
printf '603-237-4934\n+44 20 7946 0958\n' >numbers.txt
cp numbers.txt big.txt
cp numbers.txt contacts.txt
printf 'Name,Phone\n"Doe, Jane",603-237-4934\nRoe,\n' >contacts.csv

# Every indented command line of the section; a trailing backslash continues one.
commands=$(awk '/^## /{inside = ($0 == "## Converting in scripts")} inside && /^    [^ ]/' \
    "$work/tree/README.md" | sed 's/^    //')
[[ $(wc -l <<<"$commands") -ge 4 ]] || fail "the README's commands were not found"
while IFS= read -r command; do
    output=$(bash -c "set -o pipefail; $command" 2>&1) || fail "$command: $output"
    echo "ok: $command"
done <<<"$commands"
grep -q NH states.txt || fail "states.txt has no NH"
grep -q '"Doe, Jane",603-237-4934,NH' contacts-with-states.csv || fail "contacts-with-states.csv"
echo "all README commands passed"
