#!/usr/bin/env python3
"""Real faults around a run of ProjbridgeCli, made by the file system itself.

Each case makes one fault happen for real (a disk that fills up through a file
size limit on the converter's process, a file or folder where the other is
needed, group names that climb out of the destination) and checks the
message, the exit status, what the destination holds, and that nothing
outside the destination changed: a listing of the whole sandbox with a
checksum of every file, taken before and after the run.

  faults.py --cli ProjbridgeCli --list          names of the cases
  faults.py --cli ProjbridgeCli CASE [--sanitized]
"""

import os
import re
import shutil
import sys
from pathlib import Path

from conversion_sandbox import (CaseFailure, Conversion, case_registry, changes, expect, expect_run, listing,
                                run_named_case)
from project_text import (COMPLETED, CREATING, END, HEAD, INSTALL_FOLDER, PROCESSOR, PROJECT, TEMPLATE_NOT_OPENED,
                          UNEXPECTED_EOF, folder, folders, group_line, personality_line, target)

TIMEOUT_SECONDS = 60
SANITIZED_TIMEOUT_FACTOR = 5
KILOBYTE = 1024
CHANGED_SAME_LINES = ("Edited since the last run where the project changed the same lines; the edit no longer applies, "
                      "kept as: ")


class Fault(Conversion):
    """One case, with a template beside the project, and runs watched for
    changes outside the destination."""

    def __init__(self, sandbox, sanitized):
        super().__init__(sandbox, sandbox.area / "work" / f"{PROJECT}.dpj")
        self.timeout = TIMEOUT_SECONDS * (SANITIZED_TIMEOUT_FACTOR if sanitized else 1)
        self.template = sandbox.area / "templates" / "analyser.lnt"
        self.template.parent.mkdir()
        self.template.write_bytes(b"-w2\n")

    def convert(self, options=(), file_size_limit=None, destination=None, closed_descriptors=()):
        """Runs the conversion into the destination (or another folder that
        leads there) and fails the case when anything beside the destination
        changed."""
        left_out = [self.destination, self.sandbox.capture]
        before = listing(self.sandbox.root, left_out)
        destination = self.destination if destination is None else destination
        arguments = [self.windows_path(self.source), self.windows_path(destination), INSTALL_FOLDER, *options]
        outcome = self.sandbox.run_watched(arguments, timeout_seconds=self.timeout, file_size_limit=file_size_limit,
                                           closed_descriptors=closed_descriptors)
        outside = changes(before, listing(self.sandbox.root, left_out))
        if outside:
            raise CaseFailure("changed outside the destination:\n" + "\n".join(outside))
        if outcome.stderr:
            raise CaseFailure("standard error: " + outcome.stderr.decode("latin-1"))
        return outcome

    def convert_previewed(self, options=()):
        """A dry run first, which must change nothing and tell, file by file,
        what the real run then says it merged, set aside, removed and kept."""
        before = listing(self.destination)
        preview = self.convert([*options, "-dry-run"])
        expect("dry run", (preview.status, changes(before, listing(self.destination))), (0, []))
        outcome = self.convert(options)
        expect("told by the dry run", told(preview.lines(), PREVIEW_SAYS), told(outcome.lines(), RUN_SAYS))
        return outcome


# What a dry run and a real run say they do with a file, as (what, file).
PREVIEW_SAYS = {"merged": r"Would merge the edit into: (.*)", "set aside": r"Would set aside: .*, kept as: (.*)",
                "removed": r"Would remove, the project no longer has it: (.*)",
                "kept": r"Would keep where it is, edited since the last run: (.*)"}
RUN_SAYS = {"merged": r"Edited since the last run, merged: (.*)",
            "set aside": r"Edited since the last run.*kept as: (.*)",
            "removed": r"Removed, the project no longer has it: (.*)",
            "kept": r"Edited since the last run, kept where it is: (.*)"}


def told(lines, says):
    return sorted((what, found[1]) for line in lines for what, pattern in says.items()
                  if (found := re.fullmatch(pattern, line)))


CASES, case = case_registry()


def without_dot_parts(path):
    """The one spelling the converter gives a path it writes to."""
    return path.replace("\\.\\", "\\")


