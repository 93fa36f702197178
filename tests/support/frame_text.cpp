#include "support/frame_text.h"

namespace drawport::testing {
namespace {

using orvhost::formatNumber;

std::string point2(double x, double y) { return "(" + formatNumber(x) + "," + formatNumber(y) + ")"; }

std::string point(const orvhost::Point3& p, int dim) {
  return dim == 2 ? point2(p.x, p.y)
                  : "(" + formatNumber(p.x) + "," + formatNumber(p.y) + "," + formatNumber(p.z) + ")";
}

std::string attributes(const orvhost::FrameObject& object) {
  std::string text = object.color ? " c" + std::to_string(*object.color) : " c?";
  if (object.fillColor) text += " fill" + std::to_string(*object.fillColor);
  if (object.filled) text += " filled";
  if (object.zone()) text += " z" + std::to_string(*object.zone());
  return text;
}

}  // namespace

std::string renderObject(const orvhost::Frame& frame, const orvhost::FrameObject& object) {
  std::string text;
  switch (object.kind) {
    case orvhost::ObjectKind::Line:
      text = "line" + std::to_string(object.dim) + " " + point(frame.point(object, 0), object.dim) + "-" +
             point(frame.point(object, 1), object.dim);
      break;
    case orvhost::ObjectKind::Polyline:
      text = "poly" + std::to_string(object.dim);
      if (object.anchor) text += " @" + point(*object.anchor, 3);
      for (uint32_t i = 0; i < object.pointCount; ++i) text += " " + point(frame.point(object, i), object.dim);
      break;
    case orvhost::ObjectKind::Circle:
      text = "circle " + point2(object.centerX, object.centerY) + " r" + formatNumber(object.radius);
      break;
    case orvhost::ObjectKind::Arc:
      text = "arc " + point2(object.centerX, object.centerY) + " r" + formatNumber(object.radius) + " " +
             formatNumber(object.start) + ".." + formatNumber(object.end);
      break;
    case orvhost::ObjectKind::Text:
      text = "text " + point2(object.centerX, object.centerY) + " h" + formatNumber(object.height);
      if (object.angle) text += " a" + formatNumber(*object.angle);
      if (object.font) text += " f" + std::to_string(*object.font);
      text += " " + orvhost::quoteString(frame.text(object));
      break;
  }
  return text + attributes(object);
}

std::string renderObjects(const orvhost::Frame& frame) {
  std::string text;
  for (const orvhost::FrameObject& object : frame.objects()) text += renderObject(frame, object) + "\n";
  return text;
}

std::string renderMessages(const orvhost::Host& host) {
  std::string text;
  for (const orvhost::Message& message : host.messages()) {
    text += message.kind == orvhost::Message::Kind::Error ? "error: " : "box: ";
    for (char c : message.text) text += c == '\n' ? std::string("\\n") : std::string(1, c);
    text += "\n";
  }
  return text;
}

}  // namespace drawport::testing
