// What fuzzing found, each kept as the smallest end-to-end case: the add-on
// loaded into the stand-in host, judged by what the host saw. The inputs that
// found them stay in fuzz/corpus/.
#include <gmock/gmock.h>

#include <string>

#include "support/addon_fixture.h"
#include "support/entity_dxf.h"

namespace drawport::testing {
namespace {

using orvhost::ControlKind;
using orvhost::Session;

class FuzzFindingTest : public AddOnTest {
 protected:
  // Opens the Load DXF File dialog from the import menu; its handle.
  int32_t openLoadDialog() {
    EXPECT_TRUE(session().chooseImportLoader("DXF Loader"));
    return session().openDialog("Load DXF File");
  }
  // The dialog's second text field (the first is the zone field).
  void typeFileName(int32_t dialog, const std::string& name) {
    ASSERT_TRUE(session().typeText(session().findControl(dialog, ControlKind::TextField, "", 1), name));
  }
};

// A file name that ends in a backslash once made "-F[...\]", whose bracket
// the parser reads as an escaped one: the import read no file and said only
// "Error reading DXF File". The name now ends the string, bracket open.
TEST_F(FuzzFindingTest, DialogImportsAndRecordsAFileWhoseNameEndsInABackslash) {
  config.macroRecording = true;
  start();
  const std::string path = files.write("plan\\", dxfFile(entitiesSection(lineEntity(0, 0, 1, 1))));
  const int32_t dialog = openLoadDialog();
  ASSERT_NE(dialog, -1);
  // Text off, so that the string carries flags, which come before the name.
  ASSERT_TRUE(session().setToggle(session().findControl(dialog, ControlKind::Toggle, "", 0), false));
  typeFileName(dialog, path);
  ASSERT_TRUE(session().pressDialogButton(dialog, Session::DialogButton::Ok));

  EXPECT_EQ(session().openDialog("Load DXF File"), -1);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(objects(), "line2 (0,0)-(1,1) c0\n");
  ASSERT_EQ(host().macros().size(), 1u);
  const std::string recorded = host().macros()[0].command;
  // The dialog's full reading (-X) is written after the other flags.
  EXPECT_EQ(recorded, "-VL -VA -VC -VP -VS -VF -X -F[" + path);

  // Replaying the recorded command imports the same file again.
  EXPECT_EQ(macro(recorded).result, true);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(objects(), "line2 (0,0)-(1,1) c0\nline2 (0,0)-(1,1) c0\n");
}

// The full reading stored a LAYER entry without a name (group 2) by copying
// a name of no characters from no text at all: memcpy from a null pointer.
TEST_F(FuzzFindingTest, FullReadingTakesALayerEntryWithoutAName) {
  start();
  const std::string tables = layerTables(entity("LAYER", {{62, 3}}) + layer("L", 5));
  const std::string line = entity("LINE", {{8, "L"}, {10, 0.0}, {20, 0.0}, {11, 1.0}, {21, 1.0}});
  EXPECT_EQ(importText(dxfFile(tables + entitiesSection(line)), "-X").result, true);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(objects(), "line2 (0,0)-(1,1) c3\n");  // DXF colour 5, the host's 3
}

// The full reading remembers the last layer it looked up by copying its
// name; an empty layer name in an entity with no other text was copied from
// no text at all (memcpy from a null pointer).
TEST_F(FuzzFindingTest, FullReadingDrawsAnEntityWhoseLayerNameIsEmpty) {
  start();
  const std::string line = entity("LINE", {{8, ""}, {10, 0.0}, {20, 0.0}, {11, 1.0}, {21, 1.0}});
  EXPECT_EQ(importText(dxfFile(entitiesSection(line + line)), "-X").result, true);
  EXPECT_EQ(messages(), "");
  EXPECT_EQ(objects(), "line2 (0,0)-(1,1) c0\nline2 (0,0)-(1,1) c0\n");
}

}  // namespace
}  // namespace drawport::testing
