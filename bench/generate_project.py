#!/usr/bin/env python3
"""Writes a synthetic VisualDSP project file (.dpj) of a chosen size.

The layout follows what the IDE writes (tab indentation, CDATA tool options,
per-file configuration blocks, nested folders) and is scaled up evenly: every
thousand source files add one more module tree of folders nested five deep,
with the header files beside the sources they belong to, so the file size,
the number of folders and the number of distinct include folders all grow
linearly with the number of source files. The output depends only on the
arguments.
"""

import argparse
import sys

TREE_DEPTH = 5
TREE_FANOUT = 3
SOURCE_FILES_PER_TREE = 1000
SOURCES_PER_HEADER = 4
# In each module tree the last folder at this depth starts with its nested
# folders, which makes it a group of its own in the converted project (about
# a ninth of the files); the other folders add their files to the project's
# configurations.
GROUP_FOLDER_DEPTH = 2
# A file is excluded from a configuration now and then, as real projects do.
EXCLUDED_EVERY = 7

COMPILER_SWITCHES = (
    "|-Version>5.0|-O>{optimise}|-O1>{optimise}|-Ov>100|-ipa>0|-g>{debug}|-no-annotate>0"
    "|-save-temps -path-output>0|-ED>0|-no-auto-attrs>0|-no-builtin>0|-no-extra-keywords>0"
    "|-enum-is-int>0|-no-fp-associative>0|-structs-do-not-overlap>1|-implicit-pointers>0"
    "|-eh >0|-rtti>0|-check-init-order>0|-ignore-std>0|-const-read-write>0|-const-strings>0"
    "|-no-multiline>1|-misra>0|-misra-strict>0|-misra-no-cross-module>0|-misra-no-runtime>0"
    "|-misra-testing>0|-misra-suppress-advisory>0"
    "|-D>{defines}"
    "|-I>{includes}"
    "|-no-std-inc>0|-double-size-32>1|-double-size-any>0|-pguide>0|NOSWITCH>0"
    "|-flags-compiler --diag_warning,implicit_func_decl>0|-warn-protos>1"
    "|-flags-compiler --diag_warning,call_not_inlined>0|-Wremarks>0|-w>0"
)
OTHER_TOOLS = (
    ("Assembler", "|-Version>4.5|-v>0|-g>{debug}|-l>0|-save-temps>0|-sp>0|-swc>1"),
    ("Linker", "|-Version>5.0|-flags-link -t>0|-flags-link -S>0|-flags-link -s>0|-mem>0"
               "|-flags-link -warnonce>0|-map>1|-flags-link -xref>0|-add-debug-libpaths>1|-swc>1"),
    ("Splitter", "|-Version>5.0|-pm>1|-dm>0|-64>0|s>0|-ram>1|-norom>0|-f s3>1|-r> 8 8 32|-u>0"),
    ("Loader", "|-Version>4.5|-bprom>1|-fHEX>1|-HostWidth8>1|-v>0|-nokernel>0|UserKernel>0"),
    ("Archiver", ""),
    ("VdkGen", ""),
)


class Folder:
    """One project folder: its name in the IDE, its folder on disk, its children."""

    def __init__(self, name, disk_path, folders_first, extensions=""):
        self.name = name
        self.disk_path = disk_path
        self.folders_first = folders_first
        self.extensions = extensions
        self.children = []
        self.sources = []
        self.headers = []


def configuration_names(count):
    names = []
    for index in range(count):
        kind = "Debug" if index % 2 == 0 else "Release"
        board = index // 2
        names.append(kind if board == 0 else f"{kind}_Board{board:02d}")
    return names


def build_tree(tree_index):
    root = Folder(f"Module {tree_index:03d}", f".\\src\\module{tree_index:03d}", False)
    level = [root]
    for depth in range(1, TREE_DEPTH):
        next_level = []
        for parent in level:
            for branch in range(TREE_FANOUT):
                child = Folder(f"Part {depth}.{branch}",
                               f"{parent.disk_path}\\part{depth}{branch}", False)
                parent.children.append(child)
                next_level.append(child)
        level = next_level
        if depth == GROUP_FOLDER_DEPTH:
            group = level[-1]
            group.name = f"Drivers {tree_index:03d}"
            group.folders_first = True
    return root


