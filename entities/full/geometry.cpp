#include "entities/full/geometry.h"

#include <algorithm>

namespace drawport::full {
namespace {

// The arbitrary axis rule's bound: a normal this close to the z axis takes
// its x axis from the world's y axis.
constexpr double kNearZ = 1.0 / 64;
// Relative error below which two lengths count as equal and a direction as
// level.
constexpr double kSameScale = 1e-9;
constexpr double kChordStep = 4 * kPi / 180;
// More chords than any real arc needs; keeps a wild sweep from running away.
constexpr int kMostChords = 1 << 20;

}  // namespace

Vec3 Vec3::unit() const {
  const double l = length();
  return l > 0 && std::isfinite(l) ? *this * (1 / l) : *this;
}

Transform Transform::rotationZ(double radians) {
  const double c = std::cos(radians), s = std::sin(radians);
  return Transform({c, s, 0}, {-s, c, 0}, {0, 0, 1}, {});
}

Transform Transform::objectCoordinates(const Vec3& normal) {
  Vec3 n = normal.unit();
  if (!n.finite() || !(n.length() > 0)) n = {0, 0, 1};
  if (n.x == 0 && n.y == 0 && n.z == 1) return Transform();
  const Vec3 ax =
      (std::fabs(n.x) < kNearZ && std::fabs(n.y) < kNearZ ? Vec3{0, 1, 0}.cross(n) : Vec3{0, 0, 1}.cross(n)).unit();
  const Vec3 ay = n.cross(ax).unit();
  return Transform(ax, ay, n, {});
}

Transform Transform::after(const Transform& inner) const {
  return Transform(applyToDirection(inner.x_), applyToDirection(inner.y_), applyToDirection(inner.z_),
                   apply(inner.offset_));
}

bool Transform::isIdentity() const {
  return x_.x == 1 && x_.y == 0 && x_.z == 0 && y_.x == 0 && y_.y == 1 && y_.z == 0 && z_.x == 0 && z_.y == 0 &&
         z_.z == 1 && offset_.x == 0 && offset_.y == 0 && offset_.z == 0;
}

PlaneView viewOfPlane(const Transform& transform) {
  PlaneView view;
  const Vec3& ex = transform.xAxis();
  const Vec3& ey = transform.yAxis();
  const double lx = ex.length(), ly = ey.length();
  view.scale = lx;
  view.turn = std::atan2(ex.y, ex.x);
  if (!(lx > 0) || !(ly > 0)) return view;
  const double tolerance = kSameScale * std::max(lx, ly);
  view.similar = std::fabs(ex.z) <= tolerance && std::fabs(ey.z) <= tolerance && std::fabs(lx - ly) <= tolerance &&
                 std::fabs(ex.dot(ey)) <= tolerance * std::max(lx, ly);
  view.mirrored = ex.x * ey.y - ex.y * ey.x < 0;
  return view;
}

int chordsForSweep(double sweep) {
  const double chords = std::ceil(std::fabs(sweep) / kChordStep - 1e-9);
  if (!(chords >= 1)) return 1;
  return chords > kMostChords ? kMostChords : static_cast<int>(chords);
}

void appendArcPoints(HeapVector<Vec3>& points, const Vec3& centre, double radius, double start, double sweep) {
  const int chords = chordsForSweep(sweep);
  forEachStepAngle(start, sweep, chords, [&](int, double c, double s) {
    appendPoint(points, centre.x + radius * c, centre.y + radius * s, centre.z);
  });
}

void appendBulgePoints(HeapVector<Vec3>& points, const Vec3& from, const Vec3& to, double bulge) {
  const double dx = to.x - from.x, dy = to.y - from.y;
  const double chord = std::sqrt(dx * dx + dy * dy);
  if (bulge == 0 || !std::isfinite(bulge) || !(chord > 0)) {
    points.push_back(to);
    return;
  }
  const double sweep = 4 * std::atan(bulge);
  // The centre lies on the chord's perpendicular bisector, to the left for a
  // counter-clockwise arc.
  const double offset = chord * (1 - bulge * bulge) / (4 * bulge);
  const Vec3 centre{(from.x + to.x) / 2 - dy / chord * offset, (from.y + to.y) / 2 + dx / chord * offset, from.z};
  const double radius = chord * (1 + bulge * bulge) / (4 * std::fabs(bulge));
  const double start = std::atan2(from.y - centre.y, from.x - centre.x);
  // The arc starts at `from`, already in place, and ends at `to` exactly:
  // only the points between are worked out.
  const int chords = chordsForSweep(sweep);
  forEachStepAngle(
      start, sweep, chords,
      [&](int i, double c, double s) {
        if (i > 0) appendPoint(points, centre.x + radius * c, centre.y + radius * s, from.z);
      },
      chords - 1);
  points.push_back(to);
}

}  // namespace drawport::full
