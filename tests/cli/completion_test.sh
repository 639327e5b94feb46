#!/usr/bin/env bash
# The bash completion of vk930ctl: commands, options, files by extension, COM port numbers
# and link specs. Skipped (status 77) when bash-completion is not installed.
set -u
completion=$1
framework=/usr/share/bash-completion/bash_completion
[ -f "$framework" ] || { echo "bash-completion is not installed: skipped"; exit 77; }
source "$framework"
source "$completion"
complete -p vk930ctl >/dev/null || { echo "the completion did not register"; exit 1; }

dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
touch a.pcg b.a20 c.ini d.txt
failures=0
expect() {  # expect "WANTED REPLIES" WORD...
    local wanted=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _vk930ctl
    local got="${COMPREPLY[*]}"
    if [ "$got" != "$wanted" ]; then
        echo "[$*]: wanted '$wanted', got '$got'"
        failures=$((failures + 1))
    fi
}
expect "info commid get set restore firmware series ports doctor diff backups history registry" \
    vk930ctl ''
expect "--link --port --settings --registry --porcelain --json --help --version" vk930ctl --
expect "1 2 3 4 5 6 7 8" vk930ctl --port ''
expect "sim?fail=page0 sim?fail=page1 sim?fail=reset sim?fail=write: sim?fail=text: sim?fail=lose:" \
    vk930ctl --link 'sim?f'
expect "sim:t.bin?series=" vk930ctl --link 'sim:t.bin?se'
expect "sim?series=3&plugin=" vk930ctl --link 'sim?series=3&p'
expect "sim?series=3&remove=" vk930ctl --link 'sim?series=3&re'
expect "sim?absent&type= sim?absent&trace=" vk930ctl --link 'sim?absent&t'
expect "a.pcg" vk930ctl get ''
expect "--keyed" vk930ctl get --k
expect "a.pcg" vk930ctl --port 2 set ''
expect "b.a20" vk930ctl firmware ''
expect "c.ini" vk930ctl --settings ''
expect "--assign --unassign" vk930ctl ports ''
expect "1 2 3 4 5 6 7 8" vk930ctl ports --assign ''
expect "sim sim: sim?" vk930ctl ports --assign 2 s
expect "1 2 3 4 5 6 7 8" vk930ctl doctor --port ''
expect "--next" vk930ctl commid --
expect "--verify" vk930ctl set --v
expect "--force" vk930ctl restore --f
expect "a.pcg" vk930ctl series --next --set ''
expect "--no-verify" vk930ctl series --next --no
expect "1 2 3 4 5 6 7 8" vk930ctl series --from 300 --port ''
expect "" vk930ctl series --count ''
expect "--csv" vk930ctl history --c
expect "init status" vk930ctl registry ''
expect "" vk930ctl registry init ''
exit $((failures > 0))
