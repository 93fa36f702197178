#include "bench/modern_entities.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "bench/drawing_words.h"

namespace drawport_bench {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTurn = 2 * kPi;
// The bulge of a quarter circle: tan(90 degrees / 4).
constexpr double kQuarterBulge = 0.41421356237309503;
// MTEXT holds its text in pieces of this many characters: 3 groups, then
// the last piece in a 1 group.
constexpr size_t kMtextPiece = 250;

const double kTextHeights[] = {1.8, 2.5, 3.5, 5.0, 7.0, 250.0, 350.0, 500.0};
const char* const kStyles[] = {"Standard", "ROMANS", "Arial"};

}  // namespace

// --- Where entities stand.

void ModernEntities::setArea(double x, double y, double spread) {
  centerX_ = x;
  centerY_ = y;
  spread_ = spread;
  onSite_ = false;
}

void ModernEntities::nextInCluster() {
  if (--clusterLeft_ > 0) return;
  const Box& site = file_.box();
  centerX_ = random_.between(site.minX, site.maxX);
  centerY_ = random_.between(site.minY, site.maxY);
  spread_ = random_.percent(20) ? random_.between(5000.0, 30000.0) : random_.between(300.0, 4000.0);
  onSite_ = true;
  clusterLeft_ = random_.between(10, 120);
}

double ModernEntities::nearX() { return keepX(centerX_ + random_.between(-spread_, spread_)); }
double ModernEntities::nearY() { return keepY(centerY_ + random_.between(-spread_, spread_)); }
double ModernEntities::keepX(double x) const { return onSite_ ? file_.box().clampX(x) : x; }
double ModernEntities::keepY(double y) const { return onSite_ ? file_.box().clampY(y) : y; }

double ModernEntities::elevation() { return random_.percent(85) ? 0.0 : random_.between(-50.0, 1200.0); }

Vec3 ModernEntities::nearPoint() {
  const double x = nearX(), y = nearY();
  return {x, y, elevation()};
}

// --- Simple kinds.

void ModernEntities::line() {
  file_.begin("LINE");
  file_.subclass("AcDbLine");
  if (random_.percent(1)) file_.real(39, random_.between(100.0, 3000.0));
  const Vec3 from = nearPoint();
  const double length = size(0.02, 1.2);
  const double angle = random_.percent(60) ? random_.below(4) * kPi / 2 : random_.between(0.0, kTurn);
  file_.point(10, from);
  file_.point(11, {keepX(from.x + length * std::cos(angle)), keepY(from.y + length * std::sin(angle)), from.z});
  file_.end();
}

void ModernEntities::point() {
  file_.begin("POINT");
  file_.subclass("AcDbPoint");
  // Survey points carry their level.
  const double x = nearX(), y = nearY();
  file_.point(10, {x, y, random_.percent(60) ? random_.between(-5.0, 150.0) : 0.0});
  file_.end();
}

void ModernEntities::circle() {
  const Ocs ocs = file_.chooseOcs();
  file_.begin("CIRCLE");
  file_.subclass("AcDbCircle");
  if (random_.percent(1)) file_.real(39, random_.between(100.0, 3000.0));
  file_.point(10, ocs.fromWorld(nearPoint()));
  file_.real(40, size(0.005, 0.3));
  file_.extrusion(ocs);
  file_.end();
}

void ModernEntities::arc() {
  const Ocs ocs = file_.chooseOcs();
  file_.begin("ARC");
  file_.subclass("AcDbCircle");
  file_.point(10, ocs.fromWorld(nearPoint()));
  file_.real(40, size(0.005, 0.3));
  file_.extrusion(ocs);
  file_.subclass("AcDbArc");
  const double start = random_.percent(40) ? random_.below(8) * 45.0 : random_.between(0.0, 360.0);
  const double sweep = random_.percent(50) ? 90.0 : random_.between(5.0, 355.0);
  file_.real(50, start);
  file_.real(51, std::fmod(start + sweep, 360.0));
  file_.end();
}

void ModernEntities::solid() {
  const Ocs ocs = file_.chooseOcs();
  file_.begin("SOLID");
  file_.subclass("AcDbTrace");
  const Vec3 corner = ocs.fromWorld(nearPoint());
  const double w = size(0.01, 0.5), h = size(0.01, 0.5);
  const bool triangle = random_.percent(30);
  const Vec3 corners[4] = {corner,
                           {corner.x + w, corner.y, corner.z},
                           {corner.x, corner.y + h, corner.z},
                           {triangle ? corner.x : corner.x + w, corner.y + h, corner.z}};
  for (int i = 0; i < 4; ++i) file_.point(10 + i, corners[i]);
  file_.extrusion(ocs);
  file_.end();
}

