"""Self-check of the fidelity script's core. Not part of CI; run it with
    /usr/bin/python3 -B -m unittest discover -s scripts/fidelity.d
"""
import io
import math
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import drawport_drawing  # noqa: E402
from ink import (  # noqa: E402
    ArcPiece,
    Drawing,
    PolylinePiece,
    Stroke,
    Text,
    bounds_of,
    compare_ink,
    ink_length,
    match_texts,
    tolerance_for,
)

SQUARE = [(0.0, 0.0), (10.0, 0.0), (10.0, 10.0), (0.0, 10.0)]
TOLERANCE = tolerance_for(Drawing([PolylinePiece("square", SQUARE, True)]), Drawing())


def square(dx=0.0, dy=0.0):
    return Stroke("square", [(x + dx, y + dy) for x, y in SQUARE], closed=True)


def shares(reference, other):
    result = compare_ink(reference, other, TOLERANCE)
    return result.recall.share, result.precision.share


class InkTest(unittest.TestCase):
    def test_recall_and_precision(self):
        half = Stroke("half", SQUARE[:3])  # two of the four sides
        circle = ArcPiece("circle", 5, 5, 5, 0, 360).flatten(0.1 * TOLERANCE)
        ring = [Stroke("ring", [(5 + 5 * c, 5 + 5 * s) for c, s in unit_circle(720)], closed=True)]
        cases = [
            ("square on itself", [square()], [square()], 1.0, 1.0),
            ("shifted beyond the tolerance", [square()], [square(3 * TOLERANCE, 3 * TOLERANCE)], 0.0, 0.0),
            ("shifted within the tolerance", [square()], [square(0.6 * TOLERANCE, 0.6 * TOLERANCE)], 1.0, 1.0),
            ("half of the square drawn", [square()], [half], 0.5, 1.0),
            ("square and its two sides drawn", [half], [square()], 1.0, 0.5),
            ("circle flattened against a fine ring", ring, circle, 1.0, 1.0),
            ("a line far beyond the drawing", [square()], [Stroke("far", [(0.0, 1e12), (1e13, 1e12)])], 0.0, 0.0),
        ]
        for name, reference, other, recall, precision in cases:
            with self.subTest(name):
                found_recall, found_precision = shares(reference, other)
                self.assertAlmostEqual(found_recall, recall, delta=0.01)
                self.assertAlmostEqual(found_precision, precision, delta=0.01)

    def test_lost_ink_is_told_by_kind(self):
        result = compare_ink([square(), Stroke("far", [(50.0, 50.0), (60.0, 50.0)])], [square()], TOLERANCE)
        self.assertEqual(sorted(result.recall.missed_by_kind), ["far"])
        self.assertAlmostEqual(result.recall.missed_by_kind["far"], 10.0, delta=0.01)


def unit_circle(count):
    return [(math.cos(2 * math.pi * i / count), math.sin(2 * math.pi * i / count)) for i in range(count)]


class TextTest(unittest.TestCase):
    def test_matching(self):
        hall = Text("TEXT", "Hall", 0.0, 0.0, 2.5)
        cases = [
            ("same place", [Text("text", "Hall", 0.0, 0.0, 1.0)], 1),
            ("within the text's height", [Text("text", "Hall", 2.0, -1.0, 1.0)], 1),
            ("beyond the text's height", [Text("text", "Hall", 2.0, 2.0, 1.0)], 0),
            ("blanks at the ends and inside", [Text("text", " Hall ", 0.0, 0.0, 1.0)], 1),
            ("another string", [Text("text", "Hal", 0.0, 0.0, 1.0)], 0),
            ("one match for two", [Text("text", "Hall", 0.0, 0.0, 1.0)] * 2, 1),
        ]
        for name, drawn, matched in cases:
            with self.subTest(name):
                result = match_texts([hall], drawn, 0.1)
                self.assertEqual(result.matched, matched)
                self.assertEqual(len(result.extra), len(drawn) - matched)


