#!/usr/bin/env python3
"""Converts projects with -compdb and checks the databases with their readers.

  example FOLDER   every entry of every configuration's database must pass
                   clang -fsyntax-only (assembly: -E) with its arguments after
                   the first word, and cppcheck --project=<database> must find
                   nothing. FOLDER holds FOLDER.dpj.
  corpus FOLDER    every .dpj in FOLDER: each database is valid JSON and holds
                   exactly the source files its configuration builds, in the
                   order the project file lists them.
  projects FOLDER  every .dpj below FOLDER, converted in a copy beside its
                   sources: each entry is read by clang (C -fsyntax-only,
                   assembly -E) and counted as clean, stopped at a toolchain
                   header (one the repository does not hold), other, or
                   file missing (the report lists it); any other but
                   extern "asm", which no macro can map, fails.
"""

import argparse
import collections
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

# FolderName= to CompPers=, after a block's start marker.
KEY_LINES = 6
# The compiler the test packages install.
CLANG = "clang"
ASSEMBLY_EXTENSIONS = {".asm", ".s", ".dsp"}
MISSING_HEADER = re.compile(r"fatal error: '([^']+)' file not found")
EXTERN_ASM = 'extern "asm"'


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
    found = {database.parent.name: database for database in databases.glob("*/compile_commands.json")}
    return found, (destination / "p.prj").read_bytes().decode("latin-1").split("\r\n")


def clang_reads(entry):
    """clang's verdict on one entry: its status and what it printed."""
    command = [CLANG, "-fsyntax-only"] + entry["arguments"][1:]
    if Path(entry["file"]).suffix.lower() in ASSEMBLY_EXTENSIONS:
        command = [CLANG, "-E", "-o", os.devnull, "-x", "assembler-with-cpp"] + entry["arguments"][1:]
    completed = subprocess.run(command, cwd=entry["directory"], capture_output=True, text=True, errors="replace")
    return completed.returncode, completed.stderr


def header_names(folder):
    return {path.name.lower() for path in folder.rglob("*") if path.is_file()}


def verdict(entry, repository_headers):
    if not Path(entry["file"]).is_file():
        return "file missing", ""
    status, output = clang_reads(entry)
    if status == 0:
        return "clean", ""
    errors = [line for line in output.splitlines() if "error:" in line]
    missing = [MISSING_HEADER.search(line) for line in errors]
    if errors and all(found and Path(found.group(1).replace("\\", "/")).name.lower() not in repository_headers
                      for found in missing):
        return "toolchain header only", ""
    return "other", output


def check_projects(cli, projects, work):
    shutil.copytree(projects, work / "projects")
    counts, problems = collections.Counter(), []
    for repository in sorted(path for path in (work / "projects").iterdir() if path.is_dir()):
        headers = header_names(repository)
        for index, project in enumerate(sorted(repository.rglob("*.dpj"))):
            folder = work / "runs" / f"{repository.name}-{index}"
            folder.mkdir(parents=True)
            databases, _ = convert(cli, project, folder)
            for configuration, database in sorted(databases.items()):
                for entry in json.loads(database.read_text(encoding="utf-8")):
                    kind, output = verdict(entry, headers)
                    counts[kind] += 1
                    if kind == "other" and EXTERN_ASM not in output:
                        problems.append(f"{project.name} {configuration}: clang stops in {entry['file']}:\n{output}")
    print(", ".join(f"{kind}: {counts[kind]}" for kind in ("clean", "toolchain header only", "other", "file missing")))
    return problems


def check_example(cli, example, work):
    problems = []
    shutil.copytree(example, work / "example")
    databases, _ = convert(cli, work / "example" / (example.name + ".dpj"), work)
    for configuration, database in sorted(databases.items()):
        for entry in json.loads(database.read_text(encoding="utf-8")):
            status, output = clang_reads(entry)
            if status != 0:
                problems.append(f"{configuration}: clang refuses {entry['file']}:\n{output}")
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
    parser.add_argument("mode", choices=("example", "corpus", "projects"))
    parser.add_argument("folder", type=Path, help="the example's folder, the corpus folder or the projects' folder")
    arguments = parser.parse_args()
    check = {"example": check_example, "corpus": check_corpus, "projects": check_projects}[arguments.mode]
    with tempfile.TemporaryDirectory(prefix="projbridge-compdb-") as work:
        problems = check(arguments.cli.resolve(), arguments.folder.resolve(), Path(work))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
