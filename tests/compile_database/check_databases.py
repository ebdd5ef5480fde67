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
import shutil
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "support"))
from conversion_harness import Sandbox, exit_status, read_project_file

# The compiler the test packages install.
CLANG = "clang"


def convert(cli, project, work, sandbox):
    """Converts a copy of the project; returns the databases by configuration
    and the analyser project file's root block."""
    destination, databases = work / "out", work / "db"
    destination.mkdir()
    # The sandbox's empty prefix records no installation.
    completed = sandbox.run([cli, project, destination, "", "-pn", "p", "-compdb", databases])
    if completed.returncode != 0:
        raise AssertionError(f"{project.name}: status {completed.returncode}\n{completed.stdout.decode('latin-1')}")
    found = {folder.name: folder / "compile_commands.json" for folder in databases.iterdir()}
    return found, read_project_file((destination / "p.prj").read_bytes())


def check_example(cli, example, sandbox):
    problems = []
    shutil.copytree(example, sandbox.root / "example")
    databases, _ = convert(cli, sandbox.root / "example" / (example.name + ".dpj"), sandbox.root, sandbox)
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


def built_files(group, configuration, configurations, drives):
    """The files of a group and its children, but for other configurations'
    groups; those on a drive of the sandbox by their host paths."""
    if group.name in configurations and group.name != configuration:
        return []
    return [drives.host_path(f) or f for f in group.files] + [
        f for child in group.children for f in built_files(child, configuration, configurations, drives)]


def check_corpus(cli, corpus, sandbox):
    problems = []
    for project in sorted(corpus.glob("*.dpj")):
        folder = sandbox.root / project.stem
        folder.mkdir()
        shutil.copyfile(project, folder / project.name)
        databases, root = convert(cli, folder / project.name, folder, sandbox)
        target = root.children[0]
        for configuration, database in sorted(databases.items()):
            try:
                listed = [entry["file"] for entry in json.loads(database.read_text(encoding="utf-8"))]
            except ValueError as error:
                problems.append(f"{project.name} {configuration}: not JSON: {error}")
                continue
            if listed != built_files(target, configuration, set(databases), sandbox.drives):
                problems.append(f"{project.name} {configuration}: the entries are not the files it builds")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cli", required=True, type=Path, help="the ProjbridgeCli program")
    parser.add_argument("mode", choices=("example", "corpus"))
    parser.add_argument("folder", type=Path, help="the example's folder, or the corpus folder")
    arguments = parser.parse_args()
    check = check_example if arguments.mode == "example" else check_corpus
    with Sandbox("compdb") as sandbox:
        problems = check(arguments.cli.resolve(), arguments.folder.resolve(), sandbox)
    return exit_status(problems)


if __name__ == "__main__":
    sys.exit(main())