void ModernEntities::face() {
  file_.begin("3DFACE");
  file_.subclass("AcDbFace");
  const double x = nearX(), y = nearY(), side = size(0.02, 0.6);
  const double corners[4][2] = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
  for (int i = 0; i < 4; ++i) file_.point(10 + i, {corners[i][0], corners[i][1], random_.between(0.0, 800.0)});
  if (random_.percent(15)) file_.integer(70, random_.between(1, 15));
  file_.end();
}

void ModernEntities::unknown() {
  switch (random_.below(3)) {
    case 0:
    case 1: {
      const bool ray = random_.percent(50);
      file_.begin(ray ? "RAY" : "XLINE");
      file_.subclass(ray ? "AcDbRay" : "AcDbXline");
      file_.point(10, nearPoint());
      const double angle = random_.between(0.0, kTurn);
      file_.exact(11, std::cos(angle));
      file_.exact(21, std::sin(angle));
      file_.exact(31, 0.0);
      break;
    }
    default:
      // An application's own kind, declared in the CLASSES section: a
      // survey point with its name, level and code.
      file_.begin("SK_SURVEY_POINT");
      file_.subclass("SkDbSurveyPoint");
      file_.text(1, "PT" + std::to_string(random_.between(1, 99999)));
      file_.point(10, {nearX(), nearY(), random_.between(-5.0, 150.0)});
      file_.real(40, random_.between(-5.0, 150.0));
      file_.longInteger(90, random_.between(0, 400));
      file_.text(3, kTextWords[random_.below(std::size(kTextWords))]);
  }
  file_.end();
}

// --- Texts.

std::string ModernEntities::textString() {
  std::string text;
  switch (random_.below(6)) {
    case 0:
      text =
          std::string(kTextWords[random_.below(std::size(kTextWords))]) + " " + std::to_string(random_.between(1, 499));
      break;
    case 1:
      text = "%%c" + std::to_string(random_.between(15, 300)) + " PIPE @ 1:" + std::to_string(random_.between(40, 200));
      break;
    case 2: {
      char level[64];
      std::snprintf(level, sizeof level, "FFL %%%%p%.3f", random_.between(-5.0, 60.0));
      text = level;
      break;
    }
    case 3:
      text = kCodePageWords[random_.below(std::size(kCodePageWords))];
      text += " " + std::to_string(random_.between(1, 40));
      break;
    default: {
      const int words = random_.between(2, 7);
      for (int i = 0; i < words; ++i) {
        if (i) text += ' ';
        text += kTextWords[random_.below(std::size(kTextWords))];
      }
    }
  }
  return text;
}

void ModernEntities::text() {
  const Ocs ocs = file_.chooseOcs();
  const Vec3 at = ocs.fromWorld(nearPoint());
  file_.begin("TEXT");
  writeText(textString(), kTextHeights[random_.below(std::size(kTextHeights))], ocs, at);
  file_.end();
}

// The groups of a TEXT after its common ones; the text stands on its
// baseline at AT or, aligned, at its second alignment point.
void ModernEntities::writeText(const std::string& text, double height, const Ocs& ocs, const Vec3& at) {
  file_.subclass("AcDbText");
  const double rotation = random_.percent(30) ? (random_.percent(50) ? 90.0 : random_.between(0.0, 360.0)) : 0.0;
  const int alignment = random_.percent(20) ? random_.between(1, 4) : 0;
  const int vertical = alignment && alignment != 4 ? random_.between(0, 3) : 0;
  // Writers put the left end of the baseline at 10 for an aligned text too.
  const double width = alignment ? 0.7 * height * static_cast<double>(text.size()) / 2 : 0.0;
  const double turn = rotation * kPi / 180;
  file_.point(10, {at.x - width * std::cos(turn), at.y - width * std::sin(turn), at.z});
  file_.real(40, height);
  file_.text(1, text);
  if (rotation != 0) file_.real(50, rotation);
  if (random_.percent(5)) file_.real(41, random_.between(0.6, 1.2));
  if (random_.percent(2)) file_.real(51, 15.0);
  if (random_.percent(30)) file_.text(7, kStyles[1 + random_.below(2)]);
  if (random_.percent(1)) file_.integer(71, random_.percent(50) ? 2 : 4);
  if (alignment) {
    file_.integer(72, alignment);
    file_.point(11, at);
  }
  file_.extrusion(ocs);
  file_.subclass("AcDbText");
  if (vertical) file_.integer(73, vertical);
}

