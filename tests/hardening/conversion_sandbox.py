"""One run of ProjbridgeCli in a throwaway folder, watched from outside.

The folder lives on the memory file system where there is one: the cases here
make thousands of folders and files of a hundred megabytes, and on a slow disk
that would take most of the time. Its empty Wine prefix maps no drive but Z:,
the host's root, so the converter is handed host paths as Z:\\... paths.
"""

import argparse
import hashlib
import os
import resource
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

from project_text import write_project

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "support"))
import conversion_harness

MEMORY_FILE_SYSTEM = Path("/dev/shm")
POLL_SECONDS = 0.01
KILOBYTE = 1024


class CaseFailure(Exception):
    pass


@dataclass
class Outcome:
    status: int
    stdout: bytes
    stderr: bytes
    seconds: float
    peak_memory_bytes: int

    def lines(self):
        return self.stdout.decode("latin-1").split("\n")[:-1] if self.stdout else []


class Sandbox(conversion_harness.Sandbox):
    """root/area holds the case's files, and root/capture the converter's
    output streams."""

    def __init__(self, cli):
        in_memory = MEMORY_FILE_SYSTEM.is_dir() and os.access(MEMORY_FILE_SYSTEM, os.W_OK)
        super().__init__("hardening", parent=MEMORY_FILE_SYSTEM if in_memory else None)
        self.cli = os.path.abspath(cli)
        self.area = self.root / "area"
        self.capture = self.root / "capture"
        for folder in (self.area, self.capture):
            folder.mkdir()

    def run_watched(self, arguments, timeout_seconds, file_size_limit=None, closed_descriptors=()):
        """Runs the converter with the arguments; its output goes to files, as
        it can be far larger than a pipe should hold."""
        environment = self.drives.environment()
        stdout_path, stderr_path = self.capture / "stdout", self.capture / "stderr"
        with open(stdout_path, "wb") as stdout, open(stderr_path, "wb") as stderr:
            started = time.monotonic()
            process = subprocess.Popen([self.cli] + list(arguments), cwd=self.area, env=environment,
                                       stdin=subprocess.DEVNULL, stdout=stdout, stderr=stderr,
                                       preexec_fn=_in_child(file_size_limit, closed_descriptors))
            status, usage = _wait(process, started + timeout_seconds)
            seconds = time.monotonic() - started
        outcome = Outcome(status, stdout_path.read_bytes(), stderr_path.read_bytes(), seconds,
                          usage.ru_maxrss * KILOBYTE)
        stdout_path.unlink()
        stderr_path.unlink()
        if status is None:
            raise CaseFailure(f"still running after {timeout_seconds} s: killed")
        return outcome


class Conversion:
    """A case's project file and destination folder in the sandbox's area."""

    def __init__(self, sandbox, source):
        self.sandbox = sandbox
        self.source = source
        self.destination = sandbox.area / "out"
        self.source.parent.mkdir(parents=True, exist_ok=True)

    def windows_path(self, host_path):
        return self.sandbox.drives.windows_path(host_path)

    def write_project(self, *parts):
        write_project(self.source, *parts)

    def empty_destination(self):
        if self.destination.is_dir():
            shutil.rmtree(self.destination)
        self.destination.mkdir()

    def out(self, below=""):
        """The destination, or a path below it, as the converter names it."""
        return self.windows_path(self.destination) + ("\\" + below if below else "")

    def read_output(self, windows_relative):
        return (self.destination / windows_relative.replace("\\", "/")).read_bytes()


def _in_child(limit, closed_descriptors):
    """In the child before it starts the converter: files may not grow beyond
    the limit, and the write that crosses it fails with EFBIG instead of the
    signal ending the process; the descriptors named are closed. Always a
    function, so that the child is forked, not started with vfork: a forked
    child's peak memory starts from this process's present use, a vfork'ed
    one's from this process's peak."""
    def prepare_child():
        if limit is not None:
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
        for descriptor in closed_descriptors:
            os.close(descriptor)
    return prepare_child


def _wait(process, deadline):
    """The exit status (negative for a signal) and the resource use of this
    one child; no status when it had to be killed at the deadline."""
    killed = False
    while True:
        pid, wait_status, usage = os.wait4(process.pid, os.WNOHANG)
        if pid != 0:
            break
        if not killed and time.monotonic() > deadline:
            process.kill()
            killed = True
        time.sleep(POLL_SECONDS)
    process.returncode = os.waitstatus_to_exitcode(wait_status)
    return (None if killed else process.returncode), usage


def listing(folder, leave_out=()):
    """Every entry below the folder with its kind and, for files, a checksum
    of the content; folders given in leave_out are not entered."""
    entries = {}
    left_out = {Path(path) for path in leave_out}
    for current, folders, files in os.walk(folder):
        current = Path(current)
        folders[:] = [name for name in folders if current / name not in left_out]
        for name in folders + files:
            path = current / name
            if path.is_symlink():
                entries[path.relative_to(folder)] = "link to " + os.readlink(path)
            elif path.is_dir():
                entries[path.relative_to(folder)] = "folder"
            else:
                entries[path.relative_to(folder)] = hashlib.sha256(path.read_bytes()).hexdigest()
    return entries


def changes(before, after):
    """What differs between two listings, one line each."""
    lines = []
    for path in sorted(set(before) | set(after)):
        if path not in after:
            lines.append(f"removed: {path}")
        elif path not in before:
            lines.append(f"created: {path}")
        elif before[path] != after[path]:
            lines.append(f"changed: {path}")
    return lines


def expect(what, actual, expected):
    if actual != expected:
        raise CaseFailure(f"{what}:\n  expected {repr(expected)[:3000]}\n  actual   {repr(actual)[:3000]}")


def expect_run(outcome, status, lines):
    expect("exit status", outcome.status, status)
    expect("standard output", outcome.lines(), lines)


def run_named_case(description, cases, make_case):
    """The command line of a case script: --list prints the case names for
    CMake, one name runs that case in a sandbox of its own."""
    parser = argparse.ArgumentParser(description=description, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cli", required=True, help="the ProjbridgeCli program")
    parser.add_argument("--sanitized", action="store_true", help="the program runs under AddressSanitizer")
    parser.add_argument("--list", action="store_true", help="print the names of the cases")
    parser.add_argument("case", nargs="?", choices=sorted(cases))
    arguments = parser.parse_args()
    if arguments.list:
        print(";".join(sorted(cases)))
        return 0
    if arguments.case is None:
        parser.error("name a case")
    try:
        with Sandbox(arguments.cli) as sandbox:
            cases[arguments.case](make_case(sandbox, arguments.sanitized))
    except CaseFailure as failure:
        print(f"{arguments.case}: {failure}")
        return 1
    return 0


def case_registry():
    """A table of cases and the decorator that fills it, naming each case
    after its function."""
    cases = {}

    def case(function):
        cases[function.__name__.replace("_", "-")] = function
        return function
    return cases, case
