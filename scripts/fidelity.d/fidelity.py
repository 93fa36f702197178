"""How faithfully drawport draws DXF files, judged against ezdxf's drawing of
the same files. scripts/fidelity runs this with Debian's python; see
docs/fidelity.md for what it measures and how to read it."""
import argparse
import glob
import os
import shlex
import sys
import time
from dataclasses import dataclass, field
from typing import List, Optional

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)

import drawport_drawing  # noqa: E402
import ink  # noqa: E402
import overlay  # noqa: E402

FULL_READING_FLAGS = "-X -P2 -H"  # ezdxf leaves out the layers that are off or frozen: so does -H
CLASSIC_FLAGS = "-P2"
LISTED_TEXTS = 3  # unmatched texts named per file and side


def parse_arguments(argv):
    parser = argparse.ArgumentParser(
        prog="scripts/fidelity",
        description="Imports each DXF file with drawport (through orvhost) and draws it with ezdxf, then tells how "
        "much of ezdxf's ink drawport draws (recall) and how much of drawport's ink lies on ezdxf's (precision), "
        "within 0.2 %% of the drawing's diagonal, and how many texts match.",
    )
    parser.add_argument("files", nargs="*", help="DXF files (default: examples/*.dxf and tests/drawings/*.dxf)")
    flags = parser.add_mutually_exclusive_group()
    flags.add_argument(
        "--classic", action="store_true", help="import with the classic reading (flags %s)" % CLASSIC_FLAGS
    )
    flags.add_argument("--flags", help='the import flags instead of "%s"' % FULL_READING_FLAGS)
    parser.add_argument("--orvhost", help="the stand-in host (default: build/bin/orvhost, else the newest build-*/)")
    parser.add_argument("--addon", help="the add-on (default: the one orvhost loads, ../addons/64/libdrawport.so)")
    parser.add_argument("--background", type=int, default=7, help="the frame's background colour (default 7)")
    parser.add_argument("--svg", metavar="DIR", help="write per file an SVG laying drawport's drawing over ezdxf's")
    parser.add_argument(
        "--min-recall", type=float, metavar="P", help="exit status 1 when a file's recall is below P %%"
    )
    parser.add_argument(
        "--min-precision", type=float, metavar="P", help="exit status 1 when a file's precision is below P %%"
    )
    return parser.parse_args(joined_flags(argv))


def joined_flags(argv: List[str]) -> List[str]:
    """--flags VALUE as --flags=VALUE, so that a value such as "-P1" is not
    taken for an option."""
    result, words = [], iter(argv)
    for word in words:
        result.append(word)
        if word == "--flags":
            value = next(words, None)
            if value is not None:
                result[-1] = "--flags=" + value
    return result


# --- Where things are


def has_build(folder: str) -> bool:
    return os.path.isfile(os.path.join(folder, "bin", "orvhost")) and os.path.isfile(
        os.path.join(folder, "addons", "64", "libdrawport.so")
    )


def default_build() -> Optional[str]:
    """build/ when it has orvhost and the 64-bit add-on, else the build-*/
    folder that has both with the newest add-on."""
    if has_build(os.path.join(TOP, "build")):
        return os.path.join(TOP, "build")
    others = [folder for folder in glob.glob(os.path.join(TOP, "build-*")) if has_build(folder)]
    if not others:
        return None
    return max(others, key=lambda folder: os.path.getmtime(os.path.join(folder, "addons", "64", "libdrawport.so")))


class Unusable(Exception):
    """What stops the whole run before any file."""


def host_of(arguments) -> drawport_drawing.Host:
    orvhost, addon = arguments.orvhost, arguments.addon
    if not orvhost:
        folder = default_build()
        if folder is None:
            raise Unusable("no build with bin/orvhost and addons/64/libdrawport.so; run scripts/main-job or scripts/build --addons")
        orvhost = os.path.join(folder, "bin", "orvhost")
        if not addon:
            addon = os.path.join(folder, "addons", "64", "libdrawport.so")
    if not os.access(orvhost, os.X_OK):
        raise Unusable("%s is not a program" % orvhost)
    if addon and not os.path.isfile(addon):
        raise Unusable("%s is not there" % addon)
    flags = FULL_READING_FLAGS if arguments.flags is None else arguments.flags
    if arguments.classic:
        flags = CLASSIC_FLAGS
    return drawport_drawing.Host(
        os.path.abspath(orvhost), os.path.abspath(addon) if addon else None, shlex.split(flags), arguments.background
    )


