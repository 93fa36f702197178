// HATCH in the full reading: boundary paths of every kind become closed
// rings; a solid hatch is one filled outline per area with its holes bridged
// in, a pattern hatch its pattern's lines clipped to the area; an edge path
// may hold several loops; malformed boundaries are passed over.
#include <gmock/gmock.h>

#include <cmath>
#include <vector>

#include "support/addon_fixture.h"
#include "support/entity_dxf.h"
#include "support/frame_text.h"

namespace drawport::testing {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;

struct Corner {
  double x, y, bulge;
};

// A polyline boundary path through `corners`.
std::string polylinePath(const std::vector<Corner>& corners, int flags = 1) {
  std::string path = groups({{92, flags | 2}, {72, 1}, {73, 1}, {93, static_cast<int>(corners.size())}});
  for (const Corner& c : corners) path += groups({{10, c.x}, {20, c.y}, {42, c.bulge}});
  return path + groups({{97, 0}});
}

// The square from (x0, y0) to (x1, y1), counter-clockwise.
std::string square(double x0, double y0, double x1, double y1) {
  return polylinePath({{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}});
}

std::string edgePath(int edgeCount, const std::string& edges) {
  return groups({{92, 1}, {93, edgeCount}}) + edges + groups({{97, 0}});
}
std::string lineEdge(double x1, double y1, double x2, double y2) {
  return groups({{72, 1}, {10, x1}, {20, y1}, {11, x2}, {21, y2}});
}

// A hatch of `paths` (91 = `pathCount`), its own groups first.
std::string hatch(std::initializer_list<Group> head, int pathCount, const std::string& paths, const std::string& tail) {
  return entity("HATCH", {{10, 0}, {20, 0}, {30, 0}}) + groups(head) + groups({{91, pathCount}}) + paths + tail;
}
std::string solid(int pathCount, const std::string& paths, int style = 0) {
  return hatch({{2, "SOLID"}, {70, 1}, {71, 0}}, pathCount, paths, groups({{75, style}, {76, 1}, {98, 0}}));
}
// A pattern hatch of one pattern line.
std::string patterned(int pathCount, const std::string& paths, std::initializer_list<Group> line, int style = 0) {
  return hatch({{2, "USER"}, {70, 0}, {71, 0}}, pathCount, paths,
               groups({{75, style}, {76, 0}, {52, 0}, {41, 1}, {77, 0}, {78, 1}}) + groups(line) + groups({{98, 0}}));
}

// Three nested squares: 0..12, 2..10, 4..8.
const std::string kIslands = square(0, 0, 12, 12) + square(2, 2, 10, 10) + square(4, 4, 8, 8);
// A pattern line across them at y = 6 alone.
const std::initializer_list<Group> kLevelLine = {{53, 0}, {43, 0}, {44, 6}, {45, 0}, {46, 100}, {79, 0}};
const char* kUnitSquareFilled = "poly2 @(0,0,0) (0,0) (1,0) (1,1) (0,1) (0,0) c0 fill0 filled\n";

class FullHatchTest : public EntityTest {
 protected:
  void SetUp() override { start(); }
  // Every point of every object (no polyline abridged), rounded.
  std::string drawnInFull(const DrawingCase& c) {
    imported(c);
    return roundNumbers(renderObjects(orvhost::Host::get().frame()));
  }
};

class Hatches : public FullHatchTest, public ::testing::WithParamInterface<DrawingCase> {};

TEST_P(Hatches, AreDrawnAsTheirAreas) {
  const DrawingCase& c = GetParam();
  EXPECT_EQ(drawnInFull(c), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, Hatches,
    ::testing::Values(
        DrawingCase{"line edges",
                    solid(1, edgePath(3, lineEdge(0, 0, 4, 0) + lineEdge(4, 0, 0, 3) + lineEdge(0, 3, 0, 0))), "-X",
                    "poly2 @(0,0,0) (0,0) (4,0) (0,3) (0,0) c0 fill0 filled\n"},
        DrawingCase{"a counter-clockwise arc: 8 degrees in two chords",
                    solid(1, edgePath(2, lineEdge(0, 0, 1, 0) +
                                             groups({{72, 2}, {10, 0}, {20, 0}, {40, 1}, {50, 0}, {51, 8}, {73, 1}}))),
                    "-X",
                    "poly2 @(0,0,0) (0,0) (1,0) (0.99756405,0.069756474) (0.990268069,0.139173101) (0,0) c0 fill0 "
                    "filled\n"},
        DrawingCase{"a clockwise arc stores 360 minus its angles: from 0 down to -8 degrees",
                    solid(1, edgePath(2, groups({{72, 2}, {10, -1}, {20, 0}, {40, 1}, {50, 360}, {51, 8}, {73, 0}}) +
                                             lineEdge(0, -1, 1, 1))),
                    "-X",
                    "poly2 @(0,0,0) (0,0) (-0.00243595,-0.069756474) (-0.009731931,-0.139173101) (0,-1) (1,1) (0,0) "
                    "c0 fill0 filled\n"},
        DrawingCase{
            "a clockwise elliptic arc: parameters from 8 down to 0 degrees",
            solid(1,
                  edgePath(
                      2,
                      groups({{72, 3}, {10, 0}, {20, 0}, {11, 2}, {21, 0}, {40, 0.5}, {50, 352}, {51, 360}, {73, 0}}) +
                          lineEdge(1, -1, 0, 0))),
            "-X",
            "poly2 @(1.980536137,0.139173101,0) (0,0) (0.014591963,-0.069416627) (0.019463863,-0.139173101) "
            "(-0.980536137,-1.139173101) (-1.980536137,-0.139173101) (0,0) c0 fill0 filled\n"},
        DrawingCase{"a bulged polyline path: 8 degrees to the right of (1,0)-(1,1)",
                    solid(1, polylinePath({{0, 0, 0}, {1, 0, std::tan(2 * M_PI / 180)}, {1, 1, 0}, {0, 1, 0}})), "-X",
                    "poly2 @(0,0,0) (0,0) (1,0) (1.017460385,0.5) (1,1) (0,1) (0,0) c0 fill0 filled\n"},
        DrawingCase{"a mirroring extrusion turns x round",
                    hatch({{210, 0}, {220, 0}, {230, -1}, {70, 1}}, 1, square(0, 0, 1, 1), ""), "-X",
                    "poly2 @(0,0,0) (0,0) (-1,0) (-1,1) (0,1) (0,0) c0 fill0 filled\n"},
        DrawingCase{"a hatch is a solid: the kind switch", solid(1, square(0, 0, 1, 1)) + entity("LINE", {{11, 1}}),
                    "-VL -X", "line2 (0,0)-(1,0) c0\n"}));

INSTANTIATE_TEST_SUITE_P(
    Islands, Hatches,
    ::testing::Values(
        DrawingCase{"keyhole: out along the bridge, round the hole the other way, back",
                    solid(2, square(0, 0, 10, 10) + square(3, 3, 7, 7)), "-X",
                    "poly2 @(0,0,0) (0,0) (10,0) (10,3) (7,3) (3,3) (3,7) (7,7) (7,3) (10,3) (10,10) (0,10) (0,0) c0 "
                    "fill0 filled\n"},
        DrawingCase{"a hole written clockwise is run as written",
                    solid(2, square(0, 0, 10, 10) + polylinePath({{3, 3, 0}, {3, 7, 0}, {7, 7, 0}, {7, 3, 0}}, 16)),
                    "-X",
                    "poly2 @(0,0,0) (0,0) (10,0) (10,7) (7,7) (7,3) (3,3) (3,7) (7,7) (10,7) (10,10) (0,10) (0,0) c0 "
                    "fill0 filled\n"},
        DrawingCase{"odd parity: the innermost island is filled again", solid(3, kIslands, 0), "-X",
                    "poly2 @(0,0,0) (0,0) (12,0) (12,2) (10,2) (2,2) (2,10) (10,10) (10,2) (12,2) (12,12) (0,12) "
                    "(0,0) c0 fill0 filled\npoly2 @(4,4,0) (0,0) (4,0) (4,4) (0,4) (0,0) c0 fill0 filled\n"},
        DrawingCase{"outermost: the first island alone is a hole", solid(3, kIslands, 1), "-X",
                    "poly2 @(0,0,0) (0,0) (12,0) (12,2) (10,2) (2,2) (2,10) (10,10) (10,2) (12,2) (12,12) (0,12) "
                    "(0,0) c0 fill0 filled\n"},
        DrawingCase{"ignore: the outer boundary alone", solid(3, kIslands, 2), "-X",
                    "poly2 @(0,0,0) (0,0) (12,0) (12,12) (0,12) (0,0) c0 fill0 filled\n"},
        DrawingCase{"a pattern line through islands, odd parity", patterned(3, kIslands, kLevelLine, 0), "-X",
                    "line2 (0,6)-(2,6) c0\nline2 (4,6)-(8,6) c0\nline2 (10,6)-(12,6) c0\n"},
        DrawingCase{"a pattern line through islands, outermost", patterned(3, kIslands, kLevelLine, 1), "-X",
                    "line2 (0,6)-(2,6) c0\nline2 (10,6)-(12,6) c0\n"},
        DrawingCase{"a pattern line through islands, ignored", patterned(3, kIslands, kLevelLine, 2), "-X",
                    "line2 (0,6)-(12,6) c0\n"}));

// The lines of the square from (x0, y0) to (x1, y1), counter-clockwise.
std::string squareEdges(double x0, double y0, double x1, double y1) {
  return lineEdge(x0, y0, x1, y0) + lineEdge(x1, y0, x1, y1) + lineEdge(x1, y1, x0, y1) + lineEdge(x0, y1, x0, y0);
}

INSTANTIATE_TEST_SUITE_P(
    Loops, Hatches,
    ::testing::Values(
        DrawingCase{"two loops of one edge path: the inner one a hole",
                    solid(1, edgePath(8, squareEdges(0, 0, 10, 10) + squareEdges(3, 3, 7, 7))), "-X",
                    "poly2 @(0,0,0) (0,0) (10,0) (10,3) (7,3) (3,3) (3,7) (7,7) (7,3) (10,3) (10,10) (0,10) (0,0) c0 "
                    "fill0 filled\n"},
        DrawingCase{"two loops side by side, the first written backwards: two areas",
                    solid(1, edgePath(6, lineEdge(1, 0, 0, 0) + lineEdge(1, 0, 0, 1) + lineEdge(0, 1, 0, 0) +
                                             lineEdge(5, 0, 6, 0) + lineEdge(6, 0, 5, 1) + lineEdge(5, 1, 5, 0))),
                    "-X",
                    "poly2 @(0,0,0) (0,0) (1,0) (0,1) (0,0) c0 fill0 filled\npoly2 @(5,0,0) (0,0) (1,0) (0,1) (0,0) c0 "
                    "fill0 filled\n"},
        DrawingCase{"a gap in a loop that has not closed is no second loop",
                    solid(1, edgePath(2, lineEdge(0, 0, 4, 0) + lineEdge(4, 1, 0, 3))), "-X",
                    "poly2 @(0,0,0) (0,0) (4,0) (4,1) (0,3) (0,0) c0 fill0 filled\n"},
        DrawingCase{"a pattern line across two loops of one path",
                    patterned(1, edgePath(8, squareEdges(0, 0, 4, 12) + squareEdges(8, 0, 12, 12)), kLevelLine), "-X",
                    "line2 (0,6)-(4,6) c0\nline2 (8,6)-(12,6) c0\n"}));

INSTANTIATE_TEST_SUITE_P(
    Patterns, Hatches,
    ::testing::Values(
        DrawingCase{"dashes 3 on, 1 off; the second line's dashes start one further along",
                    patterned(1, square(0, 0, 10, 2),
                              {{53, 0}, {43, 0}, {44, 0.5}, {45, 1}, {46, 1}, {79, 2}, {49, 3}, {49, -1}}),
                    "-X",
                    "line2 (0,0.5)-(3,0.5) c0\nline2 (4,0.5)-(7,0.5) "
                    "c0\nline2 (8,0.5)-(10,0.5) c0\nline2 (1,1.5)-(4,1.5) c0\nline2 (5,1.5)-(8,1.5) c0\nline2 "
                    "(9,1.5)-(10,1.5) c0\n"},
        DrawingCase{"lines at 90 degrees, one apart",
                    patterned(1, square(0, 0, 2, 10), {{53, 90}, {43, 0.5}, {44, 0}, {45, -1}, {46, 0}, {79, 0}}), "-X",
                    "line2 (1.5,0)-(1.5,10) c0\nline2 (0.5,0)-(0.5,10) c0\n"},
        DrawingCase{
            "gradient: filled in its first colour's true colour",
            hatch({{62, 1}, {70, 1}}, 1, square(0, 0, 1, 1),
                  groups({{75, 0}, {98, 0}, {450, 1}, {453, 2}, {463, 0}, {421, 0x0000FF}, {463, 1}, {421, 0xFF0000}})),
            "-X", "poly2 @(0,0,0) (0,0) (1,0) (1,1) (0,1) (0,0) c3 fill3 filled\n"},
        DrawingCase{"gradient: filled in its first colour's colour number, even as a pattern",
                    hatch({{62, 1}, {70, 0}}, 1, square(0, 0, 1, 1),
                          groups({{75, 0}, {98, 0}, {450, 1}, {453, 1}, {463, 0}, {63, 3}})),
                    "-X", "poly2 @(0,0,0) (0,0) (1,0) (1,1) (0,1) (0,0) c2 fill2 filled\n"}));

// Each bad boundary comes before a good unit square, which alone is drawn.
INSTANTIATE_TEST_SUITE_P(
    MalformedBoundaries, Hatches,
    ::testing::Values(
        DrawingCase{"a vertex count beyond the vertices",
                    solid(2, groups({{92, 3},
                                     {72, 0},
                                     {73, 1},
                                     {93, 5},
                                     {10, 5},
                                     {20, 5},
                                     {10, 6},
                                     {20, 5},
                                     {10, 6},
                                     {20, 6},
                                     {10, 5},
                                     {20, 6},
                                     {97, 0}}) +
                                 square(0, 0, 1, 1)),
                    "-X", kUnitSquareFilled},
        DrawingCase{"an edge count beyond the edges",
                    solid(2, edgePath(3, lineEdge(5, 5, 6, 5) + lineEdge(6, 5, 6, 6)) + square(0, 0, 1, 1)), "-X",
                    kUnitSquareFilled},
        DrawingCase{
            "no vertex count",
            solid(2, groups({{92, 2}, {10, 5}, {20, 5}, {10, 6}, {20, 5}, {10, 6}, {20, 6}}) + square(0, 0, 1, 1)),
            "-X", kUnitSquareFilled},
        DrawingCase{"two distinct points",
                    solid(2, polylinePath({{5, 5, 0}, {6, 6, 0}, {5, 5, 0}, {6, 6, 0}}) + square(0, 0, 1, 1)), "-X",
                    kUnitSquareFilled},
        DrawingCase{"a coordinate beyond the numbers",
                    solid(2, groups({{92, 2}, {93, 3}, {10, 5}, {20, 5}, {10, "1e999"}, {20, 5}, {10, 6}, {20, 6}}) +
                                 square(0, 0, 1, 1)),
                    "-X", kUnitSquareFilled},
        DrawingCase{
            "an infinite last vertex, close enough to the first to pass for the return to it",
            solid(
                2,
                groups(
                    {{92, 2}, {93, 4}, {10, 5}, {20, 5}, {10, 6}, {20, 5}, {10, 6}, {20, 6}, {10, 5}, {20, "1e999"}}) +
                    square(0, 0, 1, 1)),
            "-X", kUnitSquareFilled},
        DrawingCase{"an arc without its radius",
                    solid(2, edgePath(1, groups({{72, 2}, {10, 5}, {20, 5}, {50, 0}, {51, 360}})) + square(0, 0, 1, 1)),
                    "-X", kUnitSquareFilled},
        DrawingCase{"an edge of no known type",
                    solid(2, edgePath(1, groups({{72, 7}, {10, 5}, {20, 5}})) + square(0, 0, 1, 1)), "-X",
                    kUnitSquareFilled},
        DrawingCase{"a path count beyond the paths", solid(4, square(0, 0, 1, 1)), "-X", kUnitSquareFilled},
        DrawingCase{"no usable boundary: nothing", solid(1, edgePath(2, lineEdge(5, 5, 6, 5))), "-X", ""}));

// Spline edges come from the curves' own points: this one runs along its
// control polygon, a corner at (4,0).
TEST_F(FullHatchTest, ASplineEdgeRunsThroughItsCurvesPoints) {
  const std::string spline = groups({{72, 4},
                                     {94, 1},
                                     {73, 0},
                                     {74, 0},
                                     {95, 5},
                                     {96, 3},
                                     {40, 0},
                                     {40, 0},
                                     {40, 1},
                                     {40, 2},
                                     {40, 2},
                                     {10, 0},
                                     {20, 0},
                                     {10, 4},
                                     {20, 0},
                                     {10, 4},
                                     {20, 4},
                                     {97, 0}});
  const std::string drawn = drawnInFull({"", solid(1, edgePath(1, spline)), "-X", ""});
  EXPECT_THAT(drawn, StartsWith("poly2 @(0,0,0) (0,0) "));
  EXPECT_THAT(drawn, HasSubstr(" (4,0) "));
  EXPECT_THAT(drawn, EndsWith(" (4,4) (0,0) c0 fill0 filled\n"));
}

// How many filled polylines of the frame hold the point (x, y), by odd
// parity.
int fillsAt(const orvhost::Frame& frame, double x, double y) {
  int fills = 0;
  for (const orvhost::FrameObject& object : frame.objects()) {
    const orvhost::Point3 anchor = object.anchor.value_or(orvhost::Point3{});
    bool inside = false;
    for (uint32_t i = 0, j = object.pointCount - 1; i < object.pointCount; j = i++) {
      const orvhost::Point3 &p = frame.point(object, i), &q = frame.point(object, j);
      const double py = anchor.y + p.y, qy = anchor.y + q.y;
      if ((py > y) != (qy > y) && x < anchor.x + p.x + (y - py) * (q.x - p.x) / (qy - py)) inside = !inside;
    }
    fills += object.filled && inside;
  }
  return fills;
}

// A filled area of more points than a host polyline holds is cut into
// upright strips of at most 2997 points, each filled: together they fill
// the square once and leave its hole empty.
TEST_F(FullHatchTest, AnAreaBeyondOnePolylineIsFilledAsStrips) {
  std::vector<Corner> outline;
  for (int side = 0; side < 4; ++side)
    for (int i = 0; i < 1500; ++i) {
      const double along = i / 150.0, corners[4][2] = {{along, 0}, {10, along}, {10 - along, 10}, {0, 10 - along}};
      outline.push_back({corners[side][0], corners[side][1], 0});
    }
  imported(dxfFile(entitiesSection(solid(2, polylinePath(outline) + square(3, 3, 7, 7)))), "-X");
  const orvhost::Frame& frame = orvhost::Host::get().frame();
  for (const orvhost::FrameObject& strip : frame.objects()) EXPECT_LE(strip.pointCount, 2997u);
  EXPECT_EQ(fillsAt(frame, 4.01, 5.51), 0);
  EXPECT_EQ(fillsAt(frame, 6.01, 3.51), 0);
  for (const auto& wall : {std::pair{1.01, 5.51}, {8.51, 1.51}, {5.51, 8.51}, {1.51, 1.01}, {9.51, 9.51}})
    EXPECT_EQ(fillsAt(frame, wall.first, wall.second), 1) << wall.first << "," << wall.second;
}

// 100,000 lines one apart across a rectangle 10 wide are drawn; one more
// line and the hatch is drawn as its boundary alone.
TEST_F(FullHatchTest, APatternOfMoreThan100000SegmentsDrawsTheBoundaryAlone) {
  const std::initializer_list<Group> line = {{53, 0}, {43, 0}, {44, 0.5}, {45, 0}, {46, 1}, {79, 0}};
  const std::string most = imported(dxfFile(entitiesSection(patterned(1, square(0, 0, 10, 100'000), line))), "-X");
  EXPECT_EQ(countLines(most, "line2 (0,"), 100'000);
  EXPECT_THAT(most, HasSubstr("line2 (0,99999.5)-(10,99999.5) c0\n"));
  restart();
  importText(dxfFile(entitiesSection(patterned(1, square(0, 0, 10, 100'001), line))), "-X");
  EXPECT_EQ(drawn(), "poly2 @(0,0,0) (0,0) (10,0) (10,100001) (0,100001) (0,0) c0\n");
  EXPECT_EQ(messages(), "box: DXF Loader\\n1 hatch pattern too dense to draw\n");
}

}  // namespace
}  // namespace drawport::testing
