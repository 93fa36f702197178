#!/usr/bin/python3
"""Writes the example drawings of today's CAD programs into examples/.

Each drawing holds what one step of the full reading (-X) reads, drawn the
way an engineer would: layers, colours, labels. They are written with ezdxf
(Debian's python3-ezdxf, a test aid only) and, where ezdxf has no API for an
odd group a real file may hold, touched up pair by pair afterwards. Every run
writes the same bytes: dates and GUIDs in the header are fixed, handles are
handed out in a fixed order and Python's string hashing runs with a fixed
seed.

    /usr/bin/python3 examples/generate_modern.py              # writes the .dxf files
    /usr/bin/python3 examples/generate_modern.py --reference  # also draws out/reference/<name>.png

Each written file is read back with ezdxf and audited; the run stops when
the audit finds an error it cannot fix.
"""
import argparse
import io
import logging
import math
import os
import sys

import ezdxf
from ezdxf import bbox, colors
from ezdxf.enums import TextEntityAlignment
from ezdxf.math import OCS, Vec2, Vec3
from ezdxf.render import ARROWS, ConnectionSide, R12Spline, TextAlignment
from ezdxf.tools.standards import setup_dimstyle

HERE = os.path.dirname(os.path.abspath(__file__))
REFERENCE = os.path.join(os.path.dirname(HERE), "out", "reference")

MILLIMETRES = 4
MIRRORED = (0, 0, -1)

# Dates and GUIDs of the header are written as fixed values.
ezdxf.options.write_fixed_meta_data_for_testing = True
# Measuring texts for the extents looks up fonts the drawings name but this
# machine may not have; the fallback font is good enough for that.
logging.getLogger("matplotlib.font_manager").setLevel(logging.ERROR)


# ----------------------------------------------------------------------------
# Drawings and layers


def new_drawing(version, layers, setup=("linetypes",), units=MILLIMETRES):
    """A drawing of the given release with its layers: (name, colour[,
    linetype[, true colour]]); a negative colour makes the layer off."""
    doc = ezdxf.new(version, setup=list(setup), units=units)
    for name, colour, *rest in layers:
        layer = doc.layers.add(name, color=abs(colour))
        if colour < 0:
            layer.off()
        if rest and rest[0]:
            layer.dxf.linetype = rest[0]
        if len(rest) > 1:
            layer.rgb = rest[1]
    return doc


def attribs(layer, **more):
    return dict(layer=layer, **more)


# ----------------------------------------------------------------------------
# Geometry helpers


def rounded(value, digits=6):
    """Rounds away the float noise of computed coordinates and bulges, so
    that a half circle is written as bulge 1 and not 0.9999999999999999."""
    value = round(value, digits)
    return 0.0 if value == 0 else value


def filleted(corners, radii):
    """The vertices (x, y, bulge) of a closed outline through `corners` whose
    corner i is rounded with radius radii[i] (0 = sharp). A corner turning
    counter-clockwise gets a positive bulge, one turning clockwise (an inside
    corner of a counter-clockwise outline) a negative one."""
    vertices = []
    count = len(corners)
    for i, corner in enumerate(corners):
        here = Vec2(corner)
        before = (here - Vec2(corners[i - 1])).normalize()
        after = (Vec2(corners[(i + 1) % count]) - here).normalize()
        turn = math.atan2(before.x * after.y - before.y * after.x, before.dot(after))
        radius = radii[i]
        if radius == 0:
            vertices.append((here.x, here.y, 0.0))
            continue
        reach = radius * math.tan(abs(turn) / 2)
        start = here - before * reach
        end = here + after * reach
        vertices.append((rounded(start.x), rounded(start.y), rounded(math.tan(turn / 4), 12)))
        vertices.append((rounded(end.x), rounded(end.y), 0.0))
    return vertices


def slot(x0, x1, y, width):
    """A rounded slot from x0 to x1 (centres of its end half circles)."""
    r = width / 2
    return [(x0, y - r, 0.0), (x1, y - r, 1.0), (x1, y + r, 0.0), (x0, y + r, 1.0)]


def mirrored_ocs(vertices):
    """Outline vertices (x, y, bulge) seen in the OCS of extrusion 0,0,-1:
    x changes sign and so does the turning sense of every bulge."""
    return [(rounded(-x), y, rounded(-b, 12)) for x, y, b in vertices]


def to_ocs(extrusion, point):
    p = OCS(extrusion).from_wcs(Vec3(point))
    return (rounded(p.x), rounded(p.y), rounded(p.z))


def arc_quad(cx, cy, r0, r1, a0, a1):
    """The four corners of an annulus sector as a SOLID takes them: the
    inner edge (1, 2) and then the outer one (3, 4) in the same direction."""
    def at(r, a):
        return (rounded(cx + r * math.cos(math.radians(a)), 4), rounded(cy + r * math.sin(math.radians(a)), 4))
    return [at(r0, a0), at(r0, a1), at(r1, a0), at(r1, a1)]


