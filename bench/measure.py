#!/usr/bin/env python3
"""Times ProjbridgeCli against the disk's own cost and xmllint on generated projects.

Called by run.sh, which builds the converter first. For every project of the
matrix it generates the file, then runs the commands in turn, several rounds
over, so that a burst of load from elsewhere hits all of them alike. The wall
time of each command is its minimum over the rounds, the run that other load
disturbed least; its peak memory is the largest resident set that
/usr/bin/time -v reported. The converter runs writing into a folder on the
disk, as users do, and into a folder in memory (/dev/shm), which shows how
much of its time the file system takes; further runs write a conversion report
(-report) and the compilation databases (-compdb) beside the output, which
shows what each costs.

The floor is what the disk alone costs for the same work: `cat` of the project
plus `cp -r` of the tree that the conversion just wrote, timed in the same
round right after it.
"""

import argparse
import os
import re
import resource
import shutil
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path

HERE = Path(__file__).resolve().parent
MIB = 1024 * 1024
SIZES = (1_000, 10_000, 100_000)
QUICK_SIZES = (1_000, 10_000)
MEMORY_FOLDER = Path("/dev/shm")
FOLDER_PROBE_COUNT = 1000


@dataclass(frozen=True)
class Series:
    configurations: int
    # Which source files carry a per-configuration block. The IDE writes one
    # for every file, but fifty configurations on every one of 100,000 files
    # would make a 1.1 GB file that no real project comes near.
    file_configurations_every: int
    line_end: str


SERIES = (Series(2, 1, "lf"), Series(50, 20, "crlf"))

# Targets, as ratios within one run.
FLOOR_RATIO_LIMIT = 3.0
# What -report adds, against copying the report it writes.
REPORT_COPY_LIMIT = 2.0
COMPDB_RATIO_LIMIT = 1.5
GROWTH_LIMIT = 1.15
MEMORY_FILE_FACTOR = 2
MEMORY_ALLOWANCE = 16 * MIB


@dataclass
class Command:
    argv: list
    # A conversion's runs each write into a new folder below this one.
    destinations: Path = None
    keep_output: bool = False
    with_report: bool = False
    with_compdb: bool = False
    seconds: list = field(default_factory=list)
    user_seconds: list = field(default_factory=list)
    system_seconds: list = field(default_factory=list)
    peak_bytes: int = 0
    # What the report or the databases of the last run came to.
    output_bytes: int = 0

    def best_ms(self):
        return min(self.seconds) * 1000

    def best_cpu_ms(self):
        return min(u + s for u, s in zip(self.user_seconds, self.system_seconds)) * 1000

    def best_system_ms(self):
        return min(self.system_seconds) * 1000


@dataclass
class Result:
    series: Series
    source_files: int
    file_bytes: int
    cat: Command
    xmllint: Command
    converter: Command
    floor: Command = None
    converter_in_memory: Command = None
    converter_with_report: Command = None
    report_copy: Command = None
    converter_with_compdb: Command = None
    converter_instructions: int = 0
    xmllint_instructions: int = 0


def children_times():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime, usage.ru_stime


def run_timed(command, argv, output):
    """One run under /usr/bin/time -v, its figures added to the command's."""
    user_before, system_before = children_times()
    started = time.perf_counter()
    finished = subprocess.run(["/usr/bin/time", "-v", *argv], stdout=output,
                              stderr=subprocess.PIPE, text=True, check=False)
    wall = time.perf_counter() - started
    # Microseconds here, where /usr/bin/time rounds to hundredths.
    user_after, system_after = children_times()
    report = finished.stderr
    if finished.returncode != 0:
        output.flush()
        said = Path(output.name).read_text(errors="replace")[-2000:]
        raise RuntimeError(f"{command.argv[0]} failed with status {finished.returncode}:\n{said}\n{report}")
    match = re.search(r"^\s*Maximum resident set size \(kbytes\): (\d+)$", report, re.MULTILINE)
    if not match:
        raise RuntimeError(f"/usr/bin/time -v printed no peak memory:\n{report}")
    command.seconds.append(wall)
    command.user_seconds.append(user_after - user_before)
    command.system_seconds.append(system_after - system_before)
    command.peak_bytes = max(command.peak_bytes, int(match.group(1)) * 1024)


