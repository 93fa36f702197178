#include "host/frame_json.h"

#include <cmath>
#include <cstdio>

#include "host/utf8.h"

namespace orvhost {
namespace {

void appendEscape(std::string& out, unsigned code) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04x", code);
  out += escape;
}

std::string colour(const std::optional<int16_t>& value) {
  return value ? std::to_string(*value) : "null";
}

std::string zone(const FrameObject& object) { return object.zone() ? std::to_string(*object.zone()) : "null"; }

std::string point(const Point3& p, int dim) {
  std::string text = "[" + jsonNumber(p.x) + "," + jsonNumber(p.y);
  if (dim == 3) text += "," + jsonNumber(p.z);
  return text + "]";
}

std::string objectJson(const Frame& frame, const FrameObject& object) {
  std::string text;
  switch (object.kind) {
    case ObjectKind::Line:
      text = "{\"type\":\"line\",\"dim\":" + std::to_string(object.dim) + ",\"points\":[" +
             point(frame.point(object, 0), object.dim) + "," + point(frame.point(object, 1), object.dim) +
             "],\"color\":" + colour(object.color);
      break;
    case ObjectKind::Polyline: {
      text = "{\"type\":\"polyline\",\"dim\":" + std::to_string(object.dim) + ",\"anchor\":" +
             (object.anchor ? point(*object.anchor, 3) : "null") + ",\"points\":[";
      for (uint32_t i = 0; i < object.pointCount; ++i)
        text += (i ? "," : "") + point(frame.point(object, i), object.dim);
      text += "],\"color\":" + colour(object.color) + ",\"fill_color\":" + colour(object.fillColor) +
              ",\"filled\":" + (object.filled ? "true" : "false");
      break;
    }
    case ObjectKind::Circle:
      text = "{\"type\":\"circle\",\"center\":[" + jsonNumber(object.centerX) + "," + jsonNumber(object.centerY) +
             "],\"radius\":" + jsonNumber(object.radius) + ",\"color\":" + colour(object.color);
      break;
    case ObjectKind::Arc:
      text = "{\"type\":\"arc\",\"center\":[" + jsonNumber(object.centerX) + "," + jsonNumber(object.centerY) +
             "],\"radius\":" + jsonNumber(object.radius) + ",\"start\":" + jsonNumber(object.start) +
             ",\"end\":" + jsonNumber(object.end) + ",\"color\":" + colour(object.color);
      break;
    case ObjectKind::Text:
      text = "{\"type\":\"text\",\"pos\":[" + jsonNumber(object.centerX) + "," + jsonNumber(object.centerY) +
             "],\"height\":" + jsonNumber(object.height) + ",\"string\":" + jsonString(frame.text(object)) +
             ",\"angle\":" + (object.angle ? jsonNumber(*object.angle) : "null") +
             ",\"font\":" + (object.font ? std::to_string(*object.font) : "null") +
             ",\"color\":" + colour(object.color);
      break;
  }
  return text + ",\"zone\":" + zone(object) + "}";
}

}  // namespace

std::string jsonNumber(double value) { return std::isfinite(value) ? formatNumber(value) : "null"; }

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = bytes[i];
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
      ++i;
    } else if (c < 0x20) {
      switch (c) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: appendEscape(out, c);
      }
      ++i;
    } else if (uint32_t code; const size_t length = utf8Sequence(bytes + i, text.size() - i, code)) {
      out.append(text.data() + i, length);
      i += length;
    } else {
      appendEscape(out, 0xdc00u + c);
      ++i;
    }
  }
  return out + "\"";
}

void writeSessionJson(std::ostream& out, const Host& host, const SessionOutcome& outcome) {
  const Frame& frame = host.frame();
  out << "{\"objects\": [";
  bool first = true;
  for (const FrameObject& object : frame.objects()) {
    out << (first ? "\n  " : ",\n  ") << objectJson(frame, object);
    first = false;
  }
  out << "],\n \"messages\": [";
  first = true;
  for (const Message& message : host.messages()) {
    out << (first ? "" : ", ") << "{\"kind\": \"" << (message.kind == Message::Kind::Error ? "error" : "box")
        << "\", \"text\": " << jsonString(message.text) << "}";
    first = false;
  }
  out << "],\n \"macro\": [";
  first = true;
  for (const RecordedMacro& macro : host.macros()) {
    out << (first ? "" : ", ") << "{\"addon\": " << jsonString(macro.addOn)
        << ", \"command\": " << jsonString(macro.command) << "}";
    first = false;
  }
  out << "],\n \"view_fits\": " << host.viewFits() << ", \"result\": "
      << (outcome.result ? (*outcome.result ? "true" : "false") : "null")
      << ", \"error_text\": " << (outcome.errorText ? jsonString(*outcome.errorText) : "null")
      << ", \"violations\": [";
  first = true;
  for (const std::string& violation : host.violations()) {
    out << (first ? "" : ", ") << jsonString(violation);
    first = false;
  }
  out << "]}\n";
}

}  // namespace orvhost