def expect_cut_short(fault, project_lines, failed_file, file_size_limit):
    """Converts once with room and once with the limit: the second run fails
    on the file and leaves the first run's bytes of it up to the limit."""
    fault.empty_destination()
    whole = fault.convert()
    expect("exit status with room", whole.status, 0)
    whole_file = fault.read_output(failed_file)
    if len(whole_file) <= file_size_limit:
        raise CaseFailure(f"{failed_file} has {len(whole_file)} bytes, no more than the limit")

    fault.empty_destination()
    expect_run(fault.convert(file_size_limit=file_size_limit), 1,
               project_lines + ["Could not write file: " + fault.out(failed_file)])
    expect(failed_file, fault.read_output(failed_file), whole_file[:file_size_limit])


@case
def disk_full_in_the_project_file(fault):
    file_count = 400
    sources = [f".\\src\\module{i}.c" for i in range(file_count)]
    fault.write_project(HEAD, target(), folders(folder("Source Files", sources)), END)
    expect_cut_short(fault, [CREATING, group_line(PROJECT), group_line(PROCESSOR)], f"{PROJECT}.prj",
                     4 * KILOBYTE)


@case
def disk_full_in_a_personality_file(fault):
    header_count = 4000
    headers = [f".\\include\\module{i}\\api.h" for i in range(header_count)]
    fault.write_project(HEAD, target(), folders(folder("Header Files", headers), folder("Source Files", [".\\main.c"])),
                        END)
    personality = f"{PROJECT}\\{PROCESSOR}\\person\\{PROCESSOR}.p_a"
    expect_cut_short(fault, [CREATING, group_line(PROJECT), group_line(PROCESSOR),
                             personality_line(fault.out(personality))], personality, 64 * KILOBYTE)


@case
def destination_is_a_file(fault):
    fault.write_project(HEAD, target(), folders(folder("Source Files", [".\\main.c"])), END)
    fault.destination.write_bytes(b"a file, not a folder\n")
    # A dry run fails where the run would, and writes nothing either.
    for options in ([], ["-dry-run"]):
        expect_run(fault.convert(options), 1, ["Could not write file: " + fault.out(f"{PROJECT}.prj")])
    expect("destination", fault.destination.read_bytes(), b"a file, not a folder\n")


@case
def template_is_a_folder(fault):
    fault.write_project(HEAD, target(), folders(folder("Header Files", [".\\include\\api.h"]),
                                                folder("Source Files", [".\\main.c"])), END)
    fault.empty_destination()
    own = f"{PROJECT}\\{PROCESSOR}\\person\\{PROCESSOR}.p_a"
    expect_run(fault.convert(["-ap", fault.windows_path(fault.template.parent)]), 0,
               [CREATING, group_line(PROJECT), TEMPLATE_NOT_OPENED, group_line(PROCESSOR),
                personality_line(fault.out(own)), TEMPLATE_NOT_OPENED, COMPLETED])
    expect("default analyser personality", fault.read_output(f"person\\{PROJECT}.p_a"), b"")
    expect("own analyser personality", fault.read_output(own),
           f'-i "{fault.windows_path(fault.source.parent)}\\include"\r\n'.encode("latin-1"))


@case
def report_is_a_folder(fault):
    # The report is opened once the run's files are weighed, before the writer
    # starts: a report that cannot be written stops the run with nothing made.
    fault.write_project(HEAD, target(), folders(folder("Source Files", [".\\main.c"])), END)
    fault.empty_destination()
    (fault.destination / "report.tsv").mkdir()
    expect_run(fault.convert(["-report", fault.out("report.tsv")]), 1,
               ["Could not write file: " + fault.out("report.tsv")])
    expect("destination", [p.name for p in fault.destination.iterdir()], ["report.tsv"])
    expect("report folder", list((fault.destination / "report.tsv").iterdir()), [])


@case
def standard_streams_closed(fault):
    # A file opened on a closed descriptor 1 would take the lines meant for
    # standard output.
    fault.write_project(HEAD, target(), folders(folder("Source Files", [".\\main.c"])), END)
    for closed in ((1,), (0, 1, 2)):
        fault.empty_destination()
        expect_run(fault.convert(closed_descriptors=closed), 0, [])
        expect(f"project file with descriptors {closed} closed",
               fault.read_output(f"{PROJECT}.prj").startswith(b"VersionTag45"), True)


