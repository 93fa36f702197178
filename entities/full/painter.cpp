#include "entities/full/painter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "entities/common.h"
#include "entities/coordinates.h"

namespace drawport::full {
namespace {

constexpr double kWholeTurn = 2 * kPi;

// One step into [0, 360).
double turnDegrees(double angle) {
  const double turned = std::fmod(angle, 360.0);
  return turned < 0 ? turned + 360 : turned;
}

// The host polylines a polyline of `count` points makes.
int64_t piecesFor(size_t count) {
  const size_t perPiece = AnchoredPolyline::kPointsPerPiece;
  return count <= perPiece ? 1 : 1 + static_cast<int64_t>((count - perPiece + perPiece - 2) / (perPiece - 1));
}

bool samePoint(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// Whether `toWorld` folds its plane onto a line or a point (a block drawn
// with an x or y scale of 0).
bool foldsPlane(const Transform& toWorld) {
  const Vec3 normal = toWorld.xAxis().cross(toWorld.yAxis());
  return normal.x == 0 && normal.y == 0 && normal.z == 0;
}

// Leaves out each point that repeats the one kept before it (and, closed,
// those that repeat the first at the end): the segments of zero length that
// a folded plane makes. Returns the points kept.
size_t dropRepeats(Vec3* points, size_t count, bool closed) {
  size_t kept = count == 0 ? 0 : 1;
  for (size_t i = 1; i < count; ++i)
    if (!samePoint(points[i], points[kept - 1])) points[kept++] = points[i];
  while (closed && kept > 1 && samePoint(points[kept - 1], points[0])) --kept;
  return kept;
}

// `text` cut to at most `most` bytes, not inside a UTF-8 character.
std::string_view cutText(std::string_view text, size_t most) {
  if (text.size() <= most) return text;
  size_t end = most;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace

void Box::add(double x, double y) {
  if (empty) {
    minX = maxX = x;
    minY = maxY = y;
    empty = false;
    return;
  }
  minX = std::min(minX, x);
  minY = std::min(minY, y);
  maxX = std::max(maxX, x);
  maxY = std::max(maxY, y);
}

int64_t& polylinePointBound() {
  static int64_t most = FullRun::kMostPoints;
  return most;
}

int64_t& runWorkBound() {
  static int64_t most = FullRun::kMostWork;
  return most;
}

DrawingExtents FullRun::pointExtents() const {
  const DrawingExtents& header = run.header.extents;
  if (run.header.extentsFixed && header.maxX - header.minX > 0 && header.maxY - header.minY > 0) return header;
  if (drawn.empty) return {};
  return {drawn.minX, drawn.minY, drawn.maxX, drawn.maxY};
}

bool FullRun::lookAtWork() {
  // Stopped, the run asks the dialog no more.
  if (workSpent() || stopped()) return false;
  nextWorkLook = std::min(work + kWorkPerProgressCheck, mostWork);
  if (drawnUpTo >= 0)
    run.in.checkProgressAt(drawnUpTo);
  else
    run.in.checkProgressNow();
  return !stopped();
}

const LayerRecord* FullRun::layerNamed(std::string_view name) {
  if (lastLayerValid_ && name == std::string_view(lastLayerName_, lastLayerLength_)) return lastLayer_;
  lastLayer_ = run.tables.layers.find(name);
  lastLayerValid_ = name.size() < sizeof lastLayerName_;
  if (lastLayerValid_) {
    // An empty name may come from no text at all: nothing to copy then.
    if (!name.empty()) std::memcpy(lastLayerName_, name.data(), name.size());
    lastLayerLength_ = name.size();
  }
  return lastLayer_;
}

Point3 Painter::toHost(const Vec3& world) {
  run_.drawn.add(world.x, world.y);
  Point3 point{world.x, world.y, world.z};
  rotateIfActive(run_.run, point.x, point.y);
  return point;
}

void Painter::line(const Vec3& from, const Vec3& to) {
  const Vec3 a = toWorld_.apply(from), b = toWorld_.apply(to);
  if (!a.finite() || !b.finite()) return run_.noteNonFinite();
  if ((a.x == b.x && a.y == b.y && a.z == b.z) || !run_.takeObject()) return;
  const Point3 start = toHost(a), end = toHost(b);
  const Run& run = run_.run;
  const OrvGeomID_t line = run.is2D ? OrvUtilGeom2DLineSegmentCreate(0, start.x, start.y, end.x, end.y)
                                    : OrvUtilGeom3DLineSegmentCreate(start.x, start.y, start.z, end.x, end.y, end.z);
  attachGeometryToSelectedZone(run, line);
  OrvUtilGeomSetColor(line, colour_);
}

void Painter::polyline(const Vec3* points, size_t count, bool closed, bool filled) {
  if (count < 2) return;
  // The points were worked out one by one: long work when a block draws
  // them many times.
  if (!run_.countWork(static_cast<int64_t>(count))) return;
  constexpr size_t kPiece = AnchoredPolyline::kPointsPerPiece;
  // A long polyline through a transform is moved point by point, once for
  // its box and again as it is handed over, rather than copied whole: the
  // copy would add half again to the memory of the longest (64 million
  // points, 1.5 GB).
  const bool movedAsHanded = !identity_ && count > kPiece && !foldsPlane(toWorld_);
  // Most entities are drawn where they stand: their points are the world's.
  const Vec3* world = points;
  if (!identity_ && !movedAsHanded) {
    HeapVector<Vec3>& moved = run_.worldPoints;
    moved.resize(count);
    for (size_t i = 0; i < count; ++i) moved[i] = toWorld_.apply(points[i]);
    world = moved.data();
    if (foldsPlane(toWorld_)) count = dropRepeats(moved.data(), count, closed);
    if (count < 2) return;
  }
  if (count <= kPiece && !run_.run.rotation.active) return polylineInOnePiece(world, count, closed, filled);
  const auto worldPoint = [&](size_t i) { return movedAsHanded ? toWorld_.apply(points[i]) : world[i]; };
  // The box of the points, taken in the same look as their check.
  Box box;
  for (size_t i = 0; i < count; ++i) {
    const Vec3 p = worldPoint(i);
    if (!p.finite()) return run_.noteNonFinite();
    box.add(p.x, p.y);
  }
  if (!claimPolyline(count, closed, box)) return;
  AnchoredPolyline polyline(run_.run);
  polyline.style = {colour_, filled};
  // Handing the host millions of points is long work of its own: a stop is
  // heard between two pieces, and what was handed over stays drawn.
  size_t added = 0;
  for (; added < count; ++added) {
    if (added % kPiece == 0 && added > 0 && !run_.countWork(static_cast<int64_t>(kPiece))) break;
    const Vec3 p = worldPoint(added);
    Point3 point{p.x, p.y, p.z};
    rotateIfActive(run_.run, point.x, point.y);
    polyline.add(point);
  }
  polyline.finish(closed && added == count);
}

void Painter::polylineInOnePiece(const Vec3* world, size_t count, bool closed, bool filled) {
  // The host polyline's points, relative to the first, its anchor; the
  // arrays hold a piece's points and the return of a closed one.
  VertexArrays& vertices = run_.run.tables.vertices;
  double* const x = vertices.x.data();
  double* const y = vertices.y.data();
  double* const z = vertices.z.data();
  const Vec3 anchor = world[0];
  Box box;
  box.add(anchor.x, anchor.y);
  bool finite = true;
  for (size_t i = 0; i < count; ++i) {
    const Vec3& p = world[i];
    finite &= p.finite();
    box.minX = std::min(box.minX, p.x);
    box.minY = std::min(box.minY, p.y);
    box.maxX = std::max(box.maxX, p.x);
    box.maxY = std::max(box.maxY, p.y);
    x[i] = p.x - anchor.x;
    y[i] = p.y - anchor.y;
    z[i] = p.z - anchor.z;
  }
  if (!finite) return run_.noteNonFinite();
  if (!claimPolyline(count, closed, box)) return;
  int32_t entries = static_cast<int32_t>(count);
  if (closed) {
    x[entries] = y[entries] = z[entries] = 0;
    ++entries;
  }
  const OrvGeomID_t piece = createAnchoredPolyline(run_.run, entries, {anchor.x, anchor.y, anchor.z});
  stylePiece(piece, {colour_, filled});
}

bool Painter::claimPolyline(size_t count, bool closed, const Box& box) {
  const int64_t pieces = piecesFor(count + (closed ? 1 : 0));
  if (run_.objectsCreated + pieces > FullRun::kMostObjects || !run_.takePoints(count)) return false;
  run_.objectsCreated += pieces;
  run_.drawn.add(box.minX, box.minY);
  run_.drawn.add(box.maxX, box.maxY);
  return true;
}

void Painter::circle(const Vec3& centre, double radius) {
  if (!(radius > 0) || !std::isfinite(radius)) return;
  const PlaneView view = viewOfPlane(toWorld_);
  if (!view.similar) return arcAsPolyline(centre, radius, 0, kWholeTurn);
  Point3 at;
  double r;
  if (!placeRound(centre, radius, view, at, r)) return;
  rotateIfActive(run_.run, at.x, at.y);
  const OrvGeomID_t circle = OrvUtilGeomCircleCreate(0, at.x, at.y, r);
  OrvUtilGeomSetColor(circle, colour_);
  attachGeometryToSelectedZone(run_.run, circle);
}

void Painter::arc(const Vec3& centre, double radius, double start, double sweep) {
  if (!(radius > 0) || !std::isfinite(radius) || !std::isfinite(start) || !std::isfinite(sweep) || sweep == 0) return;
  if (std::fabs(sweep) >= kWholeTurn) return circle(centre, radius);
  const PlaneView view = viewOfPlane(toWorld_);
  if (!view.similar) return arcAsPolyline(centre, radius, start, sweep);
  // Counter-clockwise in the plane, then as seen in the world: a mirrored
  // plane turns angles the other way round.
  if (sweep < 0) {
    start += sweep;
    sweep = -sweep;
  }
  const double worldStart = view.mirrored ? view.turn - start - sweep : view.turn + start;
  Point3 at;
  double r;
  if (!placeRound(centre, radius, view, at, r)) return;
  double startDegrees = degrees(worldStart);
  double endDegrees = degrees(worldStart + sweep);
  const UcsRotation& rotation = run_.run.rotation;
  if (rotation.active) {
    rotatePoint(rotation, at.x, at.y);
    startDegrees += rotation.degrees;
    endDegrees += rotation.degrees;
  }
  const OrvGeomID_t arc = OrvUtilGeomArcCreate(0, at.x, at.y, r, turnDegrees(startDegrees), turnDegrees(endDegrees));
  OrvUtilGeomSetColor(arc, colour_);
  attachGeometryToSelectedZone(run_.run, arc);
}

void Painter::arcAsPolyline(const Vec3& centre, double radius, double start, double sweep) {
  HeapVector<Vec3>& points = run_.arcPoints;
  points.clear();
  appendArcPoints(points, centre, radius, start, sweep);
  // A whole turn is a closed polyline: it returns to its first point itself.
  const bool whole = std::fabs(sweep) >= kWholeTurn;
  if (whole) points.pop_back();
  polyline(points.data(), points.size(), whole);
}

bool Painter::placeRound(const Vec3& centre, double radius, const PlaneView& view, Point3& at, double& r) {
  const Vec3 c = toWorld_.apply(centre);
  r = radius * view.scale;
  if (!c.finite() || !std::isfinite(r)) {
    run_.noteNonFinite();
    return false;
  }
  if (!(r > 0) || !run_.takeObject()) return false;
  run_.drawn.add(c.x - r, c.y - r);
  run_.drawn.add(c.x + r, c.y + r);
  at = {c.x, c.y, c.z};
  return true;
}

void Painter::text(const Vec3& position, double height, double angle, std::string_view text) {
  if (text.empty()) return;
  if (text.size() > FullRun::kMostBytesPerText) {
    text = cutText(text, FullRun::kMostBytesPerText);
    run_.lessen(Lessened::LongText);
  }
  // Its bytes are copied for the host: long work when a block draws them
  // many times.
  if (!run_.countWork(static_cast<int64_t>(text.size()))) return;
  const Vec3 at = toWorld_.apply(position);
  const Vec3 along = toWorld_.applyToDirection({std::cos(angle), std::sin(angle), 0});
  const Vec3 up = toWorld_.applyToDirection({-std::sin(angle), std::cos(angle), 0});
  const double worldAngle = along.x == 0 && along.y == 0 ? 0 : degrees(std::atan2(along.y, along.x));
  const double worldHeight = height * up.length();
  if (!at.finite() || !std::isfinite(worldAngle) || !std::isfinite(worldHeight)) return run_.noteNonFinite();
  if (!run_.takeObject() || !run_.takeTextBytes(text.size())) return;
  const Point3 host = toHost(at);
  HeapVector<char>& terminated = run_.text;
  terminated.assign(text.begin(), text.end());
  terminated.push_back('\0');
  const Run& run = run_.run;
  const OrvTextID_t created = OrvUtilTextCreate(0, host.x, host.y, 0, worldHeight, terminated.data());
  // As in the classic reading, the text turns with the UCS in 3D imports
  // too, where its position does not.
  OrvUtilTextSetAngle(created, worldAngle + run.rotation.degrees);
  if (run.settings.fontNumber > 1) OrvUtilTextSetFont(created, run.settings.fontNumber - 2);
  OrvUtilTextSetColor(created, colour_);
  attachTextToSelectedZone(run, created);
}

void Painter::point(const Vec3& at) {
  const Vec3 world = toWorld_.apply(at);
  if (!world.finite()) return run_.noteNonFinite();
  if (!run_.takeObject()) return;
  PointList& points = run_.run.tables.points;
  if (points.count == points.entries.capacity() &&
      !points.entries.grow(points.entries.capacity() + PointList::kGrowth)) {
    run_.run.runOutOfMemory();
    return;
  }
  const Point3 host = toHost(world);
  points.entries[points.count++] = {host.x, host.y, colour_};
}

}  // namespace drawport::full
