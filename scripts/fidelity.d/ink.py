"""The comparison core: two drawings' ink sampled as points and matched
against the other drawing's strokes within a tolerance, and their texts
matched by string and position.

A drawing is a list of pieces (anything with `kind`, `bounds()` and
`flatten(flatness)`, the latter giving strokes) and a list of texts. Ink is
measured by length: each sample stands for the piece of stroke around it.
Nothing here knows ezdxf or orvhost, so the self-check runs without either.
"""
import bisect
import math
from collections import defaultdict
from dataclasses import dataclass, field
from typing import Dict, List, Optional, Sequence, Tuple

Point = Tuple[float, float]
Box = Tuple[float, float, float, float]  # min x, min y, max x, max y

# The tolerance is this share of the reference drawing's diagonal.
TOLERANCE_SHARE = 0.002
# Samples stand this far apart, in tolerances.
SAMPLE_SPACING = 0.25
# Curves are flattened to within this share of the tolerance.
FLATNESS_SHARE = 0.1
# At most this many samples per drawing: beyond it samples stand further
# apart (each standing for more ink), so that a drawport drawing gone wild
# cannot make the comparison run for hours.
SAMPLE_BUDGET = 3_000_000


@dataclass
class Stroke:
    """A polyline as drawn; one point alone is a dot."""

    kind: str
    points: List[Point]
    closed: bool = False

    def segments(self):
        pts = self.points
        if len(pts) == 1:
            yield pts[0], pts[0]
            return
        for a, b in zip(pts, pts[1:]):
            yield a, b
        if self.closed and len(pts) > 2 and pts[0] != pts[-1]:
            yield pts[-1], pts[0]


@dataclass
class PolylinePiece:
    kind: str
    points: List[Point]
    closed: bool = False

    def bounds(self) -> Optional[Box]:
        return bounds_of(self.points)

    def flatten(self, flatness: float) -> List[Stroke]:
        return [Stroke(self.kind, self.points, self.closed)] if self.points else []


@dataclass
class ArcPiece:
    """A circular arc counter-clockwise from `start` through `sweep` degrees."""

    kind: str
    cx: float
    cy: float
    radius: float
    start: float
    sweep: float

    def bounds(self) -> Optional[Box]:
        # The circle's box: at most a little larger than the arc's.
        r = self.radius
        return (self.cx - r, self.cy - r, self.cx + r, self.cy + r)

    def flatten(self, flatness: float) -> List[Stroke]:
        r = self.radius
        # Chord steps whose sagitta stays within the flatness.
        step = 2 * math.acos(max(-1.0, 1 - flatness / r)) if flatness < r else math.pi / 2
        count = min(100_000, max(4, math.ceil(math.radians(self.sweep) / step)))
        start, sweep = math.radians(self.start), math.radians(self.sweep)
        points = [
            (self.cx + r * math.cos(start + sweep * i / count), self.cy + r * math.sin(start + sweep * i / count))
            for i in range(count + 1)
        ]
        return [Stroke(self.kind, points)]


@dataclass
class Text:
    """A text as drawn: its plain string standing on its baseline at (x, y)."""

    kind: str
    string: str
    x: float
    y: float
    height: float


@dataclass
class Drawing:
    pieces: list = field(default_factory=list)
    texts: List[Text] = field(default_factory=list)

    def extents(self) -> Optional[Box]:
        boxes = [b for b in (piece.bounds() for piece in self.pieces) if b]
        if not boxes:
            boxes = [(t.x, t.y, t.x, t.y) for t in self.texts]
        if not boxes:
            return None
        return (
            min(b[0] for b in boxes),
            min(b[1] for b in boxes),
            max(b[2] for b in boxes),
            max(b[3] for b in boxes),
        )

    def strokes(self, flatness: float) -> List[Stroke]:
        return [stroke for piece in self.pieces for stroke in piece.flatten(flatness)]


def bounds_of(points: Sequence[Point]) -> Optional[Box]:
    if not points:
        return None
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (min(xs), min(ys), max(xs), max(ys))


def diagonal(box: Optional[Box]) -> float:
    return math.hypot(box[2] - box[0], box[3] - box[1]) if box else 0.0


def tolerance_for(reference: Drawing, fallback: Drawing) -> float:
    """0.2 % of the reference drawing's diagonal, of the fallback's when the
    reference is empty or a single point; 0.2 % of one unit when both are."""
    size = diagonal(reference.extents()) or diagonal(fallback.extents()) or 1.0
    return TOLERANCE_SHARE * size