@case
def source_is_a_folder(fault):
    fault.source.mkdir()
    fault.empty_destination()
    expect_run(fault.convert(), 1, ["Could not open file: " + fault.windows_path(fault.source)])
    expect("destination", list(fault.destination.iterdir()), [])


@case
def group_names_leaving_the_destination(fault):
    # The processor names the group right below the root group's folder, so
    # two ".." parts already reach the folder around the destination.
    for name in ("..", "..\\..", "a\\..\\..\\b", "..\\..\\..\\escape", "a/../../../escape", "a\\../..\\../b"):
        fault.write_project(HEAD, target(processor=name),
                            "<configurations>\n<configuration name=\"Debug\">\n</configuration>\n</configurations>\n",
                            folders(folder("Source Files", [".\\main.c"])), END)
        fault.empty_destination()
        # Refused by the plan: nothing is made at all.
        expect_run(fault.convert(), 1, ["Could not create directory: " + fault.out(f"{PROJECT}\\{name}")])
        expect("made for " + name, os.listdir(fault.destination), [])


@case
def links_below_the_destination(fault):
    fault.write_project(HEAD, target(), folders(folder("Source Files", [".\\main.c"])), END)
    outside = fault.sandbox.area / "outside"
    outside.mkdir()
    (outside / "victim.txt").write_bytes(b"not the converter's\n")
    cannot_write, cannot_create = "Could not write file: ", "Could not create directory: "
    root_written = [CREATING, group_line(PROJECT)]
    # Where a link stands below the destination, where it leads, and the lines
    # of the run that meets it.
    for link, leads_to, lines in (
            (f"{PROJECT}.prj", "../outside/victim.txt", [cannot_write + fault.out(f"{PROJECT}.prj")]),
            (f"person/{PROJECT}.p_s", "../../outside/victim.txt",
             root_written + [cannot_write + fault.out(f"person\\{PROJECT}.p_s")]),
            (f"person/{PROJECT}.p_a", "../../outside/made-through-a-link.txt",
             root_written + [cannot_write + fault.out(f"person\\{PROJECT}.p_a")]),
            ("person", "../outside", root_written + [cannot_create + fault.out("person\\")]),
            (PROJECT, "../outside", [CREATING, cannot_create + fault.out(PROJECT)]),
            (f"{PROJECT}/{PROCESSOR}/output", "../../../outside",
             root_written + [cannot_create + fault.out(f"{PROJECT}\\{PROCESSOR}\\output\\")])):
        fault.empty_destination()
        planted = fault.destination / link
        planted.parent.mkdir(parents=True, exist_ok=True)
        planted.symlink_to(leads_to)
        expect_run(fault.convert(), 1, lines)
    # The databases' folder and its missing parents are made below the
    # destination as its own folders are: not through a link on the way.
    fault.empty_destination()
    (fault.destination / "radio").symlink_to("../outside")
    expect_run(fault.convert(["-compdb", fault.out("radio\\db\\compdb")]), 1,
               [CREATING, group_line(PROJECT), group_line(PROCESSOR), COMPLETED,
                cannot_create + fault.out("radio\\db\\compdb")])

    # The destination folder itself may be a link.
    fault.empty_destination()
    linked_destination = fault.sandbox.area / "linked-out"
    linked_destination.symlink_to("out")
    expect_run(fault.convert(destination=linked_destination), 0,
               [CREATING, group_line(PROJECT), group_line(PROCESSOR), COMPLETED])
    expect("project file reached through the link", (fault.destination / f"{PROJECT}.prj").is_file(), True)


