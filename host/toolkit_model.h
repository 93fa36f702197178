// The dialogs and controls of both dialog toolkits, as the host keeps them.
//
// Handles are given from 1 on, in creation order, shared by dialogs and
// controls; -1 names the host's main window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvhost {

enum class ControlKind : uint8_t { Dialog, Frame, Label, Button, TextField, OptionMenu, RadioBox, Toggle, List };
enum class ToolkitFamily : uint8_t { OrvGUI, Panekit };

const char* controlKindName(ControlKind kind);
const char* toolkitFamilyName(ToolkitFamily family);

struct DialogCallbacks {
  void (*init)() = nullptr;
  void (*ok)() = nullptr;
  void (*apply)() = nullptr;
  void (*cancel)() = nullptr;
  void (*help)() = nullptr;
};

struct Control {
  int32_t handle = 0;
  ControlKind kind = ControlKind::Label;
  ToolkitFamily family = ToolkitFamily::OrvGUI;
  int32_t parent = -1;  // the dialog it stands in; for a dialog, its parent dialog
  int32_t x = 0, y = 0, width = 0, height = 0;
  std::string label;               // title, label text, button, toggle or frame label
  std::vector<std::string> items;  // option menu entries, radio button labels, list rows
  bool sensitive = true;
  // Toggle state, option menu entry, radio button or selected list row (from
  // 1; 0 for none).
  int32_t value = 0;
  std::string text;  // text fields
  bool open = false;  // dialogs: launched and not yet dismissed
  bool multiSelection = false;
  void (*buttonCallback)() = nullptr;
  void (*valueCallback)(int32_t) = nullptr;
  int32_t (*textCallback)(const char*) = nullptr;
  DialogCallbacks dialog;
};

class ToolkitModel {
 public:
  void clear() { controls_.clear(); }
  int32_t add(Control control);
  Control* find(int32_t handle);
  const Control* find(int32_t handle) const;
  const std::vector<Control>& controls() const { return controls_; }
  // The controls standing in `dialog`, in creation order.
  std::vector<const Control*> childrenOf(int32_t dialog) const;
  int openDialogs() const;

 private:
  std::vector<Control> controls_;
};

}  // namespace orvhost
