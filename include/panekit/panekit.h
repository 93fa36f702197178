/*
 * Panekit: the dialog toolkit of the older Orvex host generation.
 *
 * Dialogs and controls are named by 32-bit handles. Positions and sizes are in
 * the toolkit's layout units. A modal dialog is created once and launched as
 * often as needed; launching shows it and runs its init callback, and the
 * host's event loop then calls the control callbacks as the user acts.
 * Strings handed back are released with OrvUtilStringDealloc of liborv.
 */
#ifndef PANEKIT_PANEKIT_H
#define PANEKIT_PANEKIT_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define GUI_MAIN_DIALOG_ID (-1)

typedef int32_t GUI_Boolean_t;
typedef void (*GUI_VoidCallback_t)(void);
/* Toggles receive their new state, option menus the chosen entry (from 1),
 * radio boxes the chosen button (from 1), lists the selected row (from 1). */
typedef void (*GUI_IntCallback_t)(int32_t value);
/* Text fields receive their new text; the result tells whether it was taken. */
typedef GUI_Boolean_t (*GUI_TextCallback_t)(const char *text);

int32_t GUI_DialogCreateModal(int32_t parentDialog, int32_t width, int32_t height, const char *title,
                              GUI_VoidCallback_t helpCallback, GUI_VoidCallback_t okCallback,
                              GUI_VoidCallback_t cancelCallback, GUI_VoidCallback_t initCallback);
void GUI_DialogLaunch(int32_t dialog);
void GUI_DialogDismiss(int32_t dialog);

int32_t GUI_FrameAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char *title);
int32_t GUI_LabelAdd(int32_t dialog, int32_t x, int32_t y, const char *text);
int32_t GUI_ButtonAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char *label,
                      GUI_VoidCallback_t callback);
int32_t GUI_TextFieldAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                         GUI_TextCallback_t callback);
char *GUI_TextFieldGetString(int32_t textField);
void GUI_TextFieldSetString(int32_t textField, const char *text);
int32_t GUI_OptionMenuAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                          const char *entries, GUI_IntCallback_t callback);
void GUI_OptionMenuSet(int32_t optionMenu, int32_t entry);
int32_t GUI_RadioBoxAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char *label1,
                        const char *label2, const char *label3, const char *label4, const char *label5,
                        GUI_IntCallback_t callback);
void GUI_RadioBoxSetToggle(int32_t radioBox, int32_t button);
int32_t GUI_ToggleAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height, const char *label,
                      GUI_IntCallback_t callback);
void GUI_ToggleSet(int32_t toggle, GUI_Boolean_t on);
int32_t GUI_ListAdd(int32_t dialog, int32_t x, int32_t y, int32_t width, int32_t height,
                    GUI_Boolean_t multiSelection, GUI_IntCallback_t callback);
void GUI_ListAppendItem(int32_t list, const char *item);
void GUI_ListDeleteAllItems(int32_t list);
void GUI_ListSetSelectedItem(int32_t list, int32_t row);
void GUI_SetSensitivity(int32_t control, GUI_Boolean_t sensitive);

#ifdef __cplusplus
}
#endif

#endif /* PANEKIT_PANEKIT_H */
