#include "host/frame.h"

namespace orvhost {

void Frame::clear() {
  objects_.clear();
  points_.clear();
  texts_.clear();
}

int32_t Frame::add(FrameObject object) {
  object.id = static_cast<int32_t>(objects_.size() + 1);
  objects_.push_back(object);
  return object.id;
}

int32_t Frame::addLine(int dim, const Point3& from, const Point3& to) {
  FrameObject object;
  object.kind = ObjectKind::Line;
  object.dim = static_cast<uint8_t>(dim);
  object.firstPoint = static_cast<uint32_t>(points_.size());
  object.pointCount = 2;
  points_.push_back(from);
  points_.push_back(to);
  return add(object);
}

int32_t Frame::addPolyline(int dim, const double* x, const double* y, const double* z, int32_t count) {
  FrameObject object;
  object.kind = ObjectKind::Polyline;
  object.dim = static_cast<uint8_t>(dim);
  object.firstPoint = static_cast<uint32_t>(points_.size());
  object.pointCount = count > 0 ? static_cast<uint32_t>(count) : 0;
  for (uint32_t i = 0; i < object.pointCount; ++i) points_.push_back({x[i], y[i], z ? z[i] : 0.0});
  return add(object);
}

int32_t Frame::addCircle(int32_t coordSys, double x, double y, double radius) {
  FrameObject object;
  object.kind = ObjectKind::Circle;
  object.coordSys = coordSys;
  object.centerX = x;
  object.centerY = y;
  object.radius = radius;
  return add(object);
}

int32_t Frame::addArc(int32_t coordSys, double x, double y, double radius, double start, double end) {
  FrameObject object;
  object.kind = ObjectKind::Arc;
  object.coordSys = coordSys;
  object.centerX = x;
  object.centerY = y;
  object.radius = radius;
  object.start = start;
  object.end = end;
  return add(object);
}

int32_t Frame::addText(int32_t coordSys, double x, double y, int32_t heightUnits, double height, const char* text) {
  FrameObject object;
  object.kind = ObjectKind::Text;
  object.coordSys = coordSys;
  object.heightUnits = heightUnits;
  object.centerX = x;
  object.centerY = y;
  object.height = height;
  object.textIndex = static_cast<uint32_t>(texts_.size());
  texts_.emplace_back(text ? text : "");
  return add(object);
}

FrameObject* Frame::find(int32_t id) {
  if (id < 1 || static_cast<std::size_t>(id) > objects_.size()) return nullptr;
  return &objects_[static_cast<std::size_t>(id) - 1];
}

}  // namespace orvhost