// A note with the formatting codes of the MTEXT editor: paragraphs, fonts,
// heights, colours, stacked fractions, underlining, special characters.
std::string ModernEntities::mtextString(bool lengthy) {
  std::string text;
  if (random_.percent(30)) text = "\\fArial|b0|i0|c0|p34;";
  const int paragraphs = lengthy ? random_.between(3, 8) : random_.between(1, 3);
  for (int paragraph = 0; paragraph < paragraphs; ++paragraph) {
    if (paragraph) text += "\\P";
    const int words = lengthy ? random_.between(8, 40) : random_.between(2, 8);
    for (int i = 0; i < words; ++i) {
      if (i) text += random_.percent(2) ? "\\~" : " ";
      const std::string word = random_.percent(5) ? kCodePageWords[random_.below(std::size(kCodePageWords))]
                                                  : kTextWords[random_.below(std::size(kTextWords))];
      switch (random_.below(40)) {
        case 0: text += "{\\H0.7x;" + word + "}"; break;
        case 1: text += "\\S1/2;"; break;
        case 2: text += "\\S+0.05^ -0.02;"; break;
        case 3: text += "\\L" + word + "\\l"; break;
        case 4: text += "{\\C1;" + word + "}"; break;
        case 5: text += "%%c" + std::to_string(random_.between(15, 300)); break;
        case 6: text += std::to_string(random_.between(2, 90)) + "%%d"; break;
        case 7: text += std::to_string(random_.between(5, 80)) + " m\\U+00B2"; break;
        case 8: text += "{\\fTimes New Roman|b1|i0|c0|p18;" + word + "}"; break;
        case 9: text += "\\{" + word + "\\}"; break;
        default: text += word;
      }
    }
  }
  return text;
}

void ModernEntities::mtext() {
  file_.begin("MTEXT");
  file_.subclass("AcDbMText");
  file_.point(10, nearPoint());
  file_.real(40, kTextHeights[random_.below(std::size(kTextHeights))]);
  file_.real(41, random_.percent(30) ? 0.0 : size(0.05, 0.5));
  file_.integer(71, random_.between(1, 9));
  file_.integer(72, random_.percent(80) ? 1 : 5);
  const std::string content = mtextString(random_.percent(15));
  tally_.lengthyTexts += content.size() > kMtextPiece;
  size_t start = 0;
  for (; content.size() - start > kMtextPiece; start += kMtextPiece) file_.text(3, content.substr(start, kMtextPiece));
  file_.text(1, content.substr(start));
  file_.text(7, kStyles[random_.below(std::size(kStyles))]);
  const uint32_t direction = random_.below(100);
  if (direction < 25) {
    const double angle = random_.between(0.0, kTurn);
    file_.exact(11, std::cos(angle));
    file_.exact(21, std::sin(angle));
    file_.exact(31, 0.0);
  } else if (direction < 35) {
    file_.real(50, random_.between(0.0, 360.0));
  }
  if (random_.percent(50)) {
    file_.integer(73, 1);
    file_.real(44, random_.percent(70) ? 1.0 : random_.between(0.8, 2.0));
  }
  file_.end();
}

// --- Polylines.

