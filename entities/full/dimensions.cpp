// Dimensions whose block is missing or empty, drawn from their own points as
// a CAD program would draw their picture: a linear or aligned dimension as
// its extension lines, its dimension line with an arrowhead at each end and
// its text; a radius or diameter as its line to the curve with one
// arrowhead and its text; any other kind as its text alone. Sizes come from
// the header's dimension settings.
#include <cmath>
#include <cstdio>

#include "entities/full/notes.h"

namespace drawport::full {
namespace {

// The dimension's type, in the low three bits of group 70.
constexpr int32_t kTypeBits = 7;
enum DimensionType : int32_t { kRotated = 0, kAligned = 1, kDiameter = 3, kRadius = 4 };

// The header's settings, each back at its default where the file's value
// cannot size anything.
struct DimensionSizes {
  double arrow = 0.18;
  double text = 0.18;
  int32_t decimals = 4;
};

double positiveOr(double value, double fallback) { return std::isfinite(value) && value > 0 ? value : fallback; }

DimensionSizes sizesOf(const HeaderExtras& header) {
  constexpr int32_t kMostDecimals = 8;
  const DimensionSizes defaults;
  const double scale = positiveOr(header.dimScale, 1);
  DimensionSizes sizes;
  sizes.arrow = std::isfinite(header.dimArrowSize) && header.dimArrowSize >= 0 ? header.dimArrowSize * scale : 0;
  sizes.text = positiveOr(header.dimTextHeight, defaults.text) * scale;
  sizes.decimals = header.dimDecimals >= 0 && header.dimDecimals <= kMostDecimals ? header.dimDecimals : 4;
  return sizes;
}

// The text a dimension shows: its group 1, where "<>" (or a text that is
// empty) stands for the measured value written with `decimals` decimals.
// A dimension that measures nothing drops the "<>". In `out`, valid until
// its next use.
std::string_view shownText(std::string_view given, const double* measured, int32_t decimals, HeapVector<char>& out) {
  constexpr std::string_view kMeasured = "<>";
  char value[352] = "";  // the longest finite double in fixed notation, with 8 decimals
  if (measured && std::isfinite(*measured)) std::snprintf(value, sizeof value, "%.*f", decimals, *measured);
  const std::string_view number = value;
  out.clear();
  const size_t at = given.find(kMeasured);
  if (given.empty()) {
    out.insert(out.end(), number.begin(), number.end());
  } else if (at == std::string_view::npos) {
    out.insert(out.end(), given.begin(), given.end());
  } else {
    out.insert(out.end(), given.begin(), given.begin() + static_cast<std::ptrdiff_t>(at));
    out.insert(out.end(), number.begin(), number.end());
    out.insert(out.end(), given.begin() + static_cast<std::ptrdiff_t>(at + kMeasured.size()), given.end());
  }
  return std::string_view(out.data(), out.size());
}

// A text that reads from left to right, or upwards: a direction pointing
// leftwards (or straight down) is turned round.
Vec3 readable(const Vec3& direction) {
  constexpr double kUpright = 1e-9;
  const bool backwards = direction.x < -kUpright || (std::fabs(direction.x) <= kUpright && direction.y < 0);
  return backwards ? direction * -1 : direction;
}

// The points of a dimension: 10, 13, 14 and 15 in the world, 11 (the
// text's middle) in the dimension's object coordinates.
struct DimensionPoints {
  Vec3 line, text, first, second, curve;
};

DimensionPoints pointsOf(const RecordView& entity) {
  DimensionPoints p;
  for (size_t i = 0; i < entity.size(); ++i) {
    const int32_t code = entity.code(i);
    const double value = entity.number(i);
    if (!takePoint(p.line, 10, code, value) && !takePoint(p.text, 11, code, value) &&
        !takePoint(p.first, 13, code, value) && !takePoint(p.second, 14, code, value))
      takePoint(p.curve, 15, code, value);
  }
  return p;
}

void drawDimensionText(const EntityDraw& e, const Vec3& middle, const Vec3& direction, double height,
                       std::string_view text) {
  if (text.empty() || !e.admit(EntityKind::Text)) return;
  NoteLayout note;
  note.location = middle;
  note.direction = readable(direction);
  note.normal = e.look.extrusion;
  note.height = height;
  constexpr int32_t kMiddleCentre = 5;
  note.attachment = kMiddleCentre;
  drawNote(e, note, text);
}

// Extension lines from the measured points to the dimension line through
// 10, the dimension line between them with an arrowhead at each end,
// pointing outwards. Returns the measured length.
double drawLinear(const EntityDraw& e, const DimensionPoints& p, const Vec3& along, double arrow) {
  const Vec3 from = p.line + along * along.dot(p.first - p.line);
  const Vec3 to = p.line + along * along.dot(p.second - p.line);
  const double length = (to - from).length();
  if (!e.admit(EntityKind::Lines)) return length;
  Painter painter = e.painter(e.at.toWorld);
  painter.line(p.first, from);
  painter.line(p.second, to);
  painter.line(from, to);
  if (length > 0 && arrow > 0) {
    drawArrowhead(painter, from, from - to, arrow, e.look.extrusion);
    drawArrowhead(painter, to, to - from, arrow, e.look.extrusion);
  }
  return length;
}

// The line from 10 to the point on the curve, its arrowhead there: inside
// the curve pointing out to it, or, when the text stands outside, outside
// pointing in. Returns the measured length.
double drawRadial(const EntityDraw& e, const DimensionPoints& p, const Vec3& textMiddle, double arrow) {
  const Vec3 outwards = p.curve - p.line;
  const double length = outwards.length();
  if (!e.admit(EntityKind::Lines)) return length;
  Painter painter = e.painter(e.at.toWorld);
  painter.line(p.line, p.curve);
  const bool textOutside = (textMiddle - p.line).length() > length;
  if (length > 0 && arrow > 0)
    drawArrowhead(painter, p.curve, textOutside ? outwards * -1 : outwards, arrow, e.look.extrusion);
  return length;
}

}  // namespace

Vec3 drawArrowhead(Painter& painter, const Vec3& tip, const Vec3& direction, double size, const Vec3& normal) {
  const Vec3 along = direction.unit();
  Vec3 across = normal.unit().cross(along).unit();
  if (!(across.length() > 0)) across = Vec3{-along.y, along.x, 0}.unit();
  const Vec3 base = tip - along * size;
  const Vec3 corners[3] = {tip, base + across * (size / 6), base - across * (size / 6)};
  if (along.length() > 0 && size > 0) painter.polyline(corners, 3, true, true);
  return base;
}

void drawDimensionFromPoints(const EntityDraw& e) {
  const RecordView& entity = e.entity;
  const DimensionSizes sizes = sizesOf(e.run.header);
  const DimensionPoints p = pointsOf(entity);
  const Transform plane = Transform::objectCoordinates(e.look.extrusion);
  const Vec3 textMiddle = plane.apply(p.text);
  // Only DIMENSION tells its kind in group 70; the other dimension entities
  // show their text.
  const int32_t type = entity.name() == "DIMENSION" ? entity.integerOr(70, kRotated) & kTypeBits : -1;
  double measured = 0;
  Vec3 direction = plane.xAxis();
  bool measures = true;
  if (type == kRotated || type == kAligned) {
    const double rotation = radians(entity.numberOr(50, 0));
    Vec3 along = type == kAligned ? (p.second - p.first).unit()
                                  : plane.applyToDirection({std::cos(rotation), std::sin(rotation), 0});
    if (!(along.length() > 0)) along = plane.xAxis();
    measured = drawLinear(e, p, along, sizes.arrow);
    direction = along;
  } else if (type == kRadius || type == kDiameter) {
    measured = drawRadial(e, p, textMiddle, sizes.arrow);
  } else {
    measures = false;
  }
  HeapVector<char>& text = e.run.texts.joined;
  drawDimensionText(e, textMiddle, direction, sizes.text,
                    shownText(entity.textOr(1), measures ? &measured : nullptr, sizes.decimals, text));
}

}  // namespace drawport::full