class FrameTest(unittest.TestCase):
    def test_frame_objects_as_drawn(self):
        cases = [
            ("polyline at its anchor", {"type": "polyline", "anchor": [5, 6, 0], "points": [[0, 0], [1, 2]]},
             [(5.0, 6.0, 6.0, 8.0)]),
            ("filled outline less the bridges to its hole",
             {"type": "polyline", "filled": True, "points": [[0, 0], [10, 0], [10, 3], [7, 3], [3, 3], [3, 7], [7, 7],
                                                             [7, 3], [10, 3], [10, 10], [0, 10]]},
             [(0.0, 0.0, 10.0, 3.0), (3.0, 3.0, 7.0, 7.0), (0.0, 0.0, 10.0, 10.0)]),
            ("hidden in the background colour", {"type": "line", "points": [[0, 0], [1, 1]], "color": 7}, []),
            ("line with a coordinate that is not finite", {"type": "line", "points": [[0, 0], [None, 1]]}, []),
            ("arc across angle 0", {"type": "arc", "center": [0, 0], "radius": 1, "start": 270, "end": 0},
             [(0.0, -1.0, 1.0, 0.0)]),
        ]
        for name, obj, expected in cases:
            with self.subTest(name):
                drawing = drawport_drawing.drawing_of({"objects": [obj]}, background=7)
                boxes = [tuple(round(v, 9) + 0.0 for v in bounds_of(s.points)) for s in drawing.strokes(0.01)]
                self.assertEqual(boxes, expected)


class EzdxfDrawingTest(unittest.TestCase):
    """Where the script draws otherwise than ezdxf alone would."""

    def test_reference_choices(self):
        drawing = draw_with_ezdxf(drawing_of_each_choice())
        flatness = 0.01
        ink = {}
        for stroke in drawing.strokes(flatness):
            ink.setdefault(stroke.kind, []).append(stroke)
        boundary = [Stroke("", [(40.0, 0.0), (50.0, 0.0), (50.0, 10.0), (40.0, 10.0)], closed=True)]
        cases = [
            ("three-corner SOLID", lambda: box_of(ink["SOLID"]), (10.0, 10.0, 12.0, 12.0)),
            ("wide LWPOLYLINE as its centre line", lambda: box_of(ink["LWPOLYLINE"]), (20.0, 0.0, 30.0, 0.0)),
            ("dashed LINE continuous", lambda: round(ink_length(ink["LINE"]), 6), 10.0),
            ("patterned HATCH as its pattern lines, its boundary crossed only",
             lambda: compare_ink(boundary, ink["HATCH"], 0.01).recall.share < 0.1, True),
            ("formatted MTEXT as one line", lambda: [t.string for t in drawing.texts], ["North wing"]),
            ("unclamped SPLINE over its domain", lambda: box_of(ink["SPLINE"]), (65.0, 1.0, 65.75, 5.0)),
            ("spline-fit POLYLINE without its frame", lambda: box_of(polylines_from(70, 90)), (70.0, 0.0, 80.0, 2.0)),
            ("polygon mesh closed in N", lambda: round(ink_length(polylines_from(90, 200)), 6), 70.0),
            ("polyface without its hidden edges", lambda: round(ink_length(polylines_from(200, 300)), 6), 40.0),
        ]
        def polylines_from(low, high):
            return [s for s in ink["POLYLINE"] if low <= bounds_of(s.points)[0] < high]

        for name, measure, expected in cases:
            with self.subTest(name):
                self.assertEqual(measure(), expected)


