#include "host/frame_svg.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "host/utf8.h"

namespace orvhost {
namespace {

constexpr const char* kPalette[] = {
    "#000000",  // 0 black
    "#ff0000",  // 1 red
    "#00ff00",  // 2 green
    "#0000ff",  // 3 blue
    "#00ffff",  // 4 cyan
    "#ffff00",  // 5 yellow
    "#a020f0",  // 6 purple
    "#ffffff",  // 7 white
    "#404040",  // 8 dark grey
    "#c0c0c0",  // 9 light grey
    "#ff8000",  // 10 orange
    "#8b4513",  // 11 brown
    "#000080",  // 12 dark blue
    "#008000",  // 13 dark green
    "#ff00ff",  // 14 magenta
    "#800000",  // 15 dark red
};
constexpr int kPaletteSize = static_cast<int>(sizeof kPalette / sizeof kPalette[0]);
constexpr const char* kBeyondPalette = "#ff69b4";
// Objects whose colour was never set: mid grey shows on dark and light
// backgrounds alike.
constexpr const char* kNoColour = "#808080";

// The longer side of the picture, in picture units.
constexpr double kPictureSize = 1000;
// The margin around the drawn objects, as a share of their larger extent.
constexpr double kMarginShare = 0.05;
// The advance of one character and the depth below the baseline, as shares
// of the text height: enough to fit the view around a text.
constexpr double kCharacterAdvance = 0.6;
constexpr double kDescent = 0.25;
constexpr double kPi = 3.14159265358979323846;

// The SVG font of each host font number (0 Helvetica to 10 Courier Bold);
// texts without a font show in the host's default, Helvetica.
struct SvgFont {
  const char* family;
  bool bold;
  bool italic;
};
constexpr const char* kSans = "Helvetica, Arial, sans-serif";
constexpr const char* kSerif = "Times, 'Times New Roman', serif";
constexpr const char* kMono = "Courier, 'Courier New', monospace";
constexpr const char* kSymbol = "Symbol, serif";
constexpr SvgFont kFonts[] = {
    {kSans, false, false},   // 0 Helvetica
    {kSans, true, false},    // 1 Helvetica Bold
    {kSymbol, false, false}, // 2 Greek
    {kSymbol, false, false}, // 3 Math
    {kSans, false, false},   // 4 User Defined
    {kSerif, false, false},  // 5 Times
    {kSerif, false, true},   // 6 Times Italic
    {kSerif, true, false},   // 7 Times Bold
    {kSerif, true, true},    // 8 Times Italic Bold
    {kMono, false, false},   // 9 Courier
    {kMono, true, false},    // 10 Courier Bold
};
constexpr int kFontCount = static_cast<int>(sizeof kFonts / sizeof kFonts[0]);

const SvgFont& fontOf(const FrameObject& text) {
  const int font = text.font.value_or(0);
  return font >= 0 && font < kFontCount ? kFonts[font] : kFonts[0];
}

const char* colourOf(const std::optional<int16_t>& colour) { return colour ? hostColourRgb(*colour) : kNoColour; }

struct Box {
  double minX = std::numeric_limits<double>::infinity();
  double minY = std::numeric_limits<double>::infinity();
  double maxX = -std::numeric_limits<double>::infinity();
  double maxY = -std::numeric_limits<double>::infinity();

  // Any point that is not finite spoils the box for good: min and max
  // would pass over a NaN silently.
  bool spoilt = false;

