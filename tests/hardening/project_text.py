"""Project files for the hardening cases, and the lines the converter prints."""

PROJECT = "project"
PROCESSOR = "ADSP-21369"
INSTALL_FOLDER = "C:\\VisualDSP"
WRITE_CHUNK_BYTES = 1024 * 1024

HEAD = ('<?xml version="1.0" encoding="ISO-8859-1"?>\n'
        f'<visualdsp-project schema="17" name="{PROJECT}" file="{PROJECT}.dpj" version="1">\n')
END = "</visualdsp-project>\n"

CREATING = "Creating Tavric/Tavric++ Project ..."
COMPLETED = "Tavric/Tavric++ Project Completed!"
UNEXPECTED_EOF = "Visual DSP Project file parsing encountered unexpected EOF"
UNEXPECTED_TOKEN = "Visual DSP Project file parsing encountered unexpected token: "
INCOMPLETE = "Conversion incomplete: the project file was read only up to the unexpected token"
TEMPLATE_NOT_OPENED = "Couldnt open file"


def group_line(name):
    return "  Creating Group - " + name


def personality_line(path):
    return "  Creating Analyser Personality - " + path


def target(processor=PROCESSOR):
    return f'<target>\n<processor revision="Automatic">{processor}</processor>\n</target>\n'


def file_list(files):
    return "".join(f'<file name="{name}">\n</file>\n' for name in files)


def folder(name, files):
    return f'<folder name="{name}">\n<files>\n' + file_list(files) + "</files>\n</folder>\n"


def folders(*content):
    return "<folders>\n" + "".join(content) + "</folders>\n"


class Repeat:
    """A text written many times, without holding all of it in memory."""

    def __init__(self, text, count):
        self.text, self.count = text, count

    def chunks(self):
        per_chunk = max(1, WRITE_CHUNK_BYTES // len(self.text))
        left = self.count
        while left > 0:
            batch = min(per_chunk, left)
            yield self.text * batch
            left -= batch


def write_project(path, *parts):
    """Parts are texts (str in Latin-1, or bytes), Repeats or generators of
    texts: a large project is never held whole, as the memory of this process
    would be counted in the converter's (a child starts as a copy of it)."""
    with open(path, "wb") as out:
        for part in parts:
            if isinstance(part, Repeat):
                part = part.chunks()
            for chunk in [part] if isinstance(part, (str, bytes)) else part:
                out.write(chunk if isinstance(chunk, bytes) else chunk.encode("latin-1"))