@case
def outputs_that_are_inputs_or_other_outputs(fault):
    # Each row: the source project, the options, the file that is both (or
    # twice an output) as the clash line names it first and second, and the
    # options of a first run that makes the outputs, if one must. Nothing
    # anywhere may change, and the run fails.
    debug = '<configurations>\n<configuration name="Debug">\n</configuration>\n</configurations>\n'
    fault.write_project(HEAD, target(), debug, folders(folder("Header Files", [".\\include\\api.h"]),
                                                       folder("Source Files", [".\\main.c"])), END)
    cut_short = fault.source.with_name("cut.dpj")
    cut_short.write_bytes(fault.source.read_bytes()[:-len(END) - 20])
    for name in ("message.lnt", "compiler.lnt"):
        (fault.template.parent / name).write_bytes(b"-w3\n")
    (fault.sandbox.area / "alias").symlink_to("work")
    source, cut, template = (fault.windows_path(path) for path in (fault.source, cut_short, fault.template))
    message, compiler = (fault.windows_path(fault.template.parent / name) for name in ("message.lnt", "compiler.lnt"))
    through_link = fault.windows_path(fault.sandbox.area / "alias" / "." / f"{PROJECT}.dpj")
    project_file, own = fault.out(f"{PROJECT}.prj"), fault.out(f"{PROJECT}\\{PROCESSOR}\\person\\{PROCESSOR}.p_a")
    own_spelled_otherwise = fault.out(f"{PROJECT}\\{PROCESSOR.lower()}\\.\\person\\{PROCESSOR}.P_A")
    database = fault.out("db\\Debug\\compile_commands.json")
    other_case = fault.out("DB\\debug\\.\\compile_commands.json")
    # A group names its project in other letter case, which the IDE finds.
    group = fault.source.with_name("group.dpg")
    group.write_text(f'<visualdsp-project-group>\n<project name="{PROJECT}" file="{PROJECT.upper()}.DPJ"/>\n'
                     "</visualdsp-project-group>\n")
    group = fault.windows_path(group)
    member = fault.windows_path(fault.source.with_name(PROJECT.upper() + ".DPJ"))
    # A source whose include clang finds only in other letter case: the
    # databases get a stand-in, an output like any other.
    (fault.source.parent / "main.c").write_bytes(b'#include "Main.h"\n')
    (fault.source.parent / "main.h").write_bytes(b"")
    stand_in_folder = fault.destination / "db" / "Debug" / "include-names"
    stand_in = fault.out("db\\Debug\\include-names\\Main.h")
    # A folder the run makes, and the ".." after it.
    made_and_left = fault.out("db\\new\\..")
    database_through_it = made_and_left + "\\Debug\\compile_commands.json"

    def stand_in_linked_to_source():
        stand_in_folder.mkdir(parents=True)
        os.link(fault.source, stand_in_folder / "Main.h")

    record, neighbour = fault.out(f"{PROJECT}.projbridge-record"), fault.out("other.projbridge-record")

    def neighbour_converted():
        (fault.destination / "other.projbridge-record").write_bytes(b"Projbridge run record 2\r\n")

    rows = [
        (source, ["-report", record], ("the run record", record), ("the report", record), None),
        (source, ["-report", record + ".new"], ("the run record", record + ".new"), ("the report", record + ".new"),
         None),
        (source, ["-report", neighbour], ("the report", neighbour), ("the run record of another project", neighbour),
         neighbour_converted),
        (group, ["-report", source], ("the report", source), ("a project of the group", member), None),
        (source, ["-report", source], ("the report", source), ("the source project", source), None),
        (source, ["-report", through_link], ("the report", through_link), ("the source project", source), None),
        (cut, ["-report", cut], ("the report", cut), ("the source project", cut), None),
        (source, ["-report", template, "-ap", template], ("the report", template),
         ("the analyser personality template", template), None),
        (source, ["-mp", message, "-report", message], ("the report", message),
         ("the message personality", message), None),
        (source, ["-cp", compiler, "-report", compiler], ("the report", compiler),
         ("the compiler personality", compiler), None),
        (source, ["-ap", own], ("the analyser personality", own), ("the analyser personality template", own), []),
        (source, ["-mp", project_file], ("the project file", project_file),
         ("the message personality", project_file), []),
        (source, ["-compdb", fault.out("db"), "-ap", database], ("the compilation database", database),
         ("the analyser personality template", database), ["-compdb", fault.out("db")]),
        (source, ["-report", project_file], ("the report", project_file), ("the project file", project_file), []),
        (source, ["-report", own_spelled_otherwise], ("the report", without_dot_parts(own_spelled_otherwise)),
         ("the analyser personality", own), None),
        (source, ["-compdb", fault.out("db"), "-report", other_case], ("the report", without_dot_parts(other_case)),
         ("the compilation database", database), None),
        (source, ["-compdb", fault.out("db"), "-ap", stand_in], ("the include stand-in", stand_in),
         ("the analyser personality template", stand_in), ["-compdb", fault.out("db")]),
        (source, ["-compdb", fault.out("db")], ("the include stand-in", stand_in), ("the source project", source),
         stand_in_linked_to_source),
        (source, ["-compdb", fault.out("db"), "-report", stand_in], ("the report", stand_in),
         ("the include stand-in", stand_in), None),
        (source, ["-compdb", made_and_left, "-ap", database], ("the compilation database", database_through_it),
         ("the analyser personality template", database), ["-compdb", fault.out("db")]),
        (source, ["-compdb", made_and_left, "-report", database], ("the report", database),
         ("the compilation database", database_through_it), None),
    ]
    for project, options, (output_role, output), (other_role, other), first_run in rows:
        fault.empty_destination()
        if callable(first_run):
            first_run()
        elif first_run is not None:
            expect("first run of " + repr(options), fault.convert(first_run).status, 0)
        before = listing(fault.sandbox.root, [fault.sandbox.capture])
        arguments = [project, fault.windows_path(fault.destination), INSTALL_FOLDER, *options]
        outcome = fault.sandbox.run_watched(arguments, timeout_seconds=fault.timeout)
        clash = f"Will not write {output_role} {output}: it is the same file as {other_role} {other}"
        read_first = {cut: [UNEXPECTED_EOF], group: [f"Reading Project - {PROJECT}: {member}"]}.get(project, [])
        expect_run(outcome, 1, read_first + [clash])
        expect("changes made with " + repr(options), changes(before, listing(fault.sandbox.root,
                                                                             [fault.sandbox.capture])), [])


