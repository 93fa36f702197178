// The host's Panekit toolkit operations (older generation).
#include "panekit/panekit.h"

#include "host/toolkit_calls.h"

using namespace orvhost::toolkit;
using orvhost::ToolkitFamily;

extern "C" {

int32_t GUI_DialogCreateModal(int32_t parentDialog, int32_t width, int32_t height, const char* title,
                              GUI_VoidCallback_t helpCallback, GUI_VoidCallback_t okCallback,
                              GUI_VoidCallback_t cancelCallback, GUI_VoidCallback_t initCallback) {
  return dialogCreateModal({ToolkitFamily::Panekit, "GUI_DialogCreateModal"}, parentDialog, width, height, title,
                           {initCallback, okCallback, nullptr, cancelCallback, helpCallback});
}

void GUI_DialogDismiss(int32_t dialog) { dialogDismiss({ToolkitFamily::Panekit, "GUI_DialogDismiss"}, dialog); }

void GUI_DialogLaunch(int32_t dialog) {
  dialogLaunch({ToolkitFamily::Panekit, "GUI_DialogLaunch"}, dialog);
}

int32_t GUI_FrameAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char* title) {
  return frameAdd({ToolkitFamily::Panekit, "GUI_FrameAdd"}, dialog, x, y, width, height, title);
}

int32_t GUI_LabelAdd(int32_t dialog, int32_t x, int32_t y, const char* text) {
  return labelAdd({ToolkitFamily::Panekit, "GUI_LabelAdd"}, dialog, x, y, text);
}

int32_t GUI_ButtonAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char* label, GUI_VoidCallback_t callback) {
  return buttonAdd({ToolkitFamily::Panekit, "GUI_ButtonAdd"}, dialog, x, y, width, height, label, callback);
}

int32_t GUI_TextFieldAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, GUI_TextCallback_t callback) {
  return textFieldAdd({ToolkitFamily::Panekit, "GUI_TextFieldAdd"}, dialog, x, y, width, height, callback);
}

char* GUI_TextFieldGetString(int32_t textField) {
  return textFieldGetString({ToolkitFamily::Panekit, "GUI_TextFieldGetString"}, textField);
}

void GUI_TextFieldSetString(int32_t textField, const char* text) {
  textFieldSetString({ToolkitFamily::Panekit, "GUI_TextFieldSetString"}, textField, text);
}

int32_t GUI_OptionMenuAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char* entries, GUI_IntCallback_t callback) {
  return optionMenuAdd({ToolkitFamily::Panekit, "GUI_OptionMenuAdd"}, dialog, x, y, width, height, entries, callback);
}

void GUI_OptionMenuSet(int32_t optionMenu, int32_t entry) {
  optionMenuSet({ToolkitFamily::Panekit, "GUI_OptionMenuSet"}, optionMenu, entry);
}

int32_t GUI_RadioBoxAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char* label1, const char* label2, const char* label3, const char* label4, const char* label5, GUI_IntCallback_t callback) {
  const char* const labels[5] = {label1, label2, label3, label4, label5};
  return radioBoxAdd({ToolkitFamily::Panekit, "GUI_RadioBoxAdd"}, dialog, x, y, width, height, labels, callback);
}

void GUI_RadioBoxSetToggle(int32_t radioBox, int32_t button) {
  radioBoxSetToggle({ToolkitFamily::Panekit, "GUI_RadioBoxSetToggle"}, radioBox, button);
}

int32_t GUI_ToggleAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char* label, GUI_IntCallback_t callback) {
  return toggleAdd({ToolkitFamily::Panekit, "GUI_ToggleAdd"}, dialog, x, y, width, height, label, callback);
}

void GUI_ToggleSet(int32_t toggle, GUI_Boolean_t on) {
  toggleSet({ToolkitFamily::Panekit, "GUI_ToggleSet"}, toggle, on);
}

int32_t GUI_ListAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, GUI_Boolean_t multiSelection, GUI_IntCallback_t callback) {
  return listAdd({ToolkitFamily::Panekit, "GUI_ListAdd"}, dialog, x, y, width, height, multiSelection, callback);
}

void GUI_ListAppendItem(int32_t list, const char* item) {
  listAppendItem({ToolkitFamily::Panekit, "GUI_ListAppendItem"}, list, item);
}

void GUI_ListDeleteAllItems(int32_t list) {
  listDeleteAllItems({ToolkitFamily::Panekit, "GUI_ListDeleteAllItems"}, list);
}

void GUI_ListSetSelectedItem(int32_t list, int32_t row) {
  listSetSelectedItem({ToolkitFamily::Panekit, "GUI_ListSetSelectedItem"}, list, row);
}

void GUI_SetSensitivity(int32_t control, GUI_Boolean_t sensitive) {
  setSensitivity({ToolkitFamily::Panekit, "GUI_SetSensitivity"}, control, sensitive);
}

}  // extern "C"
