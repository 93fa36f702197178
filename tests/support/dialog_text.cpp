#include "support/dialog_text.h"

#include <cctype>
#include <cstdlib>

namespace drawport::testing {
namespace {

using orvhost::Control;
using orvhost::ControlKind;

std::string lowerWithoutLeadingBlanks(const std::string& label) {
  std::string name;
  size_t start = label.find_first_not_of(' ');
  if (start == std::string::npos) return name;
  for (size_t i = start; i < label.size(); ++i)
    name += static_cast<char>(std::tolower(static_cast<unsigned char>(label[i])));
  return name;
}

std::string place(const Control& control) {
  std::string text = std::to_string(control.x) + "," + std::to_string(control.y);
  if (control.width || control.height)
    text += " " + std::to_string(control.width) + "x" + std::to_string(control.height);
  return text;
}

std::string items(const Control& control) {
  std::string text = "[";
  for (size_t i = 0; i < control.items.size(); ++i) text += (i ? "|" : "") + control.items[i];
  return text + "]";
}

std::string controlLine(const Control& control) {
  std::string line = std::string(orvhost::controlKindName(control.kind)) + " " + place(control);
  if (!control.label.empty()) line += " " + orvhost::quoteString(control.label);
  switch (control.kind) {
    case ControlKind::OptionMenu:
    case ControlKind::RadioBox:
    case ControlKind::List:
      line += " " + items(control) + " =" + std::to_string(control.value);
      break;
    case ControlKind::Toggle:
      line += " =" + std::to_string(control.value);
      break;
    case ControlKind::TextField:
      line += " " + orvhost::quoteString(control.text);
      break;
    default:
      break;
  }
  if (!control.sensitive) line += " insensitive";
  return line;
}

bool isToolkitOperation(std::string_view operation) {
  return operation.rfind("OrvGUI", 0) == 0 || operation.rfind("GUI_", 0) == 0;
}

std::string_view withoutToolkitPrefix(std::string_view operation) {
  operation.remove_prefix(operation.rfind("OrvGUI", 0) == 0 ? 6 : 4);
  return operation == "DialogDrop" ? "DialogDismiss" : operation;
}

// Replaces the integer at the start of `text` with the name of the control
// it names; returns how many characters it read.
size_t nameHandleAt(orvhost::Host& host, std::string_view text, std::string& out) {
  size_t length = text.size() > 0 && text[0] == '-' ? 1 : 0;
  while (length < text.size() && std::isdigit(static_cast<unsigned char>(text[length]))) ++length;
  if (length == 0 || (length == 1 && text[0] == '-')) return 0;
  out += controlName(host, std::atoi(std::string(text.substr(0, length)).c_str()));
  return length;
}

std::string toolkitCallLine(orvhost::Host& host, const std::string& line) {
  const size_t open = line.find('(');
  const std::string_view operation = withoutToolkitPrefix(std::string_view(line).substr(0, open));
  std::string out(operation);
  out += '(';
  std::string_view rest = std::string_view(line).substr(open + 1);
  rest.remove_prefix(nameHandleAt(host, rest, out));
  // Creation calls answer with the new handle.
  const size_t arrow = rest.rfind(") -> ");
  const bool creates =
      operation.size() > 3 && (operation.substr(operation.size() - 3) == "Add" || operation == "DialogCreateModal");
  if (!creates || arrow == std::string_view::npos) return out + std::string(rest);
  out += rest.substr(0, arrow + 5);
  std::string_view result = rest.substr(arrow + 5);
  const size_t read = nameHandleAt(host, result, out);
  return out + std::string(result.substr(read));
}

}  // namespace

std::string controlName(orvhost::Host& host, int32_t handle) {
  if (handle == -1) return "main";
  const orvhost::ToolkitModel& toolkit = host.toolkit();
  const Control* control = toolkit.find(handle);
  if (!control) return "#" + std::to_string(handle);
  if (control->kind == ControlKind::Dialog) return orvhost::quoteString(control->label);
  if (!control->label.empty()) return lowerWithoutLeadingBlanks(control->label);
  int number = 0;
  for (const Control* sibling : toolkit.childrenOf(control->parent)) {
    if (sibling->kind == control->kind && sibling->label.empty()) ++number;
    if (sibling == control) break;
  }
  return orvhost::controlKindName(control->kind) + std::to_string(number);
}

std::string renderDialog(orvhost::Host& host, int32_t dialog) {
  const orvhost::ToolkitModel& toolkit = host.toolkit();
  const Control* control = toolkit.find(dialog);
  if (!control || control->kind != ControlKind::Dialog) return "no dialog " + std::to_string(dialog) + "\n";
  std::string text = "dialog " + orvhost::quoteString(control->label) + " " + std::to_string(control->width) + "x" +
                     std::to_string(control->height) + " parent=" + controlName(host, control->parent) + "\n";
  for (const Control* child : toolkit.childrenOf(dialog)) text += controlLine(*child) + "\n";
  return text;
}

std::string renderToolkitCalls(orvhost::Host& host, std::initializer_list<std::string_view> otherPrefixes) {
  std::string text;
  for (const std::string& line : host.journal().lines()) {
    const std::string_view operation = std::string_view(line).substr(0, line.find('('));
    if (isToolkitOperation(operation)) {
      text += toolkitCallLine(host, line) + "\n";
      continue;
    }
    for (std::string_view prefix : otherPrefixes) {
      if (operation.rfind(prefix, 0) != 0) continue;
      text += line + "\n";
      break;
    }
  }
  return text;
}

// --- DialogTest ---

void DialogTest::begin() {
  // The instruction string stands in its temporary host string when the
  // dialog is dismissed, just before the run.
  config.onCall = [this](std::string_view operation) {
    if (operation != "OrvGUIDialogDrop" && operation != "GUI_DialogDismiss") return;
    for (const auto& [address, record] : orvhost::Host::get().heldStrings())
      if (record.label == "Temp space for dxf loader") written_.emplace_back(static_cast<const char*>(address));
  };
  start();
}

int32_t DialogTest::openLoadDialog() {
  EXPECT_TRUE(session().chooseImportLoader("DXF Loader"));
  return loadDialog();
}

int32_t DialogTest::entityToggle(EntityKind kind) {
  return session().findControl(loadDialog(), ControlKind::Toggle, "", static_cast<int>(kind));
}

int32_t DialogTest::hideToggle() { return session().findControl(loadDialog(), ControlKind::Toggle, "", 7); }
int32_t DialogTest::fullReadingToggle() { return session().findControl(loadDialog(), ControlKind::Toggle, "", 8); }
int32_t DialogTest::fontMenu() { return session().findControl(loadDialog(), ControlKind::OptionMenu, ""); }
int32_t DialogTest::dimensionBox() { return session().findControl(loadDialog(), ControlKind::RadioBox, ""); }
int32_t DialogTest::zoneField() { return session().findControl(loadDialog(), ControlKind::TextField, "", 0); }
int32_t DialogTest::fileField() { return session().findControl(loadDialog(), ControlKind::TextField, "", 1); }

int32_t DialogTest::selectZoneButton() {
  return session().findControl(loadDialog(), ControlKind::Button, "Select Zone...");
}

int32_t DialogTest::browseButton() { return session().findControl(loadDialog(), ControlKind::Button, "..."); }
int32_t DialogTest::zoneList() { return session().findControl(selectZoneDialog(), ControlKind::List, ""); }

void DialogTest::setEntity(EntityKind kind, bool on) {
  EXPECT_TRUE(session().setToggle(entityToggle(kind), on)) << "entity toggle " << static_cast<int>(kind);
}

void DialogTest::readClassically() {
  EXPECT_TRUE(session().setToggle(fullReadingToggle(), false)) << "the full-reading toggle is not usable";
}

void DialogTest::typeFileName(const std::string& text) {
  EXPECT_TRUE(session().typeText(fileField(), text)) << "the file field is not usable";
}

bool DialogTest::typeZone(const std::string& text) {
  bool taken = false;
  EXPECT_TRUE(session().typeText(zoneField(), text, &taken)) << "the zone field is not usable";
  return taken;
}

void DialogTest::press(int32_t dialog, orvhost::Session::DialogButton button) {
  EXPECT_TRUE(session().pressDialogButton(dialog, button)) << "dialog " << dialog << " is not usable";
}

void DialogTest::pressButton(int32_t button) {
  EXPECT_TRUE(session().pressButton(button)) << "button " << button << " is not usable";
}

const Control& DialogTest::control(int32_t handle) {
  static const Control kMissing;
  const Control* found = host().toolkit().find(handle);
  if (!found) ADD_FAILURE() << "no control " << handle;
  return found ? *found : kMissing;
}

int DialogTest::heldStrings(const std::string& label) {
  int count = 0;
  for (const auto& entry : host().heldStrings()) count += entry.second.label == label;
  return count;
}

std::string DialogTest::lineDrawing(const std::string& name) const {
  return files.write(name, dxfFile(entitiesSection(lineEntity(0, 0, 1, 1))));
}

}  // namespace drawport::testing
