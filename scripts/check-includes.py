#!/usr/bin/env python3
"""Checks every #include "..." of the project's own headers against the allowed includes table
of docs/ARCHITECTURE.md. Prints each include that crosses to a folder its file may not include,
and each source in a folder the table lacks; exit status 1 when there is any."""
import re
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
TABLE = ROOT / "docs" / "ARCHITECTURE.md"
ANYTHING = "*"


def allowed_edges():
    """folder -> set of folders it may include, from the table under '## Allowed includes'."""
    edges = {}
    in_section = False
    for line in TABLE.read_text(encoding="utf-8").splitlines():
        if line.startswith("## "):
            in_section = line.strip() == "## Allowed includes"
            continue
        if not in_section or not line.startswith("| `"):
            continue
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        folders = re.findall(r"`([^`]+)`", cells[1])
        edges[cells[0].strip("`")] = {ANYTHING} if cells[1] == "anything" else set(folders)
    if not edges:
        sys.exit(f"{TABLE}: no allowed includes table")
    return edges


def folder_of(path, edges):
    """The nearest folder of path (a file's directory) that the table names."""
    parts = Path(path).parts
    for n in range(len(parts), 0, -1):
        key = "/".join(parts[:n])
        if key in edges:
            return key
    return None


def main():
    edges = allowed_edges()
    files = subprocess.run(["git", "ls-files", "*.cpp", "*.h", "*.c"], cwd=ROOT, check=True,
                           capture_output=True, text=True).stdout.split()
    tracked = set(files)
    include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
    problems = []
    for name in files:
        source_dir = str(Path(name).parent)
        source = folder_of(source_dir, edges)
        if source is None:
            problems.append(f"{name}: its folder is not in the allowed includes table")
            continue
        text = (ROOT / name).read_text(encoding="utf-8", errors="replace")
        for match in include.finditer(text):
            header = match.group(1)
            # A path from the project root; else one beside the file (or below tests/ for their
            # support headers); else not ours (a system or generated header).
            for candidate in (header, f"{source_dir}/{header}", f"tests/{header}"):
                if candidate in tracked:
                    break
            else:
                continue
            target = folder_of(str(Path(candidate).parent), edges)
            may = edges[source]
            if target == source or ANYTHING in may or target in may:
                continue
            line = text.count("\n", 0, match.start()) + 1
            problems.append(f"{name}:{line}: {source} may not include {header} ({target})")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
