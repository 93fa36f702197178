#include "host/toolkit_calls.h"

#include <string>

#include "host/host.h"

namespace orvhost::toolkit {
namespace {

CallLine line(Host& host, Caller caller) { return CallLine(caller.operation, host.config().journal); }

void add(Host& host, const CallLine& call) {
  if (call.active()) host.journal().add(call.done());
}

void add(Host& host, const CallLine& call, int64_t result) {
  if (call.active()) host.journal().add(call.result(result));
}

// Entering any toolkit operation: the add-on must use its own generation's
// toolkit.
Host& enter(Caller caller) {
  Host& host = Host::get();
  host.enter(caller.operation);
  const Generation expected = caller.family == ToolkitFamily::Panekit ? Generation::Older : Generation::Later;
  if (host.generation() != expected)
    host.violation(std::string(caller.operation) + " called by an add-on of the " +
                   generationName(host.generation()) + " generation");
  return host;
}

Control* control(Host& host, Caller caller, int32_t handle, ControlKind kind) {
  Control* found = host.toolkit().find(handle);
  if (!found || found->kind != kind) {
    host.violation(std::string(caller.operation) + " on handle " + std::to_string(handle) + ", which is no " +
                   controlKindName(kind));
    return nullptr;
  }
  return found;
}

std::vector<std::string> splitEntries(const char* entries) {
  std::vector<std::string> items;
  std::string current;
  for (const char* p = entries ? entries : ""; *p; ++p) {
    if (*p == ',') {
      items.push_back(current);
      current.clear();
    } else {
      current += *p;
    }
  }
  if (entries && *entries) items.push_back(current);
  return items;
}

int32_t addControl(Host& host, Caller caller, Control control) {
  if (!host.toolkit().find(control.parent) ||
      host.toolkit().find(control.parent)->kind != ControlKind::Dialog)
    host.violation(std::string(caller.operation) + " into handle " + std::to_string(control.parent) +
                   ", which is no dialog");
  control.family = caller.family;
  return host.toolkit().add(std::move(control));
}

const char* callbackText(bool present) { return present ? "callback" : "null"; }

}  // namespace

int32_t dialogCreateModal(Caller caller, int32_t parent, int32_t width, int32_t height, const char* title,
                          DialogCallbacks callbacks) {
  Host& host = enter(caller);
  if (parent != -1 && (!host.toolkit().find(parent) || host.toolkit().find(parent)->kind != ControlKind::Dialog))
    host.violation(std::string(caller.operation) + " with parent " + std::to_string(parent) +
                   ", which is neither the main window nor a dialog");
  Control dialog;
  dialog.kind = ControlKind::Dialog;
  dialog.family = caller.family;
  dialog.parent = parent;
  dialog.width = width;
  dialog.height = height;
  dialog.label = title ? title : "";
  dialog.dialog = callbacks;
  const int32_t handle = host.toolkit().add(dialog);
  add(host,
      line(host, caller)
          .integer(parent)
          .integer(width)
          .integer(height)
          .string(title)
          .raw(std::string("init=") + callbackText(callbacks.init))
          .raw(std::string("ok=") + callbackText(callbacks.ok))
          .raw(std::string("apply=") + callbackText(callbacks.apply))
          .raw(std::string("cancel=") + callbackText(callbacks.cancel))
          .raw(std::string("help=") + callbackText(callbacks.help)),
      handle);
  return handle;
}

void dialogLaunch(Caller caller, int32_t dialog) {
  Host& host = enter(caller);
  add(host, line(host, caller).integer(dialog));
  Control* found = control(host, caller, dialog, ControlKind::Dialog);
  if (!found) return;
  if (found->open) host.violation(std::string(caller.operation) + " of a dialog that is open");
  found->open = true;
  // The toolkit runs the init callback at every launch.
  if (found->dialog.init) found->dialog.init();
}

void dialogDismiss(Caller caller, int32_t dialog) {
  Host& host = enter(caller);
  add(host, line(host, caller).integer(dialog));
  Control* found = control(host, caller, dialog, ControlKind::Dialog);
  if (!found) return;
  if (!found->open) host.violation(std::string(caller.operation) + " of a dialog that is not open");
  found->open = false;
}

int32_t frameAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                 const char* title) {
  Host& host = enter(caller);
  Control frame;
  frame.kind = ControlKind::Frame;
  frame.parent = dialog;
  frame.x = x, frame.y = y, frame.width = width, frame.height = height;
  frame.label = title ? title : "";
  const int32_t handle = addControl(host, caller, frame);
  add(host, line(host, caller).integer(dialog).integer(x).integer(y).integer(width).integer(height).string(title),
      handle);
  return handle;
}

