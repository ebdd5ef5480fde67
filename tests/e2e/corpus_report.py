#!/usr/bin/env python3
"""Converts one real project file with -report and checks the report against it.

Every file entry that the project file names must stand in the report's item
column, and the counts of the run's last line must be those of the report's
lines: distinct source files taken, file entries taken in no configuration,
and paths missing. The project file is copied to a temporary folder first.
"""

import argparse
import re
import shutil
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "support"))
from conversion_harness import Sandbox, exit_status

FILE_ENTRY = re.compile(rb'<file\s+name="([^"]*)"')
SUMMARY = re.compile(r"^Report: (\d+) source files taken, (\d+) file entries not taken, "
                     r"(\d+) paths missing: (.+)$")
COLUMNS = ["kind", "configuration", "item", "detail"]


def read_report(path):
    lines = path.read_bytes().decode("latin-1").split("\r\n")
    if lines.pop() != "":
        raise ValueError("the report does not end with CR LF")
    rows = [line.split("\t") for line in lines]
    if rows[0] != COLUMNS:
        raise ValueError(f"the first line names other columns: {rows[0]}")
    bad = [row for row in rows[1:] if len(row) != len(COLUMNS)]
    if bad:
        raise ValueError(f"lines without four fields: {bad[:3]}")
    return [dict(zip(COLUMNS, row)) for row in rows[1:]]


def taken_source_path(row):
    """The path of a taken source file: the detail after its group."""
    written = row["detail"].split(": ", 1)[1]
    return None if written.startswith("include folder ") else written


def check(project, report_rows, summary):
    problems = []
    names = [match.decode("latin-1") for match in FILE_ENTRY.findall(project.read_bytes())]
    items = {row["item"] for row in report_rows}
    problems += [f"file entry {name!r} is not in the report" for name in names if name not in items]

    taken = [row for row in report_rows if row["kind"] == "taken"]
    taken_names = {row["item"] for row in taken}
    counted = (len({path for path in map(taken_source_path, taken) if path is not None}),
               sum(1 for name in names if name not in taken_names),
               sum(1 for row in report_rows if row["kind"] == "missing"))
    if counted != summary:
        problems.append(f"the summary counts {summary}, the report's lines {counted}")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", required=True, help="the ProjbridgeCli program")
    parser.add_argument("project", type=Path, help="the real project file")
    arguments = parser.parse_args()
    with Sandbox("corpus-report") as sandbox:
        project = sandbox.root / arguments.project.name
        shutil.copyfile(arguments.project, project)
        (sandbox.root / "out").mkdir()
        report = sandbox.root / "report.tsv"
        completed = sandbox.run([arguments.cli, project, sandbox.root / "out", "C:\\VisualDSP", "-report", report])
        output = completed.stdout.decode("latin-1").splitlines()
        match = SUMMARY.match(output[-1]) if output else None
        if completed.returncode != 0 or match is None:
            print(f"status {completed.returncode}, last lines: {output[-3:]}")
            return 1
        try:
            problems = check(project, read_report(report), tuple(int(match.group(i)) for i in (1, 2, 3)))
        except (ValueError, IndexError) as failure:
            problems = [str(failure)]
    return exit_status(problems)


if __name__ == "__main__":
    sys.exit(main())
