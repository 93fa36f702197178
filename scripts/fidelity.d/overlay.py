"""An SVG picture that lays drawport's drawing over ezdxf's: ezdxf's ink as
broad pale blue strokes, drawport's as thin red ones on top, ezdxf's ink
that drawport misses marked with orange dots; texts in the same two
colours at their baseline starts. Y points up."""
from typing import List, Optional, Sequence
from xml.sax.saxutils import escape

from ink import Box, Point, Stroke, Text

SIZE = 1000.0  # the longer side of the picture, in pixels
EZDXF = "#8cb4ff"
DRAWPORT = "#d62020"
MISSED = "#ff9900"
MAX_MARKS = 20000  # dots that mark missed ink, at most


def union(a: Optional[Box], b: Optional[Box]) -> Optional[Box]:
    if a is None or b is None:
        return a or b
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


class View:
    def __init__(self, box: Box):
        span = max(box[2] - box[0], box[3] - box[1]) or 1.0
        margin = 0.03 * span
        self.left, self.top = box[0] - margin, box[3] + margin
        self.scale = SIZE / (span + 2 * margin)
        self.width = (box[2] - box[0] + 2 * margin) * self.scale
        self.height = (box[3] - box[1] + 2 * margin) * self.scale

    def point(self, x: float, y: float) -> str:
        return "%.2f,%.2f" % ((x - self.left) * self.scale, (self.top - y) * self.scale)


def stroke_elements(strokes: Sequence[Stroke], view: View, colour: str, width: float) -> List[str]:
    elements = []
    for stroke in strokes:
        if len(stroke.points) == 1:
            x, y = view.point(*stroke.points[0]).split(",")
            elements.append('<circle cx="%s" cy="%s" r="%.1f" fill="%s"/>' % (x, y, width, colour))
            continue
        tag = "polygon" if stroke.closed else "polyline"
        points = " ".join(view.point(x, y) for x, y in stroke.points)
        elements.append('<%s points="%s" fill="none" stroke="%s" stroke-width="%.1f"/>' % (tag, points, colour, width))
    return elements


def text_elements(texts: Sequence[Text], view: View, colour: str) -> List[str]:
    elements = []
    for text in texts:
        x, y = view.point(text.x, text.y).split(",")
        elements.append(
            '<text x="%s" y="%s" font-size="%.2f" font-family="sans-serif" fill="%s">%s</text>'
            % (x, y, max(text.height * view.scale, 1.0), colour, escape(text.string))
        )
    return elements


def write(
    path: str,
    ezdxf_strokes: Sequence[Stroke],
    drawport_strokes: Sequence[Stroke],
    ezdxf_texts: Sequence[Text],
    drawport_texts: Sequence[Text],
    missed: Sequence[Point],
    box: Box,
) -> None:
    view = View(box)
    body = ['<rect width="100%" height="100%" fill="white"/>']
    body += stroke_elements(ezdxf_strokes, view, EZDXF, 4.0)
    body += text_elements(ezdxf_texts, view, EZDXF)
    body += stroke_elements(drawport_strokes, view, DRAWPORT, 1.0)
    body += text_elements(drawport_texts, view, DRAWPORT)
    stride = max(1, len(missed) // MAX_MARKS)
    body += stroke_elements([Stroke("", [p]) for p in missed[::stride]], view, MISSED, 1.5)
    legend = (
        '<text x="8" y="16" font-size="13" font-family="sans-serif">'
        '<tspan fill="%s">ezdxf</tspan> <tspan fill="%s">drawport</tspan> '
        '<tspan fill="%s">ezdxf ink drawport misses</tspan></text>' % (EZDXF, DRAWPORT, MISSED)
    )
    with open(path, "w", encoding="utf-8", errors="replace") as out:
        out.write(
            '<svg xmlns="http://www.w3.org/2000/svg" width="%.0f" height="%.0f">\n' % (view.width, view.height)
        )
        out.write("\n".join(body + [legend]))
        out.write("\n</svg>\n")
