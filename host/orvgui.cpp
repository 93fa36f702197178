// The host's OrvGUI toolkit operations (later generation, part of liborv).
#include "orv/orvgui.h"

#include "host/toolkit_calls.h"

using namespace orvhost::toolkit;
using orvhost::ToolkitFamily;

extern "C" {

int32_t OrvGUIDialogCreateModal(int32_t parentDialog, int32_t width, int32_t height, const char* title,
                                OrvGUIVoidCallback_t initCallback, OrvGUIVoidCallback_t okCallback,
                                OrvGUIVoidCallback_t applyCallback, OrvGUIVoidCallback_t cancelCallback,
                                OrvGUIVoidCallback_t helpCallback) {
  return dialogCreateModal({ToolkitFamily::OrvGUI, "OrvGUIDialogCreateModal"}, parentDialog, width, height, title,
                           {initCallback, okCallback, applyCallback, cancelCallback, helpCallback});
}

void OrvGUIDialogDrop(int32_t dialog) { dialogDismiss({ToolkitFamily::OrvGUI, "OrvGUIDialogDrop"}, dialog); }

void OrvGUIDialogLaunch(int32_t dialog) {
  dialogLaunch({ToolkitFamily::OrvGUI, "OrvGUIDialogLaunch"}, dialog);
}

int32_t OrvGUIFrameAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char* title) {
  return frameAdd({ToolkitFamily::OrvGUI, "OrvGUIFrameAdd"}, dialog, x, y, width, height, title);
}

int32_t OrvGUILabelAdd(int32_t dialog, int32_t x, int32_t y, const char* text) {
  return labelAdd({ToolkitFamily::OrvGUI, "OrvGUILabelAdd"}, dialog, x, y, text);
}

int32_t OrvGUIButtonAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char* label, OrvGUIVoidCallback_t callback) {
  return buttonAdd({ToolkitFamily::OrvGUI, "OrvGUIButtonAdd"}, dialog, x, y, width, height, label, callback);
}

int32_t OrvGUITextFieldAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, OrvGUITextCallback_t callback) {
  return textFieldAdd({ToolkitFamily::OrvGUI, "OrvGUITextFieldAdd"}, dialog, x, y, width, height, callback);
}

char* OrvGUITextFieldGetString(int32_t textField) {
  return textFieldGetString({ToolkitFamily::OrvGUI, "OrvGUITextFieldGetString"}, textField);
}

void OrvGUITextFieldSetString(int32_t textField, const char* text) {
  textFieldSetString({ToolkitFamily::OrvGUI, "OrvGUITextFieldSetString"}, textField, text);
}

int32_t OrvGUIOptionMenuAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char* entries, OrvGUIIntCallback_t callback) {
  return optionMenuAdd({ToolkitFamily::OrvGUI, "OrvGUIOptionMenuAdd"}, dialog, x, y, width, height, entries, callback);
}

void OrvGUIOptionMenuSet(int32_t optionMenu, int32_t entry) {
  optionMenuSet({ToolkitFamily::OrvGUI, "OrvGUIOptionMenuSet"}, optionMenu, entry);
}

int32_t OrvGUIRadioBoxAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char* label1, const char* label2, const char* label3, const char* label4, const char* label5, OrvGUIIntCallback_t callback) {
  const char* const labels[5] = {label1, label2, label3, label4, label5};
  return radioBoxAdd({ToolkitFamily::OrvGUI, "OrvGUIRadioBoxAdd"}, dialog, x, y, width, height, labels, callback);
}

void OrvGUIRadioBoxSetToggle(int32_t radioBox, int32_t button) {
  radioBoxSetToggle({ToolkitFamily::OrvGUI, "OrvGUIRadioBoxSetToggle"}, radioBox, button);
}

int32_t OrvGUIToggleAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char* label, OrvGUIIntCallback_t callback) {
  return toggleAdd({ToolkitFamily::OrvGUI, "OrvGUIToggleAdd"}, dialog, x, y, width, height, label, callback);
}

void OrvGUIToggleSet(int32_t toggle, OrvBoolean_t on) {
  toggleSet({ToolkitFamily::OrvGUI, "OrvGUIToggleSet"}, toggle, on);
}

int32_t OrvGUIListAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, OrvBoolean_t multiSelection, OrvGUIIntCallback_t callback) {
  return listAdd({ToolkitFamily::OrvGUI, "OrvGUIListAdd"}, dialog, x, y, width, height, multiSelection, callback);
}

void OrvGUIListAppendItem(int32_t list, const char* item) {
  listAppendItem({ToolkitFamily::OrvGUI, "OrvGUIListAppendItem"}, list, item);
}

void OrvGUIListDeleteAllItems(int32_t list) {
  listDeleteAllItems({ToolkitFamily::OrvGUI, "OrvGUIListDeleteAllItems"}, list);
}

void OrvGUIListSetSelectedItem(int32_t list, int32_t row) {
  listSetSelectedItem({ToolkitFamily::OrvGUI, "OrvGUIListSetSelectedItem"}, list, row);
}

void OrvGUISetSensitivity(int32_t control, OrvBoolean_t sensitive) {
  setSensitivity({ToolkitFamily::OrvGUI, "OrvGUISetSensitivity"}, control, sensitive);
}

}  // extern "C"