def generate(series, source_files, folder):
    path = folder / f"bench-{series.configurations}cfg-{source_files}.dpj"
    subprocess.run([sys.executable, str(HERE / "generate_project.py"), str(path),
                    "--source-files", str(source_files),
                    "--configurations", str(series.configurations),
                    "--file-configurations-every", str(series.file_configurations_every),
                    "--line-end", series.line_end], check=True)
    return path


def conversion(converter, project, destinations, keep_output, with_report=False, with_compdb=False):
    destinations.mkdir()
    return Command([str(converter), str(project)], destinations, keep_output, with_report, with_compdb)


def new_destination(command, name):
    destination = command.destinations / name
    destination.mkdir()
    extra = ["-report", str(destination / "report.tsv")] if command.with_report else []
    if command.with_compdb:
        extra += ["-compdb", str(destination / "db")]
    return destination, command.argv + [str(destination), ""] + extra


def check_conversion(destination, log, command):
    output = log.read_text(errors="replace")
    if "Completed!" not in output or not any(destination.glob("*.prj")):
        raise RuntimeError(f"the conversion did not complete:\n{output[-2000:]}")
    if command.with_report and not (destination / "report.tsv").is_file():
        raise RuntimeError(f"the conversion wrote no report:\n{output[-2000:]}")
    if command.with_compdb and not any((destination / "db").rglob("compile_commands.json")):
        raise RuntimeError(f"the conversion wrote no compilation database:\n{output[-2000:]}")
    if command.with_report:
        command.output_bytes = (destination / "report.tsv").stat().st_size
    if command.with_compdb:
        command.output_bytes = sum(database.stat().st_size
                                   for database in (destination / "db").rglob("compile_commands.json"))


def floor_argv(project, tree, copy):
    return ["sh", "-c", 'cat "$1" >/dev/null && cp -r "$2" "$3"', "floor", str(project), str(tree), str(copy)]


def measure(converter, series, source_files, project, work, memory_work, rounds, with_compdb):
    """Deleting thousands of folders leaves the disk busy for a while after,
    which would slow the next run's folder creation: the output written to the
    disk stays until the whole benchmark ends. Before every run the page cache
    is written out, so that no run pays for the writing of the one before."""
    result = Result(series, source_files, project.stat().st_size,
                    Command(["cat", str(project)]),
                    Command(["xmllint", "--noout", str(project)]),
                    conversion(converter, project, work / f"out-{project.stem}", keep_output=True))
    result.converter_with_report = conversion(converter, project, work / f"report-{project.stem}",
                                              keep_output=True, with_report=True)
    result.floor = Command(["floor"])
    result.report_copy = Command(["cp"])
    commands = [result.cat, result.xmllint, result.converter, result.converter_with_report]
    if with_compdb:
        result.converter_with_compdb = conversion(converter, project, work / f"compdb-{project.stem}",
                                                  keep_output=False, with_compdb=True)
        commands.append(result.converter_with_compdb)
    if memory_work is not None:
        result.converter_in_memory = conversion(converter, project, memory_work / f"out-{project.stem}",
                                                keep_output=False)
        commands.append(result.converter_in_memory)
    log = work / "output.txt"
    # One unmeasured read puts the file in the page cache for everyone.
    subprocess.run(["cat", str(project)], stdout=subprocess.DEVNULL, check=True)
    for round_number in range(rounds):
        for command in commands:
            destination, argv = None, command.argv
            if command.destinations is not None:
                destination, argv = new_destination(command, f"round{round_number}")
            os.sync()
            with open(log, "w") as output:
                run_timed(command, argv, output)
            if destination is not None:
                check_conversion(destination, log, command)
                if command is result.converter:
                    copy = work / "floor-copy"
                    os.sync()
                    with open(log, "w") as output:
                        run_timed(result.floor, floor_argv(project, destination, copy), output)
                    shutil.rmtree(copy)
                if command is result.converter_with_report:
                    copy = work / "report-copy.tsv"
                    os.sync()
                    with open(log, "w") as output:
                        run_timed(result.report_copy, ["cp", str(destination / "report.tsv"), str(copy)], output)
                    copy.unlink()
                if not command.keep_output:
                    shutil.rmtree(destination)
    return result