// A closed outline around the origin: a rectangle, a rounded rectangle, a
// slot, a circle of two half-circle bulges or a polygon; each holds every
// point between the origin and itself. A ROOMY one (no slot, no polygon of
// fewer than 5 corners) keeps more than 0.14 x SIZE clear around the origin.
std::vector<ModernEntities::Vertex2> ModernEntities::closedShape(double size, bool roomy) {
  const double w = size * random_.between(0.5, 1.0), h = size * random_.between(0.3, 1.0);
  std::vector<Vertex2> shape;
  uint32_t pick = random_.below(10);
  if (roomy && pick == 6) pick = 0;
  switch (pick) {
    case 0:
    case 1:
    case 2:
    case 3: shape = {{-w / 2, -h / 2, 0}, {w / 2, -h / 2, 0}, {w / 2, h / 2, 0}, {-w / 2, h / 2, 0}}; break;
    case 4:
    case 5: {
      const double r = std::min(w, h) * random_.between(0.05, 0.4);
      shape = {{-w / 2 + r, -h / 2, 0}, {w / 2 - r, -h / 2, kQuarterBulge},
               {w / 2, -h / 2 + r, 0},  {w / 2, h / 2 - r, kQuarterBulge},
               {w / 2 - r, h / 2, 0},   {-w / 2 + r, h / 2, kQuarterBulge},
               {-w / 2, h / 2 - r, 0},  {-w / 2, -h / 2 + r, kQuarterBulge}};
      break;
    }
    case 6: shape = {{-w / 2, -h / 4, 0}, {w / 2, -h / 4, 1}, {w / 2, h / 4, 0}, {-w / 2, h / 4, 1}}; break;
    case 7: shape = {{w / 2, 0, 1}, {-w / 2, 0, 1}}; break;
    default: {
      const int corners = random_.between(roomy ? 5 : 3, 12);
      for (int i = 0; i < corners; ++i) {
        const double angle = kTurn * i / corners, r = w / 2 * random_.between(0.85, 1.0);
        shape.push_back({r * std::cos(angle), r * std::sin(angle), 0});
      }
    }
  }
  const double turn = random_.percent(50) ? 0.0 : random_.between(0.0, kTurn);
  const double c = std::cos(turn), s = std::sin(turn);
  for (Vertex2& v : shape) v = {v.x * c - v.y * s, v.x * s + v.y * c, v.bulge};
  return shape;
}

// A run of COUNT vertices from the origin, turning now and then and back
// at the edges of BOUNDS; with BULGES, about half the segments are arcs.
std::vector<ModernEntities::Vertex2> ModernEntities::walk(int count, double step, bool bulges, const Box& bounds) {
  std::vector<Vertex2> vertices;
  double x = 0, y = 0, heading = random_.between(0.0, kTurn);
  for (int i = 0; i < count; ++i) {
    vertices.push_back({x, y, bulges && random_.percent(50) ? random_.between(-1.0, 1.0) : 0.0});
    heading += random_.between(-0.6, 0.6);
    const double nextX = x + step * std::cos(heading), nextY = y + step * std::sin(heading);
    if (nextX < bounds.minX || nextX > bounds.maxX) heading = kPi - heading;
    if (nextY < bounds.minY || nextY > bounds.maxY) heading = -heading;
    x = bounds.clampX(nextX);
    y = bounds.clampY(nextY);
  }
  return vertices;
}

Box ModernEntities::aroundStart() const { return {-spread_, -spread_, spread_, spread_}; }

// The vertices of an LWPOLYLINE or of a hatch's polyline path, shifted to
// (x, y); a 42 group for each vertex whose bulge is not 0.
void ModernEntities::writeVertices(const std::vector<Vertex2>& vertices, double x, double y, bool withBulges) {
  for (const Vertex2& v : vertices) {
    file_.point2(10, x + v.x, y + v.y);
    if (withBulges && v.bulge != 0) file_.real(42, v.bulge);
  }
}

void ModernEntities::lwpolyline() {
  const Ocs ocs = file_.chooseOcs();
  const Vec3 at = ocs.fromWorld(nearPoint());
  const bool shape = random_.percent(45);
  const uint32_t roll = random_.below(100);
  const int count = roll < 75   ? random_.between(2, 10)
                    : roll < 97 ? random_.between(11, 100)
                                : random_.between(101, 1000);
  const std::vector<Vertex2> vertices =
      shape ? closedShape(size(0.02, 0.6), false) : walk(count, size(0.01, 0.3), random_.percent(45), aroundStart());
  const bool closed = shape || random_.percent(30);
  const bool widths = random_.percent(3);
  file_.begin("LWPOLYLINE");
  file_.subclass("AcDbPolyline");
  file_.longInteger(90, static_cast<long long>(vertices.size()));
  file_.integer(70, (closed ? 1 : 0) | (random_.percent(10) ? 128 : 0));
  if (!widths) file_.real(43, random_.percent(98) ? 0.0 : size(0.001, 0.01));
  if (at.z != 0) file_.real(38, at.z);
  if (random_.percent(1)) file_.real(39, random_.between(100.0, 3000.0));
  tally_.lwVertices += vertices.size();
  for (const Vertex2& v : vertices) {
    file_.point2(10, at.x + v.x, at.y + v.y);
    tally_.bulges += v.bulge != 0;
    if (widths) {
      file_.real(40, size(0.0, 0.01));
      file_.real(41, size(0.0, 0.01));
    }
    if (v.bulge != 0) file_.real(42, v.bulge);
  }
  file_.extrusion(ocs);
  file_.end();
}

