#!/usr/bin/env python3
"""Checks docs/architecture.md against the code.

1. Every folder that holds sources (C++, C, JavaScript, shell or Python files tracked by git) is
   named in the map, as `folder/` in backquotes.
2. Every #include "room/..." in a product room goes only to the room itself or to a room its row
   of the table under "## The rooms" allows ("May include"; a dash allows none).
Prints each breach on a line of its own and exits 1 when there is any."""
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
MAP = ROOT / "docs" / "architecture.md"
SOURCE = re.compile(r"\.(cpp|h|c|js|mjs|sh|py)$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/', re.M)


def tracked_files():
    out = subprocess.run(["git", "ls-files"], cwd=ROOT, check=True, capture_output=True, text=True)
    return [line for line in out.stdout.splitlines() if line]


def room_rules(text):
    """The rooms whose includes are ruled: room folder -> the rooms it may include."""
    section = text.split("## The rooms", 1)[1].split("\n## ", 1)[0]
    rules = {}
    for line in section.splitlines():
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        if len(cells) != 3 or not cells[2]:
            continue
        rooms = re.findall(r"`([^`]+)/`", cells[0])
        if len(rooms) != 1:
            continue
        allowed = set() if cells[2] in ("-", "—") else set(re.findall(r"`([^`/]+)/`", cells[2]))
        rules[rooms[0]] = allowed
    return rules


def main():
    text = MAP.read_text(encoding="utf-8")
    named = set(re.findall(r"`([A-Za-z0-9_./-]+)/`", text))
    files = tracked_files()
    problems = []

    folders = sorted({str(pathlib.PurePosixPath(f).parent) for f in files if SOURCE.search(f)})
    for folder in folders:
        if folder != "." and folder not in named:
            problems.append(f"{folder}/ holds sources but docs/architecture.md does not name it")

    rules = room_rules(text)
    if not rules:
        problems.append("docs/architecture.md: no table of rooms with what each may include")
    for room, allowed in rules.items():
        for f in files:
            if not f.startswith(room + "/") or not re.search(r"\.(cpp|h|c)$", f):
                continue
            body = (ROOT / f).read_text(encoding="utf-8", errors="replace")
            for target in INCLUDE.findall(body):
                if target != room.split("/")[0] and target not in allowed:
                    problems.append(f"{f} includes {target}/, which {room}/ may not include")

    for problem in problems:
        print(f"check-map: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
