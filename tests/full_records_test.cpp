// Records and loose geometry in the full reading, as a CAD program reads
// them: an embedded object's groups are not the entity's own, text values
// keep their blanks, curves written with values out of their usual range are
// drawn, fitted texts run between their points, and entities of hidden
// layers are not created.
#include <gmock/gmock.h>

#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

constexpr double kPi = 3.14159265358979323846;

class FullRecords : public EntityTest, public ::testing::WithParamInterface<DrawingCase> {
 protected:
  void SetUp() override { start(); }
};

TEST_P(FullRecords, AreReadAsACadProgramReadsThem) {
  const DrawingCase& c = GetParam();
  EXPECT_EQ(imported(c), c.expected);
}

// The column data of a newer MTEXT: its 10, 11, 40 and 71 mean other things.
const std::string kEmbeddedObject =
    groups({{101, "Embedded Object"}, {70, 1}, {10, 1}, {20, 0}, {30, 0}, {11, 7}, {21, 8}, {40, 120}, {71, 5}});

INSTANTIATE_TEST_SUITE_P(
    Values, FullRecords,
    ::testing::Values(DrawingCase{"an MTEXT keeps its own place, direction, height and attachment",
                                  entity("MTEXT", {{10, 2}, {20, 3}, {40, 1}, {71, 7}, {1, "NOTE"}}) + kEmbeddedObject,
                                  "-X", "text (2,3) h1 a0 \"NOTE\" c0\n"},
                      DrawingCase{"an embedded object ends any entity's own groups",
                                  entity("LINE", {{10, 0}, {20, 0}, {11, 1}, {21, 0}}) +
                                      groups({{101, "Embedded Object"}, {11, 5}, {21, 5}}),
                                  "-X", "line2 (0,0)-(1,0) c0\n"},
                      DrawingCase{"MTEXT chunks joined as written",
                                  entity("MTEXT", {{10, 0}, {20, 0}, {40, 1}, {3, "Lorem ipsum"}, {1, " dolor sit"}}),
                                  "-X", "text (0,-1) h1 a0 \"Lorem ipsum dolor sit\" c0\n"},
                      DrawingCase{"a text keeps the blanks at its ends",
                                  entity("TEXT", {{10, 0}, {20, 0}, {40, 1}, {1, "  A B  "}}), "-X",
                                  "text (0,0) h1 a0 \"  A B  \" c0\n"},
                      DrawingCase{"numbers allow blanks around them",
                                  entity("LINE", {{10, "  1.5  "}, {20, " 2"}, {11, "3 "}, {21, "\t4"}}), "-X",
                                  "line2 (1.5,2)-(3,4) c0\n"},
                      DrawingCase{"entity and table names are words, blanks around them or not",
                                  entity(" LINE ", {{10, 0}, {20, 0}, {11, 1}, {21, 0}, {8, "R"}}), "-X",
                                  "line2 (0,0)-(1,0) c1\n",
                                  "  0\nSECTION\n  2\nTABLES\n" + entity("TABLE", {{2, " LAYER "}}) + layer("R", 1) +
                                      entity("ENDTAB") + "  0\nENDSEC\n"},
                      DrawingCase{"a layer name is the name as written",
                                  entity("LINE", {{10, 0}, {20, 0}, {11, 1}, {21, 0}, {8, " R"}}) +
                                      entity("LINE", {{10, 0}, {20, 1}, {11, 1}, {21, 1}, {8, "R"}}),
                                  "-X", "line2 (0,0)-(1,0) c1\nline2 (0,1)-(1,1) c0\n", layerTables(layer(" R", 1))}));

std::string ellipse(double majorX, double majorY, double ratio, double start, double end) {
  return entity("ELLIPSE",
                {{10, 0}, {20, 0}, {30, 0}, {11, majorX}, {21, majorY}, {31, 0}, {40, ratio}, {41, start}, {42, end}});
}