def default_files() -> List[str]:
    files = sorted(glob.glob(os.path.join(TOP, "examples", "*.dxf")))
    return files + sorted(glob.glob(os.path.join(TOP, "tests", "drawings", "*.dxf")))


def shown(path: str) -> str:
    relative = os.path.relpath(path)
    return path if relative.startswith("..") else relative


# --- One file


@dataclass
class FileResult:
    path: str
    failure: Optional[str] = None
    comparison: Optional[ink.InkComparison] = None
    texts: Optional[ink.TextComparison] = None
    notes: List[str] = field(default_factory=list)
    seconds: float = 0.0

    @property
    def recall(self) -> Optional[float]:
        return self.comparison.recall.share if self.comparison else None

    @property
    def precision(self) -> Optional[float]:
        return self.comparison.precision.share if self.comparison else None


def compare_file(path: str, host, draw_reference, svg_path: Optional[str]) -> FileResult:
    """Compares drawport's drawing of `path` with `draw_reference(path)`,
    ezdxf's."""
    result = FileResult(path)
    started = time.monotonic()
    # orvhost imports while ezdxf draws.
    running = drawport_drawing.start_import(host, path)
    reference, reference_failure = None, None
    try:
        reference = draw_reference(path)
    except Exception as error:  # whatever ezdxf raises for a file it cannot draw
        reference_failure = "ezdxf cannot draw it: %s: %s" % (type(error).__name__, error)
    try:
        drawn = drawport_drawing.finish_import(running, host.background)
    except drawport_drawing.ImportFailed as failure:
        result.failure = "import failed: %s" % failure
        drawn = None
    result.notes = running.notes
    if reference_failure:
        result.failure = "; ".join(filter(None, [result.failure, reference_failure]))
    if result.failure:
        result.seconds = time.monotonic() - started
        return result
    tolerance = ink.tolerance_for(reference, drawn)
    flatness = ink.FLATNESS_SHARE * tolerance
    reference_strokes, drawn_strokes = reference.strokes(flatness), drawn.strokes(flatness)
    result.comparison = ink.compare_ink(reference_strokes, drawn_strokes, tolerance)
    result.texts = ink.match_texts(reference.texts, drawn.texts, tolerance)
    if svg_path:
        box = overlay.union(reference.extents(), drawn.extents()) or (0.0, 0.0, 1.0, 1.0)
        overlay.write(
            svg_path,
            reference_strokes,
            drawn_strokes,
            reference.texts,
            drawn.texts,
            result.comparison.recall.missed_points,
            box,
        )
    result.seconds = time.monotonic() - started
    return result


# --- The report


def percent(share: Optional[float]) -> str:
    return "n/a" if share is None else "%.1f %%" % (100 * share)


def kind_lines(share: ink.InkShare, title: str) -> List[str]:
    if not share.missed_by_kind:
        return []
    lines = ["  " + title]
    for kind, missed in sorted(share.missed_by_kind.items(), key=lambda item: -item[1]):
        of_kind = missed / share.total_by_kind[kind]
        shares = (kind, 100 * missed / share.total, 100 * of_kind)
        lines.append("    %-28s %6.1f %%   (%.1f %% of this kind's ink)" % shares)
    return lines


def text_list(texts: List[ink.Text]) -> str:
    named = ['"%s" at (%.6g, %.6g)' % (t.string, t.x, t.y) for t in texts[:LISTED_TEXTS]]
    more = len(texts) - LISTED_TEXTS
    return "; ".join(named) + ("; and %d more" % more if more > 0 else "")


