// The one road from an entity's own coordinates to the host's objects: the
// entity's transform (its object coordinate system, composed with the block
// references that draw it), the growth of the drawn extents with the world
// points, the UCS rotation of 2D imports, then the host-object steps that the
// classic reading uses too (creation by the run's dimension, zone, anchor,
// colour).
#pragma once

#include <cstddef>
#include <string_view>

#include "entities/common.h"
#include "entities/full/full_run.h"
#include "entities/full/geometry.h"

namespace drawport::full {

class Painter {
 public:
  // Draws in `colour` what is given in coordinates that `toWorld` takes to
  // the world.
  Painter(FullRun& run, const Transform& toWorld, OrvColorIndex_t colour)
      : run_(run), toWorld_(toWorld), identity_(toWorld.isIdentity()), colour_(colour) {}

  const Transform& toWorld() const { return toWorld_; }

  // A line segment; nothing when its two ends are one point.
  void line(const Vec3& from, const Vec3& to);
  // A polyline through `count` points (at least two): closed returns to the
  // first point, filled fills it in the same colour.
  void polyline(const Vec3* points, size_t count, bool closed, bool filled = false);
  // A circle, and an arc from angle `start` through `sweep` (radians; the
  // plane's x axis is angle 0, counter-clockwise positive), in the plane z =
  // centre.z. Seen from above at one scale they stay host circles and arcs;
  // otherwise they become polylines by the arc rule.
  void circle(const Vec3& centre, double radius);
  void arc(const Vec3& centre, double radius, double start, double sweep);
  // A text standing at `position` (its baseline's left end), `height` high,
  // its baseline at `angle` (radians) in its own plane.
  void text(const Vec3& position, double height, double angle, std::string_view text);
  // A point: gathered, and drawn at the end of the pass as a small circle.
  void point(const Vec3& at);

 private:
  // A polyline of world points that one host polyline holds and no UCS
  // rotation turns: checked, boxed and handed over in one look at its points.
  void polylineInOnePiece(const Vec3* world, size_t count, bool closed, bool filled);
  // Counts a polyline of `count` world points in `box` against the run's
  // bounds on objects and points and grows the drawn extents by it; false
  // when it is not to be drawn.
  bool claimPolyline(size_t count, bool closed, const Box& box);
  // World point to host point: extents grown, then the UCS rotation.
  drawport::Point3 toHost(const Vec3& world);
  // A circle or arc in a plane not seen at one scale: a polyline by the arc
  // rule, closed for a whole turn.
  void arcAsPolyline(const Vec3& centre, double radius, double start, double sweep);
  // The world centre and radius of a circle or arc seen at one scale, the
  // extents grown and the object counted; false when it is not drawn.
  bool placeRound(const Vec3& centre, double radius, const PlaneView& view, drawport::Point3& at, double& r);

  FullRun& run_;
  Transform toWorld_;
  bool identity_;
  OrvColorIndex_t colour_;
};

}  // namespace drawport::full
