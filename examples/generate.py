#!/usr/bin/env python3
"""Writes the example drawings of drawport's examples/ folder.

The drawings are ASCII DXF (R12 style) made for showing and testing the
import: a floor plan on several layers, a drawing under a turned UCS, one
whose lines stand only in a block definition, and a machine part that holds
every entity kind the add-on converts. Run it from anywhere; it rewrites the
.dxf files next to it.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))


class Dxf:
    def __init__(self):
        self.lines = []

    def group(self, code, value):
        self.lines.append("%3d" % code)
        self.lines.append(value if isinstance(value, str) else fmt(value))

    def section(self, name):
        self.group(0, "SECTION")
        self.group(2, name)

    def endsec(self):
        self.group(0, "ENDSEC")

    def text(self):
        return "\r\n".join(self.lines + ["  0", "EOF"]) + "\r\n"


def fmt(value):
    if isinstance(value, int):
        return str(value)
    text = "%.10f" % value
    text = text.rstrip("0")
    return text + "0" if text.endswith(".") else text


def header(d, extents=None, ucs_x=None):
    d.section("HEADER")
    d.group(9, "$ACADVER")
    d.group(1, "AC1009")
    if extents:
        (x0, y0), (x1, y1) = extents
        for name, (x, y) in (("$EXTMIN", (x0, y0)), ("$EXTMAX", (x1, y1))):
            d.group(9, name)
            d.group(10, float(x))
            d.group(20, float(y))
            d.group(30, 0.0)
    if ucs_x:
        d.group(9, "$UCSXDIR")
        d.group(10, float(ucs_x[0]))
        d.group(20, float(ucs_x[1]))
        d.group(30, 0.0)
        d.group(9, "$UCSYDIR")
        d.group(10, float(-ucs_x[1]))
        d.group(20, float(ucs_x[0]))
        d.group(30, 0.0)
    d.endsec()


def layers(d, table):
    d.section("TABLES")
    d.group(0, "TABLE")
    d.group(2, "LTYPE")
    d.group(70, 1)
    d.group(0, "LTYPE")
    d.group(2, "CONTINUOUS")
    d.group(70, 0)
    d.group(3, "Solid line")
    d.group(72, 65)
    d.group(73, 0)
    d.group(40, 0.0)
    d.group(0, "ENDTAB")
    d.group(0, "TABLE")
    d.group(2, "LAYER")
    d.group(70, len(table))
    for name, colour in table:
        d.group(0, "LAYER")
        d.group(2, name)
        d.group(70, 0)
        d.group(62, colour)
        d.group(6, "CONTINUOUS")
    d.group(0, "ENDTAB")
    d.endsec()


def common(d, kind, layer, colour=None):
    d.group(0, kind)
    d.group(8, layer)
    if colour is not None:
        d.group(62, colour)


def line(d, layer, a, b, colour=None):
    common(d, "LINE", layer, colour)
    d.group(10, float(a[0]))
    d.group(20, float(a[1]))
    d.group(30, 0.0)
    d.group(11, float(b[0]))
    d.group(21, float(b[1]))
    d.group(31, 0.0)


def circle(d, layer, c, r, colour=None):
    common(d, "CIRCLE", layer, colour)
    d.group(10, float(c[0]))
    d.group(20, float(c[1]))
    d.group(30, 0.0)
    d.group(40, float(r))


def arc(d, layer, c, r, start, end, colour=None):
    common(d, "ARC", layer, colour)
    d.group(10, float(c[0]))
    d.group(20, float(c[1]))
    d.group(30, 0.0)
    d.group(40, float(r))
    d.group(50, float(start))
    d.group(51, float(end))


def text(d, layer, p, height, string, angle=0.0, colour=None):
    common(d, "TEXT", layer, colour)
    d.group(10, float(p[0]))
    d.group(20, float(p[1]))
    d.group(30, 0.0)
    d.group(40, float(height))
    d.group(1, string)
    if angle:
        d.group(50, float(angle))


def point(d, layer, p, colour=None):
    common(d, "POINT", layer, colour)
    d.group(10, float(p[0]))
    d.group(20, float(p[1]))
    d.group(30, 0.0)


def polyline(d, layer, points, closed=False, colour=None):
    common(d, "POLYLINE", layer, colour)
    d.group(66, 1)
    d.group(10, 0.0)
    d.group(20, 0.0)
    d.group(30, 0.0)
    d.group(70, 1 if closed else 0)
    for x, y in points:
        d.group(0, "VERTEX")
        d.group(8, layer)
        d.group(10, float(x))
        d.group(20, float(y))
        d.group(30, 0.0)
    d.group(0, "SEQEND")
    d.group(8, layer)


def corners(d, kind, layer, pts, colour=None):
    common(d, kind, layer, colour)
    for i, (x, y) in enumerate(pts):
        d.group(10 + i, float(x))
        d.group(20 + i, float(y))
        d.group(30 + i, 0.0)


def rectangle(d, layer, x0, y0, x1, y1):
    for a, b in (((x0, y0), (x1, y0)), ((x1, y0), (x1, y1)), ((x1, y1), (x0, y1)), ((x0, y1), (x0, y0))):
        line(d, layer, a, b)


def floor_plan():
    d = Dxf()
    header(d)
    layers(d, [("0", 7), ("WALLS", 7), ("DOORS", 1), ("WINDOWS", 5), ("FURNITURE", 8), ("TEXT", 3)])
    d.section("ENTITIES")
    # Outer and inner walls, 0.3 thick.
    rectangle(d, "WALLS", 0, 0, 12, 8)
    rectangle(d, "WALLS", 0.3, 0.3, 11.7, 7.7)
    line(d, "WALLS", (6, 0.3), (6, 4.5))
    line(d, "WALLS", (6.3, 0.3), (6.3, 4.5))
    line(d, "WALLS", (6, 5.5), (6, 7.7))
    line(d, "WALLS", (6.3, 5.5), (6.3, 7.7))
    line(d, "WALLS", (0.3, 4), (4, 4))
    line(d, "WALLS", (0.3, 4.3), (4, 4.3))
    # Doors: the leaf as a line; windows as double lines in the outer wall.
    line(d, "DOORS", (6.3, 4.5), (7.3, 4.5))
    line(d, "DOORS", (4, 4.3), (4, 5.2))
    line(d, "DOORS", (8, 0), (9, 0.9))
    for x in (1.5, 3.5, 9.5):
        line(d, "WINDOWS", (x, 7.85), (x + 1.2, 7.85))
        line(d, "WINDOWS", (x, 8.0), (x + 1.2, 8.0))
    # Furniture: a table and a bed.
    rectangle(d, "FURNITURE", 8, 5.5, 10, 6.7)
    rectangle(d, "FURNITURE", 1, 5, 3, 7.2)
    line(d, "FURNITURE", (1, 6.6), (3, 6.6))
    text(d, "TEXT", (8.2, 2), 0.35, "Living room")
    text(d, "TEXT", (1.2, 2), 0.35, "Kitchen")
    text(d, "TEXT", (3.2, 5.6), 0.35, "Bedroom")
    d.endsec()
    return d.text()


def turned_ucs():
    # The UCS x axis points along the paper's y axis: the import turns the
    # drawing clockwise by a right angle, texts included.
    d = Dxf()
    header(d, ucs_x=(0, 1))
    layers(d, [("0", 7), ("HOUSE", 1), ("NOTES", 5)])
    d.section("ENTITIES")
    house = [(0, 0), (6, 0), (6, 4), (3, 6.5), (0, 4), (0, 0)]
    for a, b in zip(house, house[1:]):
        line(d, "HOUSE", a, b)
    rectangle(d, "HOUSE", 2.5, 0, 3.5, 2)
    text(d, "NOTES", (0.5, -1.2), 0.5, "Turned by the UCS")
    d.endsec()
    return d.text()


def blocks_only():
    # A drawing whose lines stand only in a block definition: the import
    # finds no entities in a first reading and converts the block's in a
    # second.
    d = Dxf()
    header(d)
    layers(d, [("0", 7), ("FRAME", 3)])
    d.section("BLOCKS")
    d.group(0, "BLOCK")
    d.group(8, "0")
    d.group(2, "WINDOWFRAME")
    d.group(70, 0)
    d.group(10, 0.0)
    d.group(20, 0.0)
    d.group(30, 0.0)
    rectangle(d, "FRAME", 0, 0, 4, 3)
    line(d, "FRAME", (2, 0), (2, 3))
    line(d, "FRAME", (0, 1.5), (4, 1.5))
    d.group(0, "ENDBLK")
    d.group(8, "0")
    d.endsec()
    d.section("ENTITIES")
    d.group(0, "INSERT")
    d.group(8, "0")
    d.group(2, "WINDOWFRAME")
    d.group(10, 10.0)
    d.group(20, 10.0)
    d.group(30, 0.0)
    d.endsec()
    return d.text()


def gear_outline(cx, cy, teeth, root, tip, samples_per_tooth):
    points = []
    count = teeth * samples_per_tooth
    for i in range(count):
        t = 2 * math.pi * i / count
        phase = (i % samples_per_tooth) / samples_per_tooth
        # A trapezoidal tooth: rise, top, fall, root.
        if phase < 0.2:
            r = root + (tip - root) * phase / 0.2
        elif phase < 0.5:
            r = tip
        elif phase < 0.7:
            r = tip - (tip - root) * (phase - 0.5) / 0.2
        else:
            r = root
        points.append((cx + r * math.cos(t), cy + r * math.sin(t)))
    return points


def machine_part():
    d = Dxf()
    header(d, extents=((-10, -20), (250, 170)))
    layers(d, [("0", 7), ("OUTLINE", 7), ("HOLES", 1), ("CENTER", 3), ("DIMS", 5), ("FILL", 8),
               ("NOTES", 6), ("HIDDEN", -4)])
    d.section("ENTITIES")
    # The gear: one closed outline of 3600 vertices, imported in pieces.
    gear = gear_outline(70, 80, 36, 52, 58, 100)
    polyline(d, "OUTLINE", gear, closed=True)
    circle(d, "HOLES", (70, 80), 16)
    for k in range(6):
        a = math.radians(60 * k + 30)
        circle(d, "HOLES", (70 + 34 * math.cos(a), 80 + 34 * math.sin(a)), 5)
    # Keyway in the bore.
    polyline(d, "OUTLINE", [(66, 95.5), (66, 99), (74, 99), (74, 95.5)])
    # The mounting plate on the right: a slot of two arcs and two lines.
    polyline(d, "OUTLINE", [(150, 20), (235, 20), (235, 140), (150, 140)], closed=True)
    arc(d, "OUTLINE", (175, 80), 8, 90, 270)
    arc(d, "OUTLINE", (210, 80), 8, 270, 90)
    line(d, "OUTLINE", (175, 88), (210, 88))
    line(d, "OUTLINE", (175, 72), (210, 72))
    for x, y in ((160, 30), (225, 30), (225, 130), (160, 130)):
        circle(d, "HOLES", (x, y), 4)
        point(d, "CENTER", (x, y))
    # Rounded corner marks.
    arc(d, "CENTER", (150, 140), 6, 270, 360)
    arc(d, "CENTER", (235, 20), 6, 90, 180)
    # Centre lines.
    line(d, "CENTER", (5, 80), (135, 80))
    line(d, "CENTER", (70, 15), (70, 145))
    line(d, "CENTER", (165, 80), (220, 80))
    # Dimensions with filled arrowheads.
    line(d, "DIMS", (150, 150), (235, 150))
    corners(d, "SOLID", "FILL", [(150, 150), (156, 152), (156, 148)])
    corners(d, "SOLID", "FILL", [(235, 150), (229, 152), (229, 148)])
    text(d, "DIMS", (185, 153), 4, "85")
    line(d, "DIMS", (245, 20), (245, 140))
    corners(d, "SOLID", "FILL", [(245, 20), (243, 26), (247, 26)])
    corners(d, "SOLID", "FILL", [(245, 140), (243, 134), (247, 134)])
    text(d, "DIMS", (242, 72), 4, "120", angle=90)
    # Title block: a filled band and a 3D face as the maker's mark.
    corners(d, "SOLID", "FILL", [(150, -15), (235, -15), (150, -5), (235, -5)], colour=5)
    corners(d, "3DFACE", "NOTES", [(5, -15), (15, -15), (15, -5), (5, -5)])
    text(d, "NOTES", (155, -12.5), 5, "GEAR AND PLATE  1:1", colour=7)
    text(d, "NOTES", (20, -12.5), 4, "Drawn for drawport")
    text(d, "NOTES", (20, 150), 4, "36 teeth, module 3")
    # Datum points.
    for p in ((0, 0), (70, 80), (235, 140)):
        point(d, "CENTER", p, colour=1)
    # A construction line on a layer that is off.
    line(d, "HIDDEN", (0, 160), (240, 160))
    d.endsec()
    return d.text()


EXAMPLES = {
    "floor-plan.dxf": floor_plan,
    "turned-ucs.dxf": turned_ucs,
    "blocks-only.dxf": blocks_only,
    "machine-part.dxf": machine_part,
}

if __name__ == "__main__":
    for name, make in EXAMPLES.items():
        with open(os.path.join(HERE, name), "w", newline="") as out:
            out.write(make())
        print("wrote", name)
