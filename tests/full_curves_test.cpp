// The full reading's curves: ELLIPSE points at known parameters, SPLINE
// curves against points worked out by hand, splines that cannot be
// evaluated, LEADER and MULTILEADER lines.
#include <gmock/gmock.h>

#include <cmath>

#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct XY {
  double x, y;
};

class FullCurvesTest : public EntityTest {
 protected:
  void SetUp() override { start(); }

  // The points of the frame's only object, a polyline, in world
  // coordinates (the host keeps them relative to the anchor).
  std::vector<XY> onlyPolyline() {
    const orvhost::Frame& frame = host().frame();
    std::vector<XY> points;
    if (frame.objects().size() != 1) {
      ADD_FAILURE() << "one polyline expected, drawn:\n" << drawn();
      return points;
    }
    const orvhost::FrameObject& object = frame.objects()[0];
    const orvhost::Point3 anchor = object.anchor.value_or(orvhost::Point3{});
    for (uint32_t i = 0; i < object.pointCount; ++i) {
      const orvhost::Point3& p = frame.point(object, i);
      points.push_back({p.x + anchor.x, p.y + anchor.y});
    }
    return points;
  }
};

::testing::AssertionResult near(const XY& actual, const XY& expected, double tolerance) {
  if (std::hypot(actual.x - expected.x, actual.y - expected.y) <= tolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ") is not (" << expected.x << ", "
                                       << expected.y << ")";
}

class FullCurves : public FullCurvesTest, public ::testing::WithParamInterface<DrawingCase> {};

TEST_P(FullCurves, AreDrawnAsACadProgramShowsThem) {
  const DrawingCase& c = GetParam();
  EXPECT_EQ(imported(c), c.expected);
}

bool passesThrough(const std::vector<XY>& points, const XY& expected) {
  for (const XY& p : points)
    if (std::hypot(p.x - expected.x, p.y - expected.y) < 1e-9) return true;
  return false;
}

// Something of another kind, so that an import whose switches leave out
// the curve still finds something to draw.
const std::string kLine = entity("LINE", {{10, 0}, {20, 9}, {11, 1}, {21, 9}});
const char* const kLineDrawn = "line2 (0,9)-(1,9) c0\n";
const std::string kCircle = entity("CIRCLE", {{10, 0}, {20, 9}, {40, 1}});
const char* const kCircleDrawn = "circle (0,9) r1 c0\n";

// --- ELLIPSE

std::string ellipse(XY centre, XY major, double ratio, double start, double end, double normalZ = 1) {
  return entity("ELLIPSE", {{10, centre.x},
                            {20, centre.y},
                            {30, 0},
                            {11, major.x},
                            {21, major.y},
                            {31, 0},
                            {210, 0},
                            {220, 0},
                            {230, normalZ},
                            {40, ratio},
                            {41, start},
                            {42, end}});
}

// A point of the polyline, by its index, where the ellipse's formula puts
// it: centre + cos t major + sin t minor, t stepped by at most 4 degrees.
struct KnownPoint {
  size_t index;
  XY at;
};
struct EllipseCase {
  const char* what;
  std::string entities;
  const char* flags;
  size_t count;  // a closed polyline repeats its first point
  std::vector<KnownPoint> known;
};
void PrintTo(const EllipseCase& c, std::ostream* os) { *os << c.what; }

class Ellipses : public FullCurvesTest, public ::testing::WithParamInterface<EllipseCase> {};

TEST_P(Ellipses, PassThroughTheirPointsAtParametersSteppedByTheArcRule) {
  const EllipseCase& c = GetParam();
  importText(dxfFile(entitiesSection(c.entities)), c.flags);
  const std::vector<XY> points = onlyPolyline();
  ASSERT_EQ(points.size(), c.count) << drawn();
  for (const KnownPoint& k : c.known) EXPECT_TRUE(near(points[k.index], k.at, 1e-9)) << "point " << k.index;
}

const double kSin60 = std::sqrt(3.0) / 2;

INSTANTIATE_TEST_SUITE_P(FullReading, Ellipses,
                         ::testing::Values(
                             // 90 steps of 4 degrees; the whole ellipse closes.
                             EllipseCase{"whole, under the Circles switch",
                                         ellipse({0, 0}, {3, 0}, 0.5, 0, 2 * kPi),
                                         "-VC -X",
                                         91,
                                         {{0, {3, 0}}, {30, {-1.5, 1.5 * kSin60}}, {45, {-3, 0}}, {90, {3, 0}}}},
                             // 120 degrees: 30 steps.
                             EllipseCase{"partial, under the Arcs switch",
                                         ellipse({10, 0}, {2, 0}, 0.5, 0, 2 * kPi / 3),
                                         "-VA -X",
                                         31,
                                         {{0, {12, 0}}, {15, {11, kSin60}}, {30, {9, kSin60}}}},
                             // Normal (0, 0, -1): the minor axis is N x major = (0, -1).
                             EllipseCase{"in the mirrored plane, running clockwise",
                                         ellipse({10, 0}, {2, 0}, 0.5, 0, 2 * kPi / 3, -1),
                                         "-VA -X",
                                         31,
                                         {{0, {12, 0}}, {15, {11, -kSin60}}, {30, {9, -kSin60}}}},
                             EllipseCase{"an end parameter below the start runs on through 0",
                                         ellipse({0, 0}, {0, 2}, 0.25, 5 * kPi / 3, kPi / 3),
                                         "-VA -X",
                                         31,
                                         {{0, {0.5 * kSin60, 1}}, {15, {0, 2}}, {30, {-0.5 * kSin60, 1}}}},
                             // 10 degrees: 3 steps, not 2.
                             EllipseCase{"a step never above 4 degrees",
                                         ellipse({0, 0}, {1, 0}, 0.5, 0, kPi / 18),
                                         "-VA -X",
                                         4,
                                         {{1, {std::cos(kPi / 54), 0.5 * std::sin(kPi / 54)}},
                                          {3, {std::cos(kPi / 18), 0.5 * std::sin(kPi / 18)}}}}));

// Values out of the usual range. A ratio above 1: the minor axis (0, 4) is
// the longer, the same points. A negative ratio: its absolute value, the
// minor axis on the same side. 2^1000 whole turns: the direction of 0.
const double kHuge = std::ldexp(2 * kPi, 1000);
INSTANTIATE_TEST_SUITE_P(
    OutOfRange, Ellipses,
    ::testing::Values(
        EllipseCase{"ratio above 1", ellipse({0, 0}, {2, 0}, 2, 0, kPi / 2), "-VA -X", 24, {{0, {2, 0}}, {23, {0, 4}}}},
        EllipseCase{
            "negative ratio", ellipse({0, 0}, {2, 0}, -0.5, 0, kPi / 2), "-VA -X", 24, {{0, {2, 0}}, {23, {0, 1}}}},
        EllipseCase{"negative ratio below -1",
                    ellipse({0, 0}, {2, 0}, -2, 0, kPi / 2),
                    "-VA -X",
                    24,
                    {{0, {2, 0}}, {23, {0, 4}}}},
        EllipseCase{"a huge start brought within one turn",
                    ellipse({0, 0}, {2, 0}, 0.5, kHuge, kPi / 2),
                    "-VA -X",
                    24,
                    {{0, {2, 0}}, {23, {0, 1}}}},
        EllipseCase{"huge start and end in one direction",
                    ellipse({0, 0}, {2, 0}, 0.5, -kHuge, kHuge),
                    "-VC -X",
                    91,
                    {{0, {2, 0}}, {45, {-2, 0}}, {90, {2, 0}}}}));

INSTANTIATE_TEST_SUITE_P(
    Ellipses, FullCurves,
    ::testing::Values(DrawingCase{"a whole ellipse is not an arc", ellipse({0, 0}, {3, 0}, 0.5, 0, 2 * kPi) + kLine,
                                  "-VA -VL -X", kLineDrawn},
                      DrawingCase{"a partial ellipse is not a circle", ellipse({0, 0}, {3, 0}, 0.5, 0, 1) + kLine,
                                  "-VC -VL -X", kLineDrawn},
                      DrawingCase{"ratio 1 in a level plane: a host circle", ellipse({1, 2}, {0, 2}, 1, 0, 2 * kPi),
                                  "-X", "circle (1,2) r2 c0\n"},
                      DrawingCase{"ratio 1, partial: a host arc from the major axis' angle",
                                  ellipse({0, 0}, {0, 2}, 1, 0, kPi / 2), "-X", "arc (0,0) r2 90..180 c0\n"},
                      DrawingCase{"ratio 1 in the mirrored plane: the arc runs clockwise",
                                  ellipse({0, 0}, {0, 2}, 1, 0, kPi / 2, -1), "-X", "arc (0,0) r2 0..90 c0\n"},
                      DrawingCase{"a major axis of length 0: nothing", ellipse({0, 0}, {0, 0}, 0.5, 0, 1) + kLine, "-X",
                                  kLineDrawn}));

// --- SPLINE

struct SplineGroups {
  SplineGroups(int degree, std::vector<XY> control, std::vector<double> knots, std::vector<double> weights = {},
               int flags = 8, std::vector<XY> fit = {})
      : degree(degree),
        control(std::move(control)),
        knots(std::move(knots)),
        weights(std::move(weights)),
        flags(flags),
        fit(std::move(fit)) {}
  int degree;
  std::vector<XY> control;
  std::vector<double> knots;
  std::vector<double> weights;
  int flags;
  std::vector<XY> fit;
};

std::string spline(const SplineGroups& s) {
  std::vector<Group> groups{{70, s.flags},
                            {71, s.degree},
                            {72, static_cast<int>(s.knots.size())},
                            {73, static_cast<int>(s.control.size())},
                            {74, static_cast<int>(s.fit.size())}};
  for (double knot : s.knots) groups.emplace_back(40, knot);
  // A weight beyond the range of numbers is written as a file would.
  for (double weight : s.weights) groups.push_back(std::isfinite(weight) ? Group(41, weight) : Group(41, "1e999"));
  for (const XY& p : s.control) {
    groups.emplace_back(10, p.x);
    groups.emplace_back(20, p.y);
    groups.emplace_back(30, 0.0);
  }
  for (const XY& p : s.fit) {
    groups.emplace_back(11, p.x);
    groups.emplace_back(21, p.y);
    groups.emplace_back(31, 0.0);
  }
  std::string text = entity("SPLINE");
  for (const Group& g : groups) text += g.code + "\n" + g.value + "\n";
  return text;
}

const std::vector<XY> kArch{{0, 0}, {0, 2}, {2, 2}, {4, 2}, {4, 0}};
const std::vector<double> kTwoSpans{0, 0, 0, 0, 1, 2, 2, 2, 2};

// A spline, and points it must pass through.
struct SplineCase {
  const char* what;
  SplineGroups groups;
  std::vector<XY> through;
  size_t fewestPoints;
  bool closed = false;
};
void PrintTo(const SplineCase& c, std::ostream* os) { *os << c.what; }

class Splines : public FullCurvesTest, public ::testing::WithParamInterface<SplineCase> {};

TEST_P(Splines, PassThroughThePointsOfTheirCurve) {
  const SplineCase& c = GetParam();
  importText(dxfFile(entitiesSection(spline(c.groups))), "-X");
  const std::vector<XY> points = onlyPolyline();
  ASSERT_GE(points.size(), c.fewestPoints) << drawn();
  for (const XY& p : c.through) EXPECT_TRUE(passesThrough(points, p)) << "(" << p.x << ", " << p.y << ")\n" << drawn();
  EXPECT_EQ(points.front().x == points.back().x && points.front().y == points.back().y, c.closed);
}

// The points on the curves come from the basis functions, worked out by
// hand: (N0..N4)(0.5) = (1/8, 19/32, 1/4, 1/32, 0) over the knots 0 0 0 0
// 1 2 2 2 2; a uniform periodic cubic passes through (P0 + 4 P1 + P2) / 6
// at each knot.
INSTANTIATE_TEST_SUITE_P(
    FullReading, Splines,
    ::testing::Values(SplineCase{"a clamped cubic of two spans: 8 steps a span at least, both ends exact",
                                 {3, kArch, kTwoSpans},
                                 {{0, 0}, {0.625, 1.75}, {2, 2}, {3.375, 1.75}, {4, 0}},
                                 17},
                      SplineCase{"a cubic Bezier piece",
                                 {3, {{0, 0}, {1, 2}, {3, 2}, {4, 0}}, {0, 0, 0, 0, 1, 1, 1, 1}},
                                 {{0, 0}, {0.90625, 1.125}, {2, 1.5}, {4, 0}},
                                 9},
                      SplineCase{"knots that start above 0 and are not normalized",
                                 {3, kArch, {10, 10, 10, 10, 15, 20, 20, 20, 20}},
                                 {{0.625, 1.75}, {2, 2}},
                                 17},
                      SplineCase{"weights of 1 change nothing",
                                 {3, kArch, kTwoSpans, {1, 1, 1, 1, 1}, 12},
                                 {{0.625, 1.75}, {2, 2}, {3.375, 1.75}},
                                 17},
                      SplineCase{"periodic, written with its first three control points again and their knots",
                                 {3,
                                  {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}},
                                  {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10},
                                  {},
                                  3},
                                 {{-2. / 3, 2. / 3}, {-2. / 3, -2. / 3}, {2. / 3, -2. / 3}, {2. / 3, 2. / 3}},
                                 33,
                                 true},
                      SplineCase{"periodic, written with its control points once and one period of knots",
                                 {3, {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}}, {0, 1, 2, 3, 4}, {}, 3},
                                 {{-2. / 3, 2. / 3}, {-2. / 3, -2. / 3}, {2. / 3, -2. / 3}, {2. / 3, 2. / 3}},
                                 33,
                                 true},
                      SplineCase{"fit points alone: the curve through them",
                                 {3, {}, {}, {}, 8, {{0, 0}, {1, 1}, {3, 0}, {4, 2}, {5, 2}}},
                                 {{0, 0}, {1, 1}, {3, 0}, {4, 2}, {5, 2}},
                                 33},
                      SplineCase{"two fit points: the line between them",
                                 {3, {}, {}, {}, 8, {{0, 0}, {3, 4}}},
                                 {{0, 0}, {3, 4}},
                                 2}));

