#!/usr/bin/env python3
"""Writes raw seeds for the fuzz targets into a folder (one subfolder per
target), from the example drawings, the instruction strings of the tests and
any DXF files (or folders of them) given on the command line, each drawing
in both readings (classic, and full with -X). scripts/fuzz --seeds merges
them into the committed corpus, keeping only what adds coverage.

    fuzz/make_seeds.py OUT [DXF FILE OR FOLDER ...]
"""
import ast
import hashlib
import os
import re
import sys

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Longer drawings are cut, at a line end, to keep the corpus small.
MAX_DXF = 12000


def c_strings(path):
    """The first string literal of every table row `{"...", ...}` in a test."""
    text = open(path, encoding="utf-8").read()
    for match in re.finditer(r'\{\s*("(?:[^"\\\n]|\\.)*")\s*,', text):
        literal = match.group(1)
        yield ast.literal_eval(literal)


def cut(dxf):
    if len(dxf) <= MAX_DXF:
        return dxf
    end = dxf.rfind(b"\n", 0, MAX_DXF)
    return dxf[: end + 1] + b"  0\nEOF\n"


def pairs(dxf):
    """The file's group pairs as (code line, value line), line ends dropped."""
    lines = dxf.split(b"\n")
    return [(lines[i], lines[i + 1]) for i in range(0, len(lines) - 1, 2)]


# Handles, owners, subclass markers and links to objects: nothing either
# reading draws from.
LEAN_DROPPED = {b"5", b"100", b"330", b"340", b"347", b"360", b"390"}


def lean(dxf):
    """A long drawing with what the readings draw from only: the LAYER table,
    BLOCKS and ENTITIES, without handles and the like. Today's files put tens
    of kilobytes of HEADER, CLASSES and other tables first, which cutting
    alone would keep instead of any entity."""
    kept, section, table = [], b"", b""
    for code, value in pairs(dxf):
        if code.strip() in LEAN_DROPPED:
            continue
        marker = code.strip() == b"0"
        if marker and value.strip() == b"SECTION":
            section = b""
        elif section == b"" and code.strip() == b"2":
            section = value.strip()
            if section in (b"TABLES", b"BLOCKS", b"ENTITIES"):
                kept += [(b"  0", b"SECTION"), (code, value)]
            continue
        if marker and value.strip() == b"TABLE":
            table = b""
        elif section == b"TABLES" and table == b"" and code.strip() == b"2":
            table = value.strip()
            if table == b"LAYER":
                kept.append((b"  0", b"TABLE"))
        if section == b"" or section not in (b"TABLES", b"BLOCKS", b"ENTITIES"):
            continue
        if section == b"TABLES" and table != b"LAYER" and not (marker and value.strip() == b"ENDSEC"):
            continue
        kept.append((code, value))
    return b"".join(code + b"\n" + value + b"\n" for code, value in kept) + b"  0\nEOF\n"


def write(folder, content):
    os.makedirs(folder, exist_ok=True)
    name = hashlib.sha1(content).hexdigest()
    with open(os.path.join(folder, name), "wb") as out:
        out.write(content)


