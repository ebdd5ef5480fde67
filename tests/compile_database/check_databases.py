#!/usr/bin/env python3
"""Converts projects with -compdb and checks the databases with their readers.

  example FOLDER   every entry of every configuration's database must pass
                   clang -fsyntax-only with its arguments after the first word,
                   and cppcheck --project=<database> must find nothing.
  corpus FOLDER    every .dpj in FOLDER: each database is valid JSON and holds
                   exactly the source files its configuration builds, in the
                   order the project file lists them.
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

# FolderName= to CompPers=, after a block's start marker.
KEY_LINES = 6
# The compiler the test packages install.
CLANG = "clang"


def convert(cli, project, work):
    """Converts a copy of the project; returns the databases by configuration
    and the analyser project file's lines."""
    destination, databases = work / "out", work / "db"
    destination.mkdir()
    # An empty prefix: no installation is found, and drive Z: is the host root.
    environment = dict(os.environ, WINEPREFIX=str(work / "prefix"))
    completed = subprocess.run([cli, str(project), str(destination), "", "-pn", "p", "-compdb", str(databases)],
                               env=environment, capture_output=True, text=True, encoding="latin-1")
    if completed.returncode != 0:
        raise AssertionError(f"{project.name}: status {completed.returncode}\n{completed.stdout}")
    found = {folder.name: folder / "compile_commands.json" for folder in databases.iterdir()}
    return found, (destination / "p.prj").read_bytes().decode("latin-1").split("\r\n")


def check_example(cli, example, work):
    problems = []
    shutil.copytree(example, work / "example")
    databases, _ = convert(cli, work / "example" / (example.name + ".dpj"), work)
    for configuration, database in sorted(databases.items()):
        for entry in json.loads(database.read_text(encoding="utf-8")):
            completed = subprocess.run([CLANG, "-fsyntax-only"] + entry["arguments"][1:], cwd=entry["directory"],
                                       capture_output=True, text=True)
            if completed.returncode != 0:
                problems.append(f"{configuration}: clang refuses {entry['file']}:\n{completed.stderr}")
        completed = subprocess.run(["cppcheck", f"--project={database}", "--error-exitcode=1", "--quiet"],
                                   capture_output=True, text=True)
        if completed.returncode != 0:
            problems.append(f"{configuration}: cppcheck finds:\n{completed.stderr}")
    return problems if databases else ["no database written"]


def host_path(windows_path):
    """Drive Z: is the host root; paths on other drives stay as written."""
    if windows_path[:2].upper() != "Z:":
        return windows_path
    return windows_path[2:].replace("\\", "/")


def parse_block(lines, start):
    """One group's block of the analyser project file, from its start marker:
    (name, files, children) and the index after the block."""
    name = lines[start + 1][len("FolderName="):]
    index = start + 1 + KEY_LINES
    files = []
    while lines[index] != "EndContainedFilesMarker":
        files.append(lines[index])
        index += 1
    index += 1
    children = []
    if lines[index] == "StartSubProjectMarker":
        index += 1
        while lines[index] == "StartProjectMarker":
            child, index = parse_block(lines, index)
            children.append(child)
        index += 1
    return (name, files, children), index


def built_files(group, configuration, configurations):
    """The files of a group and its children, but for other configurations' groups."""
    name, files, children = group
    if name in configurations and name != configuration:
        return []
    return [host_path(f) for f in files] + [f for child in children
                                            for f in built_files(child, configuration, configurations)]


def check_corpus(cli, corpus, work):
    problems = []
    for project in sorted(corpus.glob("*.dpj")):
        folder = work / project.stem
        folder.mkdir()
        shutil.copyfile(project, folder / project.name)
        databases, lines = convert(cli, folder / project.name, folder)
        target = parse_block(lines, 1)[0][2][0]
        for configuration, database in sorted(databases.items()):
            try:
                listed = [entry["file"] for entry in json.loads(database.read_text(encoding="utf-8"))]
            except ValueError as error:
                problems.append(f"{project.name} {configuration}: not JSON: {error}")
                continue
            if listed != built_files(target, configuration, set(databases)):
                problems.append(f"{project.name} {configuration}: the entries are not the files it builds")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cli", required=True, type=Path, help="the ProjbridgeCli program")
    parser.add_argument("mode", choices=("example", "corpus"))
    parser.add_argument("folder", type=Path, help="the example's folder, or the corpus folder")
    arguments = parser.parse_args()
    check = check_example if arguments.mode == "example" else check_corpus
    with tempfile.TemporaryDirectory(prefix="projbridge-compdb-") as work:
        problems = check(arguments.cli.resolve(), arguments.folder.resolve(), Path(work))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
