#include "host/toolkit_model.h"

namespace orvhost {

const char* controlKindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Dialog: return "dialog";
    case ControlKind::Frame: return "frame";
    case ControlKind::Label: return "label";
    case ControlKind::Button: return "button";
    case ControlKind::TextField: return "textfield";
    case ControlKind::OptionMenu: return "optionmenu";
    case ControlKind::RadioBox: return "radiobox";
    case ControlKind::Toggle: return "toggle";
    case ControlKind::List: return "list";
  }
  return "?";
}

const char* toolkitFamilyName(ToolkitFamily family) {
  return family == ToolkitFamily::OrvGUI ? "OrvGUI" : "Panekit";
}

int32_t ToolkitModel::add(Control control) {
  control.handle = static_cast<int32_t>(controls_.size() + 1);
  controls_.push_back(std::move(control));
  return controls_.back().handle;
}

Control* ToolkitModel::find(int32_t handle) {
  if (handle < 1 || static_cast<std::size_t>(handle) > controls_.size()) return nullptr;
  return &controls_[static_cast<std::size_t>(handle) - 1];
}

const Control* ToolkitModel::find(int32_t handle) const {
  return const_cast<ToolkitModel*>(this)->find(handle);
}

std::vector<const Control*> ToolkitModel::childrenOf(int32_t dialog) const {
  std::vector<const Control*> children;
  for (const Control& control : controls_)
    if (control.kind != ControlKind::Dialog && control.parent == dialog) children.push_back(&control);
  return children;
}

int ToolkitModel::openDialogs() const {
  int open = 0;
  for (const Control& control : controls_) open += control.kind == ControlKind::Dialog && control.open;
  return open;
}

}  // namespace orvhost