def walk(folder):
    yield folder
    for child in folder.children:
        yield from walk(child)


def source_extension(index):
    if index % 11 == 10:
        return ".asm"
    if index % 5 == 4:
        return ".cpp"
    return ".c"


def build_source_folders(source_files):
    """The "Source Files" folder: files of its own first, as the IDE writes it,
    then one module tree per thousand source files."""
    root = Folder("Source Files", ".\\src", False, ' ext=".c,.cpp,.cxx,.asm,.dsp,.s"')
    tree_count = max(1, round(source_files / SOURCE_FILES_PER_TREE))
    root.children = [build_tree(index) for index in range(tree_count)]
    fill(root, source_files)
    return root


def fill(root, source_files):
    """Spreads the source files evenly over the folders that hold files."""
    holders = [folder for folder in walk(root) if not folder.folders_first]
    base, extra = divmod(source_files, len(holders))
    number = 0
    for position, folder in enumerate(holders):
        count = base + (1 if position < extra else 0)
        for _ in range(count):
            folder.sources.append(f"{folder.disk_path}\\unit{number:06d}{source_extension(number)}")
            number += 1
        for header in range((count + SOURCES_PER_HEADER - 1) // SOURCES_PER_HEADER):
            folder.headers.append(f"{folder.disk_path}\\interface{header:03d}.h")


class Writer:
    def __init__(self, out, line_end, configurations, block_every):
        self.out = out
        self.line_end = line_end
        self.configurations = configurations
        self.block_every = block_every
        self.source_number = 0
        self.buffer = []

    def line(self, depth, text):
        self.buffer.append("\t" * depth + text + self.line_end)
        if len(self.buffer) >= 4096:
            self.flush()

    def flush(self):
        self.out.write("".join(self.buffer))
        self.buffer.clear()

    def project(self, source_root, linker_file):
        self.line(0, "<?xml version=\"1.0\" encoding='ISO-8859-1'?>")
        self.line(0, '<visualdsp-project schema="17" name="Bench" file="Bench.dpj" version="1">')
        self.line(1, "<!-- Project build target -->")
        self.line(1, "<target>")
        self.line(2, '<processor revision="Automatic">ADSP-21489</processor>')
        self.line(2, "<extension>.dxe</extension>")
        self.line(2, "<type>Executable file</type>")
        self.line(1, "</target>")
        self.line(1, "<!-- Configurations -->")
        self.line(1, f'<configurations active="{self.configurations[0]}">')
        for index, name in enumerate(self.configurations):
            self.configuration(index, name)
        self.line(1, "</configurations>")
        self.line(1, "<!-- Project folders -->")
        self.line(1, "<folders>")
        self.header_folder(source_root)
        self.line(2, '<folder name="Linker Files" ext=".ldf,.dlb">')
        self.line(3, "<files>")
        self.line(4, f'<file name="{linker_file}">')
        self.line(4, "</file>")
        self.line(3, "</files>")
        self.line(2, "</folder>")
        self.source_folder(source_root, 2)
        self.line(1, "</folders>")
        self.line(0, "</visualdsp-project>")
        self.flush()

    def configuration(self, index, name):
        debug = 1 if name.startswith("Debug") else 0
        self.line(2, f'<configuration name="{name}">')
        self.line(3, f"<intermediate-dir>.\\{name}</intermediate-dir>")
        self.line(3, f"<output-dir>.\\{name}</output-dir>")
        self.line(3, "<changed-property-page-flags>0</changed-property-page-flags>")
        self.line(3, "<tools>")
        defines = " ".join([f"-D>BOARD_ID={index // 2}", f"-D>CONFIG_NAME={name}",
                            "-D>USE_DMA=1", "-D>NDEBUG" if not debug else "-D>TRACE_LEVEL=3"])
        includes = ";".join([".\\include", ".\\src\\common", "..\\shared\\include",
                             f".\\boards\\board{index // 2:02d}"])
        compiler = COMPILER_SWITCHES.format(optimise=1 - debug, debug=debug,
                                            defines=defines, includes=includes)
        self.tool("Compiler", compiler)
        for tool_type, option in OTHER_TOOLS:
            self.tool(tool_type, option.format(debug=debug))
        self.line(3, "</tools>")
        self.line(3, "<post-build-description><![CDATA[Copying the image...]]></post-build-description>")
        self.line(3, f"<post-build-command><![CDATA[copy .\\{name}\\Bench.dxe ..\\images{self.line_end}]]>"
                     "</post-build-command>")
        self.line(2, "</configuration>")

    def tool(self, tool_type, option):
        self.line(4, f'<tool type="{tool_type}">')
        self.line(5, f"<option><![CDATA[{option}]]></option>")
        self.line(4, "</tool>")

    def header_folder(self, source_root):
        """The header files beside the sources, in a tree of the same shape."""
        self.header_tree(source_root, 2, "Header Files", ' ext=".h,.hpp,.hxx"')

    def header_tree(self, folder, depth, name=None, extensions=""):
        self.line(depth, f'<folder name="{name or folder.name}"{extensions}>')
        if folder.headers:
            self.line(depth + 1, "<files>")
            for header in folder.headers:
                self.line(depth + 2, f'<file name="{header}">')
                self.line(depth + 2, "</file>")
            self.line(depth + 1, "</files>")
        self.nested(folder, depth, self.header_tree)

    def source_folder(self, folder, depth):
        self.line(depth, f'<folder name="{folder.name}"{folder.extensions}>')
        if folder.sources:
            self.line(depth + 1, "<files>")
            for source in folder.sources:
                self.source_file(source, depth + 2)
            self.line(depth + 1, "</files>")
        self.nested(folder, depth, self.source_folder)

    def nested(self, folder, depth, write_child):
        if folder.children:
            self.line(depth + 1, "<folders>")
            for child in folder.children:
                write_child(child, depth + 2)
            self.line(depth + 1, "</folders>")
        self.line(depth, "</folder>")

    def source_file(self, path, depth):
        number = self.source_number
        self.source_number += 1
        self.line(depth, f'<file name="{path}">')
        if number % self.block_every == 0:
            self.line(depth + 1, "<file-configurations>")
            for index, name in enumerate(self.configurations):
                excluded = "yes" if (number + index) % EXCLUDED_EVERY == 0 else "no"
                self.line(depth + 2, f'<file-configuration name="{name}">')
                self.line(depth + 3, f'<excluded-flag value="{excluded}"/>')
                self.line(depth + 3, '<build-with-flag value="project"/>')
                self.line(depth + 3, f"<intermediate-dir>.\\{name}</intermediate-dir>")
                self.line(depth + 3, f"<output-dir>.\\{name}</output-dir>")
                self.line(depth + 2, "</file-configuration>")
            self.line(depth + 1, "</file-configurations>")
        self.line(depth, "</file>")


def positive(text):
    value = int(text)
    if value < 1:
        raise argparse.ArgumentTypeError("must be at least 1")
    return value


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output", help="the .dpj file to write")
    parser.add_argument("--source-files", type=positive, required=True)
    parser.add_argument("--configurations", type=positive, required=True)
    parser.add_argument("--file-configurations-every", type=positive, default=1, metavar="N",
                        help="give every N-th source file a per-configuration block (default 1: all)")
    parser.add_argument("--line-end", choices=("lf", "crlf"), default="lf")
    args = parser.parse_args()

    source_root = build_source_folders(args.source_files)
    line_end = "\r\n" if args.line_end == "crlf" else "\n"
    with open(args.output, "w", encoding="latin-1", newline="") as out:
        Writer(out, line_end, configuration_names(args.configurations),
               args.file_configurations_every).project(source_root, ".\\Bench.ldf")
    return 0


if __name__ == "__main__":
    sys.exit(main())
