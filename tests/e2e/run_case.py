#!/usr/bin/env python3
"""Runs one end-to-end case of ProjbridgeCli and compares everything it leaves.

A case is a folder under tests/cases/; docs/development.md names its files and
what is compared. Drive P: is the case's temporary folder, which the runs start
in; with --emulator (e.g. wine), WINEPREFIX must name an initialised prefix,
whose p: link is pointed at the case folder, so such runs must not overlap.

PROJBRIDGE_UPDATE_CASES=1 rewrites the expected files from this run for review.
"""

import argparse
import difflib
import filecmp
import os
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path

SOURCE_ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(SOURCE_ROOT / "tests" / "support"))
from conversion_harness import (ABSOLUTE_PATH, PERSONALITY_KEYS, ProjectFileError, Sandbox, exit_status,
                                read_project_file)

DRIVE = "p"
KEEP_FILE = ".gitkeep"
REFUSED_TOKEN = "Visual DSP Project file parsing encountered unexpected token"
COMPILE_DATABASE = "compile_commands.json"
RECORD_SUFFIX = ".projbridge-record"
RECORD_HEADER = "Projbridge run record 2"
DIGEST_MASK = (1 << 64) - 1
DIGEST_START = DIGEST_STATE_PRIME = 0x9E3779B185EBCA87
DIGEST_WORD_PRIME = 0xC2B2AE3D27D4EB4F
STAND_IN_FOLDER = "include-names"
KEPT_BESIDE = re.compile(r"\.edited(-[0-9]+)?$")
FILE_ROLES = SOURCE_ROOT / "converter" / "reader" / "file_roles.cpp"
INSTALLATION_VARIABLES = ("$(VDSP)", "$(ADI_DSP)")


def source_extensions():
    """The converter's own table of the extensions a folder of no kind takes as sources."""
    table = re.search(r"sourceExtensions\{([^}]*)\}", FILE_ROLES.read_text())
    if table is None:
        raise SystemExit(f"no sourceExtensions table in {FILE_ROLES}")
    return set(re.findall(r'"([^"]*)"', table.group(1)))


SOURCE_EXTENSIONS = source_extensions()


class CaseFailure(Exception):
    pass


def split_command(line):
    """Arguments of one command line: blanks separate, quotes group."""
    arguments, current, quoted, started = [], [], False, False
    for character in line:
        if character == '"':
            quoted, started = not quoted, True
        elif character in " \t" and not quoted:
            if started:
                arguments.append("".join(current))
            current, started = [], False
        else:
            current.append(character)
            started = True
    if quoted:
        raise CaseFailure(f"unbalanced quote in command line: {line}")
    if started:
        arguments.append("".join(current))
    return arguments


def read_text(path, default=""):
    return path.read_text(encoding="latin-1") if path.exists() else default


def relative_files(folder):
    if not folder.is_dir():
        return set()
    return {p.relative_to(folder) for p in folder.rglob("*") if p.is_file() or p.is_symlink()}


def tree_listing(drive):
    """Folders end in a backslash; sorted part by part."""
    entries = sorted(drive.rglob("*"), key=lambda p: p.relative_to(drive).parts)
    lines = []
    for entry in entries:
        name = "\\".join(entry.relative_to(drive).parts)
        lines.append(name + "\\" if entry.is_dir() and not entry.is_symlink() else name)
    return "".join(line + "\n" for line in lines)


def visible_lines(data):
    """Lines of a file with their ends shown, for a diff that sees CR and LF."""
    lines = data.decode("latin-1").splitlines(keepends=True)
    shown = []
    for line in lines:
        body = line.rstrip("\r\n")
        end = line[len(body):].replace("\r", "<CR>").replace("\n", "<LF>")
        shown.append(body + (end or "<no line end>") + "\n")
    return shown


def difference(label, expected, actual):
    diff = difflib.unified_diff(visible_lines(expected), visible_lines(actual),
                                f"expected {label}", f"actual {label}")
    return f"{label} differs:\n" + "".join(diff)


