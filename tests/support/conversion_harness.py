"""Runs ProjbridgeCli in a sandbox of its own and reads what it writes.

A sandbox is a throwaway folder with a Wine-style prefix that WINEPREFIX
names for the converter: it sees the drives linked in the prefix's dosdevices
folder, and Z:, the host's root, where no link says otherwise. DriveMap turns
paths between the two forms as the converter does; read_project_file parses a
project file into its blocks and says where it is out of shape.
"""

import os
import re
import subprocess
import tempfile
from dataclasses import dataclass, field
from pathlib import Path

HOST_ROOT = Path("/")
HOST_ROOT_DRIVE = "z"
ABSOLUTE_PATH = re.compile(r"^[A-Za-z]:\\")
RUN_TIMEOUT_SECONDS = 120

LINE_END = "\r\n"
START_PROJECT, END_FILES = "StartProjectMarker", "EndContainedFilesMarker"
START_SUB_PROJECTS, END_SUB_PROJECTS = "StartSubProjectMarker", "EndSubProjectMarker"
NO_FILE_LINES = ("", START_PROJECT, START_SUB_PROJECTS, END_SUB_PROJECTS)
BLOCK_KEYS = ("FolderName", "SourcePath", "OutputPath", "SubsPers", "AnalPers", "CompPers")
PERSONALITY_KEYS = ("SubsPers", "AnalPers", "CompPers")


class DriveMap:
    """The drives of a Wine prefix, each letter with its host folder."""

    def __init__(self, prefix):
        self.prefix = Path(prefix)
        self.folders = {HOST_ROOT_DRIVE: HOST_ROOT}

    def environment(self):
        return dict(os.environ, WINEPREFIX=str(self.prefix))

    def link(self, letter, folder):
        """Points the drive at the folder, in place of any link it had."""
        dosdevices = self.prefix / "dosdevices"
        dosdevices.mkdir(parents=True, exist_ok=True)
        link = dosdevices / f"{letter.lower()}:"
        link.unlink(missing_ok=True)
        link.symlink_to(folder)
        self.folders[letter.lower()] = Path(folder)

    def windows_path(self, host_path):
        """A host path through the drive whose folder holds it most closely."""
        host_path = Path(host_path)
        holding = [(letter, folder) for letter, folder in self.folders.items()
                   if folder == host_path or folder in host_path.parents]
        if not holding:
            raise ValueError(f"{host_path} lies on no drive of {self.prefix}")
        letter, folder = max(holding, key=lambda drive: len(drive[1].parts))
        return letter.upper() + ":\\" + "\\".join(host_path.relative_to(folder).parts)

    def host_path(self, windows_path):
        """The host path of an absolute Windows path, as a string; None on a
        drive the prefix lacks."""
        folder = self.folders.get(windows_path[:1].lower()) if ABSOLUTE_PATH.match(windows_path) else None
        if folder is None:
            return None
        rest = windows_path[2:].replace("\\", "/")
        return rest if folder == HOST_ROOT else str(folder) + rest


class Sandbox:
    """A throwaway folder, removed on leaving, whose runs see the drives of a
    prefix: an empty one in the folder (root/prefix) unless one is given."""

    def __init__(self, name, wine_prefix=None, parent=None):
        self.root = Path(tempfile.mkdtemp(prefix=f"projbridge-{name}-", dir=parent))
        if wine_prefix is None:
            wine_prefix = self.root / "prefix"
            wine_prefix.mkdir()
        self.drives = DriveMap(wine_prefix)

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        # Python's own removal recurses once per level, and some runs make
        # folders a thousand levels deep.
        subprocess.run(["rm", "-rf", "--", str(self.root)], check=False)

    def run(self, command, cwd=None, timeout_seconds=RUN_TIMEOUT_SECONDS):
        """One run with its output captured as bytes; TimeoutExpired when it
        takes longer."""
        return subprocess.run([str(part) for part in command], cwd=cwd, env=self.drives.environment(),
                              stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout_seconds)


class ProjectFileError(Exception):
    pass


@dataclass
class Block:
    """One group of a project file: its key lines' values, its file lines and
    the blocks of its sub-projects."""
    values: dict
    files: list = field(default_factory=list)
    children: list = field(default_factory=list)

    @property
    def name(self):
        return self.values["FolderName"]

    def blocks(self):
        """This block and every block below it, in file order."""
        yield self
        for child in self.children:
            yield from child.blocks()


class _ProjectFileReader:
    def __init__(self, lines):
        self.lines, self.position = lines, 0

    def fail(self, expected):
        found = repr(self.lines[self.position]) if self.position < len(self.lines) else "the end"
        raise ProjectFileError(f"line {self.position + 1} is {found} where {expected} belongs")

    def next_is(self, line):
        return self.position < len(self.lines) and self.lines[self.position] == line

    def take(self, line):
        if not self.next_is(line):
            self.fail(repr(line))
        self.position += 1

    def project(self):
        self.take("VersionTag45")
        root = self.block() if self.position < len(self.lines) else None
        if self.position != len(self.lines):
            self.fail("the end of the file")
        return root

    def block(self):
        self.take(START_PROJECT)
        values = {}
        for key in BLOCK_KEYS:
            if self.position == len(self.lines) or not self.lines[self.position].startswith(key + "="):
                self.fail(key + "=")
            values[key] = self.lines[self.position][len(key) + 1:]
            self.position += 1
        block = Block(values)
        while not self.next_is(END_FILES):
            if self.position == len(self.lines) or self.lines[self.position] in NO_FILE_LINES:
                self.fail("a file line or " + END_FILES)
            block.files.append(self.lines[self.position])
            self.position += 1
        self.position += 1
        if self.next_is(START_SUB_PROJECTS):
            self.position += 1
            while self.next_is(START_PROJECT):
                block.children.append(self.block())
            self.take(END_SUB_PROJECTS)
        return block


def read_project_file(data):
    """The root block of a project file (bytes), None when it holds only the
    version line; ProjectFileError where it is out of shape: every line ends
    in CR LF and holds no other line break, the version line comes first, and
    at most one block follows with its sub-projects nested."""
    lines = data.decode("latin-1").split(LINE_END)
    if lines.pop() != "" or any("\r" in line or "\n" in line for line in lines):
        raise ProjectFileError("a line does not end in CR LF, or holds a line break of its own")
    return _ProjectFileReader(lines).project()


def exit_status(problems):
    """Prints the problems, one a line: the status of a check that found them."""
    for problem in problems:
        print(problem)
    return 1 if problems else 0