# --- Samples


@dataclass
class Samples:
    xs: List[float]
    ys: List[float]
    weights: List[float]
    kinds: List[str]

    def box(self) -> Optional[Box]:
        if not self.xs:
            return None
        return (min(self.xs), min(self.ys), max(self.xs), max(self.ys))


def ink_length(strokes: Sequence[Stroke]) -> float:
    return sum(math.hypot(b[0] - a[0], b[1] - a[1]) for s in strokes for a, b in s.segments())


def sample(strokes: Sequence[Stroke], spacing: float) -> Samples:
    """Points along every stroke, at most `spacing` apart (further when the
    whole ink would exceed the sample budget), each weighted by the length of
    stroke it stands for. A dot counts as one sample's length of ink."""
    spacing = max(spacing, ink_length(strokes) / SAMPLE_BUDGET)
    xs, ys, weights, kinds = [], [], [], []
    for stroke in strokes:
        for (x1, y1), (x2, y2) in stroke.segments():
            length = math.hypot(x2 - x1, y2 - y1)
            count = max(1, math.ceil(length / spacing))
            weight = length / count if length > 0 else spacing
            # The middles of equal parts, so that a segment's ends (shared
            # with its neighbours) are not counted twice.
            for i in range(count):
                t = (i + 0.5) / count
                xs.append(x1 + t * (x2 - x1))
                ys.append(y1 + t * (y2 - y1))
            weights.extend([weight] * count)
            kinds.extend([stroke.kind] * count)
    return Samples(xs, ys, weights, kinds)


# --- The grid of segments


def clip_segment(a: Point, b: Point, box: Box) -> Optional[Tuple[Point, Point]]:
    """The part of segment a-b inside `box` (Liang-Barsky), or None."""
    (x1, y1), (x2, y2) = a, b
    dx, dy = x2 - x1, y2 - y1
    t0, t1 = 0.0, 1.0
    for p, q in ((-dx, x1 - box[0]), (dx, box[2] - x1), (-dy, y1 - box[1]), (dy, box[3] - y1)):
        if p == 0:
            if q < 0:
                return None
            continue
        r = q / p
        if p < 0:
            t0 = max(t0, r)
        else:
            t1 = min(t1, r)
        if t0 > t1:
            return None
    return (x1 + t0 * dx, y1 + t0 * dy), (x1 + t1 * dx, y1 + t1 * dy)


class SegmentGrid:
    """The segments of some strokes, hashed into square cells two tolerances
    wide: each cell lists every segment that passes within the tolerance of
    it, so a point needs only the segments of its own cell. Only the parts of
    segments within the tolerance of `region` (where the questions will be
    asked) are kept, which bounds the grid whatever the strokes' extent."""

    def __init__(self, strokes: Sequence[Stroke], tolerance: float, region: Box):
        self.tolerance = tolerance
        self.cell = 2 * tolerance
        self.origin = (region[0], region[1])
        self.segments: List[Tuple[float, float, float, float, float]] = []
        self.cells: Dict[Tuple[int, int], List[int]] = defaultdict(list)
        clip = (region[0] - tolerance, region[1] - tolerance, region[2] + tolerance, region[3] + tolerance)
        for stroke in strokes:
            for a, b in stroke.segments():
                part = clip_segment(a, b, clip)
                if part:
                    self._add(*part)

    def _index(self, value: float, axis: int) -> int:
        return math.floor((value - self.origin[axis]) / self.cell)

    def _add(self, a: Point, b: Point) -> None:
        (x1, y1), (x2, y2) = sorted((a, b))
        dx, dy = x2 - x1, y2 - y1
        length2 = dx * dx + dy * dy
        number = len(self.segments)
        self.segments.append((x1, y1, dx, dy, 1 / length2 if length2 > 0 else 0.0))
        tol, cell, ox = self.tolerance, self.cell, self.origin[0]
        # Column by column: the cells of the segment's stretch across the
        # column (widened by the tolerance), widened by the tolerance.
        for ix in range(self._index(x1 - tol, 0), self._index(x2 + tol, 0) + 1):
            xa = max(x1, ox + ix * cell - tol)
            xb = min(x2, ox + (ix + 1) * cell + tol)
            if xa > xb:
                continue
            if dx > 0:
                ya, yb = y1 + (xa - x1) / dx * dy, y1 + (xb - x1) / dx * dy
            else:
                ya, yb = y1, y2
            low, high = min(ya, yb) - tol, max(ya, yb) + tol
            for iy in range(self._index(low, 1), self._index(high, 1) + 1):
                self.cells[(ix, iy)].append(number)

    def near_test(self):
        """A function of (x, y) telling whether some segment passes within
        the tolerance of that point; made once, called for every sample."""
        segments, cells, cell = self.segments, self.cells, self.cell
        ox, oy = self.origin
        limit = self.tolerance * self.tolerance
        floor = math.floor
        last = -1

        def within(number, x, y):
            x1, y1, dx, dy, inverse = segments[number]
            t = ((x - x1) * dx + (y - y1) * dy) * inverse
            t = 0.0 if t < 0 else 1.0 if t > 1 else t
            ex, ey = x1 + t * dx - x, y1 + t * dy - y
            return ex * ex + ey * ey <= limit

        def near(x, y):
            nonlocal last
            # Neighbouring samples mostly lie near the same segment.
            if last >= 0 and within(last, x, y):
                return True
            for number in cells.get((floor((x - ox) / cell), floor((y - oy) / cell)), ()):
                if within(number, x, y):
                    last = number
                    return True
            return False

        return near


