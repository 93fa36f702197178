"""ezdxf's drawing of a DXF file, as ink pieces and texts.

ezdxf's drawing add-on (Frontend, RenderContext) draws model space into a
backend of our own that keeps every line, path, outline of a filled shape,
point and text, labelled with the DXF type of the entity that drew it.
Lines are drawn continuous (drawport draws no dashes), seen from above
(x, y), and two choices keep the comparison about what drawport draws:
- a SOLID, TRACE or 3DFACE without a fourth corner has it at its third, as
  CAD programs read it (ezdxf 0.18 reads (0, 0) or passes the 3DFACE over);
- a polyline with widths is drawn as its centre line, not as a band.
A hatch with a pattern draws its pattern lines alone, as CAD programs show
it (a solid hatch is a filled shape, whose outline is its boundary).
Three kinds are drawn as the DXF reference defines them, where ezdxf 0.18
draws more:
- a SPLINE whose knots are not clamped runs over its domain, knot[degree]
  to knot[count - degree - 1], not from the first knot to the last;
- a spline-fit POLYLINE leaves out its frame control points (vertex flag 16);
- a polygon mesh is its lines of vertices, closed where flags 1 and 32 say,
  and a polyface mesh its visible edges, not every face's closed outline.
Texts are placed with a plain font whose characters advance 0.6 of the
text height, as the stand-in host's pictures do.
"""
import logging
import math
from collections import defaultdict
from dataclasses import dataclass
from typing import List

import ezdxf
from ezdxf import recover
from ezdxf.addons.drawing.backend import Backend
from ezdxf.addons.drawing.config import Configuration, LinePolicy
from ezdxf.addons.drawing.frontend import Frontend
from ezdxf.addons.drawing.mtext_complex import ComplexMTextRenderer
from ezdxf.addons.drawing.properties import Filling, RenderContext
from ezdxf.path import from_vertices, make_path
from ezdxf.tools import fonts
from ezdxf.tools import text_layout as tl

from ink import Drawing, PolylinePiece, Stroke, Text

CHARACTER_ADVANCE = 0.6
SPLINE_SEGMENTS_PER_CONTROL_POINT = 16
SPLINE_FIT = 4  # POLYLINE flag: spline-fit vertices added
SPLINE_FRAME_VERTEX = 16  # VERTEX flag: a frame control point of a spline fit


class PlainFont(fonts.AbstractFont):
    """Every character advances the same share of the cap height."""

    def __init__(self, cap_height: float, width_factor: float = 1.0):
        super().__init__(plain_measurements(cap_height))
        self.advance = CHARACTER_ADVANCE * cap_height * abs(width_factor)

    def text_width(self, text: str) -> float:
        return len(text) * self.advance

    def space_width(self) -> float:
        return self.advance


def plain_measurements(cap_height: float) -> fonts.FontMeasurements:
    return fonts.FontMeasurements(
        baseline=0.0,
        cap_height=cap_height,
        x_height=cap_height * fonts.X_HEIGHT_FACTOR,
        descender_height=cap_height * fonts.DESCENDER_FACTOR,
    )


class PathPiece:
    """An ezdxf path (lines and Bezier curves), flattened when the
    tolerance is known."""

    def __init__(self, kind: str, path, closed: bool):
        self.kind = kind
        self.path = path
        self.closed = closed

    def bounds(self):
        vertices = self.path.control_vertices()
        if not vertices:
            return None
        xs = [v.x for v in vertices]
        ys = [v.y for v in vertices]
        return (min(xs), min(ys), max(xs), max(ys))

    def flatten(self, flatness: float):
        parts = self.path.sub_paths() if self.path.has_sub_paths else [self.path]
        strokes = []
        for part in parts:
            points = [(v.x, v.y) for v in part.flattening(distance=flatness, segments=4)]
            if points:
                strokes.append(Stroke(self.kind, points, self.closed))
        return strokes