def report(result: FileResult) -> List[str]:
    name = shown(result.path)
    if result.failure:
        return ["%s: %s" % (name, result.failure)] + ["  " + note for note in result.notes]
    texts = result.texts
    lines = [
        "%s: recall %s, precision %s, texts %d/%d/%d (text recall %s, precision %s) [%.1f s]"
        % (
            name,
            percent(result.recall),
            percent(result.precision),
            texts.matched,
            texts.reference,
            texts.other,
            percent(texts.matched / texts.reference if texts.reference else None),
            percent(texts.matched / texts.other if texts.other else None),
            result.seconds,
        )
    ]
    lines += kind_lines(result.comparison.recall, "ezdxf's ink that drawport misses, by kind (share of ezdxf's ink):")
    lines += kind_lines(result.comparison.precision, "drawport's ink off ezdxf's, by kind (share of drawport's ink):")
    if texts.lost:
        lines.append("  texts ezdxf draws that drawport does not: " + text_list(texts.lost))
    if texts.extra:
        lines.append("  texts drawport draws that ezdxf does not: " + text_list(texts.extra))
    return lines + ["  " + note for note in result.notes]


def below(share: Optional[float], minimum: Optional[float]) -> bool:
    return minimum is not None and share is not None and 100 * share < minimum


def falls_short(result: FileResult, arguments) -> bool:
    return bool(result.failure) or below(result.recall, arguments.min_recall) or below(
        result.precision, arguments.min_precision
    )


def lowest(results: List[FileResult], share) -> str:
    known = [(share(r), r) for r in results if share(r) is not None]
    if not known:
        return "n/a"
    mean = sum(s for s, _ in known) / len(known)
    worst, result = min(known, key=lambda item: item[0])
    return "mean %s (lowest %s: %s)" % (percent(mean), percent(worst), shown(result.path))


def summary(results: List[FileResult], seconds: float) -> str:
    compared = [r for r in results if not r.failure]
    texts = [sum(getattr(r.texts, part) for r in compared) for part in ("matched", "reference", "other")]
    return "summary: %d files, %d compared, %d failed; recall %s; precision %s; texts %d/%d/%d; %.1f s" % (
        len(results),
        len(compared),
        len(results) - len(compared),
        lowest(compared, lambda r: r.recall),
        lowest(compared, lambda r: r.precision),
        texts[0],
        texts[1],
        texts[2],
        seconds,
    )


def svg_paths(files: List[str], folder: Optional[str]) -> List[Optional[str]]:
    """One picture per file, named after it; a name taken already gets the
    name of the file's folder in front."""
    if not folder:
        return [None] * len(files)
    os.makedirs(folder, exist_ok=True)
    taken, paths = set(), []
    for path in files:
        name = os.path.splitext(os.path.basename(path))[0]
        if name in taken:
            name = os.path.basename(os.path.dirname(os.path.abspath(path))) + "-" + name
        while name in taken:
            name += "_"
        taken.add(name)
        paths.append(os.path.join(folder, name + ".svg"))
    return paths


def main(argv) -> int:
    # Texts of a drawing in another code page come back from the frame with
    # their bytes undecoded; they are shown as "?" rather than stopping the run.
    sys.stdout.reconfigure(errors="replace")
    arguments = parse_arguments(argv)
    try:
        import ezdxf_drawing
    except ImportError as error:
        print("fidelity: ezdxf cannot be loaded (%s); scripts/setup installs python3-ezdxf" % error, file=sys.stderr)
        return 2
    try:
        host = host_of(arguments)
        files = arguments.files or default_files()
        if not files:
            raise Unusable("no DXF files given and none in examples/ or tests/drawings/")
    except Unusable as reason:
        print("fidelity: %s" % reason, file=sys.stderr)
        return 2
    print(
        "fidelity: %s with %s, flags %s"
        % (shown(host.orvhost), shown(host.addon) if host.addon else "its own add-on", " ".join(host.flags))
    )
    started = time.monotonic()
    results = []
    for path, svg_path in zip(files, svg_paths(files, arguments.svg)):
        result = compare_file(path, host, ezdxf_drawing.draw, svg_path)
        print("\n".join(report(result)), flush=True)
        results.append(result)
    print(summary(results, time.monotonic() - started))
    return 1 if any(falls_short(r, arguments) for r in results) else 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except BrokenPipeError:
        # The reader (head, a pager) stopped reading: nothing more to say.
        os.dup2(os.open(os.devnull, os.O_WRONLY), sys.stdout.fileno())
        sys.exit(1)
