// The LAYER table: the colours that entities without their own take, the
// colour counter that runs on over the add-on's life, and the table's growth.
#include "dxf/layer_table.h"

#include <gmock/gmock.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "dxf/reader.h"
#include "host/host.h"
#include "support/addon_fixture.h"

namespace drawport::testing {
namespace {

// A LAYER table of entries "name colour" (no colour: none given).
std::string layerTable(const std::vector<std::pair<std::string, std::string>>& layers) {
  std::string table = "  0\nTABLE\n  2\nLAYER\n 70\n" + std::to_string(layers.size()) + "\n";
  for (const auto& [name, colour] : layers) {
    table += "  0\nLAYER\n  2\n" + name + "\n 70\n0\n";
    if (!colour.empty()) table += " 62\n" + colour + "\n";
    table += "  6\nCONTINUOUS\n";
  }
  return table + "  0\nENDTAB\n";
}

std::string tablesSection(const std::string& tables) {
  return "  0\nSECTION\n  2\nTABLES\n" + tables + "  0\nENDSEC\n";
}

// A LINE on `layer` without a colour of its own.
std::string lineOn(const std::string& layer, int index) {
  return "  0\nLINE\n  8\n" + layer + "\n 10\n" + std::to_string(index) + "\n 20\n0\n 11\n" +
         std::to_string(index) + "\n 21\n1\n";
}

// The host colour of each line in the frame, in order.
std::string lineColours() {
  std::string colours;
  for (const auto& object : orvhost::Host::get().frame().objects())
    colours += (colours.empty() ? "" : " ") + (object.color ? std::to_string(*object.color) : std::string("?"));
  return colours;
}

class LayerTableTest : public AddOnTest {};

TEST_F(LayerTableTest, EntitiesWithoutColourTakeTheirLayers) {
  config.backgroundColor = 0;  // the foreground is host colour 7
  start();
  const std::string tables = tablesSection(layerTable({{"0", "7"}, {"WALLS", "1"}, {"HIDDEN", "-3"}}));
  const std::string lines = lineOn("0", 0) + lineOn("WALLS", 1) + lineOn("walls", 2) + lineOn("WALL", 3) +
                            lineOn("HIDDEN", 4) + lineOn("", 5);
  ASSERT_EQ(importText(dxfFile(tables + entitiesSection(lines)), "-VL -H").result, true);
  // "0" is 7; WALLS 1 in any case of letters; WALL names no layer (0, the
  // foreground); HIDDEN is off and hidden in the background; no layer, 0.
  EXPECT_EQ(lineColours(), "7 1 1 7 0 7");
}

TEST_F(LayerTableTest, TheColourCounterRunsOnAcrossTablesAndRuns) {
  start();
  // The record started before the first entry takes 1 and is replaced by the
  // file's "0"; A takes 3, B 4; the second table's start record 5, C 6.
  const std::string tables = tablesSection(layerTable({{"0", "7"}, {"A", ""}, {"B", ""}}) + layerTable({{"C", ""}}));
  ASSERT_EQ(importText(dxfFile(tables + entitiesSection(lineOn("A", 0) + lineOn("B", 1) + lineOn("C", 2)))).result,
            true);
  // Host colours of DXF colours 3, 4 and 6.
  EXPECT_EQ(lineColours(), "2 4 14");
  host().frame().clear();
  // The next run goes on: its start record takes 7, D 8, E 9, F 1.
  const std::string next = tablesSection(layerTable({{"D", ""}, {"E", ""}, {"F", ""}}));
  ASSERT_EQ(importText(dxfFile(next + entitiesSection(lineOn("D", 0) + lineOn("E", 1) + lineOn("F", 2)))).result,
            true);
  EXPECT_EQ(lineColours(), "8 1 1");
}

TEST_F(LayerTableTest, AnEmptyTableHoldsLayerZeroWithTheCountersColour) {
  start();
  const std::string tables = tablesSection("  0\nTABLE\n  2\nLAYER\n 70\n0\n  0\nENDTAB\n");
  ASSERT_EQ(importText(dxfFile(tables + entitiesSection(lineOn("0", 0)))).result, true);
  EXPECT_EQ(lineColours(), "1");
}

TEST_F(LayerTableTest, TheSecondPassReadsTheTableAgainWithNewCounterColours) {
  start();
  // Pass 1: "0" takes 1, A 2. Pass 2 (the line stands in BLOCKS): "0" 3, A 4.
  const std::string tables = tablesSection(layerTable({{"A", ""}}));
  const std::string blocks = "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n" + lineOn("A", 0) + "  0\nENDBLK\n  0\nENDSEC\n";
  ASSERT_EQ(importText(dxfFile(tables + blocks)).result, true);
  EXPECT_EQ(lineColours(), "4");
}

TEST_F(LayerTableTest, NamesAreStoredAsReadAndFoundWithoutRegardToCase) {
  start();
  const std::string tables =
      tablesSection(layerTable({{"Wall", "1"}, {"WALL", "3"}, {"Twice", "5"}, {"Twice", "2"}, {"  Padded", "6"},
                                {"Two Words", "4"}}));
  const std::string lines = lineOn("WALL", 0) + lineOn("wall", 1) + lineOn("Twice", 2) + lineOn("PADDED", 3) +
                            lineOn("Two Words", 4) + lineOn("Two", 5);
  ASSERT_EQ(importText(dxfFile(tables + entitiesSection(lines))).result, true);
  // The first of names alike wins; a stored name replaces its record; a name
  // with a blank is stored as its first word.
  EXPECT_EQ(lineColours(), "1 1 5 14 0 4");
}

TEST_F(LayerTableTest, TheTableGrowsPast255Layers) {
  start();
  std::vector<std::pair<std::string, std::string>> layers;
  for (int i = 0; i < 600; ++i) layers.emplace_back("L" + std::to_string(i), std::to_string(i % 9 + 1));
  const std::string lines = lineOn("L0", 0) + lineOn("l254", 1) + lineOn("L255", 2) + lineOn("L256", 3) +
                            lineOn("L599", 4) + lineOn("L600", 5);
  ASSERT_EQ(importText(dxfFile(tablesSection(layerTable(layers)) + entitiesSection(lines))).result, true);
  // DXF colours 1, 3, 4, 5, 6 and none.
  EXPECT_EQ(lineColours(), "1 2 4 3 14 0");
}

TEST_F(LayerTableTest, AFailedGrowthStopsTheImportAsOutOfMemory) {
  start(true);
  std::vector<std::pair<std::string, std::string>> layers;
  for (int i = 0; i < 300; ++i) layers.emplace_back("L" + std::to_string(i), "1");
  const std::string path =
      files.write("many.dxf", dxfFile(tablesSection(layerTable(layers)) + entitiesSection(lineOn("L0", 0))));
  // The run's five blocks, the layer index's two, then the table's growth.
  failAllocation(8);
  host().config().macroRecording = true;
  const orvhost::MacroOutcome outcome = macro(instructionFor(path));
  EXPECT_EQ(outcome.result, false);
  EXPECT_EQ(messages(), "error: DXF Loader: Out of memory\n");
  EXPECT_EQ(journal({"OrvUtilDialogLaunchPercentDone", "OrvUtilDialogDrop", "OrvUtilDraw", "OrvUtilViewFit",
                     "OrvUtilMacroRecord"}),
            "OrvUtilDialogLaunchPercentDone(\"Reading DXF file...\", true) -> true\n"
            "OrvUtilDrawGraphics(false)\n"
            "OrvUtilDrawGraphics(true)\n"
            "OrvUtilDialogDropPercentDone()\n");
}

TEST_F(LayerTableTest, LongNamesAreCutTo254Characters) {
  start();
  const std::string name254(254, 'n');
  const std::string tables = tablesSection(layerTable({{name254 + "TAIL", "1"}}));
  ASSERT_EQ(importText(dxfFile(tables + entitiesSection(lineOn(name254, 0) + lineOn(name254 + "TAIL", 1)))).result,
            true);
  EXPECT_EQ(lineColours(), "1 0");
}

// The seconds `work` takes.
template <class Work>
double secondsFor(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Layer `variant` of names that differ only in letter case: letter i
// upper-cased when bit i of `variant` is set.
std::string caseVariant(int variant) {
  std::string name = "layernamevariants";
  for (size_t i = 0; i < name.size(); ++i)
    if (variant & (1 << i)) name[i] = static_cast<char>(name[i] - 'a' + 'A');
  return name;
}

TEST_F(LayerTableTest, NamesDifferingOnlyInCaseAreStoredAndFoundInLinearTime) {
#ifdef __SANITIZE_ADDRESS__
  // The table grows 255 records at a time; the address sanitizer's heap
  // copies it whole at every growth, where the ordinary heap mostly grows it
  // in place.
  GTEST_SKIP() << "timed on the ordinary heap only";
#endif
  start();
  // The first variant has colour 1, the others 3; a line on any spelling,
  // stored or not, takes the first's. CONTROL (3) tells the colours apart.
  auto drawing = [](int variants) {
    std::vector<std::pair<std::string, std::string>> layers{{caseVariant(0), "1"}};
    for (int i = 1; i < variants; ++i) layers.emplace_back(caseVariant(i), "3");
    layers.emplace_back("CONTROL", "3");
    const std::string lines = lineOn(caseVariant(0), 0) + lineOn(caseVariant(variants - 1), 1) +
                              lineOn("LAYERNAMEVARIANTS", 2) + lineOn("control", 3);
    return dxfFile(tablesSection(layerTable(layers)) + entitiesSection(lines));
  };
  const std::string few = drawing(12'500), many = drawing(100'000);
  for (const char* flags : {"", "-X"}) {
    SCOPED_TRACE(flags);
    host().frame().clear();
    const double fewSeconds = secondsFor([&] { EXPECT_TRUE(importText(few, flags).result); });
    host().frame().clear();
    const double manySeconds = secondsFor([&] { EXPECT_TRUE(importText(many, flags).result); });
    EXPECT_EQ(lineColours(), "1 1 1 2");
    // Eight times the layers: about eight times the time, not sixty-four.
    EXPECT_LT(manySeconds, 24 * fewSeconds + 0.5) << fewSeconds << " s for 12,500 layers";
  }
}

// The reader alone, for what the host cannot see.
class ReadLayerTableTest : public ::testing::Test {
 protected:
  void SetUp() override { orvhost::Host::get().reset({}); }
  // Reads `text` (what follows the table's name) into a fresh table; returns
  // the records as "name=colour" with the colours relative to the first
  // record's when no colour was given.
  std::string read(const std::string& text) {
    std::string content = text;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(fmemopen(content.data(), content.size(), "r"), std::fclose);
    DxfReader in(file.get(), static_cast<int32_t>(content.size()));
    LayerTable layers;
    EXPECT_TRUE(layers.allocate());
    EXPECT_TRUE(readLayerTable(in, layers));
    std::string out;
    for (int32_t i = 0; i < layers.count(); ++i)
      out += std::string(layers[i].name) + "=" + std::to_string(layers[i].colour) + "\n";
    return out;
  }
};

TEST_F(ReadLayerTableTest, ValuesReadingEndtabEndTheTableWithoutStoringTheEntry) {
  const struct {
    const char* what;
    const char* text;
    const char* records;
  } cases[] = {
      {"a colour", " 70\n1\n  0\nLAYER\n  2\nA\n 62\n1\n  0\nLAYER\n  2\nB\n 62\nENDTAB\n  0\nENDTAB\n",
       "A=1\n"},
      {"a name", "  0\nLAYER\n  2\nA\n 62\n2\n  0\nLAYER\n  2\nENDTAB\n 62\n3\n", "A=2\n"},
      {"flags", "  0\nLAYER\n  2\nA\n 62\n2\n  0\nLAYER\n  2\nB\n 70\nENDTAB\n", "A=2\n"},
      {"the end of the file", "  0\nLAYER\n  2\nA\n 62\n2\n  0\nLAYER\n  2\nB\n 62\n3\n", "A=2\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // The record started before the first entry ("0") is stored at the first
    // "0"; leave it out.
    std::string records = read(c.text);
    records.erase(0, records.find('\n') + 1);
    EXPECT_EQ(records, c.records);
  }
}

TEST_F(ReadLayerTableTest, ASecondNameInOneEntryStartsTheNextEntry) {
  std::string records = read("  0\nLAYER\n  2\nA\n 62\n2\n  2\nB\n 62\n5\n  0\nENDTAB\n");
  records.erase(0, records.find('\n') + 1);
  EXPECT_EQ(records, "A=2\nB=5\n");
}

}  // namespace
}  // namespace drawport::testing