int32_t labelAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, const char* text) {
  Host& host = enter(caller);
  Control label;
  label.kind = ControlKind::Label;
  label.parent = dialog;
  label.x = x, label.y = y;
  label.label = text ? text : "";
  const int32_t handle = addControl(host, caller, label);
  add(host, line(host, caller).integer(dialog).integer(x).integer(y).string(text), handle);
  return handle;
}

int32_t buttonAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                  const char* label, void (*callback)()) {
  Host& host = enter(caller);
  Control button;
  button.kind = ControlKind::Button;
  button.parent = dialog;
  button.x = x, button.y = y, button.width = width, button.height = height;
  button.label = label ? label : "";
  button.buttonCallback = callback;
  const int32_t handle = addControl(host, caller, button);
  add(host,
      line(host, caller)
          .integer(dialog)
          .integer(x)
          .integer(y)
          .integer(width)
          .integer(height)
          .string(label)
          .raw(callbackText(callback)),
      handle);
  return handle;
}

int32_t textFieldAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                     int32_t (*callback)(const char*)) {
  Host& host = enter(caller);
  Control field;
  field.kind = ControlKind::TextField;
  field.parent = dialog;
  field.x = x, field.y = y, field.width = width, field.height = height;
  field.textCallback = callback;
  const int32_t handle = addControl(host, caller, field);
  add(host,
      line(host, caller).integer(dialog).integer(x).integer(y).integer(width).integer(height).raw(
          callbackText(callback)),
      handle);
  return handle;
}

char* textFieldGetString(Caller caller, int32_t field) {
  Host& host = enter(caller);
  Control* found = control(host, caller, field, ControlKind::TextField);
  char* text = host.handOutString(found ? found->text : std::string(), "text field contents");
  if (host.config().journal) host.journal().add(line(host, caller).integer(field).result(quoteString(text)));
  return text;
}

void textFieldSetString(Caller caller, int32_t field, const char* text) {
  Host& host = enter(caller);
  add(host, line(host, caller).integer(field).string(text));
  if (Control* found = control(host, caller, field, ControlKind::TextField)) found->text = text ? text : "";
}

int32_t optionMenuAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                      const char* entries, void (*callback)(int32_t)) {
  Host& host = enter(caller);
  Control menu;
  menu.kind = ControlKind::OptionMenu;
  menu.parent = dialog;
  menu.x = x, menu.y = y, menu.width = width, menu.height = height;
  menu.items = splitEntries(entries);
  menu.value = 1;
  menu.valueCallback = callback;
  const int32_t handle = addControl(host, caller, menu);
  add(host,
      line(host, caller)
          .integer(dialog)
          .integer(x)
          .integer(y)
          .integer(width)
          .integer(height)
          .string(entries)
          .raw(callbackText(callback)),
      handle);
  return handle;
}

void optionMenuSet(Caller caller, int32_t menu, int32_t entry) {
  Host& host = enter(caller);
  add(host, line(host, caller).integer(menu).integer(entry));
  Control* found = control(host, caller, menu, ControlKind::OptionMenu);
  if (!found) return;
  if (entry < 1 || static_cast<std::size_t>(entry) > found->items.size())
    host.violation(std::string(caller.operation) + " to entry " + std::to_string(entry) + " of " +
                   std::to_string(found->items.size()));
  found->value = entry;
}