  void add(double x, double y) {
    spoilt = spoilt || !std::isfinite(x) || !std::isfinite(y);
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
  }
  void add(const Box& other) {
    add(other.minX, other.minY);
    add(other.maxX, other.maxY);
  }
  bool empty() const { return !(minX <= maxX && minY <= maxY); }
  bool finite() const { return !spoilt && !empty(); }
};

double radians(double degrees) { return degrees * (kPi / 180); }

// An angle in degrees brought into [0, 360).
double turnAngle(double degrees) {
  const double angle = std::fmod(degrees, 360.0);
  return angle < 0 ? angle + 360 : angle;
}

// An arc as drawn: counter-clockwise from `start` through `sweep` degrees;
// start and end at the same angle make a whole turn.
struct ArcSweep {
  double start = 0;
  double sweep = 360;
  bool wholeTurn() const { return sweep >= 360; }
};

ArcSweep arcSweep(const FrameObject& arc) {
  ArcSweep result;
  result.start = turnAngle(arc.start);
  double sweep = turnAngle(arc.end) - result.start;
  if (sweep <= 0) sweep += 360;
  result.sweep = sweep;
  return result;
}

Point3 anchorOf(const FrameObject& object) { return object.anchor.value_or(Point3{}); }

// Number of characters of a UTF-8 text, counting each stray byte as one.
size_t characterCount(const std::string& text) {
  size_t count = 0;
  for (unsigned char c : text) count += (c & 0xc0) != 0x80;
  return count;
}

// --- Extents: each adds the object's drawn extent to `box` and tells whether
// the object can be drawn at all.

bool lineExtent(const Frame& frame, const FrameObject& line, Box& box) {
  if (line.pointCount < 2) return false;
  Box own;
  for (uint32_t i = 0; i < 2; ++i) own.add(frame.point(line, i).x, frame.point(line, i).y);
  if (!own.finite()) return false;
  box.add(own);
  return true;
}

bool polylineExtent(const Frame& frame, const FrameObject& polyline, Box& box) {
  if (polyline.pointCount < 1) return false;
  const Point3 anchor = anchorOf(polyline);
  Box own;
  for (uint32_t i = 0; i < polyline.pointCount; ++i) {
    const Point3& p = frame.point(polyline, i);
    own.add(anchor.x + p.x, anchor.y + p.y);
  }
  if (!own.finite()) return false;
  box.add(own);
  return true;
}

bool circleExtent(const Frame&, const FrameObject& circle, Box& box) {
  if (!(circle.radius > 0)) return false;
  Box own;
  own.add(circle.centerX - circle.radius, circle.centerY - circle.radius);
  own.add(circle.centerX + circle.radius, circle.centerY + circle.radius);
  if (!own.finite()) return false;
  box.add(own);
  return true;
}

bool arcExtent(const Frame& frame, const FrameObject& arc, Box& box) {
  if (!std::isfinite(arc.start) || !std::isfinite(arc.end)) return false;
  const ArcSweep sweep = arcSweep(arc);
  if (sweep.wholeTurn()) return circleExtent(frame, arc, box);
  if (!(arc.radius > 0)) return false;
  Box own;
  auto addAt = [&](double degrees) {
    own.add(arc.centerX + arc.radius * std::cos(radians(degrees)),
            arc.centerY + arc.radius * std::sin(radians(degrees)));
  };
  addAt(sweep.start);
  addAt(turnAngle(arc.end));
  // The axis directions the arc passes reach out furthest.
  for (double axis = 0; axis < 360; axis += 90)
    if (turnAngle(axis - sweep.start) <= sweep.sweep) addAt(axis);
  if (!own.finite()) return false;
  box.add(own);
  return true;
}

bool textExtent(const Frame& frame, const FrameObject& text, Box& box) {
  const std::string& string = frame.text(text);
  const double angle = text.angle.value_or(0);
  if (string.empty() || !(text.height > 0) || !std::isfinite(angle)) return false;
  const double width = kCharacterAdvance * text.height * static_cast<double>(characterCount(string));
  const double c = std::cos(radians(angle)), s = std::sin(radians(angle));
  Box own;
  for (const auto& [u, v] : {std::pair{0.0, -kDescent * text.height}, std::pair{width, -kDescent * text.height},
                             std::pair{width, text.height}, std::pair{0.0, text.height}})
    own.add(text.centerX + u * c - v * s, text.centerY + u * s + v * c);
  if (!own.finite()) return false;
  box.add(own);
  return true;
}

// The view: drawing coordinates mapped into the picture, y turned upwards.
// Everything is computed on half values so that no difference of two finite
// coordinates can overflow.
class View {
 public:
  explicit View(const Box& drawn) {
    const Box box = drawn.empty() ? Box{0, 0, 0, 0, false} : drawn;
    left_ = box.minX * 0.5;
    top_ = box.maxY * 0.5;
    const double spanX = box.maxX * 0.5 - left_;
    const double spanY = top_ - box.minY * 0.5;
    double span = std::max(spanX, spanY);
    // A single point: one drawing unit around it.
    if (span == 0) span = 0.5;
    margin_ = kMarginShare * span;
    perHalfUnit_ = kPictureSize / (span + 2 * margin_);
    width_ = (spanX + 2 * margin_) * perHalfUnit_;
    height_ = (spanY + 2 * margin_) * perHalfUnit_;
  }
  double x(double drawingX) const { return (drawingX * 0.5 - left_ + margin_) * perHalfUnit_; }
  double y(double drawingY) const { return (top_ - drawingY * 0.5 + margin_) * perHalfUnit_; }
  double length(double drawingLength) const { return drawingLength * 0.5 * perHalfUnit_; }
  double width() const { return width_; }
  double height() const { return height_; }

