#pragma once

#include "user/dialog.h"
#include "user/window_table.h"

namespace sv::user {

struct DialogData {
    HFONT font = nullptr;
    bool ownsFont = false;
    SIZE baseUnits{6, 13}; // pixels of 4 horizontal and 8 vertical dialog units
    int defaultId = 0;     // 0: no default push button
    HWND savedFocus = nullptr;
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    HWND disabledOwner = nullptr; // enabled again when the modal dialog ends
    ~DialogData();
};

// Null for a window that is no dialog.
DialogData* dialogData(HWND window);

// The font a template asks for (the default interface font when it names none) and its base
// units: the average width of the alphabet and the height of the font's cell.
HFONT createTemplateFont(const SvResDialog& dialogTemplate, bool* owned);
SIZE measureBaseUnits(HFONT font);
RECT dialogUnitsToPixels(SIZE baseUnits, int x, int y, int cx, int cy);

// Makes a dialog from a template and sends it WM_INITDIALOG; a modal one stays hidden for its
// loop to show.
HWND createDialog(HINSTANCE instance, const SvResDialog* dialogTemplate, HWND owner, DLGPROC proc,
                  LPARAM param, bool modal);

// A binary template read into its parts; a module's template by name. False when missing or
// damaged.
bool readTemplate(LPCDLGTEMPLATEW dialogTemplate, SvResDialog& parsed);
bool loadTemplate(HINSTANCE instance, LPCWSTR name, SvResDialog& parsed);

// Gives the focus to a control as the dialog manager does: an edit gets its text selected.
void setDialogFocus(HWND dialog, HWND control);

} // namespace sv::user