int32_t radioBoxAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                    const char* const labels[5], void (*callback)(int32_t)) {
  Host& host = enter(caller);
  Control box;
  box.kind = ControlKind::RadioBox;
  box.parent = dialog;
  box.x = x, box.y = y, box.width = width, box.height = height;
  for (int i = 0; i < 5 && labels[i]; ++i) box.items.emplace_back(labels[i]);
  box.value = 1;
  box.valueCallback = callback;
  const int32_t handle = addControl(host, caller, box);
  CallLine call = line(host, caller).integer(dialog).integer(x).integer(y).integer(width).integer(height);
  for (int i = 0; i < 5; ++i) call.string(labels[i]);
  add(host, call.raw(callbackText(callback)), handle);
  return handle;
}

void radioBoxSetToggle(Caller caller, int32_t box, int32_t button) {
  Host& host = enter(caller);
  add(host, line(host, caller).integer(box).integer(button));
  Control* found = control(host, caller, box, ControlKind::RadioBox);
  if (!found) return;
  if (button < 1 || static_cast<std::size_t>(button) > found->items.size())
    host.violation(std::string(caller.operation) + " to button " + std::to_string(button) + " of " +
                   std::to_string(found->items.size()));
  found->value = button;
}

int32_t toggleAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                  const char* label, void (*callback)(int32_t)) {
  Host& host = enter(caller);
  Control toggle;
  toggle.kind = ControlKind::Toggle;
  toggle.parent = dialog;
  toggle.x = x, toggle.y = y, toggle.width = width, toggle.height = height;
  toggle.label = label ? label : "";
  toggle.valueCallback = callback;
  const int32_t handle = addControl(host, caller, toggle);
  add(host,
      line(host, caller)
          .integer(dialog)
          .integer(x)
          .integer(y)
          .integer(width)
          .integer(height)
          .string(label)
          .raw(callbackText(callback)),
      handle);
  return handle;
}

void toggleSet(Caller caller, int32_t toggle, int32_t on) {
  Host& host = enter(caller);
  add(host, line(host, caller).integer(toggle).raw(on ? "true" : "false"));
  if (Control* found = control(host, caller, toggle, ControlKind::Toggle)) found->value = on ? 1 : 0;
}

int32_t listAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                int32_t multiSelection, void (*callback)(int32_t)) {
  Host& host = enter(caller);
  Control list;
  list.kind = ControlKind::List;
  list.parent = dialog;
  list.x = x, list.y = y, list.width = width, list.height = height;
  list.multiSelection = multiSelection != 0;
  list.valueCallback = callback;
  const int32_t handle = addControl(host, caller, list);
  add(host,
      line(host, caller)
          .integer(dialog)
          .integer(x)
          .integer(y)
          .integer(width)
          .integer(height)
          .raw(multiSelection ? "true" : "false")
          .raw(callbackText(callback)),
      handle);
  return handle;
}

void listAppendItem(Caller caller, int32_t list, const char* item) {
  Host& host = enter(caller);
  add(host, line(host, caller).integer(list).string(item));
  if (Control* found = control(host, caller, list, ControlKind::List)) found->items.emplace_back(item ? item : "");
}

void listDeleteAllItems(Caller caller, int32_t list) {
  Host& host = enter(caller);
  add(host, line(host, caller).integer(list));
  if (Control* found = control(host, caller, list, ControlKind::List)) {
    found->items.clear();
    found->value = 0;
  }
}

void listSetSelectedItem(Caller caller, int32_t list, int32_t row) {
  Host& host = enter(caller);
  add(host, line(host, caller).integer(list).integer(row));
  Control* found = control(host, caller, list, ControlKind::List);
  if (!found) return;
  if (row < 1 || static_cast<std::size_t>(row) > found->items.size())
    host.violation(std::string(caller.operation) + " to row " + std::to_string(row) + " of " +
                   std::to_string(found->items.size()));
  found->value = row;
}

void setSensitivity(Caller caller, int32_t control, int32_t sensitive) {
  Host& host = enter(caller);
  add(host, line(host, caller).integer(control).raw(sensitive ? "true" : "false"));
  Control* found = host.toolkit().find(control);
  if (!found || found->kind == ControlKind::Dialog) {
    host.violation(std::string(caller.operation) + " on handle " + std::to_string(control) + ", which is no control");
    return;
  }
  found->sensitive = sensitive != 0;
}

}  // namespace orvhost::toolkit
