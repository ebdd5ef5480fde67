#!/usr/bin/env python3
"""Converts a copy of a real project group whole, and each of its projects alone: the group's
project file must hold the projects' trees (names, file lines), each database the projects'
entries of its configuration, one project after another, and the report each project's file
entries in that project's lines."""

import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

from corpus_report import FILE_ENTRY

MEMBER = re.compile(r'<project\s+name="([^"]*)"\s+file="([^"]*)"')
# What differs between a project converted alone and in a group: its folders.
FOLDER_KEYS = ("VersionTag45", "SourcePath=", "OutputPath=", "SubsPers=", "AnalPers=", "CompPers=")


def convert(cli, source, work, name):
    destination, databases = work / name, work / (name + "-db")
    destination.mkdir()
    # An empty prefix: no installation is found, and drive Z: is the host root.
    completed = subprocess.run([cli, source, destination, "", "-pn", "p", "-compdb", databases, "-report",
                                work / (name + ".tsv")], env=dict(os.environ, WINEPREFIX=str(work / "prefix")),
                               capture_output=True, timeout=120)
    if completed.returncode != 0:
        raise AssertionError(f"{source.name}: status {completed.returncode}\n{completed.stdout.decode('latin-1')}")
    lines = (destination / "p.prj").read_bytes().decode("latin-1").split("\r\n")[:-1]
    found = {folder.name: json.loads((folder / "compile_commands.json").read_text()) for folder in databases.iterdir()}
    return [line for line in lines if not line.startswith(FOLDER_KEYS)], found


def check(cli, group_file, work):
    members = [(name, group_file.parent.joinpath(*file.split("\\")))
               for name, file in MEMBER.findall(group_file.read_bytes().decode("latin-1"))]
    lines, databases = convert(cli, group_file, work, "group")
    expected_lines, expected_databases = lines[:2] + ["EndContainedFilesMarker", "StartSubProjectMarker"], {}
    for index, (name, project) in enumerate(members):
        alone, alone_databases = convert(cli, project, work, f"alone-{index}")
        expected_lines += alone[:1] + ["FolderName=" + name] + alone[2:]
        for configuration, entries in alone_databases.items():
            expected_databases.setdefault(configuration, []).extend(entries)
    problems = [] if lines == expected_lines + ["EndSubProjectMarker"] else [
        "the group's project file does not hold its projects' trees as converted alone"]
    problems += [f"the {configuration} database is not those of the projects alone, one after another"
                 for configuration in expected_databases.keys() | databases.keys()
                 if databases.get(configuration) != expected_databases.get(configuration)]
    rows = [line.split("\t") for line in (work / "group.tsv").read_bytes().decode("latin-1").split("\r\n")[1:-1]]
    for name, project in members:
        items = {row[2] for row in rows if row[4] == name}
        problems += [f"{name}: file entry {entry.decode('latin-1')!r} is not in the report"
                     for entry in FILE_ENTRY.findall(project.read_bytes()) if entry.decode("latin-1") not in items]
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cli", required=True)
    parser.add_argument("group", type=Path, help="the group file, in the folder of its projects")
    arguments = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="projbridge-real-group-") as temporary:
        work = Path(temporary)
        shutil.copytree(arguments.group.parent, work / "source", copy_function=shutil.copyfile)
        for copied in (work / "source").rglob("*"):
            copied.chmod(0o755)
        try:
            problems = check(os.path.abspath(arguments.cli), work / "source" / arguments.group.name, work)
        except (AssertionError, subprocess.TimeoutExpired, OSError) as failure:
            problems = [str(failure)]
    print("".join(problem + "\n" for problem in problems), end="")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