void ModernEntities::contour() {
  const double x = nearX(), y = nearY();
  const Box& site = file_.box();
  const std::vector<Vertex2> vertices = walk(random_.between(3001, 9000), random_.between(100.0, 600.0), false,
                                             {site.minX - x, site.minY - y, site.maxX - x, site.maxY - y});
  file_.begin("LWPOLYLINE");
  file_.subclass("AcDbPolyline");
  file_.longInteger(90, static_cast<long long>(vertices.size()));
  file_.integer(70, random_.percent(50) ? 1 : 0);
  file_.real(43, 0.0);
  file_.real(38, std::round(random_.between(0.0, 400.0)));
  for (const Vertex2& v : vertices) file_.point2(10, x + v.x, y + v.y);
  file_.end();
}

void ModernEntities::heavyPolyline() {
  const bool threeD = random_.percent(60);
  const Ocs ocs = threeD ? Ocs() : file_.chooseOcs();
  const Vec3 at = ocs.fromWorld(nearPoint());
  const std::vector<Vertex2> vertices = walk(random_.between(2, 60), size(0.01, 0.3), !threeD, aroundStart());
  const uint64_t polyline = file_.begin("POLYLINE");
  file_.subclass(threeD ? "AcDb3dPolyline" : "AcDb2dPolyline");
  file_.integer(66, 1);
  file_.point(10, {0, 0, threeD ? 0.0 : at.z});
  file_.integer(70, (random_.percent(30) ? 1 : 0) | (threeD ? 8 : 0));
  if (!threeD) file_.extrusion(ocs);
  file_.end();
  double level = random_.between(0.0, 400.0);
  for (const Vertex2& v : vertices) {
    file_.beginPart("VERTEX", polyline);
    file_.subclass("AcDbVertex");
    file_.subclass(threeD ? "AcDb3dPolylineVertex" : "AcDb2dVertex");
    level += threeD ? random_.between(-2.0, 2.0) : 0.0;
    file_.point(10, {at.x + v.x, at.y + v.y, threeD ? level : at.z});
    if (v.bulge != 0) file_.real(42, v.bulge);
    file_.integer(70, threeD ? 32 : 0);
  }
  file_.beginPart("SEQEND", polyline);
}

void ModernEntities::border() {
  const Box& site = file_.box();
  file_.begin("LWPOLYLINE");
  file_.subclass("AcDbPolyline");
  file_.longInteger(90, 4);
  file_.integer(70, 1);
  file_.real(43, 0.0);
  writeVertices(
      {{site.minX, site.minY, 0}, {site.maxX, site.minY, 0}, {site.maxX, site.maxY, 0}, {site.minX, site.maxY, 0}}, 0,
      0, false);
  file_.end();
}

// --- Curves.

void ModernEntities::ellipse() {
  const Ocs ocs = file_.chooseOcs();
  const double length = size(0.005, 0.3), angle = random_.between(0.0, kTurn);
  file_.begin("ELLIPSE");
  file_.subclass("AcDbEllipse");
  file_.point(10, nearPoint());
  file_.point(11, length * std::cos(angle) * ocs.xAxis + length * std::sin(angle) * ocs.yAxis);
  file_.normal(ocs);
  file_.exact(40, random_.percent(5) ? 1.0 : random_.between(0.15, 0.99));
  const bool whole = random_.percent(50);
  const double start = whole ? 0.0 : random_.between(0.0, kTurn);
  file_.exact(41, start);
  file_.exact(42, whole ? kTurn : std::fmod(start + random_.between(0.3, kTurn - 0.3), kTurn));
  file_.end();
}

