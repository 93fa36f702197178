// Block references in the full reading: INSERT with its transform and
// array, nesting with BYBLOCK colours and layer 0, attributes, dimensions,
// the references that cannot be drawn, and the named blocks drawn where
// they stand when the drawing's entities draw nothing.
#include <gmock/gmock.h>

#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

// A block definition: BLOCK with its name and base point, its entities,
// ENDBLK.
std::string block(const std::string& name, double baseX, double baseY, const std::string& entities) {
  return entity("BLOCK", {{2, name}, {70, 0}, {10, baseX}, {20, baseY}, {30, 0}}) + entities + entity("ENDBLK");
}

std::string blocksSection(const std::string& blocks) {
  return "  0\nSECTION\n  2\nBLOCKS\n" + blocks + "  0\nENDSEC\n";
}

// Block B: a line from its base point (1, 0) to (2, 1).
const std::string kLineBlock = blocksSection(block("B", 1, 0, entity("LINE", {{10, 1}, {20, 0}, {11, 2}, {21, 1}})));

class FullBlocksTest : public EntityTest {
 protected:
  void SetUp() override { start(); }
};

class FullBlocks : public FullBlocksTest, public ::testing::WithParamInterface<DrawingCase> {};

TEST_P(FullBlocks, AreDrawnWhereTheyStand) {
  const DrawingCase& c = GetParam();
  EXPECT_EQ(imported(c), c.expected);
}

// Each point of the block: minus the base point, scaled, moved to its cell,
// turned, moved to the insertion point, then out of the reference's object
// coordinates.
INSTANTIATE_TEST_SUITE_P(
    TransformOrder, FullBlocks,
    ::testing::Values(DrawingCase{"insertion point", entity("INSERT", {{2, "B"}, {10, 10}, {20, 0}}), "-X",
                                  "line2 (10,0)-(11,1) c0\n", kLineBlock},
                      DrawingCase{"scale", entity("INSERT", {{2, "B"}, {10, 10}, {20, 0}, {41, 2}, {42, 3}}), "-X",
                                  "line2 (10,0)-(12,3) c0\n", kLineBlock},
                      DrawingCase{"array", entity("INSERT", {{2, "B"}, {10, 10}, {20, 0}, {70, 2}, {44, 5}}), "-X",
                                  "line2 (10,0)-(11,1) c0\nline2 (15,0)-(16,1) c0\n", kLineBlock},
                      DrawingCase{"rotation after scale",
                                  entity("INSERT", {{2, "B"}, {10, 10}, {20, 0}, {41, 2}, {42, 2}, {50, 90}}), "-X",
                                  "line2 (10,0)-(8,2) c0\n", kLineBlock},
                      DrawingCase{"the array's cells turn with the rotation",
                                  entity("INSERT", {{2, "B"}, {10, 10}, {20, 0}, {70, 2}, {44, 5}, {50, 90}}), "-X",
                                  "line2 (10,0)-(9,1) c0\nline2 (10,5)-(9,6) c0\n", kLineBlock},
                      DrawingCase{"object coordinates last",
                                  entity("INSERT", {{2, "b"}, {10, 10}, {20, 0}, {210, 0}, {220, 0}, {230, -1}}), "-X",
                                  "line2 (-10,0)-(-11,1) c0\n", kLineBlock}));

// Block ARC: a quarter arc round (1, 0) from (2, 0) to (1, 1).
const std::string kArcBlock =
    blocksSection(block("ARC", 0, 0, entity("ARC", {{10, 1}, {20, 0}, {40, 1}, {50, 0}, {51, 90}})));

INSTANTIATE_TEST_SUITE_P(
    Arcs, FullBlocks,
    ::testing::Values(DrawingCase{"a mirroring reference mirrors the angles", entity("INSERT", {{2, "ARC"}, {41, -1}}),
                                  "-X", "arc (-1,0) r1 90..180 c0\n", kArcBlock},
                      DrawingCase{"a similarity scales the radius",
                                  entity("INSERT", {{2, "ARC"}, {41, 2}, {42, 2}, {43, 2}}), "-X",
                                  "arc (2,0) r2 0..90 c0\n", kArcBlock},
                      DrawingCase{"unequal scales make the arc a polyline", entity("INSERT", {{2, "ARC"}, {41, 2}}),
                                  "-X",
                                  "poly2 @(4,0,0) (0,0) (-0.004662462,0.068242413) (-0.018628108,0.136166649) ...24 "
                                  "(-1.863515173,0.997668769) (-2,1) c0\n",
                                  kArcBlock}));