def configurations(*names_and_macros):
    parts = [f'<configuration name="{name}">\n<tools>\n<tool type="Compiler">\n'
             f'<option><![CDATA[|-D>{macro}]]></option>\n</tool>\n</tools>\n</configuration>\n'
             for name, macro in names_and_macros]
    return "<configurations>\n" + "".join(parts) + "</configurations>\n"


@case
def configuration_names_leading_to_one_folder(fault):
    # Each configuration's macro must reach its own personality and database,
    # and no file may be written for two of them.
    named = [("a", "PLAIN"), ("./a", "DOTTED"), ("a/", "SLASHED"), ("A", "UPPER"), ("", "EMPTY"), (".", "DOT")]
    built_by_each = "".join(f'<file-configuration name="{name}">\n<excluded-flag value="no"/>\n</file-configuration>\n'
                            for name, _ in named)
    main = f'<file name=".\\main.c">\n<file-configurations>\n{built_by_each}</file-configurations>\n</file>\n'
    fault.write_project(HEAD, target(), configurations(*named),
                        folders('<folder name="Source Files">\n<files>\n' + main + "</files>\n</folder>\n"), END)
    fault.empty_destination()
    database_folder = fault.destination / "db"
    report = fault.destination / "report.tsv"
    outcome = fault.convert(["-compdb", fault.windows_path(database_folder), "-report", fault.windows_path(report)])
    expect("exit status", outcome.status, 0)
    folders_given = ["a", "a (2)", "a (3)", "A (4)", "unnamed", "unnamed (2)"]
    target_folder = f"{PROJECT}\\{PROCESSOR}"
    for (name, macro), given in zip(named, folders_given):
        own = f"{target_folder}\\{given}\\person\\{given}.p_a"
        expect("personality of " + repr(name), fault.read_output(own), f'-d "{macro}"\r\n'.encode())
        database = (database_folder / given / "compile_commands.json").read_text()
        expect("database of " + repr(name), f'"-D{macro}"' in database, True)
    renamed = [line.split("\t")[2:] for line in report.read_text(encoding="latin-1").splitlines()
               if line.startswith("renamed\t")]
    expect("renamed lines", renamed,
           [[name, fault.out(f"{target_folder}\\{given}")] for (name, _), given in zip(named, folders_given)
            if name != given] +
           [[name, fault.windows_path(database_folder) + "\\" + given] for (name, _), given in zip(named, folders_given)
            if name != given])



