// The import dialogs in tests: a fixture that acts as the user in them, and
// compact renderings of the dialogs as the host keeps them and of the
// toolkit calls in the journal, for tests to compare with one literal.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "host/host.h"
#include "shell/import_settings.h"
#include "support/addon_fixture.h"

namespace drawport::testing {

// A dialog, then every control standing in it in creation order, one a
// line:
//   dialog "Load DXF File" 6762x2626 parent=main
//   frame 369,159 1757x1657 "Import"
//   label 280,2372 "File:"
//   toggle 573,213 1171x127 "Text" =1
//   optionmenu 3145,250 2152x143 [<<Default>>|Helvetica] =1 insensitive
//   textfield 3119,692 1451x143 "<<None>>"
// "=n" is a toggle's state, a menu's entry, a radio box's button or a list's
// selected row (0: none); a text field shows its text.
std::string renderDialog(orvhost::Host& host, int32_t dialog);

// The name tests use for a control in toolkit calls: its label lower-cased
// without leading blanks (the builds differ in blanks and case), or, for a
// control without a label, its kind and its number among the unlabelled
// controls of that kind in its dialog ("textfield2"); a dialog's title in
// quotes; "main" for the host's main window.
std::string controlName(orvhost::Host& host, int32_t handle);

// The journal's toolkit calls, one a line, the same for both toolkits: the
// toolkit prefix dropped ("OrvGUI", "GUI_"), dismissal named DialogDismiss,
// handles given as control names. Lines of other operations are kept as they
// stand when they start with one of `otherPrefixes`.
std::string renderToolkitCalls(orvhost::Host& host, std::initializer_list<std::string_view> otherPrefixes = {});

// The user in the Load DXF File and Select Zone dialogs of the add-on.
class DialogTest : public AddOnTest {
 protected:
  // Starts the add-on with `config`, keeping every instruction string that
  // the Load DXF File dialog's OK writes.
  void begin();
  // Chooses "DXF Loader" in the import menu; the open dialog, or -1.
  int32_t openLoadDialog();
  int32_t loadDialog() { return session().openDialog("Load DXF File"); }
  int32_t selectZoneDialog() { return session().openDialog("Select Zone"); }

  // The Load DXF File dialog's controls (while it is open).
  int32_t entityToggle(EntityKind kind);
  int32_t hideToggle();
  int32_t fullReadingToggle();
  int32_t fontMenu();
  int32_t dimensionBox();
  int32_t zoneField();
  int32_t fileField();
  int32_t selectZoneButton();
  int32_t browseButton();
  // The Select Zone dialog's list (while it is open).
  int32_t zoneList();

  // Acting as the user; each fails the test when the control is not usable.
  void setEntity(EntityKind kind, bool on);
  // Turns the full reading off: what OK imports is read classically.
  void readClassically();
  void typeFileName(const std::string& text);
  // Types into the zone field; the check's answer.
  bool typeZone(const std::string& text);
  void press(int32_t dialog, orvhost::Session::DialogButton button);
  void pressOk(int32_t dialog) { press(dialog, orvhost::Session::DialogButton::Ok); }
  void pressCancel(int32_t dialog) { press(dialog, orvhost::Session::DialogButton::Cancel); }
  void pressButton(int32_t button);

  // What the host keeps of a control.
  const orvhost::Control& control(int32_t handle);
  std::string text(int32_t field) { return control(field).text; }

  // The instruction strings the OK action wrote, in order.
  const std::vector<std::string>& written() const { return written_; }
  // Host strings held now under `label`.
  int heldStrings(const std::string& label);
  // A DXF file with one line from (0,0) to (1,1), written as `name`.
  std::string lineDrawing(const std::string& name = "plan.dxf") const;

 private:
  std::vector<std::string> written_;
};

}  // namespace drawport::testing
