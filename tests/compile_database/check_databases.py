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
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "support"))
from conversion_harness import Sandbox, exit_status, read_project_file

# The compiler the test packages install.
CLANG = "clang"
ASSEMBLY_EXTENSIONS = {".asm", ".s", ".dsp"}
# What the VisualDSP compiler and assembler build; a header in a source folder is not.
BUILT_EXTENSIONS = ASSEMBLY_EXTENSIONS | {".c", ".cc", ".cpp", ".cxx"}
MISSING_HEADER = re.compile(r"fatal error: '([^']+)' file not found")
EXTERN_ASM = 'extern "asm"'


def convert(cli, project, work, sandbox):
    """Converts a copy of the project; returns the databases by configuration
    the analyser project file's root block and what the run printed."""
    destination, databases = work / "out", work / "db"
    destination.mkdir()
    # The sandbox's empty prefix records no installation.
    completed = sandbox.run([cli, project, destination, "", "-pn", "p", "-compdb", databases])
    if completed.returncode != 0:
        raise AssertionError(f"{project.name}: status {completed.returncode}\n{completed.stdout.decode('latin-1')}")
    found = {database.parent.name: database for database in databases.glob("*/compile_commands.json")}
    return found, read_project_file((destination / "p.prj").read_bytes()), completed.stdout.decode("latin-1")


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


def check_projects(cli, projects, sandbox):
    shutil.copytree(projects, sandbox.root / "projects")
    counts, problems = collections.Counter(), []
    for repository in sorted(path for path in (sandbox.root / "projects").iterdir() if path.is_dir()):
        headers = header_names(repository)
        for index, project in enumerate(sorted(repository.rglob("*.dpj"))):
            folder = sandbox.root / "runs" / f"{repository.name}-{index}"
            folder.mkdir(parents=True)
            databases, _, printed = convert(cli, project, folder, sandbox)
            # Every exported makefile is checked, and every command agrees.
            if project.with_suffix(".mak").is_file():
                checks = [line for line in printed.splitlines() if line.startswith("Checked against the IDE's build")]
                if not checks or not all(line.endswith(" 0 differ") for line in checks):
                    problems.append(f"{project.name}: against its makefile: {checks}")
            for configuration, database in sorted(databases.items()):
                for entry in json.loads(database.read_text(encoding="utf-8")):
                    kind, output = verdict(entry, headers)
                    counts[kind] += 1
                    if kind == "other" and EXTERN_ASM not in output:
                        problems.append(f"{project.name} {configuration}: clang stops in {entry['file']}:\n{output}")
    print(", ".join(f"{kind}: {counts[kind]}" for kind in ("clean", "toolchain header only", "other", "file missing")))
    return problems


def check_example(cli, example, sandbox):
    problems = []
    shutil.copytree(example, sandbox.root / "example")
    databases, _, _ = convert(cli, sandbox.root / "example" / (example.name + ".dpj"), sandbox.root, sandbox)
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


def built_files(group, configuration, configurations, drives):
    """The files the IDE builds of a group and its children, but for other
    configurations' groups; those on a drive of the sandbox by their host paths."""
    if group.name in configurations and group.name != configuration:
        return []
    return [drives.host_path(f) or f for f in group.files
            if os.path.splitext(f.replace("\\", "/"))[1].lower() in BUILT_EXTENSIONS] + [
        f for child in group.children for f in built_files(child, configuration, configurations, drives)]


def check_corpus(cli, corpus, sandbox):
    problems = []
    for project in sorted(corpus.glob("*.dpj")):
        folder = sandbox.root / project.stem
        folder.mkdir()
        shutil.copyfile(project, folder / project.name)
        databases, root, _ = convert(cli, folder / project.name, folder, sandbox)
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
    parser.add_argument("mode", choices=("example", "corpus", "projects"))
    parser.add_argument("folder", type=Path, help="the example's folder, the corpus folder or the projects' folder")
    arguments = parser.parse_args()
    check = {"example": check_example, "corpus": check_corpus, "projects": check_projects}[arguments.mode]
    with Sandbox("compdb") as sandbox:
        problems = check(arguments.cli.resolve(), arguments.folder.resolve(), sandbox)
    return exit_status(problems)


if __name__ == "__main__":
    sys.exit(main())
