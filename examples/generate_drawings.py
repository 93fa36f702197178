#!/usr/bin/python3
"""Writes the example drawings of hatch loops, dimensions, meshes, multilines
and leaders into examples/, with ezdxf (Debian's python3-ezdxf, a test aid
only). Every run writes the same bytes.

    /usr/bin/python3 examples/generate_drawings.py              # writes the .dxf files
    /usr/bin/python3 examples/generate_drawings.py --with-blocks DIR
        # also writes the dimension drawing with its dimensions' blocks into
        # DIR, the picture ezdxf draws of them, to compare the drawing made
        # from the dimensions' own points with
"""
import argparse
import math
import os
import sys

import ezdxf
from ezdxf.render import ConnectionSide, mleader

HERE = os.path.dirname(os.path.abspath(__file__))
ezdxf.options.write_fixed_meta_data_for_testing = True

# The header's dimension settings, and the same for ezdxf's own rendering.
ARROW, TEXT, SCALE, DECIMALS = 0.18, 0.18, 10.0, 2
DIMSTYLE = {"dimasz": ARROW, "dimtxt": TEXT, "dimscale": SCALE, "dimdec": DECIMALS, "dimexo": 0, "dimexe": 0,
            "dimtad": 0, "dimgap": 0.05, "dimtih": 0, "dimtoh": 0}


def new_drawing():
    doc = ezdxf.new("R2018", units=4)
    doc.header["$DIMASZ"] = ARROW
    doc.header["$DIMTXT"] = TEXT
    doc.header["$DIMSCALE"] = SCALE
    doc.header["$DIMDEC"] = DECIMALS
    for name, colour in (("HATCH", 5), ("OUTLINE", 7), ("DIMS", 1), ("NOTES", 3), ("MODEL", 4)):
        doc.layers.add(name, color=colour)
    return doc


def square_edges(path, x0, y0, x1, y1):
    corners = [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]
    for i, start in enumerate(corners):
        path.add_line(start, corners[(i + 1) % 4])


def multi_loop_hatch(doc):
    msp = doc.modelspace()
    # A plate with a round hole: both loops in one edge path, filled.
    plate = msp.add_hatch(color=5, dxfattribs={"layer": "HATCH"})
    path = plate.paths.add_edge_path()
    square_edges(path, 0, 0, 100, 60)
    path.add_arc((30, 30), 15, 0, 360)
    path.add_line((70, 20), (85, 20))
    path.add_line((85, 20), (85, 40))
    path.add_line((85, 40), (70, 40))
    path.add_line((70, 40), (70, 20))
    # Two separate footings hatched with one pattern, their outlines drawn
    # apart on their own layer.
    footings = msp.add_hatch(color=1, dxfattribs={"layer": "HATCH"})
    footings.set_pattern_fill("ANSI31", scale=2)
    path = footings.paths.add_edge_path()
    for x in (120, 180):
        square_edges(path, x, 0, x + 40, 30)
        msp.add_lwpolyline([(x, 0), (x + 40, 0), (x + 40, 30), (x, 30)], close=True, dxfattribs={"layer": "OUTLINE"})
    msp.add_text("PLATE", dxfattribs={"layer": "NOTES", "height": 4}).set_placement((0, 65))


def dimensions(doc):
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (80, 0), (80, 40), (0, 40)], close=True, dxfattribs={"layer": "MODEL"})
    msp.add_circle((40, 20), 12, dxfattribs={"layer": "MODEL"})
    attribs = {"layer": "DIMS"}
    made = [
        msp.add_linear_dim(base=(40, -10), p1=(0, 0), p2=(80, 0), override=DIMSTYLE, dxfattribs=attribs),
        msp.add_linear_dim(base=(95, 20), p1=(80, 0), p2=(80, 40), angle=90, override=DIMSTYLE, dxfattribs=attribs),
        msp.add_aligned_dim(p1=(0, 40), p2=(40, 8), distance=-8, override=DIMSTYLE, dxfattribs=attribs),
        msp.add_radius_dim((40, 20), radius=12, angle=45, override=DIMSTYLE, dxfattribs=attribs),
        msp.add_diameter_dim((40, 20), radius=12, angle=200, override=DIMSTYLE, dxfattribs=attribs),
    ]
    for dim in made:
        dim.render()
    return [dim.dimension for dim in made]


def drop_blocks(doc, dims):
    """The first dimension's block emptied, the others' removed."""
    for i, dim in enumerate(dims):
        block = doc.blocks.get(dim.dxf.geometry)
        if i == 0:
            for e in list(block):
                block.delete_entity(e)
        else:
            doc.blocks.delete_block(dim.dxf.geometry, safe=False)


