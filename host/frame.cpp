#include "host/frame.h"

#include <algorithm>

namespace orvhost {

void Frame::clear() {
  objects_.clear();
  coordinates_.clear();
  texts_.clear();
}

FrameObject& Frame::add(ObjectKind kind) {
  FrameObject& object = objects_.emplace_back();
  object.kind = kind;
  object.id = static_cast<int32_t>(objects_.size());
  return object;
}

double* Frame::takeCoordinates(FrameObject& object, uint32_t count) {
  const size_t size = size_t{count} * object.dim;
  double* coordinates = coordinates_.appendContiguous(size);
  object.firstCoordinate = static_cast<uint32_t>(coordinates_.size() - size);
  object.pointCount = count;
  return coordinates;
}

int32_t Frame::addLine(int dim, const Point3& from, const Point3& to) {
  FrameObject& object = add(ObjectKind::Line);
  object.dim = dim == 3 ? 3 : 2;
  double* p = takeCoordinates(object, 2);
  for (const Point3& end : {from, to}) {
    *p++ = end.x;
    *p++ = end.y;
    if (object.dim == 3) *p++ = end.z;
  }
  return object.id;
}

int32_t Frame::addPolyline(int dim, const double* x, const double* y, const double* z, int32_t count) {
  FrameObject& object = add(ObjectKind::Polyline);
  object.dim = dim == 3 ? 3 : 2;
  const uint32_t kept = static_cast<uint32_t>(std::clamp<int32_t>(count, 0, kMaxPolylinePoints));
  double* p = takeCoordinates(object, kept);
  if (object.dim == 3) {
    for (uint32_t i = 0; i < kept; ++i, p += 3) p[0] = x[i], p[1] = y[i], p[2] = z[i];
  } else {
    for (uint32_t i = 0; i < kept; ++i, p += 2) p[0] = x[i], p[1] = y[i];
  }
  return object.id;
}

int32_t Frame::addCircle(int32_t coordSys, double x, double y, double radius) {
  FrameObject& object = add(ObjectKind::Circle);
  object.coordSys = coordSys;
  object.centerX = x;
  object.centerY = y;
  object.radius = radius;
  return object.id;
}

int32_t Frame::addArc(int32_t coordSys, double x, double y, double radius, double start, double end) {
  FrameObject& object = add(ObjectKind::Arc);
  object.coordSys = coordSys;
  object.centerX = x;
  object.centerY = y;
  object.radius = radius;
  object.start = start;
  object.end = end;
  return object.id;
}

int32_t Frame::addText(int32_t coordSys, double x, double y, int32_t heightUnits, double height, const char* text) {
  FrameObject& object = add(ObjectKind::Text);
  object.coordSys = coordSys;
  object.heightUnits = heightUnits;
  object.centerX = x;
  object.centerY = y;
  object.height = height;
  object.textIndex = static_cast<uint32_t>(texts_.size());
  texts_.emplace_back() = text ? text : "";
  return object.id;
}

FrameObject* Frame::find(int32_t id) {
  if (id < 1 || static_cast<std::size_t>(id) > objects_.size()) return nullptr;
  return &objects_[static_cast<std::size_t>(id) - 1];
}

}  // namespace orvhost
