#!/usr/bin/env python3
"""Fails when a relative link or anchor in a Markdown file does not resolve.

    python3 scripts/check_links.py [ROOT]

Checks every Markdown file of ROOT (default: the repository): the tracked ones when ROOT is a
git checkout, else every *.md below it. A link's file must exist (relative to the linking
file), and its #anchor must be a heading of the file it names, made into an anchor as GitHub
does. Links with a scheme (https:, mailto:) are not followed. Prints one line per broken link,
FILE:LINE: TARGET: WHY, and exits 1 when there is one.
"""
import os
import re
import subprocess
import sys

FENCE = re.compile(r"^\s{0,3}(```|~~~)")
HEADING = re.compile(r"^\s{0,3}(#{1,6})\s+(.*?)\s*#*\s*$")
INLINE_CODE = re.compile(r"`+[^`]*`+")
# [text](target) and ![alt](target), the target up to a blank or the closing parenthesis.
INLINE_LINK = re.compile(r"!?\[(?:[^\]\\]|\\.)*\]\(\s*<?([^)\s>]*)>?(?:\s+\"[^\"]*\")?\s*\)")
REFERENCE = re.compile(r"^\s{0,3}\[[^\]]+\]:\s*<?(\S+?)>?(\s|$)")
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")


def markdown_files(root):
    if os.path.exists(os.path.join(root, ".git")):
        listed = subprocess.run(["git", "-C", root, "ls-files", "-z", "--", "*.md"],
                                check=True, capture_output=True).stdout
        return [os.path.join(root, f) for f in listed.decode().split("\0") if f]
    found = []
    for folder, dirs, files in os.walk(root):
        dirs[:] = sorted(d for d in dirs if not d.startswith("."))
        found += [os.path.join(folder, f) for f in sorted(files) if f.endswith(".md")]
    return found


def prose_lines(text):
    """(line number, line) outside fenced and indented code blocks, inline code removed."""
    in_fence = None
    previous_blank = True
    in_indented = False
    for number, line in enumerate(text.splitlines(), 1):
        fence = FENCE.match(line)
        if in_fence:
            if fence and fence.group(1) == in_fence:
                in_fence = None
            continue
        if fence:
            in_fence = fence.group(1)
            continue
        blank = not line.strip()
        indented = line.startswith("    ") or line.startswith("\t")
        in_indented = indented and (previous_blank or in_indented) and not blank
        if not blank:
            previous_blank = False
        else:
            previous_blank = True
        if in_indented:
            continue
        yield number, INLINE_CODE.sub("", line)


def slug(heading):
    text = INLINE_CODE.sub(lambda m: m.group(0).strip("`"), heading)
    text = re.sub(r"!?\[([^\]]*)\]\([^)]*\)", r"\1", text)  # a link shows its text
    text = re.sub(r"<[^>]+>", "", text).strip().lower()
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def anchors(path, cache={}):
    if path not in cache:
        with open(path, encoding="utf-8") as f:
            text = f.read()
        seen = {}
        found = set()
        for _, line in prose_lines_keeping_code(text):
            match = HEADING.match(line)
            if not match:
                continue
            base = slug(match.group(2))
            count = seen.get(base, 0)
            seen[base] = count + 1
            found.add(base if count == 0 else f"{base}-{count}")
        cache[path] = found
    return cache[path]


def prose_lines_keeping_code(text):
    """As prose_lines, but with inline code kept (a heading's anchor includes its words)."""
    lines = text.splitlines()
    for number, _ in prose_lines(text):
        yield number, lines[number - 1]


def check_file(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    problems = []
    for number, line in prose_lines(text):
        targets = [m.group(1) for m in INLINE_LINK.finditer(line)]
        reference = REFERENCE.match(line)
        if reference:
            targets.append(reference.group(1))
        for target in targets:
            why = broken(path, target)
            if why:
                problems.append(f"{path}:{number}: {target}: {why}")
    return problems


def broken(path, target):
    if not target or SCHEME.match(target) or target.startswith("//"):
        return None if target else "empty link"
    file_part, _, anchor = target.partition("#")
    linked = path if not file_part else os.path.normpath(
        os.path.join(os.path.dirname(path), file_part.split("?")[0]))
    if not os.path.exists(linked):
        return "no such file"
    if anchor and linked.endswith(".md") and anchor not in anchors(linked):
        return f"no heading makes the anchor #{anchor} in {linked}"
    return None


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    root = os.path.normpath(root)
    files = markdown_files(root)
    problems = [p for f in files for p in check_file(f)]
    for problem in problems:
        print(problem)
    if problems:
        print(f"check_links: {len(problems)} broken link(s) in {len(files)} Markdown files",
              file=sys.stderr)
        return 1
    print(f"check_links: every relative link of {len(files)} Markdown files resolves")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
