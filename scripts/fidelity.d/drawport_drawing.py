"""drawport's drawing of a DXF file: the frame that orvhost writes as JSON
after an import, as ink pieces and texts.

Objects in the frame's background colour are hidden ones: no ink, no text.
Objects the stand-in host cannot draw (a coordinate that is not finite, a
radius or text height that is not positive, an empty text) are left out, as
its pictures leave them out.
"""
import json
import math
import os
import subprocess
import tempfile
from dataclasses import dataclass, field
from typing import List, Optional

from ink import ArcPiece, Drawing, PolylinePiece, Stroke, Text

IMPORT_SECONDS = 600


class ImportFailed(Exception):
    pass


@dataclass
class Host:
    orvhost: str
    addon: Optional[str]  # None: the one orvhost loads by default
    flags: List[str]
    background: int = 7


@dataclass
class RunningImport:
    process: subprocess.Popen
    folder: tempfile.TemporaryDirectory
    json_path: str
    notes: List[str] = field(default_factory=list)


def start_import(host: Host, dxf_path: str) -> RunningImport:
    """Starts orvhost importing `dxf_path`; `finish_import` collects it."""
    folder = tempfile.TemporaryDirectory(prefix="fidelity-")
    json_path = os.path.join(folder.name, "frame.json")
    command = [host.orvhost]
    if host.addon:
        command += ["--addon", host.addon]
    command += ["--background", str(host.background), "--json", json_path, "import", dxf_path] + host.flags
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, errors="replace")
    return RunningImport(process, folder, json_path)


def finish_import(running: RunningImport, background: int) -> Drawing:
    """The frame the import drew. Raises ImportFailed, saying why, when
    orvhost fails or the import returns false."""
    try:
        try:
            _, errors = running.process.communicate(timeout=IMPORT_SECONDS)
        except subprocess.TimeoutExpired:
            running.process.kill()
            running.process.communicate()
            raise ImportFailed("orvhost did not finish within %d s" % IMPORT_SECONDS)
        status = running.process.returncode
        frame = read_json(running.json_path)
        if status != 0 or frame is None or frame.get("result") is not True:
            raise ImportFailed(failure_text(status, frame, errors))
        for violation in frame.get("violations") or []:
            running.notes.append("host rule broken: " + violation)
        return drawing_of(frame, background)
    finally:
        running.folder.cleanup()


def read_json(path: str) -> Optional[dict]:
    try:
        with open(path, encoding="utf-8", errors="surrogateescape") as stream:
            return json.load(stream)
    except (OSError, ValueError):
        return None


def failure_text(status: int, frame: Optional[dict], errors: str) -> str:
    parts = ["exit status %d" % status if status >= 0 else "orvhost killed by signal %d" % -status]
    if frame is not None:
        if frame.get("error_text"):
            parts.append('error "%s"' % frame["error_text"])
        for message in frame.get("messages") or []:
            parts.append('%s "%s"' % (message.get("kind", "box"), " / ".join(message.get("text", "").splitlines())))
    else:
        last = [line for line in errors.splitlines() if line.strip()][-1:]
        parts.append("no frame written" + (": " + last[0] if last else ""))
    return ", ".join(parts)


# --- The frame's objects


def finite(*values) -> bool:
    return all(isinstance(v, (int, float)) and math.isfinite(v) for v in values)


def flat_points(points) -> Optional[list]:
    result = []
    for point in points or []:
        if not point or len(point) < 2 or not finite(point[0], point[1]):
            return None
        result.append((float(point[0]), float(point[1])))
    return result


def line_piece(obj):
    points = flat_points(obj.get("points"))
    return PolylinePiece("line", points) if points and len(points) == 2 else None


@dataclass
class FilledOutline(PolylinePiece):
    """A filled polyline's outline, less the bridges of no width that join
    its holes to it: the fill leaves unseen an edge that the outline runs
    out along and back."""

    def flatten(self, flatness: float) -> List[Stroke]:
        n = len(self.points)
        edges = [(self.points[i], self.points[(i + 1) % n]) for i in range(n)]
        both_ways = set(edges)
        runs, run = [], []
        for a, b in edges:
            if (b, a) in both_ways:
                runs, run = runs + [run] if len(run) > 1 else runs, []
                continue
            run = run + [b] if run else [a, b]
        runs += [run] if len(run) > 1 else []
        return [Stroke(self.kind, r, False) for r in runs]


def polyline_piece(obj):
    anchor = obj.get("anchor") or [0, 0]
    points = flat_points(obj.get("points"))
    if not points or not finite(anchor[0], anchor[1]):
        return None
    ax, ay = anchor[0], anchor[1]
    filled = bool(obj.get("filled"))
    placed = [(ax + x, ay + y) for x, y in points]
    return FilledOutline("filled polyline", placed, True) if filled else PolylinePiece("polyline", placed)


def circle_piece(obj):
    center, radius = obj.get("center") or [None, None], obj.get("radius")
    if not finite(center[0], center[1], radius) or radius <= 0:
        return None
    return ArcPiece("circle", center[0], center[1], radius, 0.0, 360.0)


def arc_piece(obj):
    center, radius = obj.get("center") or [None, None], obj.get("radius")
    start, end = obj.get("start"), obj.get("end")
    if not finite(center[0], center[1], radius, start, end) or radius <= 0:
        return None
    # Counter-clockwise from start to end; the same angle is a whole turn.
    start, end = start % 360.0, end % 360.0
    sweep = end - start
    if sweep <= 0:
        sweep += 360.0
    return ArcPiece("arc", center[0], center[1], radius, start, sweep)


PIECE_OF_KIND = {"line": line_piece, "polyline": polyline_piece, "circle": circle_piece, "arc": arc_piece}


def text_of(obj) -> Optional[Text]:
    position, height, string = obj.get("pos") or [None, None], obj.get("height"), obj.get("string")
    if not string or not finite(position[0], position[1], height) or height <= 0:
        return None
    return Text("text", string, position[0], position[1], height)


def drawing_of(frame: dict, background: int) -> Drawing:
    drawing = Drawing()
    for obj in frame.get("objects") or []:
        if obj.get("color") == background:
            continue
        if obj.get("type") == "text":
            text = text_of(obj)
            if text:
                drawing.texts.append(text)
            continue
        make = PIECE_OF_KIND.get(obj.get("type"))
        piece = make(obj) if make else None
        if piece:
            drawing.pieces.append(piece)
    return drawing