// Degree 3, clamped knots. Most are defined by control points (some of
// them rational); some also by the fit points they pass through, and a
// few, as some programs write them, by their fit points alone.
void ModernEntities::spline() {
  const uint32_t kind = random_.below(100);
  const bool rational = kind < 15, fitted = kind >= 75, fitOnly = kind >= 95;
  const Vec3 start = nearPoint();
  std::vector<Vec3> fit, control;
  std::vector<double> knots;
  const double step = size(0.01, 0.2);
  double heading = random_.between(0.0, kTurn);
  auto walkFrom = [&](std::vector<Vec3>& points, int count) {
    Vec3 p = start;
    for (int i = 0; i < count; ++i) {
      points.push_back(p);
      heading += random_.between(-0.9, 0.9);
      p = p + Vec3{step * std::cos(heading), step * std::sin(heading), 0};
    }
  };
  auto distance = [](const Vec3& a, const Vec3& b) { return std::hypot(b.x - a.x, b.y - a.y); };
  if (fitted) {
    // Through the fit points: one cubic Bezier piece between neighbours,
    // its end tangents those of a Catmull-Rom curve over chord lengths.
    walkFrom(fit, random_.between(4, 12));
    const size_t n = fit.size();
    std::vector<double> t(n, 0.0);
    for (size_t i = 1; i < n; ++i) t[i] = t[i - 1] + distance(fit[i - 1], fit[i]);
    auto tangent = [&](size_t i) {
      const size_t a = i ? i - 1 : 0, b = i + 1 < n ? i + 1 : n - 1;
      return (1.0 / (t[b] - t[a])) * (fit[b] + (-1.0) * fit[a]);
    };
    knots.assign(4, 0.0);
    for (size_t i = 0; i + 1 < n; ++i) {
      const double h = (t[i + 1] - t[i]) / 3;
      control.push_back(fit[i]);
      control.push_back(fit[i] + h * tangent(i));
      control.push_back(fit[i + 1] + (-h) * tangent(i + 1));
      knots.insert(knots.end(), i + 2 < n ? 3 : 4, t[i + 1]);
    }
    control.push_back(fit[n - 1]);
  } else {
    walkFrom(control, random_.between(4, 16));
    const size_t n = control.size();
    knots.assign(4, 0.0);
    double length = 0;
    for (size_t i = 1; i < n; ++i) length += distance(control[i - 1], control[i]);
    for (size_t j = 1; j + 3 < n; ++j) knots.push_back(length * static_cast<double>(j) / static_cast<double>(n - 3));
    knots.insert(knots.end(), 4, length);
  }
  if (fitOnly) {
    control.clear();
    knots.clear();
  }

  tally_.rationalSplines += rational;
  tally_.fitSplines += fitted;
  file_.begin("SPLINE");
  file_.subclass("AcDbSpline");
  file_.normal(Ocs());
  file_.integer(70, 8 | (rational ? 4 : 0));
  file_.integer(71, 3);
  file_.integer(72, static_cast<int>(knots.size()));
  file_.integer(73, static_cast<int>(control.size()));
  file_.integer(74, static_cast<int>(fit.size()));
  file_.text(42, "0.0000000001");
  file_.text(43, "0.0000000001");
  if (fitted) {
    file_.text(44, "0.0000000001");
    if (random_.percent(50)) {
      const Vec3 first = (1.0 / distance(fit[0], fit[1])) * (fit[1] + (-1.0) * fit[0]);
      const size_t last = fit.size() - 1;
      const Vec3 end = (1.0 / distance(fit[last - 1], fit[last])) * (fit[last] + (-1.0) * fit[last - 1]);
      file_.exact(12, first.x);
      file_.exact(22, first.y);
      file_.exact(32, 0.0);
      file_.exact(13, end.x);
      file_.exact(23, end.y);
      file_.exact(33, 0.0);
    }
  }
  for (double knot : knots) file_.exact(40, knot);
  for (const Vec3& p : control) {
    file_.exactPoint(10, p);
    if (rational) file_.exact(41, random_.between(0.5, 2.0));
  }
  for (const Vec3& p : fit) file_.exactPoint(11, p);
  file_.end();
}

// --- Hatches.

