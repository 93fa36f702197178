#!/usr/bin/env python3
"""Writes raw seeds for the fuzz targets into a folder (one subfolder per
target), from the example drawings, the instruction strings of the tests and
any DXF files (or folders of them) given on the command line. scripts/fuzz --seed merges them into
the committed corpus, keeping only what adds coverage.

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
    drawings = [cut(d) for d in drawings if d]
    # Two drawings the test files do not hold within the length limit: a
    # closed polyline long enough to be cut into two pieces, and more than
    # 1500 lines, which reach the percent-done check.
    vertices = b"0\nVERTEX\n" * 3000
    drawings.append(b"0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n70\n1\n" + vertices + b"0\nSEQEND\n0\nENDSEC\n0\nEOF\n")
    lines = b"".join(b"0\nLINE\n10\n%d\n11\n1\n" % (i % 10) for i in range(300))
    drawings.append(b"0\nSECTION\n2\nENTITIES\n" + lines + b"0\nENDSEC\n0\nEOF\n")

    strings = set()
    for test in ("instruction_string_test.cpp", "load_dialog_test.cpp"):
        path = os.path.join(TOP, "tests", test)
        if os.path.exists(path):
            strings.update(s for s in c_strings(path) if s.startswith(("-", " ")) or s[:1] in "BFTYZ@")
    for text in sorted(strings):
        write(os.path.join(out, "fuzz_instruction_string"), text.encode("utf-8"))

    # fuzz_import: eight settings bytes, then the drawing.
    settings = [
        bytes([0x80, 0, 0, 0, 7, 0, 0, 0]),        # every kind, 2D
        bytes([0x02, 0x03, 3, 2, 0, 0, 0, 0]),     # lines, 3D, hidden layers, font 3, zone 2, background 0
        bytes([0x7F, 0x0C, 0, 1, 7, 1, 0, 0]),     # compact form, recording, stop at the first check
        bytes([0x80, 0x10, 0, 0, 7, 0, 4, 0]),     # no data set, the 4th heap allocation fails
    ]
    # The run stopped at the first percent-done check, every kind selected.
    write(os.path.join(out, "fuzz_import"), bytes([0x80, 0, 0, 0, 7, 1, 0, 0]) + drawings[-1])
    for number, drawing in enumerate(drawings):
        write(os.path.join(out, "fuzz_import"), settings[number % len(settings)] + drawing)
        if number < len(settings):
            write(os.path.join(out, "fuzz_import"), settings[(number + 1) % len(settings)] + drawing)

    # fuzz_dialog_ok: eight control bytes, three texts, then the drawing.
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
    for controls, file_text, zone_text, answer in dialog:
        write(os.path.join(out, "fuzz_dialog_ok"), controls + file_text + b"\0" + zone_text + b"\0" + answer + b"\0" + small)


if __name__ == "__main__":
    main()