# --- Comparisons


@dataclass
class InkShare:
    """How much of one drawing's ink lies near the other's strokes."""

    total: float
    found: float
    total_by_kind: Dict[str, float]
    missed_by_kind: Dict[str, float]
    missed_points: List[Point]

    @property
    def share(self) -> Optional[float]:
        return self.found / self.total if self.total > 0 else None


def ink_near(samples: Samples, others: Sequence[Stroke], tolerance: float) -> InkShare:
    by_kind: Dict[str, float] = defaultdict(float)
    missed: Dict[str, float] = defaultdict(float)
    missed_points: List[Point] = []
    box = samples.box()
    if box is None:
        return InkShare(0.0, 0.0, {}, {}, [])
    near = SegmentGrid(others, tolerance, box).near_test()
    found = 0.0
    for x, y, weight, kind in zip(samples.xs, samples.ys, samples.weights, samples.kinds):
        by_kind[kind] += weight
        if near(x, y):
            found += weight
        else:
            missed[kind] += weight
            missed_points.append((x, y))
    return InkShare(sum(by_kind.values()), found, dict(by_kind), dict(missed), missed_points)


@dataclass
class InkComparison:
    recall: InkShare  # the reference's ink that the other drawing draws
    precision: InkShare  # the other drawing's ink that lies on the reference's


def compare_ink(reference: Sequence[Stroke], other: Sequence[Stroke], tolerance: float) -> InkComparison:
    spacing = SAMPLE_SPACING * tolerance
    return InkComparison(
        recall=ink_near(sample(reference, spacing), other, tolerance),
        precision=ink_near(sample(other, spacing), reference, tolerance),
    )


def plain(string: str) -> str:
    """A text's string as compared: blanks at the ends dropped, runs of
    blanks inside made one."""
    return " ".join(string.split())


@dataclass
class TextComparison:
    matched: int
    reference: int
    other: int
    lost: List[Text]  # the reference's texts without a match
    extra: List[Text]  # the other drawing's texts without a match


def match_texts(reference: Sequence[Text], other: Sequence[Text], tolerance: float) -> TextComparison:
    """Pairs each reference text with the nearest unpaired other text of the
    same plain string standing within the tolerance or within the reference
    text's height, whichever is larger."""
    by_string: Dict[str, List[Tuple[float, int]]] = defaultdict(list)
    for number, text in enumerate(other):
        by_string[plain(text.string)].append((text.x, number))
    for candidates in by_string.values():
        candidates.sort()
    paired = [False] * len(other)
    lost = []
    for text in reference:
        candidates = by_string.get(plain(text.string), [])
        reach = max(tolerance, text.height)
        best, best_distance = -1, math.inf
        first = bisect.bisect_left(candidates, (text.x - reach, -1))
        for x, number in candidates[first:]:
            if x > text.x + reach:
                break
            distance = math.hypot(x - text.x, other[number].y - text.y)
            if not paired[number] and distance <= reach and distance < best_distance:
                best, best_distance = number, distance
        if best < 0:
            lost.append(text)
        else:
            paired[best] = True
    extra = [text for number, text in enumerate(other) if not paired[number]]
    return TextComparison(len(reference) - len(lost), len(reference), len(other), lost, extra)