// Inner block: a BYBLOCK line and a BYLAYER line, both on layer 0. Outer
// block: a BYBLOCK reference to it on layer 0. The drawing: a reference to
// the outer block on layer RED, colour 5.
const std::string kNestedBlocks =
    layerTables(layer("RED", 1)) +
    blocksSection(
        block("INNER", 0, 0,
              entity("LINE", {{8, "0"}, {62, 0}, {11, 1}}) + entity("LINE", {{8, "0"}, {20, 1}, {11, 1}, {21, 1}})) +
        block("OUTER", 0, 0, entity("INSERT", {{2, "INNER"}, {8, "0"}, {62, 0}})));

INSTANTIATE_TEST_SUITE_P(
    Inheritance, FullBlocks,
    ::testing::Values(DrawingCase{"BYBLOCK takes the outermost colour, layer 0 the outermost layer",
                                  entity("INSERT", {{2, "OUTER"}, {8, "RED"}, {62, 5}}), "-X",
                                  "line2 (0,0)-(1,0) c3\nline2 (0,1)-(1,1) c1\n", kNestedBlocks},
                      DrawingCase{"of two blocks of one name, the first is drawn", entity("INSERT", {{2, "twice"}}),
                                  "-X", "line2 (0,0)-(1,0) c0\n",
                                  blocksSection(block("TWICE", 0, 0, entity("LINE", {{11, 1}})) +
                                                block("Twice", 0, 0, entity("CIRCLE", {{40, 1}})))},
                      DrawingCase{"each kind inside a block follows its own switch", entity("INSERT", {{2, "MIXED"}}),
                                  "-VC -X", "circle (0,0) r1 c0\n",
                                  blocksSection(block("MIXED", 0, 0,
                                                      entity("LINE", {{11, 1}}) + entity("CIRCLE", {{40, 1}})))}));

INSTANTIATE_TEST_SUITE_P(
    AttributesAndDimensions, FullBlocks,
    ::testing::Values(
        DrawingCase{"attributes stand where they are, the invisible one and the template are not drawn",
                    entity("INSERT", {{2, "TITLE"}, {10, 100}, {20, 0}, {66, 1}}) +
                        entity("ATTRIB", {{1, "A-101"}, {10, 5}, {20, 5}, {40, 2}, {2, "NUMBER"}, {70, 0}}) +
                        entity("ATTRIB", {{1, "secret"}, {10, 5}, {20, 9}, {40, 2}, {2, "NOTE"}, {70, 1}}) +
                        entity("SEQEND"),
                    "-X", "line2 (100,0)-(101,0) c0\ntext (5,5) h2 a0 \"A-101\" c0\n",
                    blocksSection(block("TITLE", 0, 0,
                                        entity("ATTDEF", {{1, "?"}, {10, 0}, {20, 0}, {40, 1}, {2, "NUMBER"}}) +
                                            entity("LINE", {{11, 1}})))},
        DrawingCase{
            "a dimension draws its block with no transform", entity("DIMENSION", {{2, "*D1"}, {10, 50}, {20, 50}}),
            "-X", "line2 (0,0)-(10,0) c0\ntext (4,1) h1 a0 \"10\" c0\n",
            blocksSection(block(
                "*D1", 3, 3, entity("LINE", {{11, 10}}) + entity("TEXT", {{1, "10"}, {10, 4}, {20, 1}, {40, 1}})))}));

TEST_F(FullBlocksTest, TheNamedBlocksAreDrawnWhenTheEntitiesSectionIsEmpty) {
  const std::string blocks = blocksSection(block("*Model_Space", 0, 0, entity("TEXT", {{1, "model"}, {40, 1}})) +
                                           block("*U7", 0, 0, entity("CIRCLE", {{40, 1}})) +
                                           block("PART", 5, 5, entity("LINE", {{10, 5}, {20, 5}, {11, 6}, {21, 5}})));
  EXPECT_EQ(imported(dxfFile(blocks + entitiesSection("")), "-X"), "line2 (5,5)-(6,5) c0\n");
}