class InkBackend(Backend):
    """Keeps what the frontend draws as ink pieces and text chunks."""

    def __init__(self):
        super().__init__()
        self.drawing = Drawing()
        self.chunks: List[tuple] = []  # (entity id, kind, string, transform, cap height)

    def kind(self) -> str:
        # The top entity names the ink (INSERT, DIMENSION, ...), the one that
        # drew it inside follows: INSERT>LINE.
        if not self.entity_stack:
            return "?"
        top = self.entity_stack[0][0].dxftype()
        leaf = self.entity_stack[-1][0].dxftype()
        return top if top == leaf else top + ">" + leaf

    def add(self, points, closed=False):
        self.drawing.pieces.append(PolylinePiece(self.kind(), [(p.x, p.y) for p in points], closed))

    def draw_point(self, pos, properties):
        self.add([pos])

    def draw_line(self, start, end, properties):
        self.add([start, end])

    def draw_solid_lines(self, lines, properties):
        for start, end in lines:
            self.add([start, end])

    def draw_path(self, path, properties):
        if len(path):
            self.drawing.pieces.append(PathPiece(self.kind(), path, False))

    def draw_filled_paths(self, paths, holes, properties):
        for path in list(paths) + list(holes):
            if len(path):
                self.drawing.pieces.append(PathPiece(self.kind(), path, True))

    def draw_filled_polygon(self, points, properties):
        self.add(list(points), closed=True)

    def draw_text(self, text, transform, properties, cap_height):
        leaf = self.entity_stack[-1][0] if self.entity_stack else None
        self.chunks.append((id(leaf), self.kind(), text, transform, cap_height))

    def get_font_measurements(self, cap_height, font=None):
        return plain_measurements(cap_height)

    def get_text_line_width(self, text, cap_height, font=None):
        return CHARACTER_ADVANCE * cap_height * len(text)

    def set_background(self, color):
        pass

    def clear(self):
        self.drawing = Drawing()
        self.chunks = []


class PlainFontMTextRenderer(ComplexMTextRenderer):
    def get_font(self, ctx):
        return PlainFont(ctx.cap_height, ctx.width_factor)


class InkFrontend(Frontend):
    def draw_solid_entity(self, entity, properties):
        # A SOLID, TRACE or 3DFACE written with three corners has its fourth
        # where its third is; ezdxf 0.18 would take (0, 0) for a SOLID and
        # pass over such a 3DFACE.
        if not entity.dxf.hasattr("vtx3"):
            entity.dxf.vtx3 = entity.dxf.vtx2
        super().draw_solid_entity(entity, properties)

    def draw_curve_entity(self, entity, properties):
        # ezdxf 0.18 turns an unclamped spline into a path from its first knot
        # to its last, where the curve is not defined: only its own
        # approximation keeps to the domain.
        if entity.dxftype() == "SPLINE":
            spline = entity.construction_tool()
            if not spline.is_clamped:
                segments = SPLINE_SEGMENTS_PER_CONTROL_POINT * spline.count
                self._designer.draw_path(from_vertices(spline.approximate(segments)), properties)
                return
        super().draw_curve_entity(entity, properties)

    def draw_polyline_entity(self, entity, properties):
        if entity.dxftype() == "POLYLINE" and entity.is_polygon_mesh:
            return self.draw_polygon_mesh(entity, properties)
        if entity.dxftype() == "POLYLINE" and entity.is_poly_face_mesh:
            return self.draw_polyface_edges(entity, properties)
        if entity.dxftype() == "POLYLINE" and entity.dxf.flags & SPLINE_FIT:
            entity.vertices[:] = [v for v in entity.vertices if not v.dxf.flags & SPLINE_FRAME_VERTEX]
        if entity.dxftype() in ("POLYLINE", "LWPOLYLINE") and entity.has_width and not is_mesh(entity):
            self._designer.draw_path(make_path(entity), properties)
            return
        super().draw_polyline_entity(entity, properties)

    def draw_polygon_mesh(self, mesh, properties):
        """The M lines of N vertices and the N lines of M vertices."""
        rows, columns = mesh.dxf.m_count, mesh.dxf.n_count
        vertices = mesh.get_mesh_vertex_cache()
        closed_in_m, closed_in_n = bool(mesh.dxf.flags & 1), bool(mesh.dxf.flags & 32)
        for m in range(rows):
            line = [vertices[m, n] for n in range(columns)]
            self._designer.draw_path(from_vertices(line, close=closed_in_n), properties)
        for n in range(columns):
            line = [vertices[m, n] for m in range(rows)]
            self._designer.draw_path(from_vertices(line, close=closed_in_m), properties)

    def draw_polyface_edges(self, polyface, properties):
        """Each face's edges but those its record marks unseen."""
        _, faces = polyface.indexed_faces()
        for face in faces:
            corners = [vertex.dxf.location for vertex in face]
            for i, start in enumerate(corners):
                if face.is_edge_visible(i):
                    end = corners[(i + 1) % len(corners)]
                    self._designer.draw_path(from_vertices([start, end]), properties)

    def draw_complex_mtext(self, mtext, properties):
        renderer = PlainFontMTextRenderer(self.ctx, self._designer, properties)
        engine = renderer.layout_engine(mtext)
        engine.place(align=tl.LayoutAlignment(mtext.dxf.attachment_point))
        engine.render(mtext.ucs().matrix)


