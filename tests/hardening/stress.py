#!/usr/bin/env python3
"""Stress inputs for ProjbridgeCli, made at test time.

Each case converts projects that are huge, deep or odd in one way, and checks
that the run ends with the message and exit status the converter gives for it,
within a time and memory bound, and with nothing on standard error (where a
sanitizer would report). Bounds are for a plain build; --sanitized widens
them for a build under AddressSanitizer.

  stress.py --cli ProjbridgeCli --list          names of the cases
  stress.py --cli ProjbridgeCli CASE [--sanitized]
"""

import os
import sys

from conversion_sandbox import CaseFailure, Conversion, case_registry, expect, expect_run, run_named_case
from project_text import (COMPLETED, CREATING, END, HEAD, INCOMPLETE, INSTALL_FOLDER, PROCESSOR, PROJECT,
                          UNEXPECTED_EOF, UNEXPECTED_TOKEN, Repeat, folder, folders, group_line, personality_line,
                          target)

MEGABYTE = 1024 * 1024
TIME_LIMIT_SECONDS = 10
MEMORY_LIMIT_BYTES = 64 * MEGABYTE
# AddressSanitizer runs the code several times slower, keeps freed memory in
# quarantine for a while and adds shadow memory.
SANITIZED_TIME_FACTOR = 5
SANITIZED_MEMORY_FACTOR = 3
SANITIZED_MEMORY_EXTRA_BYTES = 512 * MEGABYTE


class Stress(Conversion):
    """One case, with the bounds of each of its runs."""

    def __init__(self, sandbox, sanitized):
        super().__init__(sandbox, sandbox.area / f"{PROJECT}.dpj")
        self.time_factor = SANITIZED_TIME_FACTOR if sanitized else 1
        self.sanitized = sanitized
        self.destination.mkdir()

    def memory_limit(self, plain_limit):
        if self.sanitized:
            return plain_limit * SANITIZED_MEMORY_FACTOR + SANITIZED_MEMORY_EXTRA_BYTES
        return plain_limit

    def convert(self, destination=None, install_folder=INSTALL_FOLDER, memory_limit=MEMORY_LIMIT_BYTES,
                time_limit=TIME_LIMIT_SECONDS, source=None, options=()):
        destination = self.windows_path(self.destination) if destination is None else destination
        source = self.windows_path(self.source) if source is None else source
        time_limit *= self.time_factor
        outcome = self.sandbox.run_watched([source, destination, install_folder, *options], timeout_seconds=time_limit)
        problems = []
        if outcome.stderr:
            problems.append("standard error: " + outcome.stderr.decode("latin-1")[:2000])
        if outcome.seconds > time_limit:
            problems.append(f"took {outcome.seconds:.1f} s, more than {time_limit} s")
        limit = self.memory_limit(memory_limit)
        if outcome.peak_memory_bytes > limit:
            problems.append(f"used {outcome.peak_memory_bytes // MEGABYTE} MB, more than {limit // MEGABYTE} MB")
        if problems:
            raise CaseFailure("; ".join(problems))
        print(f"{outcome.seconds:.2f} s, {outcome.peak_memory_bytes // MEGABYTE} MB")
        return outcome



CASES, case = case_registry()
OWN_PERSONALITY = f"{PROJECT}\\{PROCESSOR}\\person\\{PROCESSOR}.p_a"


def own_personality_run(stress):
    """The lines of a run whose target group has an own analyser personality."""
    return [CREATING, group_line(PROJECT), group_line(PROCESSOR), personality_line(stress.out(OWN_PERSONALITY)),
            COMPLETED]


@case
def folders_nested_a_million_deep(stress):
    depth = 1_000_000
    stress.write_project(HEAD, target(), "<folders>\n", Repeat('<folder name="Source Files"><folders>\n', depth),
                         folder("code", ["deep.c"]), Repeat("</folders></folder>\n", depth), "</folders>\n", END)
    outcome = stress.convert()
    lines = outcome.lines()
    # The reader refuses nesting beyond a bound of its own; every source
    # folder group read up to there is written, and the run fails.
    expect("exit status", outcome.status, 1)
    expect("first lines", lines[:4], [UNEXPECTED_TOKEN + 'folder name="Source Files"', CREATING,
                                      group_line(PROJECT), group_line(PROCESSOR)])
    expect("last lines", lines[-2:], [COMPLETED, INCOMPLETE])
    expect("groups below the target", set(lines[4:-2]), {group_line("Source Files")})


