#!/usr/bin/env bash
# The Markdown link check passes a set of files whose links all resolve, and fails on each kind
# of broken link, naming the file, the line and the link.
#   check_links_test.sh scripts/check_links.py
set -uo pipefail
checker="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# A tree whose links resolve: files, folders, pictures, anchors made as GitHub makes them
# (code, punctuation, a second heading of the same words), and links inside code, which are
# no links.
good="$scratch/good"
mkdir -p "$good/docs/pictures"
touch "$good/docs/pictures/window.png" "$good/tool.1"
cat >"$good/README.md" <<'MD'
# Top

## Where `vk930ctl` is, and why!

See [the guide](docs/guide.md#two-words), [its second part](docs/guide.md#two-words-1),
![a picture](docs/pictures/window.png), [a folder](docs/), [a page](tool.1),
[this part](#where-vk930ctl-is-and-why), [the web](https://example.org/missing.md) and
[mail](mailto:someone@example.org).

    [in an indented block](nowhere.md)

```
[in a fence](nowhere.md)
```

Text with `[inline code](nowhere.md)` in it.

[reference]: docs/guide.md
MD
cat >"$good/docs/guide.md" <<'MD'
# Guide

## Two words

## Two words

Back [up](../README.md#top).
MD
out="$(python3 "$checker" "$good" 2>&1)"
[ $? -eq 0 ] || fail "links that resolve were refused: $out"

# Each broken link alone makes the check fail and is named.
check_broken() {
    local name="$1" line="$2" expected="$3"
    local dir="$scratch/$name"
    mkdir -p "$dir"
    cp -r "$good/." "$dir/"
    printf '\n%s\n' "$line" >>"$dir/README.md"
    out="$(python3 "$checker" "$dir" 2>&1)"
    local status=$?
    [ $status -eq 1 ] || fail "$name: exit status $status, not 1: $out"
    case "$out" in
    *"README.md:"*"$expected"*) ;;
    *) fail "$name: the broken link is not named ($expected): $out" ;;
    esac
}
check_broken missing-file '[gone](docs/gone.md)' 'docs/gone.md: no such file'
check_broken missing-picture '![gone](docs/pictures/gone.png)' 'docs/pictures/gone.png: no such file'
check_broken missing-anchor '[gone](docs/guide.md#three-words)' '#three-words'
check_broken missing-own-anchor '[gone](#nowhere)' '#nowhere'
check_broken third-duplicate '[gone](docs/guide.md#two-words-2)' '#two-words-2'
check_broken reference '[gone]: docs/gone.md' 'docs/gone.md: no such file'

[ $failures -eq 0 ] && echo "check_links: all cases held"
exit $((failures > 0))
