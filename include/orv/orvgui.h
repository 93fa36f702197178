/*
 * OrvGUI: the dialog toolkit of the later Orvex host generation, part of
 * liborv.
 *
 * Dialogs and controls are named by 32-bit handles. Positions and sizes are in
 * the toolkit's layout units. A modal dialog is created once and launched as
 * often as needed; launching shows it and runs its init callback, and the
 * host's event loop then calls the control callbacks as the user acts.
 */
#ifndef ORV_ORVGUI_H
#define ORV_ORVGUI_H

#include "orv/liborv.h"

#ifdef __cplusplus
extern "C" {
#endif

#define ORVGUI_MAIN_DIALOG_ID (-1)

typedef void (*OrvGUIVoidCallback_t)(void);
/* Toggles receive their new state, option menus the chosen entry (from 1),
 * radio boxes the chosen button (from 1), lists the selected row (from 1). */
typedef void (*OrvGUIIntCallback_t)(int32_t value);
/* Text fields receive their new text; the result tells whether it was taken. */
typedef OrvBoolean_t (*OrvGUITextCallback_t)(const char *text);

int32_t OrvGUIDialogCreateModal(int32_t parentDialog, int32_t width, int32_t height, const char *title,
                                OrvGUIVoidCallback_t initCallback, OrvGUIVoidCallback_t okCallback,
                                OrvGUIVoidCallback_t applyCallback, OrvGUIVoidCallback_t cancelCallback,
                                OrvGUIVoidCallback_t helpCallback);
void OrvGUIDialogLaunch(int32_t dialog);
void OrvGUIDialogDrop(int32_t dialog);

int32_t OrvGUIFrameAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char *title);
int32_t OrvGUILabelAdd(int32_t dialog, int32_t x, int32_t y, const char *text);
int32_t OrvGUIButtonAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char *label,
                        OrvGUIVoidCallback_t callback);
int32_t OrvGUITextFieldAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                           OrvGUITextCallback_t callback);
/* The text handed back is the add-on's to release with OrvUtilStringDealloc. */
char *OrvGUITextFieldGetString(int32_t textField);
void OrvGUITextFieldSetString(int32_t textField, const char *text);
/* entries: the entry labels separated by commas. */
int32_t OrvGUIOptionMenuAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                            const char *entries, OrvGUIIntCallback_t callback);
void OrvGUIOptionMenuSet(int32_t optionMenu, int32_t entry);
/* Up to five buttons; unused labels are null. */
int32_t OrvGUIRadioBoxAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                          const char *label1, const char *label2, const char *label3, const char *label4,
                          const char *label5, OrvGUIIntCallback_t callback);
void OrvGUIRadioBoxSetToggle(int32_t radioBox, int32_t button);
int32_t OrvGUIToggleAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char *label,
                        OrvGUIIntCallback_t callback);
void OrvGUIToggleSet(int32_t toggle, OrvBoolean_t on);
int32_t OrvGUIListAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                      OrvBoolean_t multiSelection, OrvGUIIntCallback_t callback);
void OrvGUIListAppendItem(int32_t list, const char *item);
void OrvGUIListDeleteAllItems(int32_t list);
void OrvGUIListSetSelectedItem(int32_t list, int32_t row);
void OrvGUISetSensitivity(int32_t control, OrvBoolean_t sensitive);

#ifdef __cplusplus
}
#endif

#endif /* ORV_ORVGUI_H */