TEST_F(FullBlocksTest, AStopRequestIsHeardBetweenTheCellsOfAnArray) {
  // A drawing too short for the line count to ask: the block's entities
  // and the cells drawn ask every 1501 together, the first time after the
  // 751st cell's line, and the answer is "stop".
  config.stopFromCheck = 1;
  restart();
  const std::string drawing =
      dxfFile(blocksSection(block("ONE", 0, 0, entity("LINE", {{11, 1}}))) +
              entitiesSection(entity("INSERT", {{2, "ONE"}, {70, 100}, {71, 100}, {44, 2}, {45, 2}})));
  EXPECT_EQ(importText(drawing, "-X").result, true);
  EXPECT_EQ(host().percentDoneChecks(), 1);
  EXPECT_EQ(host().frame().objects().size(), 751u);
}

// References that cannot be drawn draw nothing; the rest of the drawing is
// drawn, and one message box at the end tells how many and why.
struct SkippedCase {
  const char* what;
  std::string drawing;
  const char* message;
};
void PrintTo(const SkippedCase& c, std::ostream* os) { *os << c.what; }

class SkippedReferences : public FullBlocksTest, public ::testing::WithParamInterface<SkippedCase> {};

TEST_P(SkippedReferences, AreToldOnceAtTheEnd) {
  const SkippedCase& c = GetParam();
  const std::string sure = entity("LINE", {{10, 0}, {20, 9}, {11, 1}, {21, 9}});
  EXPECT_EQ(importText(dxfFile(c.drawing + entitiesSection(sure + entity("INSERT", {{2, "TOP"}}))), "-X").result, true);
  EXPECT_EQ(messages(), std::string("box: DXF Loader\\n") + c.message + "\n");
  EXPECT_THAT(drawn(), ::testing::StartsWith("line2 (0,9)-(1,9) c0\n"));
}

INSTANTIATE_TEST_SUITE_P(
    FullBlocks, SkippedReferences,
    ::testing::Values(
        SkippedCase{"a block that does not exist", "",
                    "1 block reference was not drawn:\\n  block not in the drawing: TOP (1)"},
        SkippedCase{"a block that draws itself through another",
                    blocksSection(block("TOP", 0, 0, entity("INSERT", {{2, "OTHER"}})) +
                                  block("OTHER", 0, 0, entity("INSERT", {{2, "TOP"}}) + entity("LINE", {{11, 1}}))),
                    "1 block reference was not drawn:\\n  block that draws itself: TOP (1)"},
        SkippedCase{"more text than the bound",
                    blocksSection(block("TOP", 0, 0, entity("INSERT", {{2, "LEAF"}, {70, 1000}, {71, 70}})) +
                                  block("LEAF", 0, 0, entity("TEXT", {{40, 1}, {1, std::string(1999, 'x')}}))),
                    "1 block reference was not drawn:\\n  more than 134217728 bytes of text to draw in all: TOP (1)"},
        SkippedCase{"an array of more than ten million cells",
                    blocksSection(block("TOP", 0, 0, entity("INSERT", {{2, "LEAF"}, {70, 10000}, {71, 1001}})) +
                                  block("LEAF", 0, 0, "")),
                    "1 block reference was not drawn:\\n  array of more than 10000000 cells: LEAF (1)"},
        SkippedCase{"more host objects than the bound",
                    blocksSection(block("TOP", 0, 0, entity("INSERT", {{2, "MID"}, {70, 100}})) +
                                  block("MID", 0, 0, entity("INSERT", {{2, "LEAF"}, {70, 1000}, {71, 1000}})) +
                                  block("LEAF", 0, 0, entity("LINE", {{11, 1}}))),
                    "1 block reference was not drawn:\\n  more than 5000000 objects to draw in all: TOP (1)"},
        SkippedCase{"coordinates out of range",
                    blocksSection(block("TOP", 0, 0, entity("INSERT", {{2, "MID"}, {41, 1e200}, {42, 1e200}})) +
                                  block("MID", 0, 0, entity("INSERT", {{2, "LEAF"}, {41, 1e200}, {42, 1e200}})) +
                                  block("LEAF", 0, 0, entity("LINE", {{11, 1}}))),
                    "1 block reference was not drawn:\\n  coordinates out of range: LEAF (1)"}));

}  // namespace
}  // namespace drawport::testing
