// The UCS rotation (from the header's UCS and paper-space UCS x axes, with
// its warnings about axes that are not at right angles) and the drawing
// extents that the converters grow.
#include <gmock/gmock.h>

#include <cmath>

#include "host/journal.h"
#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

using orvhost::formatNumber;

class CoordinatesTest : public EntityTest {
 protected:
  void SetUp() override { start(); }
};

const std::string kUnitLine = entity("LINE", {{10, 1}, {20, 0}, {11, 2}, {21, 0}});
const std::string kText45 = entity("TEXT", {{1, "T"}, {10, 1}, {20, 0}, {40, 1}, {50, 45}});

// The UCS and the paper-space UCS share their axes, but the cosine of the
// angle between the x axes (0.5, 0.9) computes as 1.0000000000000002: the
// angle is not a number.
const std::string kSharedAxes = headerSection(headerPoint("$UCSXDIR", 0.5, 0.9) + headerPoint("$UCSYDIR", -0.9, 0.5) +
                                              headerPoint("$PUCSXDIR", 0.5, 0.9) +
                                              headerPoint("$PUCSYDIR", -0.9, 0.5));

struct RotationCase {
  const char* what;
  std::string header;
  const char* flags;
  const char* expected;
};
void PrintTo(const RotationCase& c, std::ostream* os) { *os << c.what; }

class RotatedLines : public CoordinatesTest, public ::testing::WithParamInterface<RotationCase> {};

