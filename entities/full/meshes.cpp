// MESH and MLINE in the full reading. Both are read in order: their codes
// repeat (a MESH's 90 values are its face list and its edge list; an MLINE's
// 11 starts a vertex, its 74 an element of that vertex), and what a group
// means follows from the groups before it.
#include <algorithm>

#include "entities/full/drawing.h"

namespace drawport::full {
namespace {

// A MESH's base: 92 vertex count, the vertices (10/20/30), 93 the length of
// the face list, then the face list as 90 values, each face's vertex count
// followed by its 0-based vertex indices.
void readMesh(const RecordView& entity, HeapVector<Vec3>& vertices, HeapVector<int32_t>& faces) {
  vertices.clear();
  faces.clear();
  const size_t countAt = entity.find(92);
  if (countAt == entity.size()) return;
  const int64_t promised = entity.integer(countAt);
  size_t i = countAt + 1;
  for (; i < entity.size() && entity.code(i) != 93; ++i) {
    const int32_t code = entity.code(i);
    if (code == 10 && static_cast<int64_t>(vertices.size()) < promised)
      vertices.push_back({entity.number(i), 0, 0});
    else if (!vertices.empty() && (code == 20 || code == 30))
      takePoint(vertices.back(), 10, code, entity.number(i));
  }
  if (i == entity.size()) return;
  const int64_t listed = entity.integer(i);
  for (++i; i < entity.size() && entity.code(i) == 90 && static_cast<int64_t>(faces.size()) < listed; ++i)
    faces.push_back(entity.integer(i));
}

// Every edge of the faces once, as the pair of its vertices (the lower
// first) in one number, in order.
void gatherEdges(const HeapVector<int32_t>& faces, size_t vertexCount, HeapVector<uint64_t>& edges) {
  edges.clear();
  size_t at = 0;
  while (at < faces.size()) {
    const int64_t corners = faces[at];
    if (corners < 1 || static_cast<int64_t>(faces.size() - at - 1) < corners) break;
    const int32_t* face = &faces[at + 1];
    for (int64_t k = 0; k < corners; ++k) {
      const int64_t a = face[k], b = face[(k + 1) % corners];
      const int64_t vertices = static_cast<int64_t>(vertexCount);
      if (a == b || a < 0 || b < 0 || a >= vertices || b >= vertices) continue;
      edges.push_back(static_cast<uint64_t>(std::min(a, b)) << 32 | static_cast<uint64_t>(std::max(a, b)));
    }
    at += static_cast<size_t>(corners) + 1;
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
}

// An MLINE's vertices: where each stands, its miter direction, and where
// its elements' offsets start in the offsets.
struct MultiLineVertex {
  Vec3 at, miter;
  size_t firstOffset = 0;
  size_t offsets = 0;
};

// From the first 11 on: each 11/21/31 a vertex, 13/23/33 its miter
// direction, then per element 74 a parameter count with its 41 parameters
// (the first the element's offset along the miter) and 75 a fill count
// with its 42 values.
void readMultiLine(const RecordView& entity, HeapVector<MultiLineVertex>& vertices, HeapVector<double>& offsets) {
  vertices.clear();
  offsets.clear();
  bool firstParameter = false;
  for (size_t i = entity.find(11); i < entity.size(); ++i) {
    const int32_t code = entity.code(i);
    const double value = entity.number(i);
    if (code == 11) {
      vertices.push_back({{value, 0, 0}, {}, offsets.size(), 0});
      continue;
    }
    if (vertices.empty()) continue;
    MultiLineVertex& vertex = vertices.back();
    if (takePoint(vertex.at, 11, code, value) || takePoint(vertex.miter, 13, code, value)) continue;
    if (code == 74) {
      offsets.push_back(0);
      ++vertex.offsets;
      firstParameter = true;
    } else if (code == 41 && firstParameter && vertex.offsets > 0) {
      offsets.back() = value;
      firstParameter = false;
    } else if (code == 75) {
      firstParameter = false;
    }
  }
}

}  // namespace

void drawMesh(const EntityDraw& e) {
  FullRun& run = e.run;
  // Its groups are read and its edges sorted each time it is drawn: a step
  // a group, and a step for each halving the sort makes of them.
  const int64_t groups = static_cast<int64_t>(e.entity.size());
  int64_t halvings = 1;
  while (halvings < 32 && (groups >> halvings) > 0) ++halvings;
  if (!run.countWork(groups * halvings)) return;
  HeapVector<int32_t> faces;
  HeapVector<uint64_t> edges;
  readMesh(e.entity, run.points, faces);
  gatherEdges(faces, run.points.size(), edges);
  Painter painter = e.painter(e.at.toWorld);
  constexpr uint64_t kLowHalf = 0xFFFFFFFFu;
  for (const uint64_t edge : edges) {
    // Each edge is a host line, as much work as an entity drawn.
    if (run.boundReached() || !run.countWork()) return;
    painter.line(run.points[static_cast<size_t>(edge >> 32)], run.points[static_cast<size_t>(edge & kLowHalf)]);
  }
}

void drawMultiLine(const EntityDraw& e) {
  const RecordView& entity = e.entity;
  constexpr int32_t kClosed = 2;
  const bool closed = entity.integerOr(71, 0) & kClosed;
  HeapVector<MultiLineVertex> vertices;
  HeapVector<double> offsets;
  // Its groups are read each time it is drawn, its elements drawn or not.
  if (!e.run.countWork(static_cast<int64_t>(entity.size()))) return;
  readMultiLine(entity, vertices, offsets);
  if (vertices.size() < 2) return;
  // The style's element count, as the first vertex holds it; a style holds
  // at most 16.
  constexpr size_t kMostElements = 16;
  const size_t elements = std::min(vertices.front().offsets, kMostElements);
  Painter painter = e.painter(e.at.toWorld);
  HeapVector<Vec3>& points = e.run.points;
  for (size_t element = 0; element < elements && !e.run.boundReached(); ++element) {
    points.clear();
    for (const MultiLineVertex& vertex : vertices) {
      const double offset = element < vertex.offsets ? offsets[vertex.firstOffset + element] : 0;
      points.push_back(vertex.at + vertex.miter * offset);
    }
    painter.polyline(points.data(), points.size(), closed);
  }
}

}  // namespace drawport::full