def count_instructions(argv):
    """Instructions a command executes, counted by callgrind: immune to load."""
    finished = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null",
                               *argv],
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                              check=False)
    match = re.search(r"Collected : (\d+)", finished.stderr)
    if finished.returncode != 0 or not match:
        raise RuntimeError(f"callgrind failed:\n{finished.stderr[-2000:]}")
    return int(match.group(1))


def count_both(result):
    _, argv = new_destination(result.converter, "instructions")
    result.converter_instructions = count_instructions(argv)
    result.xmllint_instructions = count_instructions(result.xmllint.argv)


def mib(value):
    return value / MIB


def verdict(met):
    return "met" if met else "MISSED"


def blank_or(ratio):
    return "" if ratio is None else f"{ratio:.2f}"


def growth(result, previous, value):
    """Cost per source file relative to the smaller size: 1.00 is linear."""
    if previous is None:
        return None
    return (value(result) / value(previous)) / (result.source_files / previous.source_files)


def series_pairs(results):
    """Each result with the next smaller one of its series (None for the smallest)."""
    previous = None
    for result in results:
        if previous is not None and previous.series != result.series:
            previous = None
        yield result, previous
        previous = result


def table(header, rows):
    return ["| " + " | ".join(header) + " |", "|" + "---:|" * len(header),
            *("| " + " | ".join(row) + " |" for row in rows), ""]


def project_cells(result):
    return [str(result.series.configurations), f"{result.source_files:,}",
            f"{mib(result.file_bytes):.1f}"]


def memory_limit(result):
    return MEMORY_FILE_FACTOR * result.file_bytes + MEMORY_ALLOWANCE


def time_ratio(command, result):
    return command.best_ms() / result.xmllint.best_ms()


def floor_ratio(result):
    return wall(result) / result.floor.best_ms()


def instruction_ratio(result):
    return result.converter_instructions / result.xmllint_instructions


def wall(result):
    return result.converter.best_ms()


def report_ratio(result):
    return result.converter_with_report.best_ms() / wall(result)


def report_copy_ratio(result):
    return (result.converter_with_report.best_ms() - wall(result)) / result.report_copy.best_ms()


def compdb_ratio(result):
    if result.converter_with_compdb is None:
        return None
    return result.converter_with_compdb.best_ms() / wall(result)


def cpu(result):
    return result.converter.best_cpu_ms()


def time_rows(results):
    rows = []
    for result, previous in series_pairs(results):
        in_memory = result.converter_in_memory
        rows.append(project_cells(result) + [
            f"{result.cat.best_ms():.1f}", f"{result.floor.best_ms():.1f}", f"{result.xmllint.best_ms():.1f}",
            f"{wall(result):.1f}", f"{floor_ratio(result):.2f}", f"{time_ratio(result.converter, result):.2f}",
            blank_or(growth(result, previous, wall)),
            f"{cpu(result):.1f}", blank_or(growth(result, previous, cpu)),
            f"{result.converter.best_system_ms():.1f}",
            "" if in_memory is None else f"{in_memory.best_ms():.1f}",
            "" if in_memory is None else f"{time_ratio(in_memory, result):.2f}",
            f"{result.converter_with_report.best_ms():.1f}", f"{report_ratio(result):.2f}",
            f"{mib(result.converter_with_report.output_bytes):.1f}", f"{result.report_copy.best_ms():.1f}",
            f"{report_copy_ratio(result):.2f}",
            "" if result.converter_with_compdb is None else f"{result.converter_with_compdb.best_ms():.1f}",
            blank_or(compdb_ratio(result)),
            "" if result.converter_with_compdb is None else f"{mib(result.converter_with_compdb.output_bytes):.1f}"])
    return rows