// A quarter circle as a rational quadratic: every point on the circle,
// every chord within 0.1 % of the box diagonal (sqrt 2) of the arc.
TEST_F(FullCurvesTest, RationalQuarterCircleIsExact) {
  const double w = std::sqrt(0.5);
  importText(dxfFile(entitiesSection(spline({2, {{1, 0}, {1, 1}, {0, 1}}, {0, 0, 0, 1, 1, 1}, {1, w, 1}, 12}))), "-X");
  const std::vector<XY> points = onlyPolyline();
  ASSERT_GE(points.size(), 9u);
  EXPECT_EQ(points.front().x, 1);
  EXPECT_EQ(points.front().y, 0);
  EXPECT_EQ(points.back().x, 0);
  EXPECT_EQ(points.back().y, 1);
  for (size_t i = 0; i < points.size(); ++i) {
    EXPECT_NEAR(std::hypot(points[i].x, points[i].y), 1, 1e-12) << "point " << i;
    if (i == 0) continue;
    const double chord = std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
    const double sagitta = 1 - std::sqrt(1 - chord * chord / 4);
    EXPECT_LE(sagitta, 0.001 * std::sqrt(2.0)) << "chord " << i;
  }
}

// Splines that cannot be evaluated draw their control polygon (or nothing).
const char* const kArchPolygon = "poly2 @(0,0,0) (0,0) (0,2) (2,2) (4,2) (4,0) c0\n";
INSTANTIATE_TEST_SUITE_P(
    Splines, FullCurves,
    ::testing::Values(
        DrawingCase{"too few knots", spline({3, kArch, {0, 0, 0, 0, 1, 1, 1, 1}}), "-X", kArchPolygon},
        DrawingCase{"decreasing knots", spline({3, kArch, {0, 0, 0, 0, 1, 0.5, 2, 2, 2}}), "-X", kArchPolygon},
        DrawingCase{"all knots equal", spline({3, kArch, {1, 1, 1, 1, 1, 1, 1, 1, 1}}), "-X", kArchPolygon},
        DrawingCase{"degree 0", spline({0, kArch, {0, 0, 1, 1, 1}}), "-X", kArchPolygon},
        DrawingCase{"degree above what the control points allow", spline({5, kArch, {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}}),
                    "-X", kArchPolygon},
        DrawingCase{"a weight beyond the range of numbers", spline({3, kArch, kTwoSpans, {1, 1, HUGE_VAL, 1, 1}, 12}),
                    "-X", kArchPolygon},
        DrawingCase{"weights that sum to 0", spline({3, kArch, kTwoSpans, {0, 0, 0, 0, 0}, 12}), "-X", kArchPolygon},
        DrawingCase{"fewer weights than control points", spline({3, kArch, kTwoSpans, {1, 2}, 12}), "-X", kArchPolygon},
        DrawingCase{"a closed one closes its polygon", spline({3, kArch, {0, 1}, {}, 1}), "-X",
                    "poly2 @(0,0,0) (0,0) (0,2) (2,2) (4,2) (4,0) (0,0) c0\n"},
        DrawingCase{"one control point: nothing", spline({1, {{1, 1}}, {0, 0, 1}}), "-X", ""},
        DrawingCase{"under the Lines switch", spline({3, kArch, kTwoSpans}) + kCircle, "-VC -X", kCircleDrawn}));