// One boundary path of a small hatch around the origin: mostly a polyline
// path (some with bulges), otherwise an edge path of lines and arcs. Every
// outline holds every point between the origin and itself. A hole reaches
// no farther than 0.113 x SIZE from the origin; a ROOMY outline keeps more
// than 0.14 x SIZE clear.
ModernEntities::Path ModernEntities::hatchPath(double size, bool hole, bool roomy) {
  Path path;
  if (hole) size *= 0.15;
  if (random_.percent(70)) {
    path.vertices = hole && random_.percent(50) ? std::vector<Vertex2>{{size / 2, 0, 1}, {-size / 2, 0, 1}}
                                                : closedShape(size, roomy);
    return path;
  }
  const double w = size * random_.between(0.6, 1.0), h = size * random_.between(0.6, 1.0);
  const double r = std::min(w, h) * random_.between(0.1, 0.4), d = h / 2;
  auto line = [](double x1, double y1, double x2, double y2) {
    return Edge{false, x1, y1, x2, y2, 0, 0, 0, 0, 0, true};
  };
  auto arc = [](double cx, double cy, double radius, double from, double to) {
    return Edge{true, 0, 0, 0, 0, cx, cy, radius, from, to, true};
  };
  switch (random_.below(4)) {
    case 0:
      path.edges = {line(-w / 2, -h / 2, w / 2, -h / 2), line(w / 2, -h / 2, w / 2, h / 2),
                    line(w / 2, h / 2, -w / 2, h / 2), line(-w / 2, h / 2, -w / 2, -h / 2)};
      break;
    case 1:
      path.edges = {line(-w / 2 + r, -h / 2, w / 2 - r, -h / 2), arc(w / 2 - r, -h / 2 + r, r, 270, 360),
                    line(w / 2, -h / 2 + r, w / 2, h / 2 - r),   arc(w / 2 - r, h / 2 - r, r, 0, 90),
                    line(w / 2 - r, h / 2, -w / 2 + r, h / 2),   arc(-w / 2 + r, h / 2 - r, r, 90, 180),
                    line(-w / 2, h / 2 - r, -w / 2, -h / 2 + r), arc(-w / 2 + r, -h / 2 + r, r, 180, 270)};
      break;
    case 2:  // a half disc: its straight side, then the arc through 0 degrees
      path.edges = {line(-d / 2, d, -d / 2, -d), arc(-d / 2, 0, d, 270, 90)};
      break;
    default: path.edges = {arc(0, 0, w / 2, 0, 360)};
  }
  // Some programs run the path clockwise: the same outline backwards.
  if (random_.percent(20)) {
    std::reverse(path.edges.begin(), path.edges.end());
    for (Edge& edge : path.edges) {
      std::swap(edge.x1, edge.x2);
      std::swap(edge.y1, edge.y2);
      std::swap(edge.from, edge.to);
      edge.counterClockwise = !edge.counterClockwise;
    }
  }
  return path;
}

// A point inside an outline around the origin and clear of any hole:
// nine tenths of the way to its farthest corner (each outline's farthest
// corner is at least 0.21 x size away).
ModernEntities::Vertex2 ModernEntities::seedPoint(const Path& outline) {
  Vertex2 far{0, 0, 0};
  auto consider = [&](double x, double y) {
    if (x * x + y * y > far.x * far.x + far.y * far.y) far = {x, y, 0};
  };
  for (const Vertex2& v : outline.vertices) consider(v.x, v.y);
  for (const Edge& edge : outline.edges) {
    if (edge.arc) {
      const double from = edge.from * kPi / 180;
      consider(edge.cx + edge.radius * std::cos(from), edge.cy + edge.radius * std::sin(from));
    } else {
      consider(edge.x1, edge.y1);
    }
  }
  return {0.9 * far.x, 0.9 * far.y, 0};
}

// A clockwise arc is written with 73 0 and its angles as 360 minus the
// angle.
void ModernEntities::writeEdges(const std::vector<Edge>& edges, double x, double y) {
  file_.longInteger(93, static_cast<long long>(edges.size()));
  for (const Edge& edge : edges) {
    file_.integer(72, edge.arc ? 2 : 1);
    if (!edge.arc) {
      file_.point2(10, x + edge.x1, y + edge.y1);
      file_.point2(11, x + edge.x2, y + edge.y2);
      continue;
    }
    file_.point2(10, x + edge.cx, y + edge.cy);
    file_.real(40, edge.radius);
    file_.real(50, edge.counterClockwise ? edge.from : 360 - edge.from);
    file_.real(51, edge.counterClockwise ? edge.to : 360 - edge.to);
    file_.integer(73, edge.counterClockwise ? 1 : 0);
  }
}

void ModernEntities::writePath(const Path& path, int flags, double x, double y) {
  const bool polyline = !path.vertices.empty();
  file_.longInteger(92, flags | (polyline ? 2 : 0));
  if (polyline) {
    const bool bulges =
        std::any_of(path.vertices.begin(), path.vertices.end(), [](const Vertex2& v) { return v.bulge != 0; });
    file_.integer(72, bulges ? 1 : 0);
    file_.integer(73, 1);
    file_.longInteger(93, static_cast<long long>(path.vertices.size()));
    for (const Vertex2& v : path.vertices) {
      file_.point2(10, x + v.x, y + v.y);
      if (bulges) file_.real(42, v.bulge);
    }
  } else {
    ++tally_.edgePaths;
    writeEdges(path.edges, x, y);
  }
  file_.longInteger(97, 0);
}