def prepare_drive(case, arguments, drive):
    drive.mkdir()
    source = case / "input"
    if source.is_dir():
        shutil.copytree(source, drive, dirs_exist_ok=True,
                        ignore=lambda folder, names: [n for n in names if n == KEEP_FILE])
    corpus_names = read_text(case / "corpus.txt").split()
    if corpus_names and arguments.corpus is None:
        raise CaseFailure("the case converts real projects' files: name their folder with --corpus")
    for name in corpus_names:
        (drive / "corpus").mkdir(exist_ok=True)
        shutil.copyfile(arguments.corpus / name, drive / "corpus" / name)
    for name in read_text(case / "examples.txt").split():
        shutil.copytree(arguments.examples / name, drive / "examples" / name)


def run_commands(arguments, commands, drive, sandbox):
    output, statuses = "", []
    for command in commands:
        completed = sandbox.run(arguments.emulator + [os.path.abspath(arguments.cli)] + command, cwd=drive)
        output += completed.stdout.decode("latin-1").replace("\r\n", "\n")
        statuses.append(completed.returncode)
    return output, statuses


def is_file_on(drives, windows_path):
    host_path = drives.host_path(windows_path)
    return host_path is not None and Path(host_path).is_file()


def structure_problems(name, data, drives, named_personalities, files_exist):
    """One project file: its shape, its paths absolute, and every personality
    it names there unless the command line named it; with files_exist, every
    source file too."""
    try:
        root = read_project_file(data)
    except ProjectFileError as error:
        return [f"{name}: {error}"]
    problems = []
    for block in root.blocks() if root else ():
        where = f"{name}, group {block.name!r}"
        problems += [f"{where}: {key} is not absolute: {block.values[key]!r}" for key in ("SourcePath", "OutputPath")
                     if not ABSOLUTE_PATH.match(block.values[key])]
        problems += [f"{where}: {key} names a missing file: {block.values[key]!r}" for key in PERSONALITY_KEYS
                     if block.values[key] not in named_personalities and not is_file_on(drives, block.values[key])]
        for line in block.files:
            if not ABSOLUTE_PATH.match(line):
                problems.append(f"{where}: file line is not absolute: {line!r}")
            elif files_exist and not is_file_on(drives, line):
                problems.append(f"{where}: names a missing source file: {line!r}")
    return problems


def enabled_source_files(project_file):
    """Source files a project names, except those that every one of their
    file configurations excludes."""
    for entry in ElementTree.parse(project_file).getroot().iter("file"):
        name = entry.get("name", "")
        if name.rpartition(".")[2].lower() not in SOURCE_EXTENSIONS:
            continue
        flags = [flag.get("value") for flag in entry.iter("excluded-flag")]
        if entry.find("file-configurations") is None or "no" in flags:
            yield name


def path_tail(name):
    """The part of a project's file name that its absolute path ends in."""
    for variable in INSTALLATION_VARIABLES:
        if name.startswith(variable):
            return name[len(variable):]
    if name.startswith(".\\"):
        name = name[1:]
    return name if name.startswith("\\") else "\\" + name


def missing_source_files(drive):
    """Every enabled source file of each corpus project must be in its .prj."""
    problems, listed = [], []
    for project in drive.rglob("*.prj"):
        try:
            root = read_project_file(project.read_bytes())
        except ProjectFileError as error:
            problems.append(f"{project.name}: {error}")
            continue
        listed += [line for block in (root.blocks() if root else ()) for line in block.files]
    for project_file in sorted((drive / "corpus").glob("*.dpj")):
        for name in enabled_source_files(project_file):
            if not any(line.endswith(path_tail(name)) for line in listed):
                problems.append(f"{project_file.name} names the source file {name}, which the .prj lacks")
    return problems


def named_personalities(commands):
    named = set()
    for command in commands:
        for option, value in zip(command, command[1:]):
            if option in ("-mp", "-cp"):
                named.add(value)
    return named


def in_drive_form(data, drive, backslash="\\\\"):
    """Host paths below the drive folder as P: paths; JSON text writes each
    backslash twice."""
    host_root = re.escape(str(drive.resolve()))
    text = re.sub(host_root + r'(/[^"]*)?', lambda found: "P:" + (found.group(1) or "/").replace("/", backslash),
                  data.decode("utf-8"))
    return text.encode("utf-8")


