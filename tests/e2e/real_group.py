#!/usr/bin/env python3
"""Converts a copy of a real project group whole, and each of its projects alone: the group's
project file must hold the projects' trees (names, file lines), each database the projects'
entries of its configuration, one project after another, and the report each project's file
entries in that project's lines."""

import argparse
import json
import re
import shutil
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "support"))
from conversion_harness import Sandbox, exit_status, read_project_file

FILE_ENTRY = re.compile(rb'<file\s+name="([^"]*)"')
MEMBER = re.compile(r'<project\s+name="([^"]*)"\s+file="([^"]*)"')


def convert(sandbox, cli, source, name):
    """The tree of names and file lines below the analyser project's root, and the databases."""
    destination, databases = sandbox.root / name, sandbox.root / (name + "-db")
    destination.mkdir()
    completed = sandbox.run([cli, source, destination, "", "-pn", "p", "-compdb", databases,
                             "-report", sandbox.root / (name + ".tsv")])
    if completed.returncode != 0:
        raise AssertionError(f"{source.name}: status {completed.returncode}\n{completed.stdout.decode('latin-1')}")
    shape = lambda block: (block.files, [(child.name, shape(child)) for child in block.children])
    found = {folder.name: json.loads((folder / "compile_commands.json").read_text()) for folder in databases.iterdir()
             if folder.is_dir()}
    return shape(read_project_file((destination / "p.prj").read_bytes())), found


def check(sandbox, cli, group_file):
    members = [(name, group_file.parent.joinpath(*file.split("\\")))
               for name, file in MEMBER.findall(group_file.read_bytes().decode("latin-1"))]
    tree, databases = convert(sandbox, cli, group_file, "group")
    expected_tree, expected_databases = ([], [(name, None) for name, _ in members]), {}
    for index, (name, project) in enumerate(members):
        alone, alone_databases = convert(sandbox, cli, project, f"alone-{index}")
        expected_tree[1][index] = (name, alone)
        for configuration, entries in alone_databases.items():
            expected_databases.setdefault(configuration, []).extend(entries)
    problems = [] if tree == expected_tree else ["the group's project file does not hold its projects' trees"]
    problems += [f"the {configuration} database is not those of the projects alone, one after another"
                 for configuration in expected_databases.keys() | databases.keys()
                 if databases.get(configuration) != expected_databases.get(configuration)]
    rows = [line.split("\t") for line in (sandbox.root / "group.tsv").read_bytes().decode("latin-1").split("\r\n")]
    for name, project in members:
        items = {row[2] for row in rows[1:-1] if row[4] == name}
        problems += [f"{name}: file entry {entry.decode('latin-1')!r} is not in the report"
                     for entry in FILE_ENTRY.findall(project.read_bytes()) if entry.decode("latin-1") not in items]
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cli", required=True)
    parser.add_argument("group", type=Path, help="the group file, in the folder of its projects")
    arguments = parser.parse_args()
    with Sandbox("real-group") as sandbox:
        shutil.copytree(arguments.group.parent, sandbox.root / "source", copy_function=shutil.copyfile)
        for copied in (sandbox.root / "source").rglob("*"):
            copied.chmod(0o755)
        try:
            return exit_status(check(sandbox, Path(arguments.cli).resolve(),
                                     sandbox.root / "source" / arguments.group.name))
        except AssertionError as failure:
            return exit_status([str(failure)])


if __name__ == "__main__":
    sys.exit(main())