def mesh_and_mline(doc):
    msp = doc.modelspace()
    mesh = msp.add_mesh(dxfattribs={"layer": "MODEL"})
    with mesh.edit_data() as data:
        data.vertices = [(0, 0, 0), (30, 0, 0), (30, 30, 0), (0, 30, 0), (0, 0, 20), (30, 0, 20), (30, 30, 20),
                         (0, 30, 20)]
        data.faces = [(0, 3, 2, 1), (4, 5, 6, 7), (0, 1, 5, 4), (1, 2, 6, 5), (2, 3, 7, 6), (3, 0, 4, 7)]
    style = doc.mline_styles.new("WALL")
    style.elements.append(1.5, 7)
    style.elements.append(-1.5, 7)
    style.elements.append(0, 1)
    msp.add_mline([(50, 0), (120, 0), (120, 50), (80, 70)], dxfattribs={"layer": "MODEL", "style_name": "WALL"})
    msp.add_mline([(140, 0), (180, 0), (180, 40)], close=True, dxfattribs={"layer": "MODEL", "style_name": "WALL"})


def leaders(doc):
    msp = doc.modelspace()
    msp.add_circle((0, 0), 10, dxfattribs={"layer": "MODEL"})
    msp.add_leader([(7.07, 7.07), (20, 20), (30, 20)], dxfattribs={"layer": "NOTES"},
                            override={"dimasz": ARROW, "dimscale": SCALE, "dimgap": 0})
    hooked = msp.add_leader([(-7.07, 7.07), (-20, 25)], dxfattribs={"layer": "NOTES"},
                            override={"dimasz": ARROW, "dimscale": SCALE, "dimgap": 0, "dimtad": 1})
    hooked.dxf.annotation_type = 0
    hooked.dxf.text_width = 18
    hooked.dxf.text_height = 2.5
    hooked.dxf.horizontal_direction = (-0.5812381937, 0.8137334712, 0)
    msp.add_mtext("HOLE 20", dxfattribs={"layer": "NOTES", "char_height": 2.5, "insert": (31, 21)})
    builder = msp.add_multileader_mtext("Standard")
    builder.set_content("BORE", char_height=2.5)
    builder.set_arrow_properties(size=ARROW * SCALE)
    builder.add_leader_line(mleader.ConnectionSide.left, [Vec(7.07, -7.07), Vec(25, -25)])
    builder.add_leader_line(mleader.ConnectionSide.left, [Vec(10, 0), Vec(25, -15)])
    builder.build(insert=Vec(35, -25))


def Vec(x, y):
    return ezdxf.math.Vec2(x, y)


def written_leader_flags(path):
    """ezdxf leaves out a LEADER's arrowhead (71) and hook line (75) flags,
    which it reads as 1 when missing; CAD programs write them: each LEADER
    gets 71 = 1, and the one with a note width its hook line."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    marker = "100\nAcDbLeader\n  3\nStandard\n"
    plain, hooked = " 71\n1\n 72\n0\n 75\n0\n", " 71\n1\n 72\n0\n 74\n0\n 75\n1\n"
    parts = text.split(marker)
    text = parts[0] + "".join(marker + (hooked if " 41\n18.0\n" in part.split("  0\n")[0] else plain) + part
                              for part in parts[1:])
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def save(doc, name, folder=HERE):
    path = os.path.join(folder, name)
    doc.saveas(path)
    if name.startswith("leaders"):
        written_leader_flags(path)
    auditor = ezdxf.readfile(path).audit()
    if auditor.has_errors:
        raise SystemExit(f"{name}: the audit finds errors")


def main():
    # ezdxf writes some objects in an order that follows Python's string
    # hashing: run again with a fixed seed.
    if os.environ.get("PYTHONHASHSEED") != "0":
        os.environ["PYTHONHASHSEED"] = "0"
        os.execv(sys.executable, [sys.executable, os.path.abspath(__file__)] + sys.argv[1:])
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--with-blocks", metavar="DIR")
    args = parser.parse_args()
    for name, write in (("multi-loop-hatch.dxf", multi_loop_hatch), ("mesh-and-mline.dxf", mesh_and_mline),
                        ("leaders-arrowheads.dxf", leaders)):
        doc = new_drawing()
        write(doc)
        save(doc, name)
    doc = new_drawing()
    dims = dimensions(doc)
    if args.with_blocks:
        save(doc, "dimensions-without-blocks.dxf", args.with_blocks)
    drop_blocks(doc, dims)
    doc.saveas(os.path.join(HERE, "dimensions-without-blocks.dxf"))


if __name__ == "__main__":
    main()