def write_built_project(fault, names_and_macros):
    """A project whose one source every configuration named builds."""
    built = "".join(f'<file-configuration name="{name}">\n<excluded-flag value="no"/>\n</file-configuration>\n'
                    for name, _ in names_and_macros)
    main = f'<file name=".\\main.c">\n<file-configurations>\n{built}</file-configurations>\n</file>\n'
    fault.write_project(HEAD, target(), configurations(*names_and_macros),
                        folders('<folder name="Source Files">\n<files>\n' + main + "</files>\n</folder>\n"), END)


@case
def converting_again(fault):
    # A first run, an untouched rerun, edits, a project that lost two of its
    # configurations, a failed rerun, and other projects in the destination.
    def write_project(*names, debug_macro="D"):
        write_built_project(fault, [(name, debug_macro if name == "Debug" else name[0]) for name in names])

    write_project("Debug", "Release", "Test")
    fault.empty_destination()
    expect("first run", fault.convert().status, 0)
    first = listing(fault.destination)
    expect("untouched rerun", (fault.convert().status, changes(first, listing(fault.destination))), (0, []))

    def own(name):
        return f"{PROJECT}\\{PROCESSOR}\\{name}\\person\\{name}.p_a"

    def append(name, line):
        with open(fault.destination / name.replace("\\", "/"), "ab") as out:
            out.write(line)

    edits = {f"person\\{PROJECT}.p_s": b"-e123\r\n", f"person\\{PROJECT}.p_c": b"-cgnu\r\n", own("Debug"): b"-w3\r\n",
             f"{PROJECT}.prj": b"#\r\n"}
    written = {name: fault.read_output(name) for name in edits}
    for name, line in edits.items():
        append(name, line)
    (fault.destination / (own("Debug") + ".edited").replace("\\", "/")).write_bytes(b"mine\r\n")
    # The project unchanged, the run has nothing to bring into any of them:
    # every edit stays in effect, and the record still tells it for an edit.
    edited = listing(fault.destination)
    for attempt in (1, 2):
        outcome = fault.convert()
        expect(f"unchanged rerun {attempt} after edits",
               (outcome.status, [line for line in outcome.lines() if line.startswith("Edited")],
                changes(edited, listing(fault.destination))), (0, [], []))
    # Debug's macro changes: its edited personality is kept beside, while the
    # project file, which gets the same lines again, keeps its edit.
    write_project("Debug", "Release", "Test", debug_macro="X")
    outcome = fault.convert_previewed()
    expect("rerun after a change", (outcome.status, [line for line in outcome.lines() if line.startswith("Edited")]),
           (0, [CHANGED_SAME_LINES + fault.out(own("Debug") + ".edited-2")]))
    for name, line in edits.items():
        kept_as = {own("Debug"): own("Debug") + ".edited-2"}.get(name, name)
        expect(name + " edited", fault.read_output(kept_as), written[name] + line)
    expect("rewritten", fault.read_output(own("Debug")), written[own("Debug")].replace(b'"D"', b'"X"'))
    expect("the user's own file", fault.read_output(own("Debug") + ".edited"), b"mine\r\n")
    # A line of the user's apart from what the project changes: both stay.
    debug = fault.destination / own("Debug").replace("\\", "/")
    debug.write_bytes(b"-w5\r\n" + debug.read_bytes())
    write_project("Debug", "Release", "Test", debug_macro="X,Y")
    outcome = fault.convert_previewed(["-report", fault.out("merged.tsv")])
    expect("merged", (outcome.status, [line for line in outcome.lines() if line.startswith("Edited")],
                      debug.read_bytes(), [line.split("\t")[2] for line in fault.read_output("merged.tsv").decode()
                                           .splitlines() if line.startswith("merged")]),
           (0, ["Edited since the last run, merged: " + fault.out(own("Debug"))], b'-w5\r\n-d "X"\r\n-d "Y"\r\n',
            [fault.out(own("Debug"))]))
    (fault.destination / "merged.tsv").unlink()

    append(own("Release"), b"-w4\r\n")
    write_project("Debug")
    outcome = fault.convert_previewed(["-report", fault.out("report.tsv")])
    # The leftovers go last, once the report and the record are written.
    expect("project changed", (outcome.status, outcome.lines()[-2:]),
           (0, ["Edited since the last run, kept where it is: " + fault.out(own("Release")),
                "Files the project no longer has: 1 removed, 1 kept as edited since the last run"]))
    expect("reported", [line.split("\t")[0:3:2] for line in fault.read_output("report.tsv").decode().splitlines()
                        if line.split("\t")[0] in ("removed", "kept")],
           [["removed", fault.out(own("Test"))], ["kept", fault.out(own("Release"))]])
    target_folder = fault.destination / PROJECT / PROCESSOR
    expect("left of Release and Test", sorted(str(p.relative_to(target_folder)) for p in target_folder.rglob("*")
                                              if "Debug" not in p.parts),
           ["Release", "Release/person", "Release/person/Release.p_a", "output", "person"])

    # A run that stops inside the project file claims none of it: the next
    # run keeps nothing aside.
    (target_folder / "Debug" / "person" / "Debug.p_a").unlink()
    (target_folder / "Debug" / "person" / "Debug.p_a").mkdir()
    # The project file, cut short there, is not the edit's to take back.
    expect("failed rerun", fault.convert().lines()[-2:], ["Could not write file: " + fault.out(own("Debug")),
                                                          "Edited since the last run, kept as: " +
                                                          fault.out(f"{PROJECT}.prj.edited")])
    (target_folder / "Debug" / "person" / "Debug.p_a").rmdir()
    # The report of the run before is kept: this run writes none.
    outcome = fault.convert()
    expect("rerun after a failure", (outcome.status, [line for line in outcome.lines() if "kept as" in line],
                                     (fault.destination / "report.tsv").is_file()), (0, [], True))

    # Another project whose files have other names lives beside it; one whose
    # files are this one's is refused before it writes anything.
    second = fault.source.with_name("second.dpj")
    second.write_bytes(fault.source.read_bytes())
    arguments = [fault.windows_path(second), fault.out(), INSTALL_FOLDER]
    expect("second project", fault.sandbox.run_watched(arguments, timeout_seconds=fault.timeout).status, 0)
    before = listing(fault.destination)
    expect("first project again", fault.convert().status, 0)
    for options in (["-pn", "other"], ["-pn", "other", "-dry-run"]):
        expect_run(fault.convert(options), 1, [f"Will not write {fault.out(own('Debug'))}: the project {PROJECT} "
                                               "converted into this destination wrote it"])
    expect("changes", changes(before, listing(fault.destination)), [])

    # The database folder of a configuration the project lost goes with it.
    database = ["-compdb", fault.out("db")]
    write_project("Debug", "Release")
    expect("with databases", fault.convert_previewed(database).status, 0)
    write_project("Debug")
    expect("databases left", (fault.convert_previewed(database).status, sorted(os.listdir(fault.destination / "db"))),
           (0, ["Debug"]))