// --- LEADER and MULTILEADER

std::string multiLeader(std::initializer_list<Group> afterContext) {
  std::string text = entity("MULTILEADER", {{300, "CONTEXT_DATA{"},
                                            {40, 1},
                                            {10, 9},
                                            {20, 9},
                                            {30, 0},
                                            {41, 2},
                                            {290, 1},
                                            {304, "NOTE\\PSECOND"},
                                            {11, 0},
                                            {21, 0},
                                            {31, 1},
                                            {12, 10},
                                            {22, 5},
                                            {32, 0},
                                            {13, 1},
                                            {23, 0},
                                            {33, 0},
                                            {42, 0},
                                            {45, 1},
                                            {171, 1},
                                            {296, 0},
                                            {302, "LEADER{"},
                                            {290, 1},
                                            {291, 1},
                                            {10, 8},
                                            {20, 4},
                                            {30, 0},
                                            {11, 1},
                                            {21, 0},
                                            {31, 0},
                                            {90, 0},
                                            {40, 2},
                                            {304, "LEADER_LINE{"},
                                            {10, 0},
                                            {20, 0},
                                            {30, 0},
                                            {10, 4},
                                            {20, 0},
                                            {30, 0},
                                            {91, 0},
                                            {305, "}"},
                                            {304, "LEADER_LINE{"},
                                            {10, 0},
                                            {20, 8},
                                            {30, 0},
                                            {305, "}"},
                                            {303, "}"},
                                            {301, "}"}});
  for (const Group& g : afterContext) text += g.code + "\n" + g.value + "\n";
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Leaders, FullCurves,
    ::testing::Values(
        DrawingCase{
            "a LEADER through its vertices, whatever its count says",
            entity("LEADER",
                   {{76, 9}, {10, 0}, {20, 0}, {30, 0}, {10, 2}, {20, 1}, {30, 0}, {10, 5}, {20, 1}, {30, 0}, {72, 1}}),
            "-X", "poly2 @(0,0,0) (0,0) (2,1) (5,1) c0\n"},
        DrawingCase{"a MULTILEADER: each line to the last point, the dogleg, the note from its top left",
                    multiLeader({{170, 1}, {291, 1}}), "-X",
                    "poly2 @(0,0,0) (0,0) (4,0) (8,4) c0\npoly2 @(0,8,0) (0,0) (8,-4) c0\nline2 (8,4)-(10,4) c0\n"
                    "text (10,3) h2 a0 \"NOTE\" c0\ntext (10,-0.333333333) h2 a0 \"SECOND\" c0\n"},
        DrawingCase{"invisible leader lines, no dogleg", multiLeader({{170, 0}, {291, 0}}), "-X",
                    "text (10,3) h2 a0 \"NOTE\" c0\ntext (10,-0.333333333) h2 a0 \"SECOND\" c0\n"},
        DrawingCase{"lines under the Lines switch, the note under Text", multiLeader({{170, 1}}), "-VT -X",
                    "text (10,3) h2 a0 \"NOTE\" c0\ntext (10,-0.333333333) h2 a0 \"SECOND\" c0\n"}));

