#!/usr/bin/env python3
"""Times ProjbridgeCli against xmllint and a plain read on generated projects.

Called by run.sh, which builds the converter first. For every project of the
matrix it generates the file, then runs the three commands in turn, several
rounds over, so that a burst of load from elsewhere hits all three alike. The
wall time of each command is its median over the rounds; its peak memory is
the largest resident set that /usr/bin/time -v reported.
"""

import argparse
import os
import re
import resource
import shutil
import statistics
import subprocess
import sys
import time
from dataclasses import dataclass, field
from pathlib import Path

HERE = Path(__file__).resolve().parent
MIB = 1024 * 1024
SIZES = (1_000, 10_000, 100_000)
QUICK_SIZES = (1_000, 10_000)


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
TIME_RATIO_LIMIT = 2.0
GROWTH_LIMIT = 1.15
MEMORY_FILE_FACTOR = 2
MEMORY_ALLOWANCE = 16 * MIB


@dataclass
class Command:
    name: str
    seconds: list = field(default_factory=list)
    cpu_seconds: list = field(default_factory=list)
    peak_bytes: int = 0

    def median_ms(self):
        return statistics.median(self.seconds) * 1000

    def median_cpu_ms(self):
        return statistics.median(self.cpu_seconds) * 1000


@dataclass
class Result:
    series: Series
    source_files: int
    file_bytes: int
    cat: Command
    xmllint: Command
    converter: Command
    instructions: int = 0


def children_cpu_seconds():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def time_v(command, stdout=subprocess.DEVNULL):
    """Runs a command under /usr/bin/time -v: wall seconds, CPU seconds, peak bytes."""
    cpu_before = children_cpu_seconds()
    started = time.perf_counter()
    finished = subprocess.run(["/usr/bin/time", "-v", *command], stdout=stdout,
                              stderr=subprocess.PIPE, text=True, check=False)
    wall = time.perf_counter() - started
    # Microseconds here, where /usr/bin/time rounds to hundredths.
    cpu = children_cpu_seconds() - cpu_before
    report = finished.stderr
    if finished.returncode != 0:
        raise RuntimeError(f"{command[0]} failed with status {finished.returncode}:\n{report}")

    def number(label):
        match = re.search(rf"^\s*{re.escape(label)}: ([0-9.]+)$", report, re.MULTILINE)
        if not match:
            raise RuntimeError(f"/usr/bin/time -v printed no '{label}':\n{report}")
        return float(match.group(1))

    return wall, cpu, int(number("Maximum resident set size (kbytes)")) * 1024


def generate(series, source_files, folder):
    path = folder / f"bench-{series.configurations}cfg-{source_files}.dpj"
    subprocess.run([sys.executable, str(HERE / "generate_project.py"), str(path),
                    "--source-files", str(source_files),
                    "--configurations", str(series.configurations),
                    "--file-configurations-every", str(series.file_configurations_every),
                    "--line-end", series.line_end], check=True)
    return path


def convert_command(converter, project, destination):
    return [str(converter), str(project), str(destination), ""]


def fresh_folder(path):
    shutil.rmtree(path, ignore_errors=True)
    path.mkdir()


def measure(converter, project, work, rounds):
    cat = Command("cat")
    xmllint = Command("xmllint")
    conversion = Command("ProjbridgeCli")
    destination = work / "out"
    log = work / "converter-output.txt"
    runs = (
        (cat, ["cat", str(project)]),
        (xmllint, ["xmllint", "--noout", str(project)]),
        (conversion, convert_command(converter, project, destination)),
    )
    # One unmeasured round puts the file in the page cache for everyone.
    subprocess.run(["cat", str(project)], stdout=subprocess.DEVNULL, check=True)
    for _ in range(rounds):
        for command, argv in runs:
            if command is conversion:
                fresh_folder(destination)
            with open(log, "w") as output:
                wall, cpu, peak = time_v(argv, stdout=output)
            command.seconds.append(wall)
            command.cpu_seconds.append(cpu)
            command.peak_bytes = max(command.peak_bytes, peak)
        check_conversion(destination, log)
    shutil.rmtree(destination, ignore_errors=True)
    return cat, xmllint, conversion


def check_conversion(destination, log):
    output = log.read_text(errors="replace")
    if "Completed!" not in output or not any(destination.glob("*.prj")):
        raise RuntimeError(f"the conversion did not complete:\n{output[-2000:]}")


def count_instructions(converter, project, work):
    """Instructions the conversion executes, counted by callgrind: immune to load."""
    destination = work / "out"
    fresh_folder(destination)
    finished = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null",
                               *convert_command(converter, project, destination)],
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                              check=False)
    shutil.rmtree(destination, ignore_errors=True)
    match = re.search(r"Collected : (\d+)", finished.stderr)
    if finished.returncode != 0 or not match:
        raise RuntimeError(f"callgrind failed:\n{finished.stderr[-2000:]}")
    return int(match.group(1))


def load_average():
    return os.getloadavg()[0]


def mib(value):
    return value / MIB


def verdict(met):
    return "met" if met else "MISSED"


