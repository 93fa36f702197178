#!/usr/bin/python3
"""Writes the example drawings of records and loose geometry into examples/.

Each drawing holds values that a CAD program writes or reads in its own way:
MTEXT with the column data of newer files and text chunks that start with a
blank, ellipses, circles and arcs with values out of their usual range,
aligned and fitted texts, and layers that are off or frozen. They are written
with ezdxf (Debian's python3-ezdxf, a test aid only) and touched up pair by
pair where ezdxf writes a value only in its usual range. The helpers and the
fixed output come from generate_modern.py.

    /usr/bin/python3 examples/generate_records.py              # writes the .dxf files
    /usr/bin/python3 examples/generate_records.py --reference  # also draws out/reference/<name>.png
"""
import math

import ezdxf
from ezdxf.enums import TextEntityAlignment

import generate_modern as modern


def append_groups(pairs, handle, groups):
    """Adds pairs at the end of an entity's own groups (before its extended
    data, when it has any)."""
    first, end = pairs.entity(handle)
    at = next((i for i in range(first, end) if int(pairs.items[i][0]) >= 1000), end)
    pairs.items[at:at] = [["%3d" % code, value] for code, value in groups]


def embedded_mtext():
    """Notes as newer CAD programs write them: the column data of an MTEXT
    follows its own groups as an embedded object (whose 10, 11, 40 and 71
    mean other things), and a long text is written in chunks, the last one
    starting with the blank between two words."""
    doc = modern.new_drawing("R2018", [("BORDER", 8), ("NOTES", 5), ("LABELS", 3)])
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (200, 0), (200, 100), (0, 100)], close=True, dxfattribs={"layer": "BORDER"})
    chunked = msp.add_mtext("Lorem ipsum dolor sit", dxfattribs={"layer": "NOTES", "char_height": 5})
    chunked.dxf.insert = (10, 90)
    chunked.dxf.width = 150
    columns = msp.add_mtext("Column data follows this note", dxfattribs={"layer": "NOTES", "char_height": 4})
    columns.dxf.insert = (10, 60)
    columns.dxf.width = 120
    columns.dxf.attachment_point = 1
    turned = msp.add_mtext("A turned note\\Pof two lines", dxfattribs={"layer": "NOTES", "char_height": 3})
    turned.dxf.insert = (150, 20)
    turned.dxf.width = 40
    turned.dxf.text_direction = (0, 1, 0)
    for y, value in ((30, "  two blanks before"), (20, "two blanks after  ")):
        label = msp.add_text(value, dxfattribs={"layer": "LABELS", "height": 3})
        label.set_placement((10, y))

    def touch_up(pairs):
        pairs.set_value(chunked.dxf.handle, 1, " dolor sit")
        pairs.add_groups(chunked.dxf.handle, 71, [(3, "Lorem ipsum")])
        for note, width, height in ((columns, 120, 10), (turned, 40, 12)):
            x, y = note.dxf.insert.x, note.dxf.insert.y
            append_groups(pairs, note.dxf.handle, [
                (101, "Embedded Object"), (70, "1"), (10, "1.0"), (20, "0.0"), (30, "0.0"),
                (11, repr(float(x))), (21, repr(float(y))), (31, "0.0"), (40, repr(float(width))),
                (41, repr(float(height))), (42, repr(float(width))), (43, repr(float(height))), (71, "0"), (72, "1"),
                (44, repr(float(width))), (45, "2.5"), (73, "0"), (74, "0"),
            ])

    return doc, touch_up


def loose_geometry():
    """Curves written with values out of their usual range: ellipses with a
    ratio above 1 and of 0, one with parameters of 1e300, a circle and an
    arc with a negative radius; and texts fitted between two points."""
    doc = modern.new_drawing("R2018", [("CURVES", 1), ("TEXTS", 3)])
    msp = doc.modelspace()
    curves = {"layer": "CURVES"}
    tall = msp.add_ellipse((20, 30), major_axis=(10, 0), ratio=0.5, dxfattribs=curves)
    tall_arc = msp.add_ellipse((50, 30), major_axis=(10, 0), ratio=0.5, start_param=0, end_param=math.pi,
                               dxfattribs=curves)
    flat = msp.add_ellipse((80, 30), major_axis=(10, 5), ratio=0.5, dxfattribs=curves)
    flat_arc = msp.add_ellipse((110, 30), major_axis=(10, 0), ratio=0.5, start_param=0.5, end_param=2.0,
                               dxfattribs=curves)
    huge = msp.add_ellipse((140, 30), major_axis=(10, 0), ratio=0.5, start_param=0, end_param=1,
                           dxfattribs=curves)
    circle = msp.add_circle((20, 70), 8, dxfattribs=curves)
    arc = msp.add_arc((50, 70), 8, 0, 90, dxfattribs=curves)
    texts = {"layer": "TEXTS", "height": 4}
    msp.add_text("ALIGNED", dxfattribs=texts).set_placement((80, 60), (120, 80), TextEntityAlignment.ALIGNED)
    msp.add_text("FIT", dxfattribs=texts).set_placement((80, 50), (140, 50), TextEntityAlignment.FIT)

    def touch_up(pairs):
        for ellipse, ratio in ((tall, "2.0"), (tall_arc, "2.0"), (flat, "0.0"), (flat_arc, "0.0")):
            pairs.set_value(ellipse.dxf.handle, 40, ratio)
        pairs.set_value(huge.dxf.handle, 41, "-1e300")
        pairs.set_value(huge.dxf.handle, 42, "1e300")
        pairs.set_value(circle.dxf.handle, 40, "-8.0")
        pairs.set_value(arc.dxf.handle, 40, "-8.0")

    return doc, touch_up


def hidden_layers():
    """Layers that are off or frozen, with lines of their own and block
    references on them; import it with -H to leave them out."""
    doc = modern.new_drawing("R2018", [("SHOWN", 1), ("OFF", -2), ("FROZEN", 3), ("FILL", 4)])
    doc.layers.get("FROZEN").freeze()
    msp = doc.modelspace()
    fill = msp.add_hatch(color=256, dxfattribs={"layer": "OFF"})
    fill.paths.add_polyline_path([(0, 0), (40, 0), (40, 40), (0, 40)], is_closed=True)
    for y, layer in ((10, "SHOWN"), (20, "OFF"), (30, "FROZEN")):
        msp.add_line((0, y), (40, y), dxfattribs={"layer": layer})
    block = doc.blocks.new("MARK")
    block.add_circle((0, 0), 3, dxfattribs={"layer": "0"})
    block.add_line((-4, 0), (4, 0), dxfattribs={"layer": "FILL"})
    for x, layer in ((60, "SHOWN"), (75, "OFF"), (90, "FROZEN")):
        msp.add_blockref("MARK", (x, 20), dxfattribs={"layer": layer})
    return doc, None


DRAWINGS = {
    "embedded-mtext.dxf": embedded_mtext,
    "loose-geometry.dxf": loose_geometry,
    "hidden-layers.dxf": hidden_layers,
}


def main():
    modern.write_drawings(DRAWINGS, __file__, __doc__)


if __name__ == "__main__":
    main()