def is_mesh(entity) -> bool:
    return entity.dxftype() == "POLYLINE" and (entity.is_polygon_mesh or entity.is_poly_face_mesh)


def texts_of(chunks) -> List[Text]:
    """One text per line: the pieces that one entity drew on one baseline in
    one direction (a formatted MTEXT is drawn word by word) are joined in
    their order along it, with a blank where a gap stands between them."""
    by_direction = defaultdict(list)
    for entity, kind, string, transform, cap_height in chunks:
        origin = transform.transform((0, 0, 0))
        ux = transform.transform_direction((1, 0, 0))
        scale = math.hypot(ux.x, ux.y) or 1.0
        dx, dy = ux.x / scale, ux.y / scale
        piece = TextPiece(
            along=origin.x * dx + origin.y * dy,
            across=-origin.x * dy + origin.y * dx,
            width=CHARACTER_ADVANCE * cap_height * len(string) * scale,
            text=Text(kind, string, origin.x, origin.y, cap_height),
        )
        by_direction[(entity, round(math.degrees(math.atan2(dy, dx)), 1))].append(piece)
    texts = []
    for pieces in by_direction.values():
        for line in baselines(pieces):
            texts.append(joined(line))
    return texts


@dataclass
class TextPiece:
    along: float  # the start's distance along the text direction
    across: float  # the baseline's distance across it
    width: float
    text: Text


def baselines(pieces: List[TextPiece]) -> List[List[TextPiece]]:
    """Pieces grouped by baseline: those less than a quarter of their height
    apart stand on one."""
    pieces = sorted(pieces, key=lambda p: p.across)
    lines = [[pieces[0]]]
    for piece in pieces[1:]:
        if piece.across - lines[-1][-1].across > 0.25 * piece.text.height:
            lines.append([])
        lines[-1].append(piece)
    return lines


def joined(line: List[TextPiece]) -> Text:
    line = sorted(line, key=lambda p: p.along)
    string, end = "", None
    for piece in line:
        if end is not None and piece.along - end > 0.25 * CHARACTER_ADVANCE * piece.text.height:
            string += " "
        string += piece.text.string
        end = piece.along + piece.width
    first = line[0].text
    return Text(first.kind, string, first.x, first.y, first.height)


def draw(path: str) -> Drawing:
    """ezdxf's drawing of the model space of the DXF file `path`. Raises
    whatever ezdxf raises for a file it cannot read."""
    logging.getLogger("ezdxf").setLevel(logging.ERROR)
    ezdxf.options.use_matplotlib = False
    doc, _ = recover.readfile(path)
    backend = InkBackend()
    config = Configuration.defaults().with_changes(line_policy=LinePolicy.SOLID)
    InkFrontend(RenderContext(doc), backend, config).draw_layout(doc.modelspace(), finalize=True)
    backend.drawing.texts = texts_of(backend.chunks)
    return backend.drawing
