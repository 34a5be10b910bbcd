#pragma once

#include <string>
#include <vector>

#include "user/types.h"

namespace forms {

// The controls of a form as the screen reads them back: what a person sees of each.
struct ControlView {
    HWND window = nullptr;
    int id = 0;
    std::wstring kind; // button, check, radio, group, edit, text, combo, list, tree, ...
    std::wstring text;
    bool enabled = true;
    bool focused = false;
    std::vector<std::wstring> details; // lines below the control: rows, items, choices
    std::wstring state;                // "checked", "default", "disabled", ...
};

// A dialog or message box: its caption and controls in tab order; a popup menu: its items.
struct FormView {
    HWND window = nullptr;
    bool menu = false;
    std::wstring caption;
    std::vector<ControlView> controls;
};

FormView describeForm(HWND window);
std::wstring formText(const FormView& view);

// The child control of a form with that id, null when there is none; ids are unique in forms.
HWND formControl(HWND form, int id);
// "button", "edit", ... for a control's class and style.
std::wstring controlKind(HWND control);

} // namespace forms