@case
def unknown_elements_nested_a_million_deep(stress):
    depth = 1_000_000
    stress.write_project(HEAD, target(), Repeat("<extra>", depth), Repeat("</extra>", depth), END)
    expect_run(stress.convert(), 0, [CREATING, group_line(PROJECT), COMPLETED])


@case
def text_token_just_below_the_limit(stress):
    # A token may hold up to 64 MiB.
    size = 63 * MEGABYTE
    stress.write_project(HEAD, f'<target>\n<processor revision="Automatic">{PROCESSOR}</processor>\n<extension>',
                         Repeat("x", size), "</extension>\n</target>\n", END)
    expect_run(stress.convert(memory_limit=4 * size), 0, [CREATING, group_line(PROJECT), COMPLETED])

    # A name goes into several paths, and into the message.
    name_size = 10 * MEGABYTE
    stress.write_project(HEAD, '<target>\n<processor revision="Automatic">', Repeat("n", name_size),
                         "</processor>\n</target>\n", END)
    too_long = f"Could not create directory: {stress.out(PROJECT)}\\" + "n" * name_size
    expect_run(stress.convert(memory_limit=10 * name_size), 1, [CREATING, group_line(PROJECT), too_long])


@case
def tag_that_never_closes(stress):
    size = 20 * MEGABYTE
    attribute = ' revision="Automatic"'
    for opening in ("<target", "<!-- a comment", "<option><![CDATA[|-D>A|", "</target"):
        stress.write_project(HEAD, opening, Repeat(attribute, size // len(attribute)))
        expect_run(stress.convert(memory_limit=4 * size), 1, [UNEXPECTED_EOF])
        expect("destination after " + opening, list(stress.destination.iterdir()), [])


@case
def input_that_never_ends(stress):
    # A token, and a template, stop at their limits: 64 MiB and 16 MiB.
    never_ends = stress.windows_path("/dev/zero")
    expect_run(stress.convert(source=never_ends, memory_limit=256 * MEGABYTE), 1,
               ["Visual DSP Project file parsing encountered a token longer than 64 MiB"])
    expect("destination after the source", list(stress.destination.iterdir()), [])

    stress.write_project(HEAD, target(), folders(folder("Source Files", [".\\main.c"])), END)
    expect_run(stress.convert(options=["-ap", never_ends], memory_limit=128 * MEGABYTE), 1,
               [CREATING, group_line(PROJECT), "Analyser personality template longer than 16 MiB: " + never_ends])


@case
def configurations_100_thousand(stress):
    # Names repeat: each distinct name is three folders to create, and
    # 300,000 folders alone take longer than the whole stress set may. A
    # debugging build takes its time over the 100,000 groups all the same.
    count, names = 100_000, 1_000
    configurations = (
        f'<configuration name="C{i % names}">\n<tools>\n<tool type="Compiler">\n'
        f'<option><![CDATA[|-D>BOARD={i}|-I>.\\boards\\b{i}|]]></option>\n</tool>\n</tools>\n</configuration>\n'
        for i in range(count))
    stress.write_project(HEAD, target(), "<configurations>\n", configurations, "</configurations>\n", END)
    expect_run(stress.convert(memory_limit=256 * MEGABYTE, time_limit=3 * TIME_LIMIT_SECONDS), 0,
               [CREATING, group_line(PROJECT), group_line(PROCESSOR), COMPLETED])
    expect("configuration folders", len(list((stress.destination / PROJECT / PROCESSOR).iterdir())), names + 2)


@case
def configuration_names_of_1000_parts(stress):
    # Each part is a folder; the same deep name, given again, is made once.
    count, parts = 400, 1000
    name = "a/" * (parts - 1) + "z"
    stress.write_project(HEAD, target(), "<configurations>\n",
                         Repeat(f'<configuration name="{name}">\n</configuration>\n', count), "</configurations>\n", END)
    expect_run(stress.convert(time_limit=2), 0, [CREATING, group_line(PROJECT), group_line(PROCESSOR), COMPLETED])
    expect("deepest folder", (stress.destination / PROJECT / PROCESSOR / name / "person").is_dir(), True)


@case
def header_folders_100_thousand(stress):
    count = 100_000
    headers = (f'<file name=".\\include\\h{i}\\api.h">\n</file>\n' for i in range(count))
    stress.write_project(HEAD, target(), '<folders>\n<folder name="Header Files">\n<files>\n', headers,
                         "</files>\n</folder>\n", folder("Source Files", [".\\main.c"]), "</folders>\n", END)
    expect_run(stress.convert(memory_limit=256 * MEGABYTE), 0, own_personality_run(stress))
    source_folder = stress.windows_path(stress.sandbox.area)
    expect("own analyser personality", stress.read_output(OWN_PERSONALITY).decode("latin-1"),
           "".join(f'-i "{source_folder}\\include\\h{i}"\r\n' for i in range(count)))


@case
def path_of_100_thousand_characters(stress):
    length = 100_000
    long_file = ("C:\\" + "segment\\" * length)[:length - 2] + ".c"
    stress.write_project(HEAD, target(), folders(folder("Source Files", [long_file])), END)
    expect_run(stress.convert(), 0, [CREATING, group_line(PROJECT), group_line(PROCESSOR), COMPLETED])
    project_file = stress.read_output(PROJECT + ".prj").decode("latin-1").split("\r\n")
    expect("file line", [line for line in project_file if line.startswith("C:\\segment")], [long_file])

    long_destination = stress.out(("d" * 200 + "\\") * (length // 201))
    expect_run(stress.convert(destination=long_destination), 1,
               [f"Could not write file: {long_destination.rstrip(chr(92))}\\{PROJECT}.prj"])

    long_name = "n" * length
    stress.write_project(HEAD, target(processor=long_name), END)
    expect_run(stress.convert(), 1, [CREATING, group_line(PROJECT),
                                     f"Could not create directory: {stress.out(PROJECT)}\\{long_name}"])


@case
def install_variable_repeated(stress):
    count = 100_000
    stress.write_project(HEAD, target(), folders(folder("Header Files", ["$(VDSP)" * count + "\\include\\api.h"]),
                                                 folder("Source Files", [".\\main.c"])), END)
    # Only the first occurrence is replaced, and the installation folder's
    # own "$(VDSP)" is not expanded again.
    install_folder = "C:\\$(VDSP)"
    expect_run(stress.convert(install_folder=install_folder), 0, own_personality_run(stress))
    expect("own analyser personality", stress.read_output(OWN_PERSONALITY).decode("latin-1"),
           f'-i "{install_folder}' + "$(VDSP)" * (count - 1) + '\\include"\r\n')


@case
def nul_and_high_bytes_in_names_and_paths(stress):
    high = bytes(range(0x80, 0x100)).decode("latin-1")
    # Control characters would reach the terminal: the lines show them escaped,
    # the names on disk keep them.
    processor = "P" + high + "\x1b[2J\x7f"
    odd_file = "C:\\src\\" + high + "\0" + "tail.c"
    stress.write_project(HEAD, target(processor=processor), folders(folder("Source Files", [odd_file])), END)
    expect_run(stress.convert(), 0, [CREATING, group_line(PROJECT), group_line("P" + high + "\\x1b[2J\\x7f"),
                                     COMPLETED])
    group_folder = os.fsencode(stress.destination / PROJECT) + b"/" + processor.encode("latin-1")
    expect("group folder made with the name's bytes", os.path.isdir(group_folder), True)
    project_file = stress.read_output(PROJECT + ".prj").decode("latin-1").split("\r\n")
    expect("file line", [line for line in project_file if line.startswith("C:\\src")], [odd_file])

    # No file system name holds a NUL: a folder cut short at it would be
    # another folder than the project file names.
    stress.empty_destination()
    stress.write_project(HEAD, target(processor="AB\0CD"), folders(folder("Source Files", [".\\main.c"])), END)
    expect_run(stress.convert(), 1, [CREATING, group_line(PROJECT),
                                     f"Could not create directory: {stress.out(PROJECT)}\\AB\\x00CD"])
    expect("folders of the project", sorted(p.name for p in (stress.destination / PROJECT).iterdir()),
           ["output", "person"])


@case
def line_breaks_in_names_and_paths(stress):
    # A line break inside a name or path would add lines to the project file
    # or a personality that the analyser reads as markers or options.
    stress.write_project(HEAD, target(), folders(folder("Header Files", [".\\inc\nx\\api.h"]),
                                                 folder("Source Files", [".\\main.c"])), END)
    expect_run(stress.convert(), 1, own_personality_run(stress)[:-1] +
               ["Could not write file: " + stress.out(OWN_PERSONALITY)])
    expect("own analyser personality", stress.read_output(OWN_PERSONALITY), b"")

    project_file = stress.out(PROJECT + ".prj")
    for processor, source_file in (("ADSP\n21369", "C:\\main.c"), (PROCESSOR, "C:\\src\\a\rb.c")):
        stress.empty_destination()
        stress.write_project(HEAD, target(processor=processor), folders(folder("Source Files", [source_file])), END)
        outcome = stress.convert()
        expect("exit status", outcome.status, 1)
        expect("last line", outcome.lines()[-1], "Could not write file: " + project_file)
        written = stress.read_output(PROJECT + ".prj")
        expect("project file lines", b"\r" in written.replace(b"\r\n", b"") or b"\n" in written.replace(b"\r\n", b""),
               False)


@case
def include_scan_of_endless_circular_and_odd_files(stress):
    # The scan for the databases' stand-ins meets /dev/zero through an
    # include, a named pipe listed as a source, two guarded headers that
    # include each other under ever new spellings, and folders whose names a
    # quoted #include line cannot hold.
    area = stress.sandbox.area
    for name in ("src", "inc", 'we"ird', 'we">ird'):
        (area / name).mkdir()
    endless = "..\\" * len(area.parts) + "dev\\zero"
    (area / "src" / "main.c").write_text(f'#include "..\\inc\\a.h"\n#include "{endless}"\n')
    (area / "inc" / "a.h").write_text('#include "..\\inc\\b.h"\n#include ".\\b.h"\n')
    (area / "inc" / "b.h").write_text('#include "..\\inc\\a.h"\n#include ".\\a.h"\n')
    os.mkfifo(area / "pipe.c")
    for name, header in (('we"ird', "odd.h"), ('we">ird', "bad.h")):
        (area / name / "odd.c").write_text(f'#include "{header.capitalize()}"\n')
        (area / name / header).write_text("")
    sources = [".\\src\\main.c", ".\\pipe.c", ".\\we&quot;ird\\odd.c", ".\\we&quot;&gt;ird\\odd.c"]
    stress.write_project(HEAD, target(), '<configurations>\n<configuration name="Debug">\n</configuration>\n'
                         "</configurations>\n", folders(folder("Source Files", sources)), END)
    report = stress.destination / "report.tsv"
    outcome = stress.convert(options=["-compdb", stress.out("db"), "-report", stress.windows_path(report)])
    expect("exit status", outcome.status, 0)
    host = str(area)
    findings = sorted(tuple(line.split("\t")[:4]) for line in report.read_text(encoding="latin-1").splitlines()
                      if line.split("\t")[0] in ("not scanned", "no stand-in"))
    expect("lines of the scan", findings, sorted([
        ("not scanned", "Debug", host + "/pipe.c", "not a regular file"),
        ("not scanned", "Debug", host + "/src/" + endless.replace("\\", "/"), "not a regular file"),
        ("no stand-in", "Debug", "Bad.h", f'no #include line can name the file: {host}/we">ird/bad.h')]))
    stand_ins = stress.destination / "db" / "Debug" / "include-names"
    expect("stand-ins", sorted(path.name for path in stand_ins.iterdir()),
           sorted([".\\a.h", ".\\b.h", "..\\inc\\a.h", "..\\inc\\b.h", "Odd.h"]))
    expect("stand-in of a path with a double quote", (stand_ins / "Odd.h").read_text(),
           f'#include <{host}/we"ird/odd.h>\n')


if __name__ == "__main__":
    sys.exit(run_named_case(__doc__, CASES, Stress))