def target_checks(results, with_instructions):
    checks = []
    for result, previous in series_pairs(results):
        name = f"{result.series.configurations} configurations, {result.source_files:,} files"
        peak = result.converter.peak_bytes
        checks.append(f"- {name}: peak memory {mib(peak):.1f} MiB < {mib(memory_limit(result)):.1f} MiB: "
                      f"{verdict(peak < memory_limit(result))}")
        if result.source_files != max(SIZES):
            continue
        ratio = floor_ratio(result)
        detail = [f"{time_ratio(result.converter, result):.2f} × xmllint",
                  f"CPU time {cpu(result):.0f} ms, of it system time about "
                  f"{result.converter.best_system_ms():.0f} ms"]
        if result.converter_in_memory is not None:
            detail.append(f"output in memory: {time_ratio(result.converter_in_memory, result):.2f} × xmllint")
        if with_instructions:
            detail.append(f"instructions: {instruction_ratio(result):.2f} × xmllint's")
        checks.append(f"- {name}: time {ratio:.2f} × the floor ≤ {FLOOR_RATIO_LIMIT}: "
                      f"{verdict(ratio <= FLOOR_RATIO_LIMIT)} ({'; '.join(detail)})")
        added = report_copy_ratio(result)
        checks.append(f"- {name}: what -report adds, {added:.2f} × copying its report ≤ {REPORT_COPY_LIMIT}: "
                      f"{verdict(added <= REPORT_COPY_LIMIT)} ({report_ratio(result):.2f} × without)")
        if compdb_ratio(result) is None:
            checks.append(f"- {name}: time with -compdb not measured (--compdb-up-to)")
        else:
            checks.append(f"- {name}: time with -compdb {compdb_ratio(result):.2f} × without ≤ "
                          f"{COMPDB_RATIO_LIMIT}: {verdict(compdb_ratio(result) <= COMPDB_RATIO_LIMIT)}")
        time_growth = growth(result, previous, wall)
        detail = [f"CPU time: {growth(result, previous, cpu):.2f}"]
        if with_instructions:
            detail.append(f"instructions: {growth(result, previous, lambda r: r.converter_instructions):.2f}")
        checks.append(f"- {name}: growth from {previous.source_files:,} files {time_growth:.2f} "
                      f"≤ {GROWTH_LIMIT}: {verdict(time_growth <= GROWTH_LIMIT)} ({'; '.join(detail)})")
    return checks


def report(results, loads, rounds, with_instructions, started, finished, folder_costs):
    lines = [
        "# Benchmark: ProjbridgeCli against the disk's own cost and xmllint",
        "",
        f"Written by `bench/run.sh` on {time.strftime('%Y-%m-%d %H:%M', time.localtime(started))}: "
        f"{os.cpu_count()} cores, {rounds} round{'' if rounds == 1 else 's'} per project, the least wall time of each. "
        f"Load average (1 min) while measuring: {min(loads):.2f} to {max(loads):.2f}; "
        f"the whole run took {finished - started:.0f} s.",
        "",
        "Growth is the cost per source file against the next smaller size of the series "
        "(1.00 = linear). CPU time (user + system, from the kernel's accounting) suffers less "
        "from other load than wall time; its split into user and system time is sampled at "
        "clock ticks and only rough for short runs. \"In memory\" is the same conversion "
        f"writing into {MEMORY_FOLDER} instead of the disk; \"with -report\" writes a conversion "
        "report as well, on the disk, and \"with -compdb\" the compilation databases; \"report MiB\" and "
        "\"databases MiB\" are what these write besides the project. The floor is "
        "`cat` of the project plus `cp -r` of the tree the conversion wrote, timed in the same round; "
        "\"report copy\" is `cp` of the report that the run with -report wrote, and \"-report added / copy\" "
        "what that run took beyond the one without, against it.",
        "",
        "Creating one folder took " + " and ".join(
            f"{cost:.0f} µs {place}" for place, cost in folder_costs.items())
        + f" on this machine (mean of {FOLDER_PROBE_COUNT:,}, before the measurements).",
        "",
        "## Time",
        "",
        *table(["configurations", "source files", "file MiB", "cat ms", "floor ms", "xmllint ms",
                "ProjbridgeCli ms", "CLI / floor", "CLI / xmllint", "growth", "CLI CPU ms", "CPU growth",
                "of it system ms", "in memory ms", "in memory / xmllint", "with -report ms",
                "-report / without", "report MiB", "report copy ms", "-report added / copy", "with -compdb ms",
                "-compdb / without", "databases MiB"],
               time_rows(results)),
        "## Peak memory (largest resident set over the rounds, `/usr/bin/time -v`)",
        "",
        *table(["configurations", "source files", "file MiB", "xmllint MiB", "ProjbridgeCli MiB",
                "limit MiB"],
               [project_cells(r) + [f"{mib(r.xmllint.peak_bytes):.1f}",
                                    f"{mib(r.converter.peak_bytes):.1f}",
                                    f"{mib(memory_limit(r)):.1f}"] for r in results]),
    ]
    if with_instructions:
        lines += ["## Instructions (callgrind, one run each)", ""]
        lines += table(["configurations", "source files", "file MiB", "xmllint", "ProjbridgeCli",
                        "CLI / xmllint", "growth"],
                       [project_cells(r) + [f"{r.xmllint_instructions:,}",
                                            f"{r.converter_instructions:,}",
                                            f"{instruction_ratio(r):.2f}",
                                            blank_or(growth(r, p, lambda x: x.converter_instructions))]
                        for r, p in series_pairs(results)])
    lines += ["## Targets", "", *target_checks(results, with_instructions), ""]
    return "\n".join(lines)