TEST_P(RotatedLines, TurnClockwiseByTheAngleBetweenTheXAxes) {
  const RotationCase& c = GetParam();
  EXPECT_EQ(imported(dxfFile(c.header + entitiesSection(kUnitLine)), c.flags), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rotation, RotatedLines,
    ::testing::Values(
        RotationCase{"no UCS in the header", "", "", "line2 (1,0)-(2,0) c0\n"},
        RotationCase{"UCS x axis (0, 1)", ucsHeader(0, 1), "", "line2 (0,-1)-(0,-2) c0\n"},
        RotationCase{"UCS x axis (0, -1): the same clockwise turn", ucsHeader(0, -1), "",
                     "line2 (0,-1)-(0,-2) c0\n"},
        RotationCase{"paper-space x axis (0, 1)", headerSection(headerPoint("$PUCSXDIR", 0, 1) + headerPoint("$PUCSYDIR", -1, 0)), "",
                     "line2 (0,-1)-(0,-2) c0\n"},
        RotationCase{"UCS x axis (1, 1): an eighth of a turn", ucsHeader(1, 1), "",
                     "line2 (0.707106781,-0.707106781)-(1.414213562,-1.414213562) c0\n"},
        RotationCase{"UCS x axis (-1, 0): half a turn", ucsHeader(-1, 0), "", "line2 (-1,0)-(-2,0) c0\n"},
        RotationCase{"3D import: not rotated", ucsHeader(0, 1), "-P2", "line3 (1,0,0)-(2,0,0) c0\n"},
        RotationCase{"UCS x axis of length 0: not rotated", ucsHeader(0, 0), "", "line2 (1,0)-(2,0) c0\n"},
        RotationCase{"paper-space x axis of length 0: not rotated", headerSection(headerPoint("$PUCSXDIR", 0, 0)), "",
                     "line2 (1,0)-(2,0) c0\n"},
        RotationCase{"equal x axes whose cosine rounds above 1: not rotated", kSharedAxes, "",
                     "line2 (1,0)-(2,0) c0\n"}));

// The text angle takes the rotation's degrees as each generation computes
// them from the angle; an angle that cannot be computed adds nothing.
struct DegreesCase {
  const char* what;
  double axisX, axisY;
  double angle;  // the rotation in radians: minus the angle between the x axes
  std::string header = "";  // instead of the UCS x axis (axisX, axisY)
};
void PrintTo(const DegreesCase& c, std::ostream* os) { *os << c.what; }

class RotationDegrees : public CoordinatesTest, public ::testing::WithParamInterface<DegreesCase> {};

TEST_P(RotationDegrees, AreAddedToTheTextAngleAsTheGenerationComputesThem) {
  const DegreesCase& c = GetParam();
  const std::string header = c.header.empty() ? ucsHeader(c.axisX, c.axisY) : c.header;
  for (const char* flags : {"", "-P2"}) {
    restart();
    importText(dxfFile(header + entitiesSection(kText45)), flags);
    EXPECT_EQ(journal({"OrvUtilTextSetAngle"}), "OrvUtilTextSetAngle(1, " + formatNumber(45 + degrees(c.angle)) + ")\n")
        << c.what << " " << flags;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rotation, RotationDegrees,
    ::testing::Values(DegreesCase{"quarter turn", 0, 1, -std::acos(0.0)},
                      DegreesCase{"eighth of a turn", 1, 1, -std::acos(1 / (std::sqrt(2.0) * 1))},
                      DegreesCase{"half a turn", -1, 0, -std::acos(-1.0)},
                      DegreesCase{"a slight turn", 1, 0.001, -std::acos(1 / std::sqrt(1 + 0.001 * 0.001))},
                      DegreesCase{"axis of length 0", 0, 0, 0},
                      DegreesCase{"equal x axes whose cosine rounds above 1", 0, 0, 0, kSharedAxes}));

struct AxesCase {
  const char* what;
  std::string header;
  const char* expected;
};
void PrintTo(const AxesCase& c, std::ostream* os) { *os << c.what; }

class AxesChecks : public CoordinatesTest, public ::testing::WithParamInterface<AxesCase> {};

TEST_P(AxesChecks, WarnWhenMoreThanHalfADegreeFromARightAngle) {
  const AxesCase& c = GetParam();
  const orvhost::MacroOutcome outcome = importText(dxfFile(c.header + entitiesSection(kUnitLine)));
  EXPECT_EQ(outcome.result, true);
  EXPECT_EQ(messages(), c.expected);
  // The y axes serve the checks only: nothing is rotated.
  EXPECT_EQ(drawn(), "line2 (1,0)-(2,0) c0\n");
}

const char kUcsWarning[] = "box: UCS axes are not orthogonal. The UCS y axis will be ignored\n";
const char kPaperUcsWarning[] = "box: PUCS axes are not orthongal. The PUCS y axis will be ignored\n";

INSTANTIATE_TEST_SUITE_P(
    Rotation, AxesChecks,
    ::testing::Values(
        AxesCase{"UCS y axis (0.02, 1): 88.85 degrees", headerSection(headerPoint("$UCSYDIR", 0.02, 1)), kUcsWarning},
        AxesCase{"UCS y axis (0.005, 1): within half a degree", headerSection(headerPoint("$UCSYDIR", 0.005, 1)),
                 ""},
        AxesCase{"paper-space y axis along its x axis", headerSection(headerPoint("$PUCSYDIR", 1, 0)),
                 kPaperUcsWarning},
        AxesCase{"both pairs, the UCS first",
                 headerSection(headerPoint("$PUCSYDIR", 1, 0) + headerPoint("$UCSYDIR", -1, 0.5)),
                 "box: UCS axes are not orthogonal. The UCS y axis will be ignored\n"
                 "box: PUCS axes are not orthongal. The PUCS y axis will be ignored\n"},
        AxesCase{"UCS y axis of length 0: no angle, no warning", headerSection(headerPoint("$UCSYDIR", 0, 0)), ""}));

TEST_F(CoordinatesTest, AxesWarningsComeOnceForEachSectionRead) {
  const std::string header = headerSection(headerPoint("$PUCSYDIR", 1, 0));
  importText(dxfFile(header + entitiesSection(kUnitLine) + entitiesSection(kUnitLine)));
  EXPECT_EQ(messages(), std::string(kPaperUcsWarning) + kPaperUcsWarning);
}

// Entities that stand only in BLOCKS: the first pass dispatches nothing, the
// second dispatches the blocks.
TEST_F(CoordinatesTest, AxesWarningComesWithTheBlocksOfTheSecondPass) {
  const std::string blocks = "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  2\nB\n" + kUnitLine + "  0\nENDBLK\n  0\nENDSEC\n";
  const orvhost::MacroOutcome outcome = importText(dxfFile(headerSection(headerPoint("$PUCSYDIR", 1, 0)) + blocks));
  EXPECT_EQ(outcome.result, true);
  EXPECT_EQ(messages(), kPaperUcsWarning);
  EXPECT_EQ(drawn(), "line2 (1,0)-(2,0) c0\n");
}

// An ENTITIES section without a selected kind: read in both passes, and the
// BLOCKS of the second pass as well.
TEST_F(CoordinatesTest, AxesWarningComesForEverySectionOfBothPasses) {
  const std::string blocks = "  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n";
  const orvhost::MacroOutcome outcome =
      importText(dxfFile(headerSection(headerPoint("$PUCSYDIR", 1, 0)) + blocks + entitiesSection(kUnitLine)), "-VC");
  EXPECT_EQ(outcome.result, false);
  EXPECT_EQ(messages(), std::string(kPaperUcsWarning) + kPaperUcsWarning + kPaperUcsWarning +
                            "error: No entities found in this DXF file\n");
}

// The text's insertion point turns with the rotation in 2D imports only; its
// angle turns in 3D imports too.
TEST_F(CoordinatesTest, ThreeDImportTurnsTextAnglesButNoCoordinates) {
  const std::string dxf = dxfFile(ucsHeader(0, 1) + entitiesSection(kText45 + kUnitLine));
  EXPECT_EQ(imported(dxf, "-P2"), "text (1,0) h1 a-45 \"T\" c0\nline3 (1,0,0)-(2,0,0) c0\n");
  restart();
  EXPECT_EQ(imported(dxf), "text (0,-1) h1 a-45 \"T\" c0\nline2 (0,-1)-(0,-2) c0\n");
}

// Each run starts from the default axes: a file without UCS variables,
// imported after a rotated one, is not rotated.
TEST_F(CoordinatesTest, NextImportStartsUnrotated) {
  EXPECT_EQ(imported(dxfFile(ucsHeader(0, 1) + entitiesSection(kUnitLine))), "line2 (0,-1)-(0,-2) c0\n");
  importText(dxfFile(entitiesSection(kText45 + kUnitLine)));
  EXPECT_EQ(journal({"OrvUtilTextSetAngle", "OrvUtilGeom2DLineSegmentCreate"}),
            "OrvUtilGeom2DLineSegmentCreate(0, 6.123233995736766e-17, -1, 1.2246467991473532e-16, -2) -> 1\n"
            "OrvUtilTextSetAngle(2, 45)\n"
            "OrvUtilGeom2DLineSegmentCreate(0, 1, 0, 2, 0) -> 3\n");
}

// Each run starts with extents to be grown: a file without extents in its
// header, imported after one that fixed them, sizes its points from its own
// entities.
TEST_F(CoordinatesTest, NextImportGrowsItsOwnExtents) {
  importText(dxfFile(headerSection(headerPoint("$EXTMIN", 0, 0) + headerPoint("$EXTMAX", 300, 400)) +
                     entitiesSection(entity("POINT", {{10, 1}, {20, 1}}))));
  importText(dxfFile(entitiesSection(entity("POINT", {{10, 3}, {20, 4}}))));
  EXPECT_EQ(journal({"OrvUtilGeomCircleCreate"}),
            "OrvUtilGeomCircleCreate(0, 1, 1, " + formatNumber(pointRadius(300, 400)) + ") -> 1\n" +
                "OrvUtilGeomCircleCreate(0, 3, 4, " + formatNumber(pointRadius(3, 4)) + ") -> 2\n");
}

// The extents are seen through the circles that stand for points: their
// radius is a ten-thousandth of the extents' diagonal.
struct ExtentsCase {
  const char* what;
  std::string sections;
  double width, height;
};
void PrintTo(const ExtentsCase& c, std::ostream* os) { *os << c.what; }

class Extents : public CoordinatesTest, public ::testing::WithParamInterface<ExtentsCase> {};

TEST_P(Extents, SizeThePointCircles) {
  const ExtentsCase& c = GetParam();
  importText(dxfFile(c.sections));
  EXPECT_EQ(journal({"OrvUtilGeomCircleCreate"}),
            "OrvUtilGeomCircleCreate(0, 0, 0, " + formatNumber(pointRadius(c.width, c.height)) + ") -> 2\n");
}

const std::string kPointAtOrigin = entity("POINT", {{10, 0}, {20, 0}});

INSTANTIATE_TEST_SUITE_P(
    Rotation, Extents,
    ::testing::Values(
        ExtentsCase{"grown from the origin by entities far from it",
                    entitiesSection(entity("LINE", {{10, 100}, {20, 100}, {11, 300}, {21, 400}}) + kPointAtOrigin),
                    300, 400},
        ExtentsCase{"fixed by the header, whatever the entities",
                    headerSection(headerPoint("$EXTMIN", -5, -2) + headerPoint("$EXTMAX", 40, 30)) +
                        entitiesSection(entity("LINE", {{10, -100}, {20, 100}, {11, 300}, {21, 400}}) +
                                        kPointAtOrigin),
                    45, 32},
        ExtentsCase{"only the maximum in the header: grown from it",
                    headerSection(headerPoint("$EXTMAX", 10, 10)) +
                        entitiesSection(entity("LINE", {{10, -3}, {20, -4}, {11, 1}, {21, 1}}) + kPointAtOrigin),
                    13, 14},
        ExtentsCase{"grown with coordinates before the rotation",
                    ucsHeader(1, 1) +
                        entitiesSection(entity("LINE", {{10, -3}, {20, 4}, {11, 3}, {21, 4}}) + kPointAtOrigin),
                    6, 4},
        ExtentsCase{"the header's extents in lower case are ignored",
                    headerSection("  9\n$extmax\n 10\n50\n 20\n50\n") +
                        entitiesSection(entity("LINE", {{10, 0}, {20, 0}, {11, 3}, {21, 4}}) + kPointAtOrigin),
                    3, 4}));

}  // namespace
}  // namespace drawport::testing
