"""The console texts and the window caption of paravib, read from the golden copy in
tests/data/dialog_texts.txt, and the transcripts of whole dialog steps built from them."""
import os

TEXTS_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data",
                          "dialog_texts.txt")


def read_texts(path=TEXTS_FILE):
    """NAME -> text: the lines of each NAME joined, \\n turned into a line feed."""
    texts = {}
    with open(path, encoding="utf-8") as f:
        for line in f.read().split("\n"):
            if line and not line.startswith("#"):
                name, text = line.split("\t", 1)
                texts[name] = texts.get(name, "") + text.replace("\\n", "\n")
    return texts


_T = read_texts()
HEADER, MATHIEU_LINE, SQUARE_LINE = _T["HEADER"], _T["MATHIEU_LINE"], _T["SQUARE_LINE"]
BETA_PROMPT, POINT_PROMPT, INITIAL_PROMPT = (_T["BETA_PROMPT"], _T["POINT_PROMPT"],
                                             _T["INITIAL_PROMPT"])
SCAN_MATHIEU = (_T["SCAN_B1"], _T["SCAN_B2"])
SCAN_SQUARE = (_T["SCAN_PERIOD_T"], _T["SCAN_PERIOD_2T"])
RETRY, HELP, CAPTION = _T["RETRY"], _T["HELP"], _T["CAPTION"]

# The part of the caption that xdotool can match whatever encoding the caption is stored in.
CAPTION_ASCII_PART = "k:"

# The loader's lines for beta = 0: a line feed, then one line before each of the four files
# (the fourth names Ds3 while it reads "fileds2").
UNDAMPED_FILES = ("filedc1", "fileds1", "filedc2", "fileds2")
UNDAMPED_LOAD_LINES = tuple(_T[n] for n in ("LOAD_DC1", "LOAD_DS1", "LOAD_DC2", "LOAD_DS2"))


def unreadable_file(name):
    """The loader's line for a boundary file it cannot use (then the table is scanned)."""
    return _T["UNREADABLE_FILE"].replace("{name}", name)


def undamped_load(missing=()):
    """Loader output for beta = 0; files named in missing are reported and scanned."""
    text = "\n"
    for name, line in zip(UNDAMPED_FILES, UNDAMPED_LOAD_LINES):
        text += line + (unreadable_file(name) if name in missing else "")
    return text


def damped_load(beta, missing=()):
    """Loader output for a tabled beta > 0, e.g. damped_load(0.1) for "fileb1010", "fileb2010"."""
    code, shown = "%03d" % round(100 * beta), "%4.2f" % beta
    return "\n" + "".join(_T[line].replace("{beta}", shown)
                          + (unreadable_file(name + code) if name + code in missing else "")
                          for line, name in (("LOAD_B1", "fileb1"), ("LOAD_B2", "fileb2")))