def main():
    out = sys.argv[1]
    drawings = []
    examples = os.path.join(TOP, "examples")
    for name in sorted(os.listdir(examples)):
        if name.endswith(".dxf"):
            drawings.append(open(os.path.join(examples, name), "rb").read())
    for given in sys.argv[2:]:
        paths = [given]
        if os.path.isdir(given):
            paths = sorted(os.path.join(folder, name) for folder, _, names in os.walk(given) for name in names)
        for path in paths:
            drawings.append(open(path, "rb").read())
    # A long drawing is cut as it stands (its header and tables) and, made
    # lean, cut again (its entities).
    drawings = [cut(d) for d in drawings if d] + [cut(lean(d)) for d in drawings if len(d) > MAX_DXF]
    # Drawings the test files do not hold within the length limit: a closed
    # polyline long enough to be cut into two pieces; more than 1500 lines,
    # which reach the percent-done check; and a block drawn 2000 times, whose
    # references keep the percent-done dialog alive between two lines of the
    # file.
    vertices = b"0\nVERTEX\n" * 3000
    drawings.append(b"0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n70\n1\n" + vertices + b"0\nSEQEND\n0\nENDSEC\n0\nEOF\n")
    block = b"0\nBLOCK\n2\nB\n" + b"0\nLINE\n11\n1\n" * 10 + b"0\nENDBLK\n"
    drawings.append(
        b"0\nSECTION\n2\nBLOCKS\n" + block + b"0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nINSERT\n2\nB\n70\n50\n71\n40\n"
        b"44\n2\n45\n2\n0\nENDSEC\n0\nEOF\n")
    lines = b"".join(b"0\nLINE\n10\n%d\n11\n1\n" % (i % 10) for i in range(300))
    drawings.append(b"0\nSECTION\n2\nENTITIES\n" + lines + b"0\nENDSEC\n0\nEOF\n")

    strings = set()
    for test in ("instruction_string_test.cpp", "load_dialog_test.cpp"):
        path = os.path.join(TOP, "tests", test)
        if os.path.exists(path):
            strings.update(s for s in c_strings(path) if s.startswith(("-", " ")) or s[:1] in "BFTYZ@")
    for text in sorted(strings):
        write(os.path.join(out, "fuzz_instruction_string"), text.encode("utf-8"))

    # fuzz_import: nine settings bytes (the reading first), then the drawing.
    settings = [
        bytes([0x80, 0, 0, 0, 7, 0, 0, 0]),        # every kind, 2D
        bytes([0x02, 0x03, 3, 2, 0, 0, 0, 0]),     # lines, 3D, hidden layers, font 3, zone 2, background 0
        bytes([0x7F, 0x0C, 0, 1, 7, 1, 0, 0]),     # compact form, recording, stop at the first check
        bytes([0x80, 0x10, 0, 0, 7, 0, 4, 0]),     # no data set, the 4th heap allocation fails
    ]
    full, full_first, classic = b"\x01", b"\x03", b"\x00"
    # The runs stopped at the first percent-done check, every kind selected:
    # the lines read classically, the block's references in full.
    write(os.path.join(out, "fuzz_import"), classic + bytes([0x80, 0, 0, 0, 7, 1, 0, 0]) + drawings[-1])
    write(os.path.join(out, "fuzz_import"), full + bytes([0x80, 0, 0, 0, 7, 1, 0, 0]) + drawings[-2])
    for number, drawing in enumerate(drawings):
        chosen = settings[number % len(settings)]
        write(os.path.join(out, "fuzz_import"), (full_first if number % 2 else full) + chosen + drawing)
        write(os.path.join(out, "fuzz_import"), classic + chosen + drawing)
        if number < len(settings):
            write(os.path.join(out, "fuzz_import"), full + settings[(number + 1) % len(settings)] + drawing)

    # fuzz_dialog_ok: nine control bytes (the full-reading toggle first),
    # three texts, then the drawing.
    small = min(drawings, key=len) if drawings else b"  0\nEOF\n"
    dialog = [
        # toggles set (lines only), the DXF file's path, zone "1", OK
        (bytes([0x02, 0x03, 0, 0, 1, 0, 0, 0x03]), b"", b"1", b""),
        # every kind, a file named "a[1]\\b.dxf", 3D, two zones, Select Zone's OK on row 3
        (bytes([0x7F, 0x35, 4, 2, 0x12, 0, 0, 0x02]), b"a[1]\\b.dxf", b"", b""),
        # the file browser answers the DXF file's name
        (bytes([0x00, 0x0A, 0, 0, 1, 0, 0, 0x04]), b"", b"<<None>>", b"drawing.dxf"),
        # a name that names nothing, then Cancel
        (bytes([0x00, 0x00, 0, 0, 1, 0, 0, 0x02]), b"no such file.dxf", b"7", b""),
    ]
    for reading in (classic, full):
        for controls, file_text, zone_text, answer in dialog:
            write(os.path.join(out, "fuzz_dialog_ok"),
                  reading + controls + file_text + b"\0" + zone_text + b"\0" + answer + b"\0" + small)


if __name__ == "__main__":
    main()