def folder_creation_microseconds(parent):
    """What creating one folder costs here: the converter makes three per group."""
    probe = Path(tempfile.mkdtemp(prefix="folder-probe-", dir=parent))
    try:
        os.sync()
        started = time.perf_counter()
        for index in range(FOLDER_PROBE_COUNT):
            (probe / str(index)).mkdir()
        return (time.perf_counter() - started) / FOLDER_PROBE_COUNT * 1e6
    finally:
        shutil.rmtree(probe)


def memory_work_folder():
    if MEMORY_FOLDER.is_dir() and os.access(MEMORY_FOLDER, os.W_OK):
        return Path(tempfile.mkdtemp(prefix="projbridge-bench-", dir=MEMORY_FOLDER))
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("converter", type=Path, help="the ProjbridgeCli program")
    parser.add_argument("results", type=Path, help="the Markdown file to write")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--quick", action="store_true",
                        help=f"only {', '.join(f'{n:,}' for n in QUICK_SIZES)} source files")
    parser.add_argument("--instructions", action="store_true",
                        help="also count the instructions of ProjbridgeCli and xmllint under "
                             "callgrind, which no other load disturbs (several minutes more)")
    # Every entry of a database names every include folder of its configuration, and the generated
    # projects' include folders grow with their files: 16 MB of databases at 1,000 files, more than
    # 77 GB at 100,000, which fills the disk.
    parser.add_argument("--compdb-up-to", type=int, default=min(SIZES), metavar="FILES",
                        help="run -compdb only on projects of at most this many source files "
                             f"(default {min(SIZES):,}), for databases too large for the disk")
    args = parser.parse_args()
    if args.rounds < 1:
        parser.error("--rounds must be at least 1")

    sizes = QUICK_SIZES if args.quick else SIZES
    started = time.time()
    results = []
    loads = []
    work = Path(tempfile.mkdtemp(prefix="projbridge-bench-"))
    memory_work = memory_work_folder()
    folder_costs = {"on the disk": folder_creation_microseconds(work)}
    if memory_work is not None:
        folder_costs["in memory"] = folder_creation_microseconds(memory_work)
    try:
        for series in SERIES:
            for source_files in sizes:
                project = generate(series, source_files, work)
                loads.append(os.getloadavg()[0])
                result = measure(args.converter, series, source_files, project, work, memory_work,
                                 args.rounds, source_files <= args.compdb_up_to)
                loads.append(os.getloadavg()[0])
                if args.instructions:
                    count_both(result)
                results.append(result)
                print(f"{series.configurations} configurations, {source_files:,} files: "
                      f"ProjbridgeCli {result.converter.best_ms():.1f} ms, "
                      f"xmllint {result.xmllint.best_ms():.1f} ms", flush=True)
                project.unlink()
    finally:
        shutil.rmtree(work, ignore_errors=True)
        if memory_work is not None:
            shutil.rmtree(memory_work, ignore_errors=True)
    text = report(results, loads, args.rounds, args.instructions, started, time.time(), folder_costs)
    args.results.write_text(text)
    print(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