// A block note is drawn like an INSERT of the block its record's handle
// names.
TEST_F(FullCurvesTest, MultiLeaderBlockNoteDrawsItsBlock) {
  const std::string blocks = "  0\nSECTION\n  2\nBLOCKS\n" +
                             entity("BLOCK", {{5, "2A"}, {330, "1F"}, {2, "TAG"}, {70, 0}, {10, 0}, {20, 0}, {30, 0}}) +
                             entity("CIRCLE", {{10, 0}, {20, 0}, {40, 1}}) + entity("ENDBLK") + "  0\nENDSEC\n";
  const std::string note = entity("MULTILEADER", {{300, "CONTEXT_DATA{"},
                                                  {290, 0},
                                                  {296, 1},
                                                  {341, "1f"},
                                                  {14, 0},
                                                  {24, 0},
                                                  {34, 1},
                                                  {15, 5},
                                                  {25, 6},
                                                  {35, 0},
                                                  {16, 2},
                                                  {26, 2},
                                                  {36, 2},
                                                  {46, 0},
                                                  {301, "}"},
                                                  {170, 1}});
  EXPECT_EQ(imported(dxfFile(blocks + entitiesSection(note)), "-X"), "circle (5,6) r2 c0\n");
}

}  // namespace
}  // namespace drawport::testing
