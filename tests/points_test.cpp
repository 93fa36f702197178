// POINT entities: gathered while the file is read and drawn at the end of
// the pass as circles of one radius, a ten-thousandth of the extents'
// diagonal.
#include <gmock/gmock.h>

#include <cmath>

#include "host/journal.h"
#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

using orvhost::formatNumber;

class PointsTest : public EntityTest {
 protected:
  void SetUp() override { start(); }
};

std::string point(double x, double y, std::initializer_list<Group> extra = {}) {
  return entity("POINT", {{10, x}, {20, y}}) + groups(extra);
}

std::string points(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += point(i % 100, i / 100);
  return text;
}

// The circles' radius follows the extents, fixed by the header or grown by
// the entities read, and is the same for every point of the pass.
struct RadiusCase {
  const char* what;
  std::string sections;
  double width, height;
  const char* circles;  // "x y" of each circle, in file order
};
void PrintTo(const RadiusCase& c, std::ostream* os) { *os << c.what; }

class PointRadius : public PointsTest, public ::testing::WithParamInterface<RadiusCase> {};

TEST_P(PointRadius, IsATenThousandthOfTheExtentsDiagonal) {
  const RadiusCase& c = GetParam();
  const orvhost::MacroOutcome outcome = importText(dxfFile(c.sections));
  EXPECT_EQ(outcome.result, true);
  std::string expected;
  int id = 1;
  for (const char* p = c.circles; *p;) {
    double x, y;
    int used = 0;
    ASSERT_EQ(std::sscanf(p, "%lf %lf%n", &x, &y, &used), 2);
    p += used;
    expected += "OrvUtilGeomCircleCreate(0, " + formatNumber(x) + ", " + formatNumber(y) + ", " +
                formatNumber(pointRadius(c.width, c.height)) + ") -> " + std::to_string(id++) + "\n";
  }
  EXPECT_EQ(journal({"OrvUtilGeomCircleCreate"}), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Points, PointRadius,
    ::testing::Values(
        RadiusCase{"extents from the header",
                   headerSection(headerPoint("$EXTMIN", 0, 0) + headerPoint("$EXTMAX", 300, 400)) +
                       entitiesSection(point(1, 1) + point(500, -20)),
                   300, 400, "1 1 500 -20"},
        RadiusCase{"extents grown from the origin", entitiesSection(point(1, 1) + point(4, 5)), 4, 5, "1 1 4 5"},
        RadiusCase{"extents grown by the points after the first too",
                   entitiesSection(point(-2, 3) + point(4, -5) + point(1, 1)), 6, 8, "-2 3 4 -5 1 1"},
        RadiusCase{"z is never read", entitiesSection(point(3, 4, {{30, 100}})), 3, 4, "3 4"},
        RadiusCase{"codes written with leading zeros", entitiesSection(entity("POINT", {{"010", "3"}, {"020", "4"}})),
                   3, 4, "3 4"},
        RadiusCase{"a point without position lies at the origin",
                   entitiesSection(entity("POINT", {{8, "0"}}) + point(3, 4)), 3, 4, "0 0 3 4"}));

// Without a positive width and height no point is drawn, and nothing is
// said; the points still count as found.
struct DegenerateCase {
  const char* what;
  std::string sections;
};
void PrintTo(const DegenerateCase& c, std::ostream* os) { *os << c.what; }

class DegenerateExtents : public PointsTest, public ::testing::WithParamInterface<DegenerateCase> {};

TEST_P(DegenerateExtents, DrawNoPoints) {
  EXPECT_EQ(imported(dxfFile(GetParam().sections)), "");
}

INSTANTIATE_TEST_SUITE_P(
    Points, DegenerateExtents,
    ::testing::Values(DegenerateCase{"one point at the origin", entitiesSection(point(0, 0))},
                      DegenerateCase{"points on a horizontal line through the origin",
                                     entitiesSection(point(-3, 0) + point(5, 0))},
                      DegenerateCase{"points on a vertical line through the origin",
                                     entitiesSection(point(0, 2) + point(0, 7))},
                      DegenerateCase{"degenerate extents fixed by the header",
                                     headerSection(headerPoint("$EXTMIN", 0, 0) + headerPoint("$EXTMAX", 10, 0)) +
                                         entitiesSection(point(3, 4))}));

struct PointColourCase {
  const char* what;
  std::string entities;
  const char* flags;
  const char* expected;
};
void PrintTo(const PointColourCase& c, std::ostream* os) { *os << c.what; }

class PointColours : public PointsTest, public ::testing::WithParamInterface<PointColourCase> {};

TEST_P(PointColours, FollowTheCommonRules) {
  const PointColourCase& c = GetParam();
  const std::string tables = layerTables(layer("OFF", -4) + layer("BLUE", 5));
  EXPECT_EQ(imported(dxfFile(tables + entitiesSection(c.entities)), c.flags), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Points, PointColours,
    ::testing::Values(PointColourCase{"group 62", point(3, 4, {{62, 5}}), "", "circle (3,4) r5e-04 c3\n"},
                      PointColourCase{"the layer's colour", point(3, 4, {{8, "blue"}}), "", "circle (3,4) r5e-04 c3\n"},
                      PointColourCase{"an invisible layer, hidden", point(3, 4, {{8, "OFF"}}), "-VP",
                                      "circle (3,4) r5e-04 c7\n"},
                      PointColourCase{"an invisible layer, shown", point(3, 4, {{8, "OFF"}}), "",
                                      "circle (3,4) r5e-04 c0\n"},
                      PointColourCase{"zone 1", point(3, 4), "-Z1", "circle (3,4) r5e-04 c0 z1\n"},
                      PointColourCase{"a 3D import", point(3, 4, {{30, 9}}), "-P2", "circle (3,4) r5e-04 c0\n"}));

// The circles are drawn after the whole pass, each created, coloured and
// attached in turn.
TEST_F(PointsTest, AreDrawnAtTheEndOfThePass) {
  importText(dxfFile(entitiesSection(point(3, 4, {{62, 1}}) + entity("LINE", {{10, 0}, {20, 0}, {11, 1}, {21, 1}}))),
             "-Z2");
  EXPECT_EQ(journal({"OrvUtilGeom", "OrvUtilDrawGraphics"}),
            "OrvUtilDrawGraphics(false)\n"
            "OrvUtilGeom2DLineSegmentCreate(0, 0, 0, 1, 1) -> 1\n"
            "OrvUtilGeomSetZoneOrMap(1, 2)\n"
            "OrvUtilGeomSetAttached(1, true)\n"
            "OrvUtilGeomSetColor(1, 0)\n"
            "OrvUtilGeomCircleCreate(0, 3, 4, " +
                formatNumber(pointRadius(3, 4)) +
                ") -> 2\n"
                "OrvUtilGeomSetColor(2, 1)\n"
                "OrvUtilGeomSetZoneOrMap(2, 2)\n"
                "OrvUtilGeomSetAttached(2, true)\n"
                "OrvUtilDrawGraphics(true)\n");
}

// Under a rotation the stored points turn, while the extents grow with the
// points as read: (-3, 0)-(3, 4), where the turned points would give
// (0, 0)-(4.95, 4.95).
TEST_F(PointsTest, RotatedPointsGrowTheExtentsUnrotated) {
  importText(dxfFile(ucsHeader(1, 1) + entitiesSection(point(3, 4) + point(-3, 4))));
  EXPECT_EQ(drawn(),
            "circle (4.949747468,0.707106781) r0.00072111 c0\n"
            "circle (0.707106781,4.949747468) r0.00072111 c0\n");
  for (const orvhost::FrameObject& circle : host().frame().objects()) EXPECT_EQ(circle.radius, pointRadius(6, 4));
}

TEST_F(PointsTest, TenThousandAndOnePointsAreAllDrawn) {
  importText(dxfFile(entitiesSection(points(10001))));
  const auto& objects = host().frame().objects();
  ASSERT_EQ(objects.size(), 10001u);
  for (size_t i = 0; i < objects.size(); ++i) {
    ASSERT_EQ(objects[i].kind, orvhost::ObjectKind::Circle);
    ASSERT_EQ(objects[i].centerX, double(i % 100));
    ASSERT_EQ(objects[i].centerY, double(i / 100));
    ASSERT_EQ(objects[i].radius, pointRadius(99, 100));
  }
}

// The list grows by 10000 entries when full; the test-only add-on's heap
// makes that growth fail. The run allocates five blocks first (layers,
// points, x, y and z vertices), so the first growth is the sixth
// allocation.
struct GrowthCase {
  int points;
  int failingAllocation;
  bool outOfMemory;
};
void PrintTo(const GrowthCase& c, std::ostream* os) {
  *os << c.points << " points, allocation " << c.failingAllocation << " fails";
}

class PointListGrowth : public EntityTest, public ::testing::WithParamInterface<GrowthCase> {};

TEST_P(PointListGrowth, GrowsByTenThousandEntries) {
  const GrowthCase& c = GetParam();
  config.macroRecording = true;
  start(true);
  failAllocation(c.failingAllocation);
  const orvhost::MacroOutcome outcome =
      importText(dxfFile(entitiesSection(entity("LINE", {{10, 0}, {20, 0}, {11, 1}, {21, 1}}) + points(c.points))));
  EXPECT_EQ(outcome.result, !c.outOfMemory);
  EXPECT_EQ(messages(), c.outOfMemory ? "error: DXF Loader: Out of memory\n" : "");
  EXPECT_EQ(host().frame().objects().size(), c.outOfMemory ? 1u : 1u + c.points);
}

INSTANTIATE_TEST_SUITE_P(Points, PointListGrowth,
                         ::testing::Values(GrowthCase{10000, 6, false}, GrowthCase{10001, 6, true},
                                           GrowthCase{30000, 8, false}, GrowthCase{30001, 8, true}));

// A failed growth ends the run at once: no points pass, no second pass; the
// objects created before stay; the import fails without being recorded or
// fitted.
class PointHeapTest : public EntityTest {};

TEST_F(PointHeapTest, FailedGrowthOfThePointListEndsTheRun) {
  config.macroRecording = true;
  start(true);
  failAllocation(6);
  const orvhost::MacroOutcome outcome = importText(dxfFile(entitiesSection(
      entity("LINE", {{10, 0}, {20, 0}, {11, 1}, {21, 1}}) + points(10001) +
      entity("LINE", {{10, 0}, {20, 0}, {11, 2}, {21, 2}}))));
  EXPECT_EQ(outcome.result, false);
  EXPECT_EQ(outcome.errorText, "Error reading file");
  EXPECT_EQ(messages(), "error: DXF Loader: Out of memory\n");
  EXPECT_EQ(drawn(), "line2 (0,0)-(1,1) c0\n");
  EXPECT_EQ(journal({"OrvUtilDialogLaunchPercentDone", "OrvUtilDrawGraphics", "OrvUtilDialogDropPercentDone"}),
            "OrvUtilDialogLaunchPercentDone(\"Reading DXF file...\", true) -> true\n"
            "OrvUtilDrawGraphics(false)\n"
            "OrvUtilDrawGraphics(true)\n"
            "OrvUtilDialogDropPercentDone()\n");
  EXPECT_TRUE(host().macros().empty());
  EXPECT_EQ(host().viewFits(), 0);
}

// Points gathered in the first pass are drawn by its points pass; a file
// whose points stand only in blocks draws them after the second pass.
TEST_F(PointsTest, PointsOfBlocksAreDrawnAfterTheSecondPass) {
  const std::string blocks =
      "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  2\nB\n" + point(3, 4) + "  0\nENDBLK\n  0\nENDSEC\n";
  EXPECT_EQ(imported(dxfFile(blocks)), "circle (3,4) r5e-04 c0\n");
  EXPECT_EQ(countLines(journal(), "OrvUtilDialogLaunchPercentDone"), 2);
}

}  // namespace
}  // namespace drawport::testing