def growth(result, previous, value):
    """Time (or instructions) per source file relative to the smaller size: 1.00 is linear."""
    if previous is None:
        return None
    return (value(result) / value(previous)) / (result.source_files / previous.source_files)


def blank_or(ratio):
    return "" if ratio is None else f"{ratio:.2f}"


def report(results, loads, rounds, with_instructions, started, finished):
    lines = [
        "# Benchmark: ProjbridgeCli against xmllint and a plain read",
        "",
        f"Run by `bench/run.sh` on {time.strftime('%Y-%m-%d %H:%M', time.localtime(started))}, "
        f"{os.cpu_count()} cores, {rounds} rounds per project, median wall time; "
        f"peak memory is the largest resident set over the rounds (`/usr/bin/time -v`). "
        f"Load average (1 min) while measuring: {min(loads):.2f} to {max(loads):.2f}; "
        f"the whole run took {finished - started:.0f} s.",
        "",
        "Growth is the time per source file against the next smaller size (1.00 = linear); "
        "CPU time (user + system, from the kernel's accounting) suffers less from other load "
        "than wall time.",
        "",
        "| configurations | source files | file MiB | cat ms | xmllint ms | ProjbridgeCli ms "
        "| CLI / xmllint | growth | CLI CPU ms | CPU growth | xmllint MiB | CLI MiB "
        "| memory limit MiB |"
        + (" instructions | instr. growth |" if with_instructions else ""),
        "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
        + ("---:|---:|" if with_instructions else ""),
    ]
    checks = []
    previous = None
    for result in results:
        if previous is not None and previous.series != result.series:
            previous = None
        time_growth = growth(result, previous, lambda r: r.converter.median_ms())
        cpu_growth = growth(result, previous, lambda r: r.converter.median_cpu_ms())
        limit = MEMORY_FILE_FACTOR * result.file_bytes + MEMORY_ALLOWANCE
        ratio = result.converter.median_ms() / result.xmllint.median_ms()
        row = (f"| {result.series.configurations} | {result.source_files:,} "
               f"| {mib(result.file_bytes):.1f} | {result.cat.median_ms():.1f} "
               f"| {result.xmllint.median_ms():.1f} | {result.converter.median_ms():.1f} "
               f"| {ratio:.2f} | {blank_or(time_growth)} "
               f"| {result.converter.median_cpu_ms():.1f} | {blank_or(cpu_growth)} "
               f"| {mib(result.xmllint.peak_bytes):.1f} "
               f"| {mib(result.converter.peak_bytes):.1f} | {mib(limit):.1f} |")
        if with_instructions:
            instruction_growth = growth(result, previous, lambda r: r.instructions)
            row += (f" {result.instructions:,} "
                    f"| {blank_or(instruction_growth)} |")
        lines.append(row)

        name = f"{result.series.configurations} configurations, {result.source_files:,} files"
        checks.append(f"- {name}: peak memory {mib(result.converter.peak_bytes):.1f} MiB "
                      f"< {mib(limit):.1f} MiB: {verdict(result.converter.peak_bytes < limit)}")
        if result.source_files == max(SIZES):
            checks.append(f"- {name}: time {ratio:.2f} × xmllint ≤ {TIME_RATIO_LIMIT}: "
                          f"{verdict(ratio <= TIME_RATIO_LIMIT)}")
            checks.append(f"- {name}: growth from {previous.source_files:,} files "
                          f"{time_growth:.2f} ≤ {GROWTH_LIMIT}: {verdict(time_growth <= GROWTH_LIMIT)}")
        previous = result
    lines += ["", "## Targets", "", *checks, ""]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("converter", type=Path, help="the ProjbridgeCli program")
    parser.add_argument("results", type=Path, help="the Markdown table to write")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--quick", action="store_true",
                        help=f"only {', '.join(f'{n:,}' for n in QUICK_SIZES)} source files")
    parser.add_argument("--instructions", action="store_true",
                        help="also count the converter's instructions under callgrind (slow)")
    args = parser.parse_args()

    sizes = QUICK_SIZES if args.quick else SIZES
    started = time.time()
    results = []
    loads = []
    work = Path(os.environ.get("TMPDIR", "/tmp")) / f"projbridge-bench-{os.getpid()}"
    work.mkdir()
    try:
        for series in SERIES:
            for source_files in sizes:
                project = generate(series, source_files, work)
                loads.append(load_average())
                cat, xmllint, conversion = measure(args.converter, project, work, args.rounds)
                loads.append(load_average())
                result = Result(series, source_files, project.stat().st_size,
                                cat, xmllint, conversion)
                if args.instructions:
                    result.instructions = count_instructions(args.converter, project, work)
                results.append(result)
                print(f"{series.configurations} configurations, {source_files:,} files: "
                      f"ProjbridgeCli {conversion.median_ms():.1f} ms, "
                      f"xmllint {xmllint.median_ms():.1f} ms", flush=True)
                project.unlink()
    finally:
        shutil.rmtree(work, ignore_errors=True)
    table = report(results, loads, args.rounds, args.instructions, started, time.time())
    args.results.write_text(table)
    print(table)
    return 0


if __name__ == "__main__":
    sys.exit(main())