def rectangle(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


# ----------------------------------------------------------------------------
# Touching up the written pairs


class Pairs:
    """The group pairs of a written DXF text, for the few groups ezdxf has no
    API for. Code lines keep their written form; new ones are right-aligned
    in three columns as ezdxf writes them."""

    def __init__(self, text):
        lines = text.split("\n")
        if lines and lines[-1] == "":
            lines.pop()
        self.items = [[lines[i], lines[i + 1]] for i in range(0, len(lines) - 1, 2)]

    def text(self):
        return "".join("%s\n%s\n" % (code, value) for code, value in self.items)

    def entity(self, handle):
        """(first, end) indices of the entity whose handle (group 5) is
        `handle`: first is its 0 pair, end the next 0 pair."""
        for i, (code, value) in enumerate(self.items):
            if code.strip() == "5" and value == handle:
                first = i
                while self.items[first][0].strip() != "0":
                    first -= 1
                end = i + 1
                while self.items[end][0].strip() != "0":
                    end += 1
                return first, end
        raise KeyError("no entity with handle " + handle)

    def set_value(self, handle, code, value):
        first, end = self.entity(handle)
        for pair in self.items[first:end]:
            if pair[0].strip() == str(code):
                pair[1] = value
                return
        raise KeyError("entity %s holds no group %d" % (handle, code))

    def move_before(self, handle, moved, before):
        """Moves the pairs with codes `moved` of an entity in front of its
        first pair with code `before`."""
        first, end = self.entity(handle)
        body = self.items[first:end]
        taken = [p for p in body if int(p[0]) in moved]
        kept = [p for p in body if int(p[0]) not in moved]
        at = next(i for i, p in enumerate(kept) if int(p[0]) == before)
        self.items[first:end] = kept[:at] + taken + kept[at:]

    def add_groups(self, handle, after, pairs):
        """Adds pairs to an entity right after its first pair with code
        `after`."""
        first, end = self.entity(handle)
        at = next(i for i in range(first, end) if int(self.items[i][0]) == after) + 1
        self.items[at:at] = [["%3d" % code, value] for code, value in pairs]

    def insert_after(self, handle, pairs):
        """Inserts whole pairs (e.g. a further entity) after the entity."""
        _, end = self.entity(handle)
        self.items[end:end] = [["%3d" % code, value] for code, value in pairs]


# ----------------------------------------------------------------------------
# Writing, checking and drawing


def set_extents(doc):
    box = bbox.extents(doc.modelspace(), cache=bbox.Cache())
    if box.has_data:
        doc.modelspace().reset_extents(box.extmin, box.extmax)


def write(doc, name, touch_up=None):
    """Writes `doc` as examples/<name>, touched up by `touch_up(pairs)`."""
    set_extents(doc)
    stream = io.StringIO()
    doc.write(stream)
    text = stream.getvalue()
    if touch_up:
        pairs = Pairs(text)
        touch_up(pairs)
        text = pairs.text()
    data = doc.encode(text)
    path = os.path.join(HERE, name)
    with open(path, "wb") as out:
        out.write(data)
    return path


def check(path):
    """Reads the file back with ezdxf and audits it; returns the document
    and the audit's fixes as text."""
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    if auditor.has_errors:
        for error in auditor.errors:
            print("  audit error:", error.message, file=sys.stderr)
        raise SystemExit("%s: the audit found errors" % os.path.basename(path))
    return doc, ["%s" % fix.message for fix in auditor.fixes]


def draw_reference(doc, name, folder):
    from ezdxf.addons.drawing import matplotlib as draw

    os.makedirs(folder, exist_ok=True)
    png = os.path.join(folder, os.path.splitext(name)[0] + ".png")
    draw.qsave(doc.modelspace(), png, bg="#FFFFFF", dpi=150, size_inches=(12, 0))
    return png


# ----------------------------------------------------------------------------
# 1. A sheet-metal bracket drawn the modern way


def bracket_r2000():
    doc = new_drawing(
        "R2000",
        [
            ("OUTLINE", 7),
            ("HOLES", 1),
            ("CENTER", 3, "CENTER"),
            ("BEND", 4, "DASHED"),
            ("FLANGE", 150),
            ("CABLE", 30),
            ("MARKING", 6),
            ("WELD", 8),
            ("NOTES", 7),
        ],
    )
    msp = doc.modelspace()

    # The base plate: an L-shaped outline with rounded corners; its inside
    # corner turns clockwise by 106.26 degrees (bulge -0.5), the corner
    # opposite counter-clockwise by as much (bulge 0.5).
    base = [(0, 0), (120, 0), (120, 70), (60, 70), (74, 118), (0, 118)]
    msp.add_lwpolyline(filleted(base, [6, 6, 6, 8, 6, 6]), format="xyb", close=True, dxfattribs=attribs("OUTLINE"))

    # The web, bent down along the plate's lower edge by 36.87 degrees, and
    # its hole: drawn in the plane of the web (extrusion 0, 0.6, 0.8).
    web = (0, 0.6, 0.8)
    rise = 38 / 0.6
    web_corners = [(10, 0, 0), (110, 0, 0), (110, -0.8 * rise, 38), (10, -0.8 * rise, 38)]
    ocs_corners = [to_ocs(web, p) for p in web_corners]
    msp.add_lwpolyline(
        [(x, y) for x, y, _ in ocs_corners],
        close=True,
        dxfattribs=attribs("FLANGE", extrusion=web, elevation=ocs_corners[0][2]),
    )
    msp.add_circle(to_ocs(web, (60, -24, 18)), 8, dxfattribs=attribs("HOLES", extrusion=web))
    msp.add_line((10, 0), (110, 0), dxfattribs=attribs("BEND"))

    # The lip at the top of the web, 38 above the plate.
    lip_y0, lip_y1 = -0.8 * rise, -0.8 * rise - 20
    lip = filleted(rectangle(10, lip_y1, 110, lip_y0), [4, 4, 0, 0])
    msp.add_lwpolyline(lip, format="xyb", close=True, dxfattribs=attribs("FLANGE", elevation=38))
    msp.add_line((10, lip_y0, 38), (110, lip_y0, 38), dxfattribs=attribs("BEND"))

    # A rounded slot (two half circles) and a bore.
    msp.add_lwpolyline(slot(82, 102, 37, 10), format="xyb", close=True, dxfattribs=attribs("HOLES"))
    msp.add_circle((62, 37), 8, dxfattribs=attribs("HOLES"))

    # A D-shaped cable pass-through, an old-style 2D POLYLINE with a bulge.
    msp.add_polyline2d(
        [(20, 30, 0), (36, 30, 1), (36, 44, 0), (20, 44, 0)], format="xyb", close=True, dxfattribs=attribs("HOLES")
    )

    # M6 tapped holes: core circle and three quarters of the thread. The two
    # on the ear were mirrored in the CAD program: extrusion 0, 0, -1.
    for x, y in ((12, 12), (108, 12)):
        msp.add_circle((x, y), 2.5, dxfattribs=attribs("HOLES"))
        msp.add_arc((x, y), 3, 0, 270, dxfattribs=attribs("HOLES"))
    for x, y in ((20, 100), (45, 100)):
        msp.add_circle((-x, y), 2.5, dxfattribs=attribs("HOLES", extrusion=MIRRORED))
        msp.add_arc((-x, y), 3, 0, 270, dxfattribs=attribs("HOLES", extrusion=MIRRORED))
    for x, y in ((12, 12), (108, 12), (20, 100), (45, 100), (62, 37)):
        msp.add_point((x, y), dxfattribs=attribs("CENTER"))

    # A stiffening bead pressed from the back: mirrored OCS.
    bead = [(30, 5, 0.0), (90, 5, 1.0), (90, 11, 0.0), (30, 11, 1.0)]
    msp.add_lwpolyline(mirrored_ocs(bead), format="xyb", close=True, dxfattribs=attribs("OUTLINE", extrusion=MIRRORED))

    # The cable run over the plate: a spline-fit POLYLINE (its frame stays
    # in the file as control points, flag 16; the curve is the fit vertices).
    R12Spline([(28, 44), (28, 60), (50, 62), (40, 85), (58, 110)], degree=3, closed=False).render(
        msp, segments=24, dxfattribs=attribs("CABLE")
    )

    # Centre lines.
    for a, b in (((50, 37), (74, 37)), ((62, 25), (62, 49)), ((76, 37), (112, 37)), ((60, -24, 18), (60, -38.4, 28.8))):
        msp.add_line(a, b, dxfattribs=attribs("CENTER"))

    # Part number etched on the back: TEXT in the mirrored OCS, it reads
    # backwards seen from the top.
    msp.add_text("4711-B REAR", dxfattribs=attribs("MARKING", insert=(-112, 20), height=3, extrusion=MIRRORED))

    # Bend direction arrow (SOLID) and the weld seam between web and lip
    # (TRACE), both in the mirrored OCS; the seam lies 38 up, OCS z -38.
    msp.add_solid([(-114, 58), (-118, 52), (-110, 52)], dxfattribs=attribs("MARKING", extrusion=MIRRORED))
    msp.add_line((114, 52), (114, 44), dxfattribs=attribs("MARKING"))
    seam = [(-20, lip_y0 - 1, -38), (-100, lip_y0 - 1, -38), (-20, lip_y0 + 1, -38), (-100, lip_y0 + 1, -38)]
    msp.add_trace(seam, dxfattribs=attribs("WELD", extrusion=MIRRORED))

    # The riveted name plate, a 3DFACE 2 above the plate.
    plate = msp.add_3dface([(78, 48, 2), (112, 48, 2), (112, 64, 2), (78, 64, 2)], dxfattribs=attribs("MARKING"))

    for text, x, y, h in (
        ("BRACKET 4711-B", 0, 128, 6),
        ("t = 2  S235JR  all bends R2", 0, 122, 3),
        ("WEB 37 deg", 4, -30, 3),
        ("LIP, TOP AT 38", 14, -65, 3),
        ("CABLE", 46, 64, 2.5),
        ("4x M6", 2, 3, 2.5),
    ):
        msp.add_text(text, dxfattribs=attribs("NOTES", insert=(x, y), height=h))
    msp.add_text("NAME PLATE", dxfattribs=attribs("NOTES", insert=(81, 54.5), height=3))

    def touch_up(pairs):
        # The name plate's corners are written out of order: the fourth
        # before the third, as some programs do.
        pairs.move_before(plate.dxf.handle, (13, 23, 33), 12)

    return doc, touch_up


# ----------------------------------------------------------------------------
# 2. Meshes: a hopper and two polyface bodies


def meshes():
    doc = new_drawing("R2000", [("HOPPER", 4), ("BASE", 5), ("CHUTE", 40), ("NOTES", 7)])
    msp = doc.modelspace()

    # A hopper whose wall curves out as it rises: 6 rings of 8 vertices; the
    # mesh is closed round each ring (in N), seen from above 6 octagons.
    rings, around = 6, 8
    hopper = msp.add_polymesh((rings, around), dxfattribs=attribs("HOPPER", n_close=True))
    for m in range(rings):
        radius = 12 + 33 * (m / (rings - 1)) ** 1.5
        for n in range(around):
            theta = 2 * math.pi * n / around
            p = (45 + radius * math.cos(theta), 45 + radius * math.sin(theta), 16 * m)
            hopper.set_mesh_vertex((m, n), tuple(rounded(c, 4) for c in p))

    # The machine base: a box whose top is two triangles sharing an edge that
    # is not drawn (negative index in both face records).
    x0, y0, x1, y1, h = 110, 0, 190, 50, 20
    bottom = [(x0, y0, 0), (x1, y0, 0), (x1, y1, 0), (x0, y1, 0)]
    top = [(x, y, h) for x, y, _ in bottom]
    sides = [[bottom[i], bottom[(i + 1) % 4], top[(i + 1) % 4], top[i]] for i in range(4)]
    base = msp.add_polyface(dxfattribs=attribs("BASE"))
    base.append_faces([bottom] + sides + [[top[0], top[1], top[2]], [top[0], top[2], top[3]]])
    hide_edges(base, {5: (2,), 6: (0,)})

    # The chute: a wedge whose sloped face is split the same way, and whose
    # ends are triangles.
    a, b, c, d = (110, 70, 0), (170, 70, 0), (170, 100, 0), (110, 100, 0)
    e, f = (110, 100, 25), (170, 100, 25)
    chute = msp.add_polyface(dxfattribs=attribs("CHUTE"))
    chute.append_faces([[a, b, c, d], [d, c, f, e], [a, d, e], [b, f, c], [a, b, f], [a, f, e]])
    hide_edges(chute, {4: (1,), 5: (0,)})

    for text, x, y, h in (
        ("HOPPER 0.4 M3", 0, -10, 5),
        ("mesh 6 x 8, closed round", 0, -17, 3.5),
        ("MACHINE BASE", 110, -10, 5),
        ("CHUTE", 110, 106, 5),
    ):
        msp.add_text(text, dxfattribs=attribs("NOTES", insert=(x, y), height=h))
    return doc, None


def hide_edges(polyface, edges):
    """Marks edges of a polyface as not drawn: `edges` maps a face's number
    (0-based, in the order appended) to the positions of its vertices whose
    following edge is hidden."""
    faces = [v for v in polyface.vertices if v.is_face_record]
    for number, positions in edges.items():
        for position in positions:
            name = "vtx%d" % position
            faces[number].dxf.set(name, -abs(faces[number].dxf.get(name)))


# ----------------------------------------------------------------------------
# 3. Colours and layers: the colour index as a wheel, true colours, layers


def colour_wheel():
    doc = new_drawing(
        "R2010",
        [
            ("WHEEL", 7),
            ("SWATCHES", 7),
            ("LEGEND", 7),
            ("LAYER-GREEN", 3),
            ("LAYER-ORANGE", 30),
            ("LAYER-TEAL", 7, None, (0, 128, 128)),
            ("CONSTRUCTION", -1),
            ("OLD-NOTES", 2),
            ("TEXT", 3),
            ("FRAME", 7),
        ],
    )
    doc.layers.get("OLD-NOTES").freeze()
    doc.appids.new("ACME_COLOURKEY")
    msp = doc.modelspace()

    def label(text, x, y, height=3.0, layer="LEGEND", align=TextEntityAlignment.MIDDLE_CENTER, **more):
        t = msp.add_text(text, height=height, dxfattribs=attribs(layer, **more))
        t.set_placement((rounded(x, 4), rounded(y, 4)), align=align)
        return t

    def swatch(x, y, layer="SWATCHES", size=12, **more):
        return msp.add_solid(
            [(x, y), (x + size, y), (x, y + size), (x + size, y + size)], dxfattribs=attribs(layer, **more)
        )

    # ACI 10-249 as a wheel: the hue turns 15 degrees every ten numbers; the
    # rings from outside in are the shades 0-9 of each hue.
    for hue in range(24):
        for shade in range(10):
            outer = 100 - 5 * shade
            corners = arc_quad(0, 0, outer - 5, outer, 15 * hue - 7.5, 15 * hue + 7.5)
            msp.add_solid(corners, dxfattribs=attribs("WHEEL", color=10 + 10 * hue + shade))
        a = math.radians(15 * hue)
        upright = 15 * hue - 90 if hue <= 12 else 15 * hue + 90
        label("%d" % (10 + 10 * hue), 110 * math.cos(a), 110 * math.sin(a), rotation=upright)
    # Ticks at the hues that fall between two of the six base colours.
    for hue in (30, 90, 150, 210, 270, 330):
        a = math.radians(hue)
        msp.add_line((101 * math.cos(a), 101 * math.sin(a)), (104 * math.cos(a), 104 * math.sin(a)),
                     dxfattribs=attribs("LEGEND"))
    label("ticks: hues 30, 90, 150, 210, 270, 330 deg", 0, -118, 3.5)
    label("ACI 10-249", 0, 6, 6)
    label("hue 15 deg per 10", 0, -3, 3.5)
    label("rings: shades 0 (out) to 9", 0, -9, 3.5)

    # The base colours 1-9 and the greys 250-255.
    label("ACI 1-9", -130, -128, 4, align=TextEntityAlignment.LEFT)
    for i in range(9):
        swatch(-80 + 22 * i, -134, color=i + 1)
        label("%d" % (i + 1), -74 + 22 * i, -138)
    label("ACI 250-255", -130, -153, 4, align=TextEntityAlignment.LEFT)
    for i in range(6):
        swatch(-80 + 22 * i, -159, color=250 + i)
        label("%d" % (250 + i), -74 + 22 * i, -163)
    # White on white: a frame shows where 255 stands.
    msp.add_lwpolyline(rectangle(29, -160, 43, -146), close=True, dxfattribs=attribs("LEGEND"))

    # True colours: greyish and saturated ones; the last also carries
    # colour 1, which the true colour overrides.
    label("true colour", -130, -178, 4, align=TextEntityAlignment.LEFT)
    trues = [(128, 128, 128), (118, 128, 140), (200, 190, 180), (255, 0, 128), (0, 160, 255), (255, 200, 0)]
    for i, rgb in enumerate(trues):
        swatch(-80 + 22 * i, -184, true_color=colors.rgb2int(rgb))
        label("%02X%02X%02X" % rgb, -74 + 22 * i, -188, 2.5)
    swatch(52, -184, color=1, true_color=colors.rgb2int((0, 160, 80)))
    label("1+00A050", 58, -188, 2.5)

    # Colours from layers: explicit BYLAYER, none, a layer with a true
    # colour; BYBLOCK outside any block.
    label("by layer", -130, -203, 4, align=TextEntityAlignment.LEFT)
    explicit = swatch(-80, -209, layer="LAYER-GREEN")
    label("256 green", -74, -213, 2.5)
    swatch(-58, -209, layer="LAYER-ORANGE")
    label("layer 30", -52, -213, 2.5)
    swatch(-36, -209, layer="LAYER-TEAL")
    label("layer teal", -30, -213, 2.5)
    swatch(-14, -209, layer="LAYER-ORANGE", color=0)
    label("BYBLOCK", -8, -213, 2.5)

    # A layer named TEXT whose text reads LINE.
    label("LINE", 60, -203, 5, layer="TEXT", align=TextEntityAlignment.LEFT)
    label("(layer TEXT)", 60, -211, 2.5, align=TextEntityAlignment.LEFT)

    # Construction lines on an off layer and old notes on a frozen layer:
    # neither is shown.
    msp.add_circle((0, 0), 75, dxfattribs=attribs("CONSTRUCTION"))
    msp.add_line((-120, 0), (120, 0), dxfattribs=attribs("CONSTRUCTION"))
    label("SUPERSEDED", 0, 60, 12, layer="OLD-NOTES")

    # Extended data and a group's reactor on the legend's headings.
    key = label("COLOUR KEY", -130, 130, 8, align=TextEntityAlignment.LEFT)
    key.set_xdata("ACME_COLOURKEY", [(1000, "LINE"), (1002, "{"), (1070, 7), (1040, 0.5),
                                     (1010, (1, 2, 3)), (1000, "ENDSEC"), (1002, "}")])
    sub = label("index colours, true colours, layers", -130, 121, 4, align=TextEntityAlignment.LEFT)
    sub.set_xdata("ACME_COLOURKEY", [(1000, "subtitle"), (1071, 3)])
    heading = doc.groups.new("HEADING")
    heading.set_data([key, sub])
    for entity in (key, sub):
        entity.append_reactor_handle(heading.dxf.handle)

    # A frame in paper space: it is not part of the model.
    psp = doc.layout("Layout1")
    psp.add_lwpolyline(rectangle(10, 10, 287, 200), close=True, dxfattribs=attribs("FRAME"))
    psp.add_text("SHEET 1 - PAPER SPACE", height=5, dxfattribs=attribs("FRAME", insert=(20, 20)))

    # An entity of a kind only its own program knows, holding value lines
    # that read LINE and ENDSEC, stands after the heading.
    stranger = doc.entitydb.next_handle()
    owner = msp.block_record_handle

    def touch_up(pairs):
        # ezdxf leaves out a colour that equals the default; the file says
        # BYLAYER in so many words.
        pairs.add_groups(explicit.dxf.handle, 8, [(62, "256")])
        pairs.insert_after(key.dxf.handle, [
            (0, "ACME_COLOURKEY"), (5, stranger), (330, owner), (100, "AcDbEntity"), (8, "LEGEND"),
            (100, "AcmeColourKey"), (1, "LINE"), (10, "-130.0"), (20, "140.0"), (30, "0.0"),
            (3, "ENDSEC"), (40, "8.0"), (70, "1"),
        ])

    return doc, touch_up


# ----------------------------------------------------------------------------
# 4. A floor plan built from blocks, with dimensions


def blocks_and_dimensions():
    doc = new_drawing(
        "R2013",
        [
            ("WALLS", 7),
            ("DOORS", 1),
            ("FURNITURE", 42),
            ("COLUMNS", 8),
            ("ROOF", 4),
            ("DIMENSIONS", 5),
            ("TITLE", 7),
            ("NOTES", 7),
        ],
        setup=("linetypes", "styles", "dimstyles"),
    )
    msp = doc.modelspace()
    byblock = dict(layer="0", color=0)

    # A door leaf and its swing, drawn on layer 0 in colour BYBLOCK: it takes
    # the colour of whatever inserts it.
    door = doc.blocks.new("DOOR_900")
    door.add_lwpolyline(rectangle(0, 0, 40, 900), close=True, dxfattribs=byblock)
    door.add_arc((0, 0), 900, 0, 90, dxfattribs=byblock)
    # The opening in a 300 wall: its jambs and the door, nested.
    opening = doc.blocks.new("OPENING_900")
    opening.add_line((0, 0), (0, 300), dxfattribs=attribs("0"))
    opening.add_line((900, 0), (900, 300), dxfattribs=attribs("0"))
    opening.add_blockref("DOOR_900", (0, 300), dxfattribs=byblock)

    chair = doc.blocks.new("CHAIR")
    chair.add_lwpolyline(filleted(rectangle(-225, -225, 225, 225), [40] * 4), format="xyb", close=True,
                         dxfattribs=attribs("0"))
    chair.add_arc((0, 0), 280, 200, 340, dxfattribs=attribs("0"))

    # A round table with four chair backs; inserted stretched it becomes an
    # oval conference table.
    table = doc.blocks.new("TABLE_ROUND")
    table.add_circle((0, 0), 600, dxfattribs=byblock)
    table.add_circle((0, 0), 560, dxfattribs=byblock)
    for a in (0, 90, 180, 270):
        table.add_arc((0, 0), 900, a - 20, a + 20, dxfattribs=attribs("0"))

    desk = doc.blocks.new("DESK")
    desk.add_lwpolyline(rectangle(0, 0, 1600, 800), close=True, dxfattribs=attribs("0"))
    desk.add_line((500, 650), (1100, 650), dxfattribs=attribs("0"))
    desk.add_blockref("CHAIR", (800, -400), dxfattribs=attribs("0"))

    skylight = doc.blocks.new("SKYLIGHT")
    skylight.add_lwpolyline(rectangle(0, 0, 1200, 800), close=True, dxfattribs=attribs("0"))
    skylight.add_lwpolyline(rectangle(60, 60, 1140, 740), close=True, dxfattribs=attribs("0"))
    skylight.add_line((600, 60), (600, 740), dxfattribs=attribs("0"))

    # Defined but never inserted.
    plant = doc.blocks.new("PLANT")
    plant.add_circle((0, 0), 250, dxfattribs=attribs("0"))
    for a in range(0, 360, 60):
        plant.add_arc((150 * math.cos(math.radians(a)), 150 * math.sin(math.radians(a))), 120, a + 90, a + 270,
                      dxfattribs=attribs("0"))

    title = doc.blocks.new("TITLE_A3")
    title.add_lwpolyline(rectangle(0, 0, 5000, 1800), close=True, dxfattribs=attribs("0"))
    for y in (600, 1200):
        title.add_line((0, y), (5000, y), dxfattribs=attribs("0"))
    title.add_line((3000, 0), (3000, 1200), dxfattribs=attribs("0"))
    for tag, x, y, h, invisible in (
        ("PROJECT", 150, 1400, 250, False),
        ("TITLE", 150, 800, 220, False),
        ("DRAWN", 150, 200, 180, False),
        ("SCALE", 3150, 800, 180, False),
        ("SHEET", 3150, 200, 180, False),
        ("DOC_ID", 150, 1650, 100, True),
    ):
        title.add_attdef(tag, (x, y), dxfattribs=attribs("0", height=h, flags=1 if invisible else 0))

    # Walls: one closed outline of the wall band, open at the entrance, and
    # the partition between the two rooms, open at the inner door.
    walls = [(2400, 0), (9000, 0), (9000, 6000), (0, 6000), (0, 0), (1500, 0), (1500, 300), (300, 300),
             (300, 5700), (8700, 5700), (8700, 300), (2400, 300)]
    msp.add_lwpolyline(walls, close=True, dxfattribs=attribs("WALLS"))
    msp.add_lwpolyline(rectangle(5000, 300, 5100, 2000), close=True, dxfattribs=attribs("WALLS"))
    msp.add_lwpolyline(rectangle(5000, 2900, 5100, 5700), close=True, dxfattribs=attribs("WALLS"))

    msp.add_blockref("OPENING_900", (1500, 0), dxfattribs=attribs("DOORS"))
    # The inner door: mirrored (x scale -1) and turned, opening into the office.
    msp.add_blockref("DOOR_900", (5100, 2000), dxfattribs=attribs("DOORS", xscale=-1, rotation=270))

    # Two rows of four chairs, one INSERT.
    chairs = msp.add_blockref("CHAIR", (1000, 1800), dxfattribs=attribs("FURNITURE"))
    chairs.dxf.column_count, chairs.dxf.row_count = 4, 2
    chairs.dxf.column_spacing, chairs.dxf.row_spacing = 700, 900
    # The conference table: stretched two to one, in its own colour.
    msp.add_blockref("TABLE_ROUND", (2650, 4300), dxfattribs=attribs("FURNITURE", xscale=2, yscale=1, color=34))

    # Office desks: one against the east wall (turned), one as drawn.
    msp.add_blockref("DESK", (7800, 2400), dxfattribs=attribs("FURNITURE", rotation=270))
    msp.add_blockref("DESK", (5600, 4800), dxfattribs=attribs("FURNITURE"))

    # A skylight in the roof, whose plane rises 30 degrees to the north.
    roof = (0, -0.5, math.sqrt(3) / 2)
    msp.add_blockref("SKYLIGHT", to_ocs(roof, (6200, 2600, 3000)), dxfattribs=attribs("ROOF", extrusion=roof))

    msp.add_circle((4400, 1000), 200, dxfattribs=attribs("COLUMNS"))
    # The survey of the site was attached once; its block is gone.
    survey = msp.add_blockref("DESK", (6800, 3400), dxfattribs=attribs("NOTES"))

    sheet = msp.add_blockref("TITLE_A3", (9600, 0), dxfattribs=attribs("TITLE"))
    sheet.add_auto_attribs({"PROJECT": "OFFICE UNIT 4", "TITLE": "Ground floor plan", "DRAWN": "drawn: K. Hansen",
                            "SCALE": "1:50", "SHEET": "A-101", "DOC_ID": "QA-2291-7"})
    for attrib in sheet.attribs:
        if attrib.dxf.tag == "DOC_ID":
            attrib.is_invisible = True

    # Dimensions for a plan in millimetres plotted at 1:50 (2.5 high on
    # paper); each is drawn by its anonymous *D block.
    style = setup_dimstyle(doc, fmt="EZ_MM_50_H25_MM", blk=ARROWS.closed_filled, name="PLAN_50")
    style.dxf.dimdec = 0
    dims = dict(dimstyle="PLAN_50", dxfattribs=attribs("DIMENSIONS"))
    msp.add_linear_dim(base=(0, -900), p1=(0, 0), p2=(9000, 0), **dims).render()
    msp.add_linear_dim(base=(-900, 0), p1=(0, 0), p2=(0, 6000), angle=90, **dims).render()
    msp.add_linear_dim(base=(0, 6500), p1=(300, 5700), p2=(5000, 5700), **dims).render()
    msp.add_radius_dim((4400, 1000), radius=200, angle=45, **dims).render()

    for text, x, y in (("MEETING ROOM", 600, 3100), ("OFFICE", 5400, 3400), ("ENTRANCE", 1500, -450)):
        msp.add_text(text, height=200, dxfattribs=attribs("NOTES", insert=(x, y)))

    def touch_up(pairs):
        pairs.set_value(survey.dxf.handle, 2, "SITE_SURVEY")

    return doc, touch_up


# ----------------------------------------------------------------------------
# 5. A cam plate: ellipses, splines, a leader and a multileader


def cam_plate():
    doc = new_drawing(
        "R2018",
        [("OUTLINE", 7), ("TRACK", 5), ("HOLES", 1), ("CENTER", 3, "CENTER"), ("GROOVE", 30), ("NOTES", 7)],
        setup=("linetypes", "styles"),
    )
    msp = doc.modelspace()
    style = setup_dimstyle(doc, fmt="EZ_MM_1_H35_MM", blk=ARROWS.closed_filled, name="PART")
    style.dxf.dimasz = 4

    # The plate: straight edges, the top right corner an exact quarter
    # circle (a rational quadratic SPLINE), the left edge a clamped cubic.
    for a, b in (((0, 0), (200, 0)), ((200, 0), (200, 110)), ((170, 140), (20, 140))):
        msp.add_line(a, b, dxfattribs=attribs("OUTLINE"))
    w = math.sqrt(0.5)
    msp.add_rational_spline([(200, 110), (200, 140), (170, 140)], [1, w, 1], degree=2,
                            dxfattribs=attribs("OUTLINE"))
    msp.add_open_spline([(20, 140), (-6, 112), (14, 70), (-4, 28), (0, 0)], degree=3,
                        dxfattribs=attribs("OUTLINE"))

    # The cam track: a closed periodic cubic through a rise of 12.
    centre = Vec2(100, 70)
    track = []
    for i in range(12):
        a = 2 * math.pi * i / 12
        r = 45 + 12 * max(0.0, math.cos(a)) ** 2 - 4 * max(0.0, -math.cos(a))
        track.append((rounded(centre.x + r * math.cos(a), 4), rounded(centre.y + r * math.sin(a), 4)))
    msp.add_spline(dxfattribs=attribs("TRACK")).set_closed(Vec3.list(track), degree=3)

    # The bore with its keyway, and the centre lines.
    msp.add_circle(centre, 12, dxfattribs=attribs("HOLES"))
    msp.add_lwpolyline([(96, 81.3), (96, 85), (104, 85), (104, 81.3)], dxfattribs=attribs("HOLES"))
    msp.add_line((30, 70), (170, 70), dxfattribs=attribs("CENTER"))
    msp.add_line((100, 10), (100, 130), dxfattribs=attribs("CENTER"))

    # A lightening hole: a whole ellipse.
    msp.add_ellipse((180, 62), major_axis=(0, 15), ratio=0.5, dxfattribs=attribs("HOLES"))
    # An elliptic slot in two halves: the left one drawn, the right one its
    # mirror image (normal 0, 0, -1), each from the top (parameter 0) to the
    # bottom (parameter pi).
    msp.add_ellipse((32, 70), major_axis=(0, 20), ratio=0.4, start_param=0, end_param=math.pi,
                    dxfattribs=attribs("HOLES"))
    msp.add_ellipse((32, 70), major_axis=(0, 20), ratio=0.4, start_param=0, end_param=math.pi,
                    dxfattribs=attribs("HOLES", extrusion=MIRRORED))
    # A spring anchor: a partial ellipse from 30 to 300 degrees.
    msp.add_ellipse((180, 105), major_axis=(8, 0), ratio=0.6, start_param=math.radians(30),
                    end_param=math.radians(300), dxfattribs=attribs("HOLES"))

    # The oil groove, given by its fit points only.
    msp.add_spline([(60, 12), (80, 20), (100, 14), (120, 20), (140, 12)], dxfattribs=attribs("GROOVE"))

    # The bore's note: a LEADER and an MTEXT beside its end.
    msp.add_leader([(108.5, 78.5), (128, 124), (150, 124)], dimstyle="PART", dxfattribs=attribs("NOTES"))
    msp.add_mtext("%%c24 H7\\Pthrough", dxfattribs=attribs("NOTES", insert=(151, 126), char_height=3.5,
                                                             attachment_point=4))
    # The track's note: a MULTILEADER with an MTEXT.
    note = msp.add_multileader_mtext("Standard", dxfattribs=attribs("NOTES"))
    note.set_content("TRACK HARDENED\\P58+2 HRC", char_height=3.5, alignment=TextAlignment.left)
    note.add_leader_line(ConnectionSide.left, [Vec2(124, 28.4)])
    note.build(insert=Vec2(150, 30))

    msp.add_text("CAM PLATE 22-B", height=6, dxfattribs=attribs("NOTES", insert=(0, 150)))
    msp.add_text("OIL GROOVE", height=3, dxfattribs=attribs("NOTES", insert=(85, 4)))
    return doc, None


# ----------------------------------------------------------------------------
# 6. General notes: MTEXT formatting, attachment points, TEXT codes


GENERAL_NOTES = (
    "{\\fArial|b1|i0;GENERAL NOTES}\\P"
    "1. ALL DIMENSIONS IN MM UNLESS OTHERWISE STATED.\\P"
    "2. BREAK ALL SHARP EDGES 0.5\\~x\\~45%%d.\\P"
    "3. GENERAL TOLERANCES ISO 2768-m: LINEAR %%p0.1, ANGULAR %%p\\S1/2;%%d.\\P"
    "4. {\\H2.5x;\\C1;WELDS} TO ISO 2553, SEE \\LDETAIL A\\l ON SHEET 2.\\P"
    "5. THREADS \\S3^4; UNC AND \\S5#8; UNF WHERE MARKED.\\P"
    "6. CAD FILES: C:\\\\PARTS\\\\4711\\\\REV-C\\P"
    "7. DEBURR AFTER HARDENING^JCHECK BEFORE PAINTING."
    "\\N8. SECOND COLUMN: PAINT RAL 7035, 60 MICRONS."
)

ATTACHMENTS = (
    (1, "TOP LEFT"), (2, "TOP CENTRE"), (3, "TOP RIGHT"),
    (4, "MIDDLE LEFT"), (5, "MIDDLE CENTRE"), (6, "MIDDLE RIGHT"),
    (7, "BOTTOM LEFT"), (8, "BOTTOM CENTRE"), (9, "BOTTOM RIGHT"),
)

JUSTIFIED = (
    (TextEntityAlignment.LEFT, "LEFT"),
    (TextEntityAlignment.CENTER, "CENTER"),
    (TextEntityAlignment.RIGHT, "RIGHT"),
    (TextEntityAlignment.MIDDLE, "MIDDLE"),
    (TextEntityAlignment.BOTTOM_LEFT, "BOTTOM LEFT"),
    (TextEntityAlignment.MIDDLE_CENTER, "MIDDLE CENTER"),
    (TextEntityAlignment.TOP_RIGHT, "TOP RIGHT"),
)


def general_notes():
    doc = new_drawing("R2013", [("NOTES", 7), ("MARKS", 1), ("FRAME", 8), ("SYMBOLS", 5)],
                      setup=("linetypes", "styles"))
    msp = doc.modelspace()

    def mark(x, y):
        msp.add_point((x, y), dxfattribs=attribs("MARKS"))
        msp.add_circle((x, y), 0.8, dxfattribs=attribs("MARKS"))

    # The notes as one MTEXT with most of the formatting codes.
    msp.add_mtext(GENERAL_NOTES, dxfattribs=attribs("NOTES", insert=(10, 190), char_height=3.5, width=150,
                                                    attachment_point=1))

    # A box whose nine anchor points each hold a note attached at that point.
    msp.add_lwpolyline(rectangle(180, 110, 300, 170), close=True, dxfattribs=attribs("FRAME"))
    for number, name in ATTACHMENTS:
        column, row = (number - 1) % 3, (number - 1) // 3
        x, y = 180 + 60 * column, 170 - 30 * row
        mark(x, y)
        msp.add_mtext("%s\\P71 = %d" % (name, number),
                      dxfattribs=attribs("NOTES", insert=(x, y), char_height=2.5, attachment_point=number))
    msp.add_text("ATTACHMENT POINTS", height=3.5, dxfattribs=attribs("NOTES", insert=(180, 174)))

    # A turned note (50) and one that runs along a direction (11/21/31) not
    # of unit length; a note with wider line spacing (44).
    mark(180, 12)
    msp.add_mtext("TURNED 30 DEG\\PBY ITS ROTATION", dxfattribs=attribs("NOTES", insert=(180, 12), char_height=3,
                                                                        rotation=30, attachment_point=7))
    mark(260, 12)
    msp.add_mtext("ALONG 3,4\\PBY ITS DIRECTION", dxfattribs=attribs("NOTES", insert=(260, 12), char_height=3,
                                                                     text_direction=(3, 4, 0), attachment_point=7))
    mark(10, 75)
    msp.add_mtext("LINE SPACING 1.5\\PSECOND LINE\\PTHIRD LINE",
                  dxfattribs=attribs("NOTES", insert=(10, 75), char_height=3, line_spacing_factor=1.5,
                                     attachment_point=1))

    # TEXTs with the special codes of TEXT strings.
    for i, text in enumerate((
        "ANGLE 45%%d, %%p0.05, %%c20 H7",
        "100%%% INSPECTED, %%uUNDERLINED%%u",
        "SURFACE TEMP 80\\U+00B0C",
    )):
        msp.add_text(text, height=3, dxfattribs=attribs("SYMBOLS", insert=(80, 70 - 8 * i)))

    # TEXTs justified by groups 72/73, each at its marked alignment point.
    for i, (align, name) in enumerate(JUSTIFIED):
        x, y = 240, 100 - 8 * i
        mark(x, y)
        msp.add_text(name, height=3, dxfattribs=attribs("NOTES")).set_placement((x, y), align=align)
    mark(80, 30)
    mark(150, 30)
    msp.add_text("ALIGNED BETWEEN TWO POINTS", height=3,
                 dxfattribs=attribs("NOTES")).set_placement((80, 30), (150, 30), align=TextEntityAlignment.ALIGNED)
    mark(80, 20)
    mark(150, 20)
    msp.add_text("FIT", height=4, dxfattribs=attribs("NOTES")).set_placement(
        (80, 20), (150, 20), align=TextEntityAlignment.FIT)

    msp.add_lwpolyline(rectangle(0, 0, 320, 200), close=True, dxfattribs=attribs("FRAME"))
    return doc, None


# ----------------------------------------------------------------------------
# 7. and 8. Texts in other languages: code page 1251 and UTF-8


def cyrillic_r2004():
    doc = new_drawing("R2004", [("КОРПУС", 7), ("ЭЛЕКТРИКА", 1), ("NOTES", 7)], setup=("linetypes", "styles"))
    doc.encoding = "cp1251"
    msp = doc.modelspace()
    # A control cabinet, front view: body, door, mounting rail, cable entry.
    msp.add_lwpolyline(rectangle(0, 0, 600, 800), close=True, dxfattribs=attribs("КОРПУС"))
    msp.add_lwpolyline(rectangle(30, 30, 570, 770), close=True, dxfattribs=attribs("КОРПУС"))
    msp.add_circle((540, 400), 12, dxfattribs=attribs("КОРПУС"))
    for y in (600, 450, 300):
        msp.add_lwpolyline(rectangle(80, y, 520, y + 35), close=True, dxfattribs=attribs("ЭЛЕКТРИКА"))
    msp.add_circle((300, 80), 25, dxfattribs=attribs("ЭЛЕКТРИКА"))
    for text, x, y, h in (
        ("Шкаф управления ШУ-1", 0, 840, 30),
        ("Ввод 380 В, 50 Гц", 340, 70, 16),
        ("Рейка DIN 35 мм", 90, 645, 14),
        ("Автоматы QF1–QF6", 90, 495, 14),
        ("Клеммы X1 № 1–24", 90, 345, 14),
    ):
        layer = "NOTES" if h > 20 else "ЭЛЕКТРИКА"
        msp.add_text(text, height=h, dxfattribs=attribs(layer, insert=(x, y)))
    msp.add_mtext("Примечания:\\P1. Размеры в миллиметрах.\\P2. Покрытие — порошковая краска RAL 7035.\\P"
                  "3. Степень защиты IP54.",
                  dxfattribs=attribs("NOTES", insert=(650, 800), char_height=16, width=420, attachment_point=1))
    return doc, None


def umlauts_r2007():
    doc = new_drawing("R2007", [("KONTUR", 7), ("MAẞE", 5), ("TEXT", 7)], setup=("linetypes", "styles"))
    msp = doc.modelspace()
    # A bearing cover: flange, spigot, bore and four holes.
    msp.add_circle((0, 0), 45, dxfattribs=attribs("KONTUR"))
    msp.add_circle((0, 0), 30, dxfattribs=attribs("KONTUR"))
    msp.add_circle((0, 0), 10, dxfattribs=attribs("KONTUR"))
    for a in (45, 135, 225, 315):
        msp.add_circle((37 * math.cos(math.radians(a)), 37 * math.sin(math.radians(a))), 3.2,
                       dxfattribs=attribs("KONTUR"))
    for text, x, y, h in (
        ("Lagerdeckel – Werk Straße 12, Köln", -45, 60, 5),
        ("Ø 20 H7", 50, 5, 3.5),
        ("±0.1", 50, -1, 3.5),
        ("α = 45°, Δt = 2 h, Ω ≥ 10 kΩ", -45, -58, 3.5),
        ("轴承盖 · 軸受カバー", -45, -66, 5),
    ):
        layer = "MAẞE" if h < 4 else "TEXT"
        msp.add_text(text, height=h, dxfattribs=attribs(layer, insert=(x, y)))
    msp.add_mtext("Werkstoff: EN-GJL-250\\PGrößentoleranz ±0.1, Ø 20 geschliffen\\Pλ = 0,8 µm",
                  dxfattribs=attribs("TEXT", insert=(60, 45), char_height=3.5, width=110, attachment_point=1))
    return doc, None


# ----------------------------------------------------------------------------
# 9. - 11. Hatches


def hatched_floor_plan():
    doc = new_drawing("R2010", [("WALLS", 8), ("DOORS", 1), ("TERRACE", 4), ("NOTES", 7)])
    msp = doc.modelspace()
    bend = math.tan(math.radians(22.5))  # a quarter circle

    # The walls: one solid HATCH, the building's outline with the rooms as
    # holes; the north-east corner is rounded (bulges in the paths).
    walls = msp.add_hatch(color=256, dxfattribs=attribs("WALLS"))
    walls.set_solid_fill(color=256)
    walls.paths.add_polyline_path([(0, 0), (12000, 0), (12000, 6000, bend), (10000, 8000), (0, 8000)], flags=1)
    walls.paths.add_polyline_path(rectangle(250, 250, 6900, 7750), flags=16)
    walls.paths.add_polyline_path(rectangle(7100, 250, 11750, 3900), flags=16)
    walls.paths.add_polyline_path([(7100, 4100), (11750, 4100), (11750, 6000, bend), (10000, 7750), (7100, 7750)],
                                  flags=16)

    # Door leaves and their swings, drawn over the walls.
    for hinge, leaf_to, start in (((2000, 250), (2000, 1150), 0), ((7100, 1000), (8000, 1000), 0)):
        msp.add_line(hinge, leaf_to, dxfattribs=attribs("DOORS"))
        msp.add_arc(hinge, 900, start, start + 90, dxfattribs=attribs("DOORS"))

    # The pool on the terrace: a gradient fill in a rounded outline.
    pool = msp.add_hatch(color=5, dxfattribs=attribs("TERRACE"))
    pool.set_gradient((40, 110, 190), (190, 230, 250), rotation=90)
    pool.paths.add_polyline_path([(3000, -3500, 0), (7000, -3500, 1), (7000, -1500, 0), (3000, -1500, 1)], flags=1)
    msp.add_lwpolyline(rectangle(0, -4500, 12000, -500), close=True, dxfattribs=attribs("TERRACE"))

    for text, x, y in (("LIVING", 2500, 4000), ("KITCHEN", 8400, 2000), ("BEDROOM", 8000, 5800),
                       ("TERRACE", 500, -1100), ("POOL", 4600, -2650)):
        msp.add_text(text, height=300, dxfattribs=attribs("NOTES", insert=(x, y)))
    return doc, None


def hatch_edges(layout, hatch, flags, edges, outline_layer=None):
    """Adds one edge path to `hatch` and, when an outline layer is given,
    draws the same edges as outline entities. Edges are ("line", a, b),
    ("arc", centre, radius, start, end, ccw), ("ellipse", centre, major axis,
    ratio, start, end, ccw) with angles in degrees counter-clockwise, and
    ("spline", control points)."""
    path = hatch.paths.add_edge_path(flags)
    for kind, *data in edges:
        if kind == "line":
            path.add_line(*data)
            if outline_layer:
                layout.add_line(*data, dxfattribs=attribs(outline_layer))
        elif kind == "arc":
            centre, radius, start, end, ccw = data
            path.add_arc(centre, radius, start, end, ccw=ccw)
            if outline_layer:
                layout.add_arc(centre, radius, start, end, dxfattribs=attribs(outline_layer))
        elif kind == "ellipse":
            centre, major, ratio, start, end, ccw = data
            path.add_ellipse(centre, major, ratio, start, end, ccw=ccw)
            if outline_layer:
                layout.add_ellipse(centre, major_axis=major, ratio=ratio, start_param=math.radians(start),
                                   end_param=math.radians(end), dxfattribs=attribs(outline_layer))
        else:
            (points,) = data
            path.add_spline(control_points=points, degree=3)
            if outline_layer:
                layout.add_open_spline(points, degree=3, dxfattribs=attribs(outline_layer))


def section_view():
    doc = new_drawing("R2010", [("OUTLINE", 7), ("SECTION", 1), ("CENTER", 3, "CENTER"), ("NOTES", 7)])
    msp = doc.modelspace()

    # The hub cut through its axis, upper half: a belt groove (a clockwise
    # arc as the outline runs) and two rounded corners (counter-clockwise).
    upper = msp.add_hatch(dxfattribs=attribs("SECTION"))
    upper.set_pattern_fill("ANSI31", color=256, scale=1.5, angle=0)
    hatch_edges(msp, upper, 1, [
        ("line", (0, 15), (40, 15)),
        ("line", (40, 15), (40, 36)),
        ("arc", (36, 36), 4, 0, 90, True),
        ("line", (36, 40), (25, 40)),
        ("arc", (20, 40), 5, 180, 360, False),
        ("line", (15, 40), (4, 40)),
        ("arc", (4, 36), 4, 90, 180, True),
        ("line", (0, 36), (0, 15)),
    ], "OUTLINE")
    # Lower half: one corner rounded, the other an elliptic transition.
    lower = msp.add_hatch(dxfattribs=attribs("SECTION"))
    lower.set_pattern_fill("ANSI31", color=256, scale=1.5, angle=0)
    hatch_edges(msp, lower, 1, [
        ("arc", (4, -36), 4, 180, 270, True),
        ("line", (4, -40), (15, -40)),
        ("arc", (20, -40), 5, 0, 180, False),
        ("line", (25, -40), (34, -40)),
        ("ellipse", (34, -37), (6, 0), 0.5, 270, 360, True),
        ("line", (40, -37), (40, -15)),
        ("line", (40, -15), (0, -15)),
        ("line", (0, -15), (0, -36)),
    ], "OUTLINE")

    # The shaft, broken out at its right end: cross-hatched, bounded by a
    # spline break line.
    for a, b in (((-60, 15), (0, 15)), ((-60, -15), (0, -15)), ((40, 15), (60, 15)), ((40, -15), (56, -15)),
                 ((-60, -15), (-60, 15))):
        msp.add_line(a, b, dxfattribs=attribs("OUTLINE"))
    shaft = msp.add_hatch(dxfattribs=attribs("SECTION"))
    shaft.set_pattern_fill("ANSI37", color=256, scale=0.75, angle=15)
    hatch_edges(msp, shaft, 1, [
        ("line", (80, -15), (80, 15)),
        ("line", (80, 15), (60, 15)),
        ("spline", [(60, 15), (64, 8), (53, 2), (63, -6), (56, -15)]),
        ("line", (56, -15), (80, -15)),
    ], "OUTLINE")

    msp.add_line((-66, 0), (86, 0), dxfattribs=attribs("CENTER"))
    msp.add_text("SECTION A-A", height=5, dxfattribs=attribs("NOTES", insert=(-60, 50)))
    msp.add_text("HUB ANSI31, SHAFT ANSI37", height=3, dxfattribs=attribs("NOTES", insert=(-60, 44)))
    return doc, None


def hatch_islands():
    doc = new_drawing("R2010", [("HATCH", 5), ("OUTLINE", 7), ("SYMBOLS", 1), ("NOTES", 7)])
    msp = doc.modelspace()

    # Three copies of the same nested islands, one per hatch style.
    for copy, (style, name) in enumerate(((0, "STYLE 0 ODD PARITY"), (1, "STYLE 1 OUTERMOST"),
                                          (2, "STYLE 2 IGNORE"))):
        x0 = 130 * copy
        hatch = msp.add_hatch(dxfattribs=attribs("HATCH"))
        hatch.set_pattern_fill("ANSI31", color=256, scale=2, style=style)
        for inset, flags in ((0, 1), (15, 16), (30, 0)):
            square = rectangle(x0 + inset, inset, x0 + 100 - inset, 100 - inset)
            hatch.paths.add_polyline_path(square, flags=flags)
            msp.add_lwpolyline(square, close=True, dxfattribs=attribs("OUTLINE"))
        hatch_edges(msp, hatch, 0, [("arc", (x0 + 50, 50), 10, 0, 360, True)], "OUTLINE")
        msp.add_text(name, height=5, dxfattribs=attribs("NOTES", insert=(x0, -10)))

    # A hatched symbol in a block, inserted as drawn and mirrored.
    flag = doc.blocks.new("FLAG")
    flag.add_lwpolyline([(0, 0), (0, 40)], dxfattribs=attribs("0"))
    cloth = flag.add_hatch(dxfattribs=attribs("0", color=1))
    cloth.set_solid_fill(color=1)
    cloth.paths.add_polyline_path([(0, 40, 0), (30, 34, -0.3), (0, 24, 0)], flags=1)
    pole = flag.add_hatch(dxfattribs=attribs("0"))
    pole.set_pattern_fill("ANSI31", color=256, scale=0.5)
    pole.paths.add_polyline_path(rectangle(-3, 0, 3, 6), flags=1)
    msp.add_blockref("FLAG", (60, 130), dxfattribs=attribs("SYMBOLS"))
    msp.add_blockref("FLAG", (200, 130), dxfattribs=attribs("SYMBOLS", xscale=-1))
    msp.add_text("AS DRAWN", height=5, dxfattribs=attribs("NOTES", insert=(40, 120)))
    msp.add_text("MIRRORED", height=5, dxfattribs=attribs("NOTES", insert=(170, 120)))
    return doc, None


# ----------------------------------------------------------------------------

DRAWINGS = {
    "bracket-r2000.dxf": bracket_r2000,
    "meshes.dxf": meshes,
    "colour-wheel.dxf": colour_wheel,
    "blocks-and-dimensions.dxf": blocks_and_dimensions,
    "cam-plate.dxf": cam_plate,
    "general-notes.dxf": general_notes,
    "cyrillic-r2004.dxf": cyrillic_r2004,
    "umlauts-r2007.dxf": umlauts_r2007,
    "hatched-floor-plan.dxf": hatched_floor_plan,
    "section-view.dxf": section_view,
    "hatch-islands.dxf": hatch_islands,
}


def write_drawings(drawings, script, description):
    """The command line of a generator: writes `drawings` (name: maker) and,
    with --reference, draws each as PNG. `script` is the generator's own
    path, run again with a fixed hash seed."""
    # ezdxf writes some objects of the OBJECTS section in an order that
    # follows Python's string hashing, which changes every run unless its
    # seed is fixed: run again with a fixed seed.
    if os.environ.get("PYTHONHASHSEED") != "0":
        os.environ["PYTHONHASHSEED"] = "0"
        os.execv(sys.executable, [sys.executable, os.path.abspath(script)] + sys.argv[1:])
    parser = argparse.ArgumentParser(description=description, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--reference", action="store_true", help="also draw each file as PNG")
    parser.add_argument("--reference-dir", default=REFERENCE, help="where the PNGs go (default out/reference)")
    parser.add_argument("names", nargs="*", help="write only these drawings")
    args = parser.parse_args()
    for name, make in drawings.items():
        if args.names and name not in args.names:
            continue
        doc, touch_up = make()
        path = write(doc, name, touch_up)
        written, fixes = check(path)
        note = "; audit fixed: " + "; ".join(fixes) if fixes else ""
        print("wrote %s (%d bytes)%s" % (name, os.path.getsize(path), note))
        if args.reference:
            print("  drew", draw_reference(written, name, args.reference_dir))


def main():
    write_drawings(DRAWINGS, __file__, __doc__)


if __name__ == "__main__":
    main()
