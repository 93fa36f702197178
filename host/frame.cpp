#include "host/frame.h"

#include <algorithm>

namespace orvhost {

void Frame::clear() {
  objects_.clear();
  points_.clear();
  texts_.clear();
}

FrameObject& Frame::add(ObjectKind kind) {
  FrameObject& object = objects_.emplace_back();
  object.kind = kind;
  object.id = static_cast<int32_t>(objects_.size());
  return object;
}

int32_t Frame::addLine(int dim, const Point3& from, const Point3& to) {
  FrameObject& object = add(ObjectKind::Line);
  object.dim = static_cast<uint8_t>(dim);
  Point3* points = points_.appendContiguous(2);
  object.firstPoint = static_cast<uint32_t>(points_.size() - 2);
  object.pointCount = 2;
  points[0] = from;
  points[1] = to;
  return object.id;
}

int32_t Frame::addPolyline(int dim, const double* x, const double* y, const double* z, int32_t count) {
  FrameObject& object = add(ObjectKind::Polyline);
  object.dim = static_cast<uint8_t>(dim);
  object.pointCount = static_cast<uint32_t>(std::clamp<int32_t>(count, 0, kMaxPolylinePoints));
  Point3* points = points_.appendContiguous(object.pointCount);
  object.firstPoint = static_cast<uint32_t>(points_.size() - object.pointCount);
  for (uint32_t i = 0; i < object.pointCount; ++i) points[i] = {x[i], y[i], z ? z[i] : 0.0};
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