def drawing_of_each_choice() -> str:
    import ezdxf

    doc = ezdxf.new("R2000", setup=["linetypes"])
    msp = doc.modelspace()
    msp.add_solid([(10, 10), (12, 10), (11, 12)])
    msp.add_lwpolyline([(20, 0), (30, 0)], dxfattribs={"const_width": 2})
    msp.add_line((0, 30), (10, 30), dxfattribs={"linetype": "DASHED", "ltscale": 0.1})
    hatch = msp.add_hatch()
    hatch.set_pattern_fill("ANSI31", scale=0.5)
    hatch.paths.add_polyline_path([(40, 0), (50, 0), (50, 10), (40, 10)])
    msp.add_mtext(r"{\C1;North} wing", dxfattribs={"insert": (10, 20), "char_height": 1})
    # Knots 0 to 7: the domain is 3 to 4, from (65, 1) to (65, 5) through (65.75, 3).
    unclamped = msp.add_spline(dxfattribs={"degree": 3})
    unclamped.control_points = [(60, 0), (66, 0), (66, 6), (60, 6)]
    unclamped.knots = range(8)
    fitted = msp.add_polyline2d([(70, 0), (75, 2), (80, 0)], dxfattribs={"flags": 4})
    for vertex in fitted.vertices:
        vertex.dxf.flags = 8
    fitted.append_vertex((75, 20), dxfattribs={"flags": 16})
    # Two rows of three vertices, 10 apart: rows 20 long when closed, columns 10.
    mesh = msp.add_polymesh((2, 3))
    mesh.dxf.flags |= 32
    for m in range(2):
        for n in range(3):
            mesh.set_mesh_vertex((m, n), (90 + 5 * n, 10 * m, 0))
    # A square of two triangles whose shared diagonal neither draws.
    polyface = msp.add_polyface()
    polyface.append_faces([[(200, 0), (210, 0), (210, 10)], [(200, 0), (210, 10), (200, 10)]])
    faces = [v for v in polyface.vertices if v.is_face_record]
    faces[0].dxf.vtx2 = -abs(faces[0].dxf.vtx2)
    faces[1].dxf.vtx0 = -abs(faces[1].dxf.vtx0)
    stream = io.StringIO()
    doc.write(stream)
    # The SOLID as some programs write one of three corners: without a fourth.
    text = stream.getvalue()
    assert " 13\n11.0\n 23\n12.0\n 33\n0.0\n" in text
    return text.replace(" 13\n11.0\n 23\n12.0\n 33\n0.0\n", "", 1)


def draw_with_ezdxf(text: str):
    import ezdxf_drawing

    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "choices.dxf")
        with open(path, "w") as out:
            out.write(text)
        return ezdxf_drawing.draw(path)


def box_of(strokes):
    boxes = [bounds_of(s.points) for s in strokes]
    return tuple(round(f(b[i] for b in boxes), 9) + 0.0 for i, f in enumerate((min, min, max, max)))


class ImportTest(unittest.TestCase):
    """What comes of an import, told by a stand-in for orvhost."""

    def test_outcomes(self):
        line = '{"type":"line","points":[[0,0],[1,1]],"color":1}'
        cases = [
            ("import drawn", 'printf "%%s" \'{"objects":[%s],"result":true}\' > "$json"' % line, None),
            ("import refused",
             'printf "%s" \'{"objects":[],"result":false,"error_text":"Error reading file",'
             '"messages":[{"kind":"box","text":"DXF Loader:\\nInvalid parameter string."}]}\' > "$json"; exit 1',
             'exit status 1, error "Error reading file", box "DXF Loader: / Invalid parameter string."'),
            ("host crashed", 'echo "orvhost: cannot load the add-on" >&2; exit 3',
             "exit status 3, no frame written: orvhost: cannot load the add-on"),
        ]
        for name, body, failure in cases:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                host = drawport_drawing.Host(fake_orvhost(folder, body), None, ["-X"])
                running = drawport_drawing.start_import(host, "plan.dxf")
                if failure is None:
                    drawing = drawport_drawing.finish_import(running, host.background)
                    self.assertEqual([p.points for p in drawing.pieces], [[(0.0, 0.0), (1.0, 1.0)]])
                else:
                    with self.assertRaises(drawport_drawing.ImportFailed) as raised:
                        drawport_drawing.finish_import(running, host.background)
                    self.assertEqual(str(raised.exception), failure)


def fake_orvhost(folder: str, body: str) -> str:
    """A program that takes orvhost's words and runs `body` with $json set
    to the path after --json."""
    path = os.path.join(folder, "orvhost")
    with open(path, "w") as out:
        out.write('#!/bin/sh\nwhile [ "$1" != --json ]; do shift; done\njson=$2\n%s\n' % body)
    os.chmod(path, 0o755)
    return path


if __name__ == "__main__":
    unittest.main()
