// The add-on's start in the host: registration, the version check, its host
// strings and its callbacks, and its end when the host quits.
#include <gmock/gmock.h>

#include "support/addon_fixture.h"

namespace drawport::testing {
namespace {

using ::testing::IsEmpty;

class RegistrationTest : public AddOnTest {};

TEST_F(RegistrationTest, RegistersAsDxfLoaderWithItsGenerationsVersion) {
  start();
  const std::string expected =
      olderGeneration()
          ? "OrvUtilLockOn()\n"
            "OrvUtilAddOnRegister(100, \"DXF Loader\", \"1.91 (10.0-2-24) Dec  9 2003\", \"Brindle Engineering, "
            "Inc.\") -> addon#1\n"
          : "OrvUtilLockOn()\n"
            "OrvUtilAddOnRegister(100, \"DXF Loader\", \"12.2.0.9077 (12.2.0.9077) Apr 14 2010\", \"Orvex, "
            "Inc.\") -> addon#1\n";
  EXPECT_EQ(journal({"OrvUtilLockOn", "OrvUtilAddOnRegister"}), expected);
  EXPECT_EQ(journal({"OrvUtilGetOrvexVersion", "OrvUtilMacroAdd", "OrvUtilStringAlloc", "OrvUtilImportAddLoader",
                     "OrvUtilStateChange", "OrvUtilLockOff"}),
            "OrvUtilGetOrvexVersion() -> 740400\n"
            "OrvUtilMacroAddCommandCallback(\"DXF Loader\", callback) -> true\n"
            "OrvUtilStringAlloc(10000, \"DXF filename\") -> string\n"
            "OrvUtilStringAlloc(10000, \"DXF last filename\") -> string\n"
            "OrvUtilStringAlloc(10000, \"DXF scratch buffer\") -> string\n"
            "OrvUtilImportAddLoader(callback, \"DXF Loader\", callback, null) -> true\n"
            "OrvUtilStateChangeAddCallback(callback)\n"
            "OrvUtilLockOff()\n");
  EXPECT_EQ(messages(), "");
}

TEST_F(RegistrationTest, AHostOlderThan740400IsRefusedAndOffersNothing) {
  config.version = 740399;
  start();
  EXPECT_EQ(journal(), olderGeneration()
                           ? "OrvUtilLockOn()\n"
                             "OrvUtilAddOnRegister(100, \"DXF Loader\", \"1.91 (10.0-2-24) Dec  9 2003\", \"Brindle "
                             "Engineering, Inc.\") -> addon#1\n"
                             "OrvUtilGetOrvexVersion() -> 740399\n"
                             "OrvUtilDialogErrMsg(\"Add-on \\\"DXF Loader\\\" requires Orvex version 10.0-2-24 or "
                             "greater\")\n"
                             "OrvUtilLockOff()\n"
                           : "OrvUtilLockOn()\n"
                             "OrvUtilAddOnRegister(100, \"DXF Loader\", \"12.2.0.9077 (12.2.0.9077) Apr 14 2010\", "
                             "\"Orvex, Inc.\") -> addon#1\n"
                             "OrvUtilGetOrvexVersion() -> 740399\n"
                             "OrvUtilDialogErrMsg(\"Add-on \\\"DXF Loader\\\" requires Orvex version 12.2.0.9077 or "
                             "greater\")\n"
                             "OrvUtilLockOff()\n");
  EXPECT_THAT(host().macroCommands(), IsEmpty());
  EXPECT_THAT(host().loaders(), IsEmpty());
  EXPECT_FALSE(macro("-F[x]").result.has_value());
}

TEST_F(RegistrationTest, TheVersionThresholdIs740400) {
  const struct {
    int32_t version;
    bool accepted;
  } cases[] = {{740399, false}, {740400, true}, {740401, true}, {1200000, true}, {0, false}, {-5, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    config.version = c.version;
    start();
    EXPECT_EQ(host().loaders().size(), c.accepted ? 1u : 0u);
    EXPECT_EQ(host().messages().size(), c.accepted ? 0u : 1u);
    TearDown();
  }
}

TEST_F(RegistrationTest, AStringThatCannotBeAllocatedLeavesOnlyTheMacroCommandWhichFailsInOrder) {
  for (const char* label : {"DXF filename", "DXF last filename", "DXF scratch buffer"}) {
    SCOPED_TRACE(label);
    config.failStringAllocLabel = label;
    start();
    EXPECT_EQ(messages(), "error: DXF Loader is out of memory\n");
    EXPECT_EQ(journal({"OrvUtilImportAddLoader", "OrvUtilStateChangeAddCallback", "OrvUtilLockOff"}),
              "OrvUtilLockOff()\n");
    EXPECT_EQ(host().macroCommands().count("DXF Loader"), 1u);
    host().journal().clear();
    const orvhost::MacroOutcome outcome = macro("-F[" + files.write("a.dxf", dxfFile(entitiesSection(lineEntity(0, 0, 1, 1)))) + "]");
    EXPECT_EQ(outcome.result, false);
    EXPECT_EQ(outcome.errorText, "Error reading file");
    // Nothing is read or parsed without the strings.
    EXPECT_EQ(journal(), "OrvUtilLockStart(addon#1)\n"
                         "OrvUtilStringAlloc(1000, \"Temp space for dxf loader\") -> string\n"
                         "OrvUtilLockFinish(addon#1)\n");
    TearDown();
  }
}

TEST_F(RegistrationTest, QuittingReleasesTheThreeStringsOnce) {
  start();
  host().journal().clear();
  session().stateChange(7);
  EXPECT_EQ(journal({"OrvUtilStringDealloc", "OrvUtilLockStart"}), "");
  EXPECT_EQ(host().heldStrings().size(), 3u);
  session().stateChange(15);
  EXPECT_EQ(journal({"OrvUtilStringDealloc", "OrvUtilLock"}),
            "OrvUtilLockStart(addon#1)\n"
            "OrvUtilStringDealloc(string)\n"
            "OrvUtilStringDealloc(string)\n"
            "OrvUtilStringDealloc(string)\n"
            "OrvUtilLockFinish(addon#1)\n");
  EXPECT_THAT(host().heldStrings(), IsEmpty());
  host().journal().clear();
  session().stateChange(15);
  EXPECT_EQ(journal(), "OrvUtilLockStart(addon#1)\nOrvUtilLockFinish(addon#1)\n");
}

TEST_F(RegistrationTest, AMacroCommandAfterQuittingFailsWithoutTouchingAString) {
  start();
  const std::string path = files.write("a.dxf", dxfFile(entitiesSection(lineEntity(0, 0, 1, 1))));
  session().stateChange(15);
  host().journal().clear();
  const orvhost::MacroOutcome outcome = macro(instructionFor(path));
  EXPECT_EQ(outcome.result, false);
  EXPECT_EQ(outcome.errorText, "Error reading file");
  EXPECT_THAT(host().frame().objects(), IsEmpty());
  EXPECT_EQ(journal({"OrvUtilStringDealloc", "OrvUtilDialog"}), "");
}

TEST_F(RegistrationTest, EveryFailedMacroCommandHandsTheHostAFreshErrorText) {
  start();
  for (int attempt = 0; attempt < 2; ++attempt) {
    const orvhost::MacroOutcome outcome = macro(instructionFor(files.path() + "/missing.dxf"));
    EXPECT_EQ(outcome.result, false);
    EXPECT_EQ(outcome.errorText, "Error reading file");
  }
  EXPECT_EQ(journal({"OrvUtilStringAlloc(1000,"}),
            "OrvUtilStringAlloc(1000, \"Temp space for dxf loader\") -> string\n"
            "OrvUtilStringAlloc(1000, \"Temp space for dxf loader\") -> string\n");
  EXPECT_EQ(messages(), "");
}

TEST_F(RegistrationTest, TheLoaderRefusesToReadADataSet) {
  start();
  host().journal().clear();
  EXPECT_EQ(session().readDataSetWith("DXF Loader"), false);
  const std::string command = olderGeneration() ? "$!ADDONCOMMAND" : "$!EXTENDEDCOMMAND";
  EXPECT_EQ(journal(), "OrvUtilLockStart(addon#1)\n"
                       "OrvUtilDialogErrMsg(\"The dxf loader does not support the $!READDATASET command "
                       "because\\nit does not create any field data.\\nUse " +
                           command +
                           " instead.\")\n"
                           "OrvUtilLockFinish(addon#1)\n");
}

}  // namespace
}  // namespace drawport::testing
