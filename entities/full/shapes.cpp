// LINE, POINT, CIRCLE, ARC, SOLID, TRACE and 3DFACE in the full reading.
#include <cmath>

#include "entities/full/drawing.h"

namespace drawport::full {
namespace {

// 3DFACE flags: the edge that starts at corner i is invisible.
constexpr int32_t kInvisibleEdges = 70;

// The corners of a SOLID, TRACE or 3DFACE, by their codes (10 to 13 with
// their y and z), and the flags (group 70); a missing fourth corner is the
// third. Returns 3 for a triangle, else 4.
int cornersOf(const RecordView& entity, Vec3 (&corners)[4], int32_t& flags) {
  bool fourthGiven = false;
  for (size_t i = 0; i < entity.size(); ++i) {
    const int32_t code = entity.code(i);
    if (code == kInvisibleEdges) flags = entity.integer(i);
    const int32_t corner = code % 10, axis = code / 10 - 1;
    if (code < 10 || code > 33 || corner > 3) continue;
    double* coordinates[3] = {&corners[corner].x, &corners[corner].y, &corners[corner].z};
    *coordinates[axis] = entity.number(i);
    fourthGiven = fourthGiven || corner == 3;
  }
  if (!fourthGiven) corners[3] = corners[2];
  const Vec3& c = corners[2];
  const Vec3& d = corners[3];
  return c.x == d.x && c.y == d.y && c.z == d.z ? 3 : 4;
}

// A circle's or an arc's groups: centre, radius, start and end angle.
struct RoundShape {
  Vec3 centre;
  double radius = 0, start = 0, end = 0;
};

RoundShape roundShapeOf(const RecordView& entity) {
  RoundShape shape;
  for (size_t i = 0; i < entity.size(); ++i) {
    const int32_t code = entity.code(i);
    const double value = entity.number(i);
    switch (code) {
      case 40: shape.radius = std::fabs(value); break;  // a negative radius is read as its size
      case 50: shape.start = value; break;
      case 51: shape.end = value; break;
      default: takePoint(shape.centre, 10, code, value); break;
    }
  }
  return shape;
}

}  // namespace

void drawOutline(Painter& painter, const Vec3* corners, int count, unsigned hiddenEdges) {
  const unsigned all = (1u << count) - 1;
  if ((hiddenEdges & all) == 0) return painter.polyline(corners, static_cast<size_t>(count), true);
  if ((hiddenEdges & all) == all) return;
  // Start right after a hidden edge, so that every run of visible edges is
  // drawn whole.
  int start = 0;
  while (!(hiddenEdges & (1u << start))) ++start;
  start = (start + 1) % count;
  Vec3 run[5];
  int points = 0;
  for (int step = 0; step < count; ++step) {
    const int edge = (start + step) % count;
    if (hiddenEdges & (1u << edge)) {
      if (points >= 2) painter.polyline(run, static_cast<size_t>(points), false);
      points = 0;
      continue;
    }
    if (points == 0) run[points++] = corners[edge];
    run[points++] = corners[(edge + 1) % count];
  }
  if (points >= 2) painter.polyline(run, static_cast<size_t>(points), false);
}

void drawLine(const EntityDraw& e) {
  Vec3 from, to;
  for (size_t i = 0; i < e.entity.size(); ++i) {
    const int32_t code = e.entity.code(i);
    const double value = e.entity.number(i);
    if (!takePoint(from, 10, code, value)) takePoint(to, 11, code, value);
  }
  e.painter(e.at.toWorld).line(from, to);
}

void drawPoint(const EntityDraw& e) { e.painter(e.at.toWorld).point(pointOf(e.entity, 10)); }

void drawCircle(const EntityDraw& e) {
  const RoundShape circle = roundShapeOf(e.entity);
  e.painter(e.objectToWorld()).circle(circle.centre, circle.radius);
}

void drawArc(const EntityDraw& e) {
  const RoundShape arc = roundShapeOf(e.entity);
  // Counter-clockwise from start to end; the same angle twice is no arc, the
  // same direction by different angles (0 and 360) a whole turn.
  if (arc.start == arc.end) return;
  double sweep = std::fmod(arc.end - arc.start, 360.0);
  if (sweep <= 0) sweep += 360;
  e.painter(e.objectToWorld()).arc(arc.centre, arc.radius, radians(arc.start), radians(sweep));
}

void drawSolid(const EntityDraw& e) {
  Vec3 corners[4];
  int32_t flags = 0;
  const int count = cornersOf(e.entity, corners, flags);
  // The corners zigzag: the outline runs 1, 2, 4, 3.
  const Vec3 outline[4] = {corners[0], corners[1], corners[3], corners[2]};
  const Vec3 triangle[3] = {corners[0], corners[1], corners[2]};
  e.painter(e.objectToWorld()).polyline(count == 4 ? outline : triangle, static_cast<size_t>(count), true, true);
}

void draw3DFace(const EntityDraw& e) {
  Vec3 corners[4];
  int32_t flags = 0;
  const int count = cornersOf(e.entity, corners, flags);
  unsigned hidden = static_cast<unsigned>(flags) & 15u;
  if (count == 3) {
    // The edges 3-4 and 4-1 of a triangle are one edge, 3-1.
    hidden = (hidden & 3u) | ((hidden & 8u) ? 4u : 0u);
  }
  Painter painter = e.painter(e.at.toWorld);
  drawOutline(painter, corners, count, hidden);
}

}  // namespace drawport::full