def produced_bytes(drive, relative, emulated):
    data = (drive / relative).read_bytes()
    if relative.name == COMPILE_DATABASE and not emulated:
        return in_drive_form(data, drive)
    if STAND_IN_FOLDER in relative.parent.parts:
        return in_drive_form(data, drive, "\\")
    return data


def produced_files(drive, input_folder):
    """Files the runs created or changed."""
    return {relative for relative in relative_files(drive)
            if not ((input_folder / relative).is_file() and
                    filecmp.cmp(input_folder / relative, drive / relative, shallow=False))}


def is_record(relative):
    return relative.name.endswith(RECORD_SUFFIX)


def content_digest(data):
    """The converter's digest of a file's bytes (base/content_digest.cpp)."""
    def mixed(state, word):
        state ^= word * DIGEST_WORD_PRIME & DIGEST_MASK
        return ((state << 31 | state >> 33) & DIGEST_MASK) * DIGEST_STATE_PRIME & DIGEST_MASK

    whole = len(data) - len(data) % 8
    state = DIGEST_START
    for at in range(0, whole, 8):
        state = mixed(state, int.from_bytes(data[at:at + 8], "little"))
    value = mixed(state, int.from_bytes(data[whole:], "little")) ^ len(data)
    for multiplier in (0xFF51AFD7ED558CCD, 0xC4CEB9FE1A85EC53, 1):
        value = (value ^ value >> 33) * multiplier & DIGEST_MASK
    return value


def unescaped(text):
    return re.sub(r"%([0-9A-F]{2})", lambda match: chr(int(match.group(1), 16)), text)


def record_roots(record, commands):
    """The folder each root word of a record names: the record's own folder,
    and the databases' folder and the report of the last command into it."""
    destination = "P:\\" + "\\".join(record.parent.parts)
    roots = {"destination": destination}
    for command in commands:
        if len(command) > 1 and command[1].rstrip("\\").upper() == destination.upper():
            named = {root: command[command.index(option) + 1].rstrip("\\")
                     for option, root in (("-compdb", "databases"), ("-report", "report")) if option in command[:-1]}
            # A command refused for an empty value wrote no record.
            if all(named.values()):
                roots = {"destination": destination, **named}
    return roots


def record_problems(drive, drives, produced, commands, runs_succeeded):
    """Each record claims only what is on the disk; after runs that all
    succeeded, every file they wrote is claimed, but the edited ones they kept
    beside. A stand-in is claimed by its folder and its name, a tab between
    them."""
    problems, claimed = [], set()
    for record in sorted(relative for relative in produced if is_record(relative)):
        lines = (drive / record).read_bytes().decode("latin-1").split("\r\n")
        if lines[0] != RECORD_HEADER or lines[-1] != "":
            problems.append(f"{record}: no whole record")
            continue
        roots = record_roots(record, commands)
        for line in lines[1:-1]:
            kind, _, rest = line.partition(" ")
            # The bases of the next merge name no file.
            if kind == "base":
                continue
            size, digest, place = rest.split(" ", 2) if kind in ("file", "stand-in") else ("", "", rest)
            root, _, relative = place.partition(" ")
            folder, _, name = relative.partition("\t") if kind == "stand-in" else (relative, "", "")
            folder = roots[root] + ("\\" + unescaped(folder) if folder else "")
            name = unescaped(name)
            host = drives.host_path(folder)
            if kind == "folder" and host is not None and Path(host).is_dir():
                continue
            path = folder
            if host is not None and name:
                host, path = host + "/" + name, folder + "\\" + name
            data = Path(host).read_bytes() if kind != "folder" and host and Path(host).is_file() else None
            if data is None or str(len(data)) != size or f"{content_digest(data):016x}" != digest:
                problems.append(f"{record}: claims what is not on the disk: {line}")
            claimed.add(path.upper())
    for relative in sorted(produced) if runs_succeeded else ():
        path = "P:\\" + "\\".join(relative.parts)
        if not is_record(relative) and not KEPT_BESIDE.search(path) and path.upper() not in claimed:
            problems.append(f"{path} is in no record")
    return problems


