#!/usr/bin/env python3
"""Converts a real project group whole, and each of its projects alone, and compares.

Each project's sub-project of the group's analyser project must hold exactly
the tree (group names and file lines) that converting the project alone
gives; each configuration's compilation database must hold, in group order,
the entries of every project's database of that name; and the group's report
must name every file entry of every project in that project's lines. The
group's folder is copied to a temporary folder first.
"""

import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

from corpus_report import FILE_ENTRY, SUMMARY, taken_source_path

MEMBER = re.compile(r'<project\s+name="([^"]*)"\s+file="([^"]*)"')
KEY_LINES = 6
RUN_TIMEOUT_SECONDS = 120


def convert(cli, source, work, name):
    """Converts into work/name; returns the tree of the analyser project and
    the databases by configuration."""
    destination, databases, report = work / name, work / (name + "-db"), work / (name + ".tsv")
    destination.mkdir()
    # An empty prefix: no installation is found, and drive Z: is the host root.
    environment = dict(os.environ, WINEPREFIX=str(work / "prefix"))
    completed = subprocess.run([cli, str(source), str(destination), "", "-pn", "p", "-compdb", str(databases),
                                "-report", str(report)], env=environment, capture_output=True,
                               timeout=RUN_TIMEOUT_SECONDS)
    output = completed.stdout.decode("latin-1")
    if completed.returncode != 0:
        raise AssertionError(f"{source.name}: status {completed.returncode}\n{output}")
    lines = (destination / "p.prj").read_bytes().decode("latin-1").split("\r\n")
    found = {folder.name: json.loads((folder / "compile_commands.json").read_text()) for folder in databases.iterdir()}
    return project_tree(lines), found, report, SUMMARY.match(output.splitlines()[-1])


def project_tree(lines):
    """(name, file lines, children) of the root block."""
    position = 1

    def block():
        nonlocal position
        name = lines[position + 1].removeprefix("FolderName=")
        position += 1 + KEY_LINES
        files = []
        while lines[position] != "EndContainedFilesMarker":
            files.append(lines[position])
            position += 1
        position += 1
        children = []
        if lines[position] == "StartSubProjectMarker":
            position += 1
            while lines[position] == "StartProjectMarker":
                children.append(block())
            position += 1
        return name, files, children

    return block()


def report_problems(report, summary, members):
    rows = [line.split("\t") for line in report.read_bytes().decode("latin-1").split("\r\n")[1:] if line]
    problems = []
    for name, project in members:
        items = {row[2] for row in rows if row[4] == name}
        entries = [match.decode("latin-1") for match in FILE_ENTRY.findall(project.read_bytes())]
        problems += [f"{name}: file entry {entry!r} is not in the report" for entry in entries if entry not in items]
    taken = {taken_source_path(dict(detail=row[3])) for row in rows if row[0] == "taken"} - {None}
    if summary is None or int(summary.group(1)) != len(taken):
        problems.append(f"the summary line does not count the {len(taken)} source files taken")
    return problems


def check(cli, group_file, work):
    group_text = group_file.read_bytes().decode("latin-1")
    members = [(name, group_file.parent.joinpath(*file.split("\\"))) for name, file in MEMBER.findall(group_text)]
    tree, databases, report, summary = convert(cli, group_file, work, "group")
    problems = []
    names = [child[0] for child in tree[2]]
    if names != [name for name, _ in members]:
        problems.append(f"the group's sub-projects are {names}")
    expected_databases = {}
    for index, ((name, project), child) in enumerate(zip(members, tree[2])):
        alone, alone_databases, _, _ = convert(cli, project, work, f"alone-{index}")
        if child[1:] != alone[1:]:
            problems.append(f"{name}: the sub-project differs from the project converted alone")
        for configuration, entries in alone_databases.items():
            expected_databases.setdefault(configuration, []).extend(entries)
    for configuration in sorted(expected_databases.keys() | databases.keys()):
        if databases.get(configuration) != expected_databases.get(configuration):
            problems.append(f"the {configuration} database is not those of the projects alone, one after another")
    return problems + report_problems(report, summary, members)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", required=True, help="the ProjbridgeCli program")
    parser.add_argument("group", type=Path, help="the real group file, in the folder of its projects")
    arguments = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="projbridge-real-group-") as temporary:
        work = Path(temporary)
        shutil.copytree(arguments.group.parent, work / "source")
        for copied in (work / "source").rglob("*"):
            copied.chmod(0o755 if copied.is_dir() else 0o644)
        try:
            problems = check(os.path.abspath(arguments.cli), work / "source" / arguments.group.name, work)
        except (AssertionError, subprocess.TimeoutExpired, OSError, IndexError) as failure:
            problems = [str(failure)]
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
