// The host's current frame: the geometries and texts add-ons created, with
// every attribute set on them, in creation order.
//
// Objects are plain records; the points of all lines and polylines share one
// coordinate pool, each point in the dimension its object was created with
// (two coordinates for 2D, three for 3D). Both grow in chunks, so creating an
// object copies nothing already stored (large imports create millions of
// objects).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/chunked_vector.h"

namespace orvhost {

enum class ObjectKind : uint8_t { Line, Polyline, Circle, Arc, Text };

struct Point3 {
  double x = 0, y = 0, z = 0;
};

struct FrameObject {
  ObjectKind kind = ObjectKind::Line;
  uint8_t dim = 2;  // lines and polylines: 2 or 3
  int32_t id = 0;
  // Lines and polylines: pointCount points of `dim` coordinates each from
  // coordinate firstCoordinate of the frame's pool, as passed (polylines
  // relative to their anchor).
  uint32_t firstCoordinate = 0;
  uint32_t pointCount = 0;
  std::optional<Point3> anchor;
  // Circles and arcs (arcs in degrees); texts use center as position.
  double centerX = 0, centerY = 0, radius = 0, start = 0, end = 0;
  // Texts.
  uint32_t textIndex = 0;
  double height = 0;
  std::optional<double> angle;
  std::optional<int32_t> font;
  // Attributes.
  std::optional<int16_t> color;
  std::optional<int16_t> fillColor;
  bool filled = false;
  std::optional<int32_t> zoneOrMap;
  bool attached = false;
  int32_t coordSys = 0;
  int32_t heightUnits = 0;

  bool isText() const { return kind == ObjectKind::Text; }
  // The zone the object is attached to, if it is.
  std::optional<int32_t> zone() const { return attached ? zoneOrMap : std::nullopt; }
};

class Frame {
 public:
  void clear();

  int32_t addLine(int dim, const Point3& from, const Point3& to);
  int32_t addPolyline(int dim, const double* x, const double* y, const double* z, int32_t count);
  int32_t addCircle(int32_t coordSys, double x, double y, double radius);
  int32_t addArc(int32_t coordSys, double x, double y, double radius, double start, double end);
  int32_t addText(int32_t coordSys, double x, double y, int32_t heightUnits, double height, const char* text);

  // The most points one polyline keeps: what fits one chunk of the pool in 3D.
  static constexpr uint32_t kMaxPolylinePoints = ChunkedVector<double>::kChunk / 3;

  // The object with this id, or null when the host never gave it.
  FrameObject* find(int32_t id);
  const ChunkedVector<FrameObject>& objects() const { return objects_; }
  // Point `index` of a line or polyline; z is 0 in 2D.
  Point3 point(const FrameObject& object, uint32_t index) const {
    const double* p = &coordinates_[object.firstCoordinate + size_t{index} * object.dim];
    return {p[0], p[1], object.dim == 3 ? p[2] : 0.0};
  }
  const std::string& text(const FrameObject& object) const { return texts_[object.textIndex]; }

 private:
  FrameObject& add(ObjectKind kind);
  // Room for `count` points of `object` (its dim set) in the pool.
  double* takeCoordinates(FrameObject& object, uint32_t count);

  ChunkedVector<FrameObject> objects_;
  ChunkedVector<double> coordinates_;
  ChunkedVector<std::string> texts_;
};

}  // namespace orvhost