 private:
  double left_ = 0, top_ = 0, margin_ = 0, perHalfUnit_ = 1, width_ = 0, height_ = 0;
};

void appendNumber(std::string& out, double value) {
  if (value == 0) value = 0;  // no "-0"
  char digits[40];
  const auto written = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 7);
  out.append(digits, written.ptr);
}

void appendAttribute(std::string& out, const char* name, double value) {
  out += ' ';
  out += name;
  out += "=\"";
  appendNumber(out, value);
  out += '"';
}

void appendAttribute(std::string& out, const char* name, const char* value) {
  out += ' ';
  out += name;
  out += "=\"";
  out += value;
  out += '"';
}

void appendPoint(std::string& out, const View& view, double x, double y) {
  appendNumber(out, view.x(x));
  out += ',';
  appendNumber(out, view.y(y));
}

// --- Elements: each appends the SVG element of one drawable object.

void writeLine(std::string& out, const View& view, const Frame& frame, const FrameObject& line) {
  const Point3& from = frame.point(line, 0);
  const Point3& to = frame.point(line, 1);
  out += "<line";
  appendAttribute(out, "x1", view.x(from.x));
  appendAttribute(out, "y1", view.y(from.y));
  appendAttribute(out, "x2", view.x(to.x));
  appendAttribute(out, "y2", view.y(to.y));
  appendAttribute(out, "stroke", colourOf(line.color));
  out += "/>\n";
}

void writePolyline(std::string& out, const View& view, const Frame& frame, const FrameObject& polyline) {
  const Point3 anchor = anchorOf(polyline);
  out += polyline.filled ? "<polygon points=\"" : "<polyline points=\"";
  for (uint32_t i = 0; i < polyline.pointCount; ++i) {
    const Point3& p = frame.point(polyline, i);
    if (i) out += ' ';
    appendPoint(out, view, anchor.x + p.x, anchor.y + p.y);
  }
  out += '"';
  if (polyline.filled)
    appendAttribute(out, "fill", colourOf(polyline.fillColor ? polyline.fillColor : polyline.color));
  appendAttribute(out, "stroke", colourOf(polyline.color));
  out += "/>\n";
}

void writeCircle(std::string& out, const View& view, const Frame&, const FrameObject& circle) {
  out += "<circle";
  appendAttribute(out, "cx", view.x(circle.centerX));
  appendAttribute(out, "cy", view.y(circle.centerY));
  appendAttribute(out, "r", view.length(circle.radius));
  appendAttribute(out, "stroke", colourOf(circle.color));
  out += "/>\n";
}

void writeArc(std::string& out, const View& view, const Frame& frame, const FrameObject& arc) {
  const ArcSweep sweep = arcSweep(arc);
  if (sweep.wholeTurn()) return writeCircle(out, view, frame, arc);
  const double end = turnAngle(arc.end);
  const double radius = view.length(arc.radius);
  out += "<path d=\"M";
  appendPoint(out, view, arc.centerX + arc.radius * std::cos(radians(sweep.start)),
              arc.centerY + arc.radius * std::sin(radians(sweep.start)));
  out += " A";
  appendNumber(out, radius);
  out += ',';
  appendNumber(out, radius);
  // With y turned upwards, counter-clockwise in the drawing is the SVG's
  // negative sweep direction (flag 0).
  out += sweep.sweep > 180 ? " 0 1,0 " : " 0 0,0 ";
  appendPoint(out, view, arc.centerX + arc.radius * std::cos(radians(end)),
              arc.centerY + arc.radius * std::sin(radians(end)));
  out += '"';
  appendAttribute(out, "stroke", colourOf(arc.color));
  out += "/>\n";
}

void writeText(std::string& out, const View& view, const Frame& frame, const FrameObject& text) {
  const double x = view.x(text.centerX), y = view.y(text.centerY);
  const SvgFont& font = fontOf(text);
  out += "<text";
  appendAttribute(out, "x", x);
  appendAttribute(out, "y", y);
  appendAttribute(out, "font-size", view.length(text.height));
  appendAttribute(out, "font-family", font.family);
  if (font.bold) appendAttribute(out, "font-weight", "bold");
  if (font.italic) appendAttribute(out, "font-style", "italic");
  appendAttribute(out, "fill", colourOf(text.color));
  const double angle = turnAngle(text.angle.value_or(0));
  if (angle != 0) {
    // Counter-clockwise in the drawing is a negative SVG rotation.
    out += " transform=\"rotate(";
    appendNumber(out, -angle);
    out += ' ';
    appendNumber(out, x);
    out += ' ';
    appendNumber(out, y);
    out += ")\"";
  }
  out += '>';
  appendXmlText(out, frame.text(text));
  out += "</text>\n";
}

struct KindDrawing {
  bool (*extent)(const Frame&, const FrameObject&, Box&);
  void (*write)(std::string&, const View&, const Frame&, const FrameObject&);
};

// Indexed by ObjectKind.
constexpr KindDrawing kDrawings[] = {
    {lineExtent, writeLine},      {polylineExtent, writePolyline}, {circleExtent, writeCircle},
    {arcExtent, writeArc},        {textExtent, writeText},
};

const KindDrawing& drawingOf(const FrameObject& object) { return kDrawings[static_cast<int>(object.kind)]; }

constexpr const char kReplacement[] = "\xef\xbf\xbd";  // U+FFFD

}  // namespace

