// POLYLINE (2D with bulges, 3D, spline- and curve-fit, polygon meshes,
// polyface meshes) and LWPOLYLINE in the full reading. A file's counts
// (vertices, mesh sizes, face corners) are checked against what it holds,
// never trusted.
#include <cstdint>

#include "entities/full/drawing.h"

namespace drawport::full {
namespace {

// POLYLINE flags (group 70).
constexpr int32_t kClosed = 1;  // polygon meshes: closed in M
constexpr int32_t kSplineFit = 4;
constexpr int32_t k3DPolyline = 8;
constexpr int32_t kPolygonMesh = 16;
constexpr int32_t kClosedInN = 32;
constexpr int32_t kPolyfaceMesh = 64;
// VERTEX flags.
constexpr int32_t kSplineFrame = 16;
constexpr int32_t kMeshVertex = 64;
constexpr int32_t kPolyfaceVertex = 128;

// The path through `vertices`, each segment with the bulge of the vertex it
// starts at, appended to `points`; a closed path ends before its return to
// the first vertex (the polyline closes itself). A path of more than `most`
// points is cut short there: it is beyond the bound on points, and the
// painter refuses it. Each point made is a step counted against `steps`
// (a bulge makes up to 90 of them): once it ends the work, nothing is
// appended.
void appendPath(HeapVector<Vec3>& points, const HeapVector<PathVertex>& vertices, bool closed, size_t most,
                StepCounter& steps) {
  if (vertices.empty()) return;
  const size_t first = points.size();
  StepBatch made(&steps);
  points.push_back(vertices.front().at);
  const size_t segments = closed ? vertices.size() : vertices.size() - 1;
  for (size_t i = 0; i < segments && points.size() - first <= most; ++i) {
    const Vec3& next = vertices[i + 1 < vertices.size() ? i + 1 : 0].at;
    const size_t before = points.size();
    appendBulgePoints(points, vertices[i].at, next, vertices[i].bulge);
    if (!made.count(static_cast<int64_t>(points.size() - before))) break;
  }
  if (!made.handOn()) {
    points.resize(first);
    return;
  }
  if (closed && points.size() - first > 1 && points.size() - first <= most) points.pop_back();
}

// The points the bound on polyline points leaves to the import.
size_t pointsLeft(const FullRun& run) { return static_cast<size_t>(run.mostPoints - run.pointsCreated); }

void drawPath(Painter& painter, FullRun& run, bool closed) {
  run.points.clear();
  appendPath(run.points, run.vertices, closed, pointsLeft(run), run);
  painter.polyline(run.points.data(), run.points.size(), closed);
}

// An LWPOLYLINE's vertices, at its elevation in its object coordinates.
void takeLwVertices(const RecordView& entity, HeapVector<PathVertex>& vertices) {
  const double elevation = entity.numberOr(38, 0);
  vertices.clear();
  // Each group 10 starts a vertex; 20 and 42 belong to the vertex read last.
  for (size_t i = 0; i < entity.size(); ++i) {
    const int32_t code = entity.code(i);
    if (code == 10) {
      PathVertex& vertex = vertices.emplace_back();  // written in place, as points are
      vertex.at.x = entity.number(i);
      vertex.at.z = elevation;
    } else if (!vertices.empty() && code == 20) {
      vertices.back().at.y = entity.number(i);
    } else if (!vertices.empty() && code == 42) {
      vertices.back().bulge = entity.number(i);
    }
  }
}

bool isClosedLwPolyline(const RecordView& entity) { return entity.integerOr(70, 0) & kClosed; }

// Takes the VERTEX entities that follow a POLYLINE, and its SEQEND.
void takeVertices(EntitySource& following, HeapVector<PathVertex>& vertices) {
  vertices.clear();
  RecordView vertex;
  while (following.hasNext() && following.nextName() == "VERTEX" && following.next(vertex)) {
    PathVertex taken;
    for (size_t i = 0; i < vertex.size(); ++i) {
      const int32_t code = vertex.code(i);
      if (code == 42) taken.bulge = vertex.number(i);
      if (code == 70) taken.flags = vertex.integer(i);
      if (code >= 71 && code <= 74) taken.corners[code - 71] = vertex.integer(i);
      takePoint(taken.at, 10, code, vertex.number(i));
    }
    vertices.push_back(taken);
  }
  if (following.hasNext() && following.nextName() == "SEQEND") following.next(vertex);
}

// A spline-fit polyline draws the vertices that spline fitting made, not its
// frame's control points (unless it has nothing else).
void leaveOutSplineFrame(HeapVector<PathVertex>& vertices) {
  size_t kept = 0;
  for (const PathVertex& vertex : vertices)
    if (!(vertex.flags & kSplineFrame)) vertices[kept++] = vertex;
  if (kept > 0) vertices.resize(kept);
}

// M lines of N vertices and N lines of M vertices; a mesh that holds fewer
// vertices than M x N draws the rows it holds in full.
void drawPolygonMesh(Painter& painter, FullRun& run, int32_t flags, int32_t m, int32_t n) {
  HeapVector<Vec3>& points = run.points;
  points.clear();
  for (const PathVertex& vertex : run.vertices)
    if (vertex.flags & kMeshVertex || !(vertex.flags & kPolyfaceVertex)) points.push_back(vertex.at);
  if (m < 1 || n < 1) return;
  const int64_t rows = std::min<int64_t>(m, static_cast<int64_t>(points.size()) / n);
  if (rows < 1) return;
  HeapVector<Vec3> line;
  for (int64_t row = 0; row < rows; ++row)
    painter.polyline(points.data() + row * n, static_cast<size_t>(n), flags & kClosedInN);
  for (int64_t column = 0; column < n; ++column) {
    line.clear();
    for (int64_t row = 0; row < rows; ++row) line.push_back(points[static_cast<size_t>(row * n + column)]);
    painter.polyline(line.data(), line.size(), flags & kClosed);
  }
}

// Each face as a closed outline of its corners; a negative index hides the
// edge that starts at that corner. Faces naming vertices the mesh lacks are
// passed over.
void drawPolyfaceMesh(Painter& painter, FullRun& run) {
  HeapVector<Vec3>& positions = run.points;
  positions.clear();
  for (const PathVertex& vertex : run.vertices)
    if ((vertex.flags & kMeshVertex) || !(vertex.flags & kPolyfaceVertex)) positions.push_back(vertex.at);
  for (const PathVertex& face : run.vertices) {
    if ((face.flags & kMeshVertex) || !(face.flags & kPolyfaceVertex)) continue;
    Vec3 corners[4];
    unsigned hidden = 0;
    int count = 0;
    bool usable = true;
    for (int i = 0; i < 4 && usable; ++i) {
      const int32_t index = face.corners[i];
      if (index == 0) break;  // a triangle's fourth corner
      const int64_t number = index < 0 ? -static_cast<int64_t>(index) : index;
      usable = number <= static_cast<int64_t>(positions.size());
      if (!usable) break;
      if (index < 0) hidden |= 1u << count;
      corners[count++] = positions[static_cast<size_t>(number - 1)];
    }
    if (usable && count >= 2) drawOutline(painter, corners, count, hidden);
  }
}

}  // namespace

void drawPolyline(const EntityDraw& e) {
  // All of the POLYLINE's own groups are read before its vertices, which
  // take the place of its record.
  const int32_t flags = e.entity.integerOr(70, 0);
  const int32_t meshM = e.entity.integerOr(71, 0);
  const int32_t meshN = e.entity.integerOr(72, 0);
  const double elevation = e.entity.numberOr(30, 0);
  const Transform objectToWorld = e.objectToWorld();
  FullRun& run = e.run;
  takeVertices(e.following, run.vertices);
  // A vertex is an entity of its own, taken here rather than by the
  // dispatcher: a block may hold millions of them.
  if (!run.countWork(static_cast<int64_t>(run.vertices.size()))) return;
  Painter world = e.painter(e.at.toWorld);
  if (flags & kPolyfaceMesh) return drawPolyfaceMesh(world, run);
  if (flags & kPolygonMesh) return drawPolygonMesh(world, run, flags, meshM, meshN);
  if (flags & kSplineFit) leaveOutSplineFrame(run.vertices);
  if (flags & k3DPolyline) {
    for (PathVertex& vertex : run.vertices) vertex.bulge = 0;
    return drawPath(world, run, flags & kClosed);
  }
  // A 2D polyline lies in its object coordinates, at its elevation.
  for (PathVertex& vertex : run.vertices) vertex.at.z = elevation;
  Painter plane = e.painter(objectToWorld);
  drawPath(plane, run, flags & kClosed);
}

void prepareLwPolyline(const RecordView& entity, const HeaderExtras&, PrepareWork& work, Preparation& made) {
  takeLwVertices(entity, work.vertices);
  made.closed = isClosedLwPolyline(entity);
  appendPath(made.points, work.vertices, made.closed, SIZE_MAX, work.steps);
  made.hasPoints = true;
}

void drawLwPolyline(const EntityDraw& e) {
  FullRun& run = e.run;
  Painter painter = e.painter(e.objectToWorld());
  // The whole path worked out ahead is the path made here whenever the
  // bound on points leaves room for it and for a closed path's return.
  const PreparedEntity* prepared = run.preparedFor(e.entity);
  if (prepared && prepared->hasPoints && prepared->count < pointsLeft(run))
    return painter.polyline(prepared->points, prepared->count, prepared->closed);
  takeLwVertices(e.entity, run.vertices);
  drawPath(painter, run, isClosedLwPolyline(e.entity));
}

}  // namespace drawport::full
