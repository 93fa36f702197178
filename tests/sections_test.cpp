// The sections of a DXF file: which are read, and what the HEADER's extents
// and axes do to an import.
#include <gmock/gmock.h>

#include <cmath>

#include "support/addon_fixture.h"

namespace drawport::testing {
namespace {

std::string headerSection(const std::string& variables) {
  return "  0\nSECTION\n  2\nHEADER\n" + variables + "  0\nENDSEC\n";
}

std::string pointVariable(const std::string& name, const std::string& x, const std::string& y) {
  return "  9\n" + name + "\n 10\n" + x + "\n 20\n" + y + "\n 30\n0.0\n";
}

std::string pointEntity(double x, double y) {
  return "  0\nPOINT\n  8\n0\n 10\n" + std::to_string(x) + "\n 20\n" + std::to_string(y) + "\n 30\n0.0\n";
}

class SectionsTest : public AddOnTest {
 protected:
  // The radius of the circles that stand for points, from extents of this
  // width and height, as the build computes it.
  double pointRadius(double width, double height) const {
    return olderGeneration() ? std::sqrt(width * width + height * height) * 0.0001
                             : std::sqrt(width * width + height * height) / 10000.0;
  }
  // The radius of the one circle in the frame.
  double drawnRadius() const {
    const auto& objects = orvhost::Host::get().frame().objects();
    return objects.size() == 1 ? objects[0].radius : -1;
  }
};

TEST_F(SectionsTest, HeaderExtentsFixTheDrawingsSize) {
  start();
  const std::string header =
      headerSection(pointVariable("$EXTMIN", "-5", "-2") + pointVariable("$EXTMAX", "40", "30"));
  ASSERT_EQ(importText(dxfFile(header + entitiesSection(pointEntity(100, 100)))).result, true);
  EXPECT_EQ(drawnRadius(), pointRadius(45, 32));
}

TEST_F(SectionsTest, WithoutBothCornersTheExtentsGrowFromTheHeadersValues) {
  const struct {
    const char* what;
    std::string variables;
    double width, height;
  } cases[] = {
      {"only $EXTMAX", pointVariable("$EXTMAX", "40", "30"), 50, 40},
      {"only $EXTMIN", pointVariable("$EXTMIN", "-20", "-20"), 20, 20},
      {"no header variables", "", 10, 10},
      {"$EXTMIN in small letters", pointVariable("$extmin", "-50", "-50") + pointVariable("$EXTMAX", "40", "30"), 50,
       40},
      // " 010" is no x: the extents run from (0, -50) to (1, 1), fixed.
      {"codes compared as text", "  9\n$EXTMIN\n 010\n-50\n 20\n-50\n" + pointVariable("$EXTMAX", "1", "1"), 1,
       51},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    start();
    ASSERT_EQ(importText(dxfFile(headerSection(c.variables) + entitiesSection(pointEntity(-10, -10)))).result,
              true);
    EXPECT_EQ(drawnRadius(), pointRadius(c.width, c.height));
    TearDown();
  }
}

TEST_F(SectionsTest, AFileWithoutHeaderGrowsItsOwnExtentsAfterOneThatFixedThem) {
  start();
  const std::string fixed =
      headerSection(pointVariable("$EXTMIN", "0", "0") + pointVariable("$EXTMAX", "300", "400"));
  ASSERT_EQ(importText(dxfFile(fixed + entitiesSection(pointEntity(1, 1)))).result, true);
  EXPECT_EQ(drawnRadius(), pointRadius(300, 400));
  host().frame().clear();
  ASSERT_EQ(importText(dxfFile(entitiesSection(pointEntity(1, 1) + pointEntity(4, 5)))).result, true);
  ASSERT_EQ(host().frame().objects().size(), 2u);
  EXPECT_EQ(host().frame().objects()[1].radius, pointRadius(4, 5));
}

TEST_F(SectionsTest, TheAxisVariablesSkipTheirZAndTheHeaderReadsOn) {
  start();
  // A UCS turned by a right angle: a text's angle turns with it, and the
  // extents after it are still read.
  const std::string header = headerSection(pointVariable("$UCSXDIR", "0", "1") + pointVariable("$UCSYDIR", "-1", "0") +
                                           pointVariable("$EXTMIN", "0", "0") + pointVariable("$EXTMAX", "3", "4"));
  const std::string text = "  0\nTEXT\n 10\n1\n 20\n1\n 40\n2\n  1\nA\n 50\n45\n";
  ASSERT_EQ(importText(dxfFile(header + entitiesSection(text + pointEntity(9, 9))), "-P2").result, true);
  const auto& objects = host().frame().objects();
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_NEAR(*objects[0].angle, -45, 1e-12);
  EXPECT_EQ(objects[1].radius, pointRadius(3, 4));
  EXPECT_EQ(messages(), "");
}

TEST_F(SectionsTest, UnknownSectionsArePassedOverToTheirEnd) {
  start();
  const std::string objects = "  0\nSECTION\n  2\nOBJECTS\n" + lineEntity(7, 7, 8, 8) + "  0\nENDSEC\n";
  const std::string classes = "  0\nSECTION\n  2\nCLASSES\n  0\nCLASS\n  1\nENDSEC\n";
  ASSERT_EQ(importText(dxfFile(objects + classes + entitiesSection(lineEntity(0, 0, 1, 1)))).result, true);
  EXPECT_EQ(this->objects(), "line2 (0,0)-(1,1) c0\n");
}

TEST_F(SectionsTest, ASectionNameIsTheLineAfterTheNextGroupTwo) {
  start();
  const std::string section = "  0\nSECTION\n  5\n1F\n  2\nENTITIES\n" + lineEntity(0, 0, 1, 1) + "  0\nENDSEC\n";
  ASSERT_EQ(importText(dxfFile(section)).result, true);
  EXPECT_EQ(objects(), "line2 (0,0)-(1,1) c0\n");
}

TEST_F(SectionsTest, ALaterHeaderOverwritesTheEarlierOne) {
  start();
  const std::string first = headerSection(pointVariable("$EXTMIN", "0", "0") + pointVariable("$EXTMAX", "3", "4"));
  const std::string second = headerSection(pointVariable("$EXTMAX", "30", "40"));
  ASSERT_EQ(importText(dxfFile(first + second + entitiesSection(pointEntity(1, 1)))).result, true);
  EXPECT_EQ(drawnRadius(), pointRadius(30, 40));
}

TEST_F(SectionsTest, ASectionWithoutEndsecIsReadToTheEndOfTheFile) {
  start();
  const std::string open = "  0\nSECTION\n  2\nENTITIES\n" + lineEntity(0, 0, 1, 1) + lineEntity(2, 2, 3, 3);
  ASSERT_EQ(importText(open + "  0\nEOF\n").result, true);
  EXPECT_EQ(objects(), "line2 (0,0)-(1,1) c0\nline2 (2,2)-(3,3) c0\n");
}

}  // namespace
}  // namespace drawport::testing
