// The host's side of both dialog toolkits. OrvGUI (liborv) and Panekit give
// the same operations under their own names and, for dialog creation, their
// own argument order; both land here.
#pragma once

#include <cstdint>

#include "host/toolkit_model.h"

namespace orvhost::toolkit {

struct Caller {
  ToolkitFamily family;
  const char* operation;  // the C name, for the journal and violations
};

int32_t dialogCreateModal(Caller caller, int32_t parent, int32_t width, int32_t height, const char* title,
                          DialogCallbacks callbacks);
void dialogLaunch(Caller caller, int32_t dialog);
void dialogDismiss(Caller caller, int32_t dialog);
int32_t frameAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                 const char* title);
int32_t labelAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, const char* text);
int32_t buttonAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                  const char* label, void (*callback)());
int32_t textFieldAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                     int32_t (*callback)(const char*));
char* textFieldGetString(Caller caller, int32_t field);
void textFieldSetString(Caller caller, int32_t field, const char* text);
int32_t optionMenuAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                      const char* entries, void (*callback)(int32_t));
void optionMenuSet(Caller caller, int32_t menu, int32_t entry);
int32_t radioBoxAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                    const char* const labels[5], void (*callback)(int32_t));
void radioBoxSetToggle(Caller caller, int32_t box, int32_t button);
int32_t toggleAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                  const char* label, void (*callback)(int32_t));
void toggleSet(Caller caller, int32_t toggle, int32_t on);
int32_t listAdd(Caller caller, int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                int32_t multiSelection, void (*callback)(int32_t));
void listAppendItem(Caller caller, int32_t list, const char* item);
void listDeleteAllItems(Caller caller, int32_t list);
void listSetSelectedItem(Caller caller, int32_t list, int32_t row);
void setSensitivity(Caller caller, int32_t control, int32_t sensitive);

}  // namespace orvhost::toolkit
