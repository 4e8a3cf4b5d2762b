#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the folder layers of src/: a folder includes only the folders below it, a gui/
subfolder may include the core of its own folder but not the other way round, and no core
file needs Qt (Qt files live in widgets/, app/ and the gui/ subfolders, or carry Qt in their
name). Prints every offending include and exits with 1 when there is one."""

import re
import sys
from pathlib import Path

LAYERS = ["base", "platform", "widgets", "engine", "session", "queue", "settings", "sync",
          "remote", "local", "editor", "app"]
QT_FOLDERS = {"widgets", "app"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def place(relative):
    """(layer, gui) of a path relative to src/, or None for a file outside the layers."""
    parts = Path(relative).parts
    if len(parts) < 2 or parts[0] not in LAYERS:
        return None
    layer = parts[0]
    gui = layer in QT_FOLDERS or parts[1] == "gui" or parts[-1].startswith("Qt")
    return layer, gui


def main(src):
    src = Path(src)
    problems = []
    for path in sorted(list(src.rglob("*.h")) + list(src.rglob("*.cpp"))):
        relative = path.relative_to(src).as_posix()
        here = place(relative)
        if here is None:
            problems.append(f"{relative}: not in a layer folder")
            continue
        layer, gui = here
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            bracket, name = match.groups()
            where = f"{relative}:{number}: {line.strip()}"
            if bracket == "<":
                if not gui and re.match(r"Q[A-Za-z]|Qsci/", name):
                    problems.append(f"{where}: a core file must not need Qt")
                continue
            target = place(name)
            if target is None:
                continue
            other, other_gui = target
            if LAYERS.index(other) > LAYERS.index(layer):
                problems.append(f"{where}: {layer}/ must not include {other}/, a layer above it")
            elif other_gui and not gui:
                problems.append(f"{where}: a core file must not include a Qt file")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parents[2] / "src"))
