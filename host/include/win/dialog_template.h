#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "win/resource_status.h"
#include "win/types.h"

#pragma GCC visibility push(default)

// The window classes a template may name by ordinal (0xFFFF, then one of these).
#define SV_CLASS_BUTTON 0x0080
#define SV_CLASS_EDIT 0x0081
#define SV_CLASS_STATIC 0x0082
#define SV_CLASS_LISTBOX 0x0083
#define SV_CLASS_SCROLLBAR 0x0084
#define SV_CLASS_COMBOBOX 0x0085

// A template field that holds a text or a resource ordinal; neither means the field is empty.
struct SvResName {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::wstring text;
    bool empty() const { return !isOrdinal && text.empty(); }
};

// One control of a dialog template. Dialog units throughout.
struct SvResDialogItem {
    std::wstring windowClass; // predefined classes by their names: "Button", "Edit", "Static",
                              // "ListBox", "ScrollBar", "ComboBox"; others as the template has them
    SvResName title;          // an ordinal names an image resource (SS_ICON, SS_BITMAP)
    LONG id = 0;              // -1 for IDC_STATIC
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::vector<BYTE> creationData; // handed to the control in WM_CREATE
};

// A dialog template read into its parts, from the DIALOGEX (DLGTEMPLATEEX) or DIALOG
// (DLGTEMPLATE) layout.
struct SvResDialog {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    SvResName menu;
    SvResName windowClass; // empty for the default dialog class
    std::wstring caption;
    bool hasFont = false; // DS_SETFONT (and so DS_SHELLFONT) in the style
    WORD fontPointSize = 0;
    WORD fontWeight = 0;
    BYTE fontItalic = 0;
    BYTE fontCharset = 0;
    std::wstring fontFace;
    std::vector<SvResDialogItem> items;
};

// Reads a template as DialogBoxIndirectParamW receives it: it must start on a DWORD boundary,
// and size bounds every read. On failure dialog is left empty.
SvResStatus svParseDialogTemplate(const void* data, std::size_t size, SvResDialog& dialog);

// The RT_DIALOG resource name of module, read as above.
SvResStatus svLoadDialog(HMODULE module, LPCWSTR name, SvResDialog& dialog);

#pragma GCC visibility pop