// A small solid HATCH, as a CAD program writes one: its boundary paths in
// its object coordinate system, the hatch style, and one seed point.
void ModernEntities::hatch() {
  const Ocs ocs = file_.chooseOcs();
  const Vec3 at = ocs.fromWorld(nearPoint());
  const double size = random_.between(80.0, 1500.0);
  const bool holed = random_.percent(25);
  tally_.holedHatches += holed;
  const Path outline = hatchPath(size, false, holed);
  file_.begin("HATCH");
  file_.subclass("AcDbHatch");
  file_.point(10, {0, 0, at.z});
  file_.normal(ocs);
  file_.text(2, "SOLID");
  file_.integer(70, 1);
  file_.integer(71, 0);
  file_.longInteger(91, holed ? 2 : 1);
  const int derived = random_.percent(70) ? 4 : 0;
  writePath(outline, 1 | derived, at.x, at.y);
  if (holed) writePath(hatchPath(size, true, false), 16 | derived, at.x, at.y);
  file_.integer(75, holed ? 0 : 1);
  file_.integer(76, 1);
  if (random_.percent(50)) file_.real(47, random_.between(0.5, 5.0));
  file_.longInteger(98, 1);
  const Vertex2 seed = seedPoint(outline);
  file_.point2(10, at.x + seed.x, at.y + seed.y);
  file_.end();
}

// --- Blocks.

void ModernEntities::attributeDefinition(const AttributeTemplate& attribute) {
  file_.begin("ATTDEF");
  file_.subclass("AcDbText");
  file_.exactPoint(10, {attribute.x, attribute.y, 0});
  file_.real(40, attribute.height);
  file_.text(1, attribute.value);
  if (attribute.rotation != 0) file_.real(50, attribute.rotation);
  file_.subclass("AcDbAttributeDefinition");
  file_.text(3, attribute.prompt);
  file_.text(2, attribute.tag);
  file_.integer(70, attribute.flags);
  file_.end();
}

// An ATTRIB stands where its ATTDEF lands through the INSERT, in the
// INSERT's object coordinate system.
void ModernEntities::writeAttribute(uint64_t insert, const AttributeTemplate& attribute, const Vec3& base,
                                    const Placement& placement) {
  const double turn = placement.rotation * kPi / 180;
  const double x = (attribute.x - base.x) * placement.scaleX, y = (attribute.y - base.y) * placement.scaleY;
  file_.beginPart("ATTRIB", insert);
  file_.subclass("AcDbText");
  file_.exactPoint(10, {placement.at.x + x * std::cos(turn) - y * std::sin(turn),
                        placement.at.y + x * std::sin(turn) + y * std::cos(turn), placement.at.z});
  file_.real(40, attribute.height * std::fabs(placement.scaleY));
  file_.text(1, attribute.value);
  if (placement.rotation + attribute.rotation != 0) file_.exact(50, placement.rotation + attribute.rotation);
  file_.extrusion(placement.ocs);
  file_.subclass("AcDbAttribute");
  file_.text(2, attribute.tag);
  file_.integer(70, attribute.flags);
}

void ModernEntities::insert(const BlockEntry& block, const Placement& placement,
                            const std::vector<AttributeTemplate>& attributes) {
  const bool array = placement.columns > 1 || placement.rows > 1;
  const uint64_t handle = file_.begin("INSERT");
  // An INSERT with rows and columns is written as its own subclass.
  file_.subclass(array ? "AcDbMInsertBlock" : "AcDbBlockReference");
  if (!attributes.empty()) file_.integer(66, 1);
  file_.text(2, block.name);
  file_.exactPoint(10, placement.at);
  if (placement.scaleX != 1 || placement.scaleY != 1 || placement.scaleZ != 1) {
    file_.exact(41, placement.scaleX);
    file_.exact(42, placement.scaleY);
    file_.exact(43, placement.scaleZ);
  }
  if (placement.rotation != 0) file_.exact(50, placement.rotation);
  if (array) {
    file_.integer(70, placement.columns);
    file_.integer(71, placement.rows);
    file_.real(44, placement.columnSpacing);
    file_.real(45, placement.rowSpacing);
  }
  file_.extrusion(placement.ocs);
  file_.end();
  if (attributes.empty()) return;
  for (const AttributeTemplate& attribute : attributes) writeAttribute(handle, attribute, block.base, placement);
  file_.beginPart("SEQEND", handle);
}

}  // namespace drawport_bench