INSTANTIATE_TEST_SUITE_P(
    LooseGeometry, FullRecords,
    ::testing::Values(DrawingCase{"ellipse of ratio 0: the major axis end to end", ellipse(3, 0, 0, 0, 2 * kPi), "-X",
                                  "line2 (-3,0)-(3,0) c0\n"},
                      DrawingCase{"ellipse of ratio 0, partial: the stretch its parameters run over",
                                  ellipse(0, 3, 0, kPi / 3, 5 * kPi / 3), "-X", "line2 (0,-3)-(0,1.5) c0\n"},
                      DrawingCase{"circle and arc of a negative radius: its size",
                                  entity("CIRCLE", {{10, 0}, {20, 0}, {40, -2}}) +
                                      entity("ARC", {{10, 5}, {20, 0}, {40, -2}, {50, 0}, {51, 90}}),
                                  "-X", "circle (0,0) r2 c0\narc (5,0) r2 0..90 c0\n"},
                      DrawingCase{"aligned text: from its first point towards its second, at its height",
                                  entity("TEXT", {{10, 1}, {20, 1}, {11, 1}, {21, 5}, {40, 2}, {72, 3}, {1, "AB"}}),
                                  "-X", "text (1,1) h2 a90 \"AB\" c0\n"},
                      DrawingCase{
                          "fitted text: the same, whatever its vertical alignment",
                          entity("TEXT", {{10, 1}, {20, 1}, {11, -3}, {21, 1}, {40, 2}, {72, 5}, {73, 2}, {1, "AB"}}),
                          "-X", "text (1,1) h2 a180 \"AB\" c0\n"}));

// Layers off and frozen, when invisible layers are hidden: their entities
// are not created at all. A block's entities on layer "0" take the layer of
// the reference; a reference on a layer that is off still draws what its
// block holds on layers of their own, one on a frozen layer nothing.
std::string lineOn(const char* layerName, double y) {
  return entity("LINE", {{8, layerName}, {10, 0}, {20, y}, {11, 1}, {21, y}});
}
const std::string kHiddenLayers =
    layerTables(layer("SHOWN", 3) + layer("OFF", -1) + entity("LAYER", {{2, "FROZEN"}, {70, 1}, {62, 5}})) +
    "  0\nSECTION\n  2\nBLOCKS\n" + entity("BLOCK", {{2, "MARK"}, {70, 0}, {10, 0}, {20, 0}}) + lineOn("0", 5) +
    lineOn("SHOWN", 6) + entity("ENDBLK") + "  0\nENDSEC\n";
const std::string kOnEachLayer = lineOn("SHOWN", 0) + lineOn("OFF", 1) + lineOn("FROZEN", 2);
const std::string kMarkOnEachLayer = entity("INSERT", {{8, "OFF"}, {2, "MARK"}, {10, 10}, {20, 0}}) +
                                     entity("INSERT", {{8, "FROZEN"}, {2, "MARK"}, {10, 20}, {20, 0}});

INSTANTIATE_TEST_SUITE_P(
    HiddenLayers, FullRecords,
    ::testing::Values(DrawingCase{"-H: not created", kOnEachLayer, "-H -X", "line2 (0,0)-(1,0) c2\n", kHiddenLayers},
                      DrawingCase{"-H with every kind named", kOnEachLayer, "-VZ -H -X", "line2 (0,0)-(1,0) c2\n",
                                  kHiddenLayers},
                      DrawingCase{"no -H: shown, even with kinds named", kOnEachLayer, "-VL -X",
                                  "line2 (0,0)-(1,0) c2\nline2 (0,1)-(1,1) c1\nline2 (0,2)-(1,2) c3\n", kHiddenLayers},
                      DrawingCase{"block references on hidden layers", kMarkOnEachLayer, "-H -X",
                                  "line2 (10,6)-(11,6) c2\n", kHiddenLayers},
                      DrawingCase{"an entity left out by its layer: no block drawn where it stands instead",
                                  lineOn("OFF", 1), "-H -X", "", kHiddenLayers}));

}  // namespace
}  // namespace drawport::testing
