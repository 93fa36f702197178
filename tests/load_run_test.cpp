// One import from the macro command to the frame: the file's checks, the
// passes under the percent-done dialog, the outcome and its report,
// recording and view fit.
#include <gmock/gmock.h>

#include "support/addon_fixture.h"

namespace drawport::testing {
namespace {

using ::testing::IsEmpty;

class LoadRunTest : public AddOnTest {
 protected:
  std::string oneLine() const { return dxfFile(entitiesSection(lineEntity(0, 0, 1, 1))); }
  std::string recordCall() const {
    return olderGeneration() ? "OrvUtilMacroRecordAddOnCommand" : "OrvUtilMacroRecordExtCommand";
  }
};

TEST_F(LoadRunTest, AnImportRunsItsStepsInOrder) {
  config.macroRecording = true;
  start();
  const std::string path = files.write("plan.dxf", oneLine());
  host().journal().clear();
  const orvhost::MacroOutcome outcome = macro(instructionFor(path, "-VL"));
  EXPECT_EQ(outcome.result, true);
  EXPECT_EQ(outcome.errorText, std::nullopt);
  EXPECT_EQ(journal(), "OrvUtilLockStart(addon#1)\n"
                       "OrvUtilLockStart(addon#1)\n"
                       "OrvUtilLockFinish(addon#1)\n"
                       "OrvUtilFrameGetBackgroundColor() -> 7\n"
                       "OrvUtilDialogLaunchPercentDone(\"Reading DXF file...\", true) -> true\n"
                       "OrvUtilDrawGraphics(false)\n"
                       "OrvUtilGeom2DLineSegmentCreate(0, 0, 0, 1, 1) -> 1\n"
                       "OrvUtilGeomSetColor(1, 0)\n"
                       "OrvUtilDrawGraphics(true)\n"
                       "OrvUtilDialogDropPercentDone()\n"
                       "OrvUtilMacroIsRecordingActive() -> true\n" +
                           recordCall() + "(\"DXF Loader\", \"" + instructionFor(path, "-VL") +
                           "\") -> true\n"
                           "OrvUtilFrameGetPlotType() -> 4\n"
                           "OrvUtilViewFit() -> true\n"
                           "OrvUtilLockFinish(addon#1)\n");
}

TEST_F(LoadRunTest, FilesThatCannotBeReadFailWithTheirMessage) {
  const struct {
    const char* what;
    std::string content;  // empty: no file of that name
    const char* messages;
  } cases[] = {
      {"a binary DXF file", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22),
       "error: The DXF Loader cannot read binary DXF files\n"},
      {"a missing file", "", ""},
      {"an empty file", "\x01", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    start();
    std::string path = files.path() + "/missing.dxf";
    if (!c.content.empty()) path = files.write("case.dxf", c.content == "\x01" ? "" : c.content);
    const orvhost::MacroOutcome outcome = macro(instructionFor(path));
    EXPECT_EQ(outcome.result, false);
    EXPECT_EQ(outcome.errorText, "Error reading file");
    EXPECT_EQ(messages(), c.messages);
    EXPECT_EQ(journal({"OrvUtilDialogLaunchPercentDone", "OrvUtilFrameGet"}), "");
    TearDown();
  }
}

TEST_F(LoadRunTest, WhatIsNoRegularFileIsNotOpened) {
  start();
  for (const std::string& name : {files.path(), std::string("/dev/zero"), std::string("/proc/self/status")}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(macro(instructionFor(name)).result, false);
  }
  EXPECT_EQ(messages(), "");
}

TEST_F(LoadRunTest, AFileShorterThanTheBinarySentinelIsReadAsText) {
  start();
  // The first probe leaves the sentinel in the add-on's scratch buffer.
  macro(instructionFor(files.write("binary.dxf", "AutoCAD Binary DXF\r\n")));
  host().journal().clear();
  const orvhost::MacroOutcome outcome = macro(instructionFor(files.write("short.dxf", "AutoCAD")));
  EXPECT_EQ(outcome.result, false);
  EXPECT_EQ(messages(),
            "error: The DXF Loader cannot read binary DXF files\n"
            "error: No entities found in this DXF file\n");
}

TEST_F(LoadRunTest, EachPerRunBlockThatCannotBeAllocatedFailsTheRunBeforeReading) {
  for (int block = 1; block <= 5; ++block) {
    SCOPED_TRACE(block);
    start(true);
    const std::string path = files.write("plan.dxf", oneLine());
    host().journal().clear();
    failAllocation(block);
    const orvhost::MacroOutcome outcome = macro(instructionFor(path));
    EXPECT_EQ(outcome.result, false);
    EXPECT_EQ(outcome.errorText, "Error reading file");
    EXPECT_EQ(messages(), "error: DXF Loader: Out of memory\n");
    EXPECT_EQ(journal({"OrvUtilDialogLaunch", "OrvUtilFrameGet", "OrvUtilMacro"}), "");
    TearDown();
  }
}

TEST_F(LoadRunTest, NoEntityOfASelectedKindReadsTheFileTwiceThenSaysSo) {
  start();
  const std::string path = files.write("plan.dxf", oneLine());
  host().journal().clear();
  const orvhost::MacroOutcome outcome = macro(instructionFor(path, "-VC"));
  EXPECT_EQ(outcome.result, false);
  EXPECT_EQ(journal({"OrvUtilDialog", "OrvUtilDraw"}),
            "OrvUtilDialogLaunchPercentDone(\"Reading DXF file...\", true) -> true\n"
            "OrvUtilDrawGraphics(false)\n"
            "OrvUtilDrawGraphics(true)\n"
            "OrvUtilDialogDropPercentDone()\n"
            "OrvUtilDialogLaunchPercentDone(\"Reading DXF file...\", true) -> true\n"
            "OrvUtilDrawGraphics(false)\n"
            "OrvUtilDrawGraphics(true)\n"
            "OrvUtilDialogDropPercentDone()\n"
            "OrvUtilDialogErrMsg(\"No entities found in this DXF file\")\n");
  EXPECT_THAT(host().frame().objects(), IsEmpty());
}

TEST_F(LoadRunTest, EntitiesOnlyInBlocksAreConvertedInTheSecondPass) {
  start();
  const std::string blocks = "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  2\nPART\n" + lineEntity(1, 2, 3, 4) +
                             "  0\nENDBLK\n  0\nENDSEC\n";
  EXPECT_EQ(importText(dxfFile(blocks)).result, true);
  EXPECT_EQ(objects(), "line2 (1,2)-(3,4) c0\n");
  EXPECT_EQ(journal({"OrvUtilDialogLaunchPercentDone"}).size(),
            2 * std::string("OrvUtilDialogLaunchPercentDone(\"Reading DXF file...\", true) -> true\n").size());
}

TEST_F(LoadRunTest, ASecondPassDispatchesBlocksAndEntitiesAlike) {
  start();
  // Axes at no right angle: the warning comes once for every section the
  // dispatcher reads: ENTITIES in the first pass, BLOCKS and ENTITIES in the
  // second.
  const std::string header = "  0\nSECTION\n  2\nHEADER\n  9\n$PUCSYDIR\n 10\n1\n 20\n0\n  0\nENDSEC\n";
  const std::string blocks = "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n" + lineEntity(1, 2, 3, 4) +
                             "  0\nENDBLK\n  0\nENDSEC\n";
  const std::string entities = entitiesSection("  0\nCIRCLE\n 10\n0\n 20\n0\n 40\n1\n");
  EXPECT_EQ(importText(dxfFile(header + blocks + entities), "-VL").result, true);
  EXPECT_EQ(objects(), "line2 (1,2)-(3,4) c0\n");
  const std::string warning = "box: PUCS axes are not orthongal. The PUCS y axis will be ignored\n";
  EXPECT_EQ(messages(), warning + warning + warning);
}

TEST_F(LoadRunTest, AStopRequestKeepsWhatWasImportedAndCountsAsDone) {
  config.stopFromCheck = 1;
  config.macroRecording = true;
  start();
  std::string lines;
  for (int i = 0; i < 400; ++i) lines += lineEntity(i, 0, i, 1);
  const orvhost::MacroOutcome outcome = importText(dxfFile(entitiesSection(lines)));
  EXPECT_EQ(outcome.result, true);
  // Each LINE after the first takes 15 token reads: the 1501st falls in the
  // 100th, which is finished; no more are read.
  EXPECT_EQ(host().frame().objects().size(), 100u);
  EXPECT_EQ(host().macros().size(), 1u);
  EXPECT_EQ(host().viewFits(), 1);
  EXPECT_EQ(journal({"OrvUtilDialogLaunchPercentDone"}),
            "OrvUtilDialogLaunchPercentDone(\"Reading DXF file...\", true) -> true\n");
}

TEST_F(LoadRunTest, AStopBeforeAnyEntityLeavesTheSecondPassNothingToRead) {
  config.stopFromCheck = 1;
  start();
  std::string header = "  0\nSECTION\n  2\nHEADER\n";
  for (int i = 0; i < 1000; ++i) header += "  9\n$VAR" + std::to_string(i) + "\n 70\n1\n";
  header += "  0\nENDSEC\n";
  const orvhost::MacroOutcome outcome = importText(dxfFile(header + entitiesSection(lineEntity(0, 0, 1, 1))));
  EXPECT_EQ(outcome.result, false);
  EXPECT_EQ(messages(), "error: No entities found in this DXF file\n");
  // The header is read to its end after the stop (positions 7019 and 14144
  // of 19023 bytes); the second pass reads nothing.
  EXPECT_EQ(journal({"OrvUtilDialogCheckPercentDone", "OrvUtilDialogLaunchPercentDone"}),
            "OrvUtilDialogLaunchPercentDone(\"Reading DXF file...\", true) -> true\n"
            "OrvUtilDialogCheckPercentDone(36) -> false\n"
            "OrvUtilDialogCheckPercentDone(74) -> false\n"
            "OrvUtilDialogLaunchPercentDone(\"Reading DXF file...\", true) -> true\n");
}

TEST_F(LoadRunTest, AFileWithoutItsEndMarkerIsImportedButNeitherRecordedNorFitted) {
  config.macroRecording = true;
  start();
  const std::string section = entitiesSection(lineEntity(0, 0, 1, 1));
  const struct {
    const char* what;
    std::string content;
  } cases[] = {
      {"no 0/EOF pair", section},
      {"cut after ENDSEC without a line end", section.substr(0, section.size() - 1)},
      {"a 0 without EOF", section + "  0\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(importText(c.content).result, true);
  }
  EXPECT_THAT(host().macros(), IsEmpty());
  EXPECT_EQ(host().viewFits(), 0);
  EXPECT_EQ(messages(), "");
}

TEST_F(LoadRunTest, AnEndMarkerWithoutLineEndCompletesTheFile) {
  config.macroRecording = true;
  start();
  const std::string content = oneLine();
  EXPECT_EQ(importText(content.substr(0, content.size() - 1)).result, true);
  EXPECT_EQ(host().macros().size(), 1u);
}

TEST_F(LoadRunTest, RecordingAndViewFitFollowTheHost) {
  const struct {
    bool recording;
    int32_t plotType;
    size_t recorded;
    int fits;
  } cases[] = {{false, 4, 0, 1}, {true, 4, 1, 1}, {true, 1, 1, 0}, {false, 3, 0, 0}};
  for (const auto& c : cases) {
    config.macroRecording = c.recording;
    config.plotType = c.plotType;
    start();
    const std::string path = files.write("plan.dxf", oneLine());
    EXPECT_EQ(macro(instructionFor(path, "-VL -T3")).result, true);
    ASSERT_EQ(host().macros().size(), c.recorded);
    if (c.recorded) {
      EXPECT_EQ(host().macros()[0].addOn, "DXF Loader");
      EXPECT_EQ(host().macros()[0].command, instructionFor(path, "-VL -T3"));
      EXPECT_EQ(host().macros()[0].operation, recordCall());
    }
    EXPECT_EQ(host().viewFits(), c.fits);
    TearDown();
  }
}

TEST_F(LoadRunTest, A3DImportWithoutADataSetWarnsFirstAndImportsAnyway) {
  config.datasetAvailable = false;
  start();
  EXPECT_EQ(importText(oneLine(), "-P2").result, true);
  EXPECT_EQ(messages(),
            "box: You will not be able to see any 3D objects until you create a dataset. After creating a dataset, "
            "you may have to do a view fit to full size (CTRL+F) in order to see this dxf file.\n");
  EXPECT_EQ(objects(), "line3 (0,0,0)-(1,1,0) c0\n");
}

TEST_F(LoadRunTest, ARejectedCompactStringImportsWithWhatItRead) {
  start();
  const std::string first = files.write("first.dxf", oneLine());
  ASSERT_EQ(macro(instructionFor(first)).result, true);
  // Same length, so that the earlier measurement serves: the string lacks its
  // final '@'.
  const std::string second = files.write("secnd.dxf", dxfFile(entitiesSection(lineEntity(5, 5, 6, 6))));
  const orvhost::MacroOutcome outcome = macro("B2F" + std::to_string(second.size()) + ":" + second);
  EXPECT_EQ(outcome.result, true);
  EXPECT_EQ(messages(), "box: DXF Loader:\\nInvalid parameter string. Some default settings may be used.\n");
  EXPECT_EQ(objects(), "line2 (0,0)-(1,1) c0\nline2 (5,5)-(6,6) c0\n");
}

TEST_F(LoadRunTest, OnlyTheFirstSectionKeywordsCount) {
  start();
  const std::string lowerCase = "  0\nsection\n  2\nENTITIES\n" + lineEntity(0, 0, 1, 1) + "  0\nENDSEC\n";
  EXPECT_EQ(importText(dxfFile(lowerCase)).result, false);
  EXPECT_EQ(messages(), "error: No entities found in this DXF file\n");
}

}  // namespace
}  // namespace drawport::testing