@case
def converting_again_however_named(fault):
    # The record names its files relative to the folders the run writes, so
    # that every spelling of the destination, a copy and a moved one act
    # alike; what a record says of other places, and a link on the way, are
    # never acted on; a file the run reads is never removed.
    def write_project(*names, macro="M"):
        write_built_project(fault, [(name, macro) for name in names])

    def run(destination, *options):
        return fault.sandbox.run_watched([fault.windows_path(fault.source), destination, INSTALL_FOLDER, *options],
                                         timeout_seconds=fault.timeout)

    def own(name, out=None):
        return (out or fault.destination) / PROJECT / PROCESSOR / name / "person" / f"{name}.p_a"

    def kept_lines(outcome):
        return [line for line in outcome.lines() if line.startswith("Edited") or "removed" in line]

    # A name with a line break fails the project file, but not the record
    # that the failed run leaves.
    write_project("Deb&#10;ug", "Release")
    fault.empty_destination()
    expect("line break", [fault.convert().status for _ in range(2)], [1, 1])
    expect("record read whole", [line for line in fault.convert().lines() if "damaged" in line], [])
    write_project("Debug", "Release")
    expect("first run", fault.convert().status, 0)
    first = listing(fault.destination)
    (fault.sandbox.area / "alias").symlink_to("out")
    spellings = [fault.out() + "\\", fault.out() + "\\.", fault.out("."), "out\\", ".\\out",
                 fault.windows_path(fault.sandbox.area / "alias")]
    # Through a link the project file's own paths take the name given, and
    # nothing else changes.
    for spelled in spellings:
        outcome = run(spelled)
        through_link = ["changed: project.prj", "changed: project.projbridge-record"] if "alias" in spelled else []
        expect("untouched rerun into " + spelled, (outcome.status, kept_lines(outcome),
                                                   changes(first, listing(fault.destination))), (0, [], through_link))
    with open(own("Release"), "ab") as out:
        out.write(b"-w3\r\n")
    # Each run brings a new macro, so the edit is kept beside.
    for attempt, spelled in enumerate(spellings, 1):
        write_project("Debug", "Release", macro=f"M{attempt}")
        kept_as = f"{own('Release', fault.sandbox.area / ('alias' if 'alias' in spelled else 'out'))}.edited"
        kept_as += f"-{attempt}" if attempt > 1 else ""
        expect("edit kept through " + spelled, kept_lines(run(spelled)),
               [CHANGED_SAME_LINES + fault.windows_path(Path(kept_as))])
        with open(own("Release"), "ab") as out:
            out.write(b"-w3\r\n")

    # A copy converted again leaves the original as it is; so does a moved one.
    original = listing(fault.destination)
    for name in ("copy", "moved"):
        folder = fault.sandbox.area / name
        shutil.copytree(fault.destination, folder, symlinks=True)
        if name == "moved":
            shutil.rmtree(fault.destination)
        write_project("Debug", "Release", macro=name)
        outcome = run(fault.windows_path(folder))
        expect(name, (outcome.status, kept_lines(outcome)),
               (0, [CHANGED_SAME_LINES + fault.windows_path(Path(f"{own('Release', folder)}.edited-7"))]))
        if name == "copy":
            expect("the original after the copy", changes(original, listing(fault.destination)), [])
    shutil.move(fault.sandbox.area / "moved", fault.destination)

    # Lines that point out of the destination name files that must stay.
    victim, empty = fault.sandbox.area / "victim.txt", fault.sandbox.area / "empty"
    victim.write_bytes(b"")
    empty.mkdir()
    with open(fault.destination / f"{PROJECT}.projbridge-record", "ab") as record:
        for place in ("..\\victim.txt", fault.windows_path(victim), "..\\work\\" + fault.source.name):
            record.write(f"file 0 e9e5a98d6ab09dd8 destination {place}\r\n".encode())
        record.write(b"folder destination ..\\empty\r\n")
    expect("a record pointing elsewhere", fault.convert().status, 0)
    expect("what it pointed at", (victim.is_file(), empty.is_dir()), (True, True))

    # A link in place of a folder the converter made leads nowhere it acts.
    shared = fault.sandbox.area / "shared"
    person = own("Release").parent
    shutil.move(person, shared)
    (shared / "Release.p_a").write_bytes(b"-w4\r\n")
    person.symlink_to(shared)
    outcome = fault.convert()
    expect("through a link", (outcome.status, kept_lines(outcome)), (1, []))
    person.unlink()
    shutil.move(shared, person)

    # A placeholder named as the message personality is read, not removed.
    message = fault.destination / "person" / f"{PROJECT}.p_s"
    outcome = fault.convert(["-mp", fault.windows_path(message)])
    expect("an input the last run wrote", (outcome.status, message.is_file()), (0, True))

    # A run whose record cannot be written removes nothing.
    write_project("Debug")
    unwritable = fault.destination / f"{PROJECT}.projbridge-record.new"
    unwritable.mkdir()
    outcome = fault.convert()
    expect("record not written", (outcome.status, outcome.lines()[-1], own("Release").is_file()),
           (1, "Could not write file: " + fault.windows_path(unwritable), True))
    unwritable.rmdir()
    expect("then removed", (fault.convert().status, own("Release").is_file()), (0, False))


if __name__ == "__main__":
    sys.exit(run_named_case(__doc__, CASES, Fault))