def compare_files(case, drive, produced, update, emulated):
    """Records are checked against the disk instead: their digests differ
    where the databases hold host paths."""
    expected_folder = case / "expected"
    problems = []
    produced = {relative for relative in produced if not is_record(relative)}
    if update:
        shutil.rmtree(expected_folder, ignore_errors=True)
        for relative in produced:
            (expected_folder / relative).parent.mkdir(parents=True, exist_ok=True)
            (expected_folder / relative).write_bytes(produced_bytes(drive, relative, emulated))
        return problems
    expected = relative_files(expected_folder)
    for relative in sorted(expected | produced):
        label = "P:\\" + "\\".join(relative.parts)
        if relative not in expected:
            problems.append(f"{label} was created or changed, but is not expected")
        elif not (drive / relative).is_file():
            problems.append(f"{label} is expected, but missing")
        else:
            wanted, got = (expected_folder / relative).read_bytes(), produced_bytes(drive, relative, emulated)
            if wanted != got:
                problems.append(difference(label, wanted, got))
    return problems


def compare_text(case, name, actual, update, missing=""):
    path = case / name
    if update:
        path.write_text(actual, encoding="latin-1", newline="\n")
        return []
    expected = read_text(path, missing)
    if expected == actual:
        return []
    return [difference(name, expected.encode("latin-1"), actual.encode("latin-1"))]


def run_case(arguments):
    case = arguments.case.resolve()
    update = os.environ.get("PROJBRIDGE_UPDATE_CASES") == "1"
    commands = [split_command(line) for line in read_text(case / "command.txt").splitlines() if line.strip()]
    if not commands:
        raise CaseFailure("command.txt holds no command")

    wine_prefix = None
    if arguments.emulator:
        if not os.environ.get("WINEPREFIX"):
            raise CaseFailure("WINEPREFIX must name the emulator's prefix")
        wine_prefix = Path(os.environ["WINEPREFIX"])
    with Sandbox("case", wine_prefix) as sandbox:
        drive, input_copy = sandbox.root / "drive", sandbox.root / "input"
        prepare_drive(case, arguments, drive)
        shutil.copytree(drive, input_copy)
        sandbox.drives.link(DRIVE, drive)

        output, statuses = run_commands(arguments, commands, drive, sandbox)
        problems = compare_text(case, "expected-stdout.txt", output, update)
        problems += compare_text(case, "expected-status.txt", "".join(f"{status}\n" for status in statuses), update,
                                 missing="".join("0\n" for _ in commands))
        problems += compare_text(case, "expected-tree.txt", tree_listing(drive), update)
        produced = produced_files(drive, input_copy)
        problems += compare_files(case, drive, produced, update, emulated=bool(arguments.emulator))
        problems += record_problems(drive, sandbox.drives, produced, commands, all(status == 0 for status in statuses))

        if all(status == 0 for status in statuses):
            named = named_personalities(commands)
            examples = read_text(case / "examples.txt").split()
            for project in sorted(drive.rglob("*.prj")):
                name = "P:\\" + "\\".join(project.relative_to(drive).parts)
                problems += structure_problems(name, project.read_bytes(), sandbox.drives, named, bool(examples))
        if (case / "corpus.txt").exists():
            if any(status != 0 for status in statuses):
                problems.append(f"a corpus file must convert with status 0, got {statuses}")
            if REFUSED_TOKEN in output:
                problems.append("a corpus file must convert without a refused token")
            problems += missing_source_files(drive)
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cli", required=True, help="the ProjbridgeCli program")
    parser.add_argument("--corpus", type=Path,
                        help="folder of the real projects' files that corpus.txt names")
    parser.add_argument("--examples", type=Path, default=SOURCE_ROOT / "examples",
                        help="folder of the examples that examples.txt names")
    parser.add_argument("--emulator", action="append", default=[],
                        help="program (and, repeated, its arguments) that runs the converter, e.g. wine")
    parser.add_argument("case", type=Path, help="the case folder")
    arguments = parser.parse_args()
    try:
        problems = run_case(arguments)
    except (CaseFailure, subprocess.TimeoutExpired, OSError) as failure:
        problems = [str(failure)]
    if os.environ.get("PROJBRIDGE_UPDATE_CASES") == "1":
        print(f"expected files of {arguments.case.name} rewritten; review them with git diff")
    return exit_status(problems)


if __name__ == "__main__":
    sys.exit(main())
