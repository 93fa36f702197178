// The full reading's geometry: points and directions in space, the affine
// transforms that take an entity's own coordinates to the world (its object
// coordinate system, the blocks that draw it), and the one rule by which
// arcs become polyline points.
#pragma once

#include <cmath>

#include "shell/heap.h"

namespace drawport::full {

struct Vec3 {
  double x = 0, y = 0, z = 0;

  Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  Vec3 operator*(double s) const { return {x * s, y * s, z * s}; }
  double dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
  Vec3 cross(const Vec3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
  double length() const { return std::sqrt(dot(*this)); }
  bool finite() const { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }
  // The same direction at length 1; (0, 0, 0) stays as it is.
  Vec3 unit() const;
};

// p -> linear * p + offset: the columns of `linear` are where the x, y and z
// axes go.
class Transform {
 public:
  Transform() = default;
  Transform(const Vec3& xAxis, const Vec3& yAxis, const Vec3& zAxis, const Vec3& offset)
      : x_(xAxis), y_(yAxis), z_(zAxis), offset_(offset) {}

  static Transform translation(const Vec3& offset) { return Transform({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, offset); }
  static Transform scaling(double sx, double sy, double sz) {
    return Transform({sx, 0, 0}, {0, sy, 0}, {0, 0, sz}, {});
  }
  // A turn by `radians` about the z axis.
  static Transform rotationZ(double radians);
  // The object coordinate system of an entity with extrusion direction
  // `normal`, by the arbitrary axis rule: OCS points to world points. A
  // normal of length 0 or not finite counts as (0, 0, 1).
  static Transform objectCoordinates(const Vec3& normal);

  Vec3 apply(const Vec3& p) const { return x_ * p.x + y_ * p.y + z_ * p.z + offset_; }
  Vec3 applyToDirection(const Vec3& d) const { return x_ * d.x + y_ * d.y + z_ * d.z; }
  // This transform after `inner`: p -> this(inner(p)).
  Transform after(const Transform& inner) const;

  const Vec3& xAxis() const { return x_; }
  const Vec3& yAxis() const { return y_; }
  const Vec3& zAxis() const { return z_; }
  const Vec3& offset() const { return offset_; }
  bool finite() const { return x_.finite() && y_.finite() && z_.finite() && offset_.finite(); }
  bool isIdentity() const;

 private:
  Vec3 x_{1, 0, 0}, y_{0, 1, 0}, z_{0, 0, 1}, offset_{};
};

// How a transform shows the plane z = const of its own coordinates when
// seen from above: as the same shape at one scale (turned, perhaps
// mirrored), or distorted.
struct PlaneView {
  bool similar = false;   // circles stay circles in the world's x/y plane
  bool mirrored = false;  // the plane is seen from below: angles run clockwise
  double scale = 1;       // lengths in the plane, multiplied
  double turn = 0;        // radians: the world direction of the plane's x axis
};
PlaneView viewOfPlane(const Transform& transform);

constexpr double kPi = 3.14159265358979323846;
inline double radians(double degrees) { return degrees * (kPi / 180); }
inline double degrees(double radians) { return radians * (180 / kPi); }

// The arc rule: an arc of included angle `sweep` (radians, either sign)
// becomes max(1, ceil(|sweep| / 4 degrees)) equal chords.
int chordsForSweep(double sweep);

// Calls visit(i, cos t, sin t) for t = start + sweep * i / steps, i = 0 to
// `last` (steps >= 1; `last` at most steps, all of them when not given).
// Each step turns the previous (cos, sin) by the step's angle, two products
// instead of a sine and a cosine; they are taken afresh every so many steps,
// so that rounding never adds up, and at the end.
template <class Visit>
void forEachStepAngle(double start, double sweep, int steps, Visit&& visit, int last = -1) {
  constexpr int kStepsBetweenFreshAngles = 16;
  const double stepCos = std::cos(sweep / steps), stepSin = std::sin(sweep / steps);
  double c = 0, s = 0;
  if (last < 0 || last > steps) last = steps;
  for (int i = 0; i <= last; ++i) {
    if (i % kStepsBetweenFreshAngles == 0 || i == steps) {
      const double t = i == steps ? start + sweep : start + sweep * i / steps;
      c = std::cos(t);
      s = std::sin(t);
    } else {
      const double turned = c * stepCos - s * stepSin;
      s = s * stepCos + c * stepSin;
      c = turned;
    }
    visit(i, c, s);
  }
}

// Appends the point (x, y, z) written in place: a point made aside and
// copied in costs the processor a stall on every point (the copy reads in
// one piece what was written in pieces just before).
inline void appendPoint(HeapVector<Vec3>& points, double x, double y, double z) {
  Vec3& point = points.emplace_back();
  point.x = x;
  point.y = y;
  point.z = z;
}

// Points of the arc of centre `centre`, radius `radius` in the plane z =
// centre.z, from angle `start` through `sweep` (radians; negative runs
// clockwise), both ends included, appended to `points`.
void appendArcPoints(HeapVector<Vec3>& points, const Vec3& centre, double radius, double start, double sweep);

// The segment from `from` to `to` with bulge `bulge` (tan of a quarter of
// its included angle; positive turns counter-clockwise): the points after
// `from` up to and including `to`, appended to `points`.
void appendBulgePoints(HeapVector<Vec3>& points, const Vec3& from, const Vec3& to, double bulge);

}  // namespace drawport::full