const char* hostColourRgb(int colour) {
  return colour >= 0 && colour < kPaletteSize ? kPalette[colour] : kBeyondPalette;
}

std::string svgNumber(double value) {
  std::string text;
  appendNumber(text, value);
  return text;
}

void appendXmlText(std::string& out, std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (size_t i = 0; i < text.size();) {
    uint32_t code = 0;
    const size_t length = utf8Sequence(bytes + i, text.size() - i, code);
    if (length == 0) {
      out += kReplacement;
      ++i;
      continue;
    }
    switch (code) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\t': out += "&#9;"; break;
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      default:
        if (code < 0x20 || code == 0xfffe || code == 0xffff)
          out += kReplacement;
        else
          out.append(text.data() + i, length);
    }
    i += length;
  }
}

void writeFrameSvg(std::ostream& out, const Host& host) {
  const Frame& frame = host.frame();
  Box drawn;
  for (const FrameObject& object : frame.objects()) drawingOf(object).extent(frame, object, drawn);
  const View view(drawn);

  std::string chunk;
  chunk += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"";
  appendAttribute(chunk, "width", view.width());
  appendAttribute(chunk, "height", view.height());
  chunk += " viewBox=\"0 0 ";
  appendNumber(chunk, view.width());
  chunk += ' ';
  appendNumber(chunk, view.height());
  chunk += "\">\n<rect x=\"0\" y=\"0\"";
  appendAttribute(chunk, "width", view.width());
  appendAttribute(chunk, "height", view.height());
  appendAttribute(chunk, "fill", hostColourRgb(host.config().backgroundColor));
  chunk +=
      "/>\n<g fill=\"none\" stroke-width=\"1\" stroke-linecap=\"round\" stroke-linejoin=\"round\" "
      "xml:space=\"preserve\" style=\"white-space:pre\">\n";
  out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));

  for (const FrameObject& object : frame.objects()) {
    const KindDrawing& drawing = drawingOf(object);
    Box ignored;
    if (!drawing.extent(frame, object, ignored)) continue;
    chunk.clear();
    drawing.write(chunk, view, frame, object);
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
  }
  out << "</g>\n</svg>\n";
}

}  // namespace orvhost
