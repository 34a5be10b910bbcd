#pragma once

// Steps of a scripted screen for the module's dialogs: reading what a dialog shows and answering
// it as a user does. Input is queued and goes where the focus is once a step is over, so a step
// moves the focus at most once.
#include <ostream>
#include <string>

#include "SentavellUiApp.h"
#include "host/user/scripted_screen.h"
#include "resource.h"

namespace dialogsteps {

inline std::wstring textOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

inline std::wstring itemText(HWND dialog, int id) {
    return textOf(GetDlgItem(dialog, id));
}

inline ScriptedScreen::Step click(int id) {
    return [id](HWND dialog) { svInputClick(GetDlgItem(dialog, id)); };
}

inline ScriptedScreen::Step press(WPARAM key) {
    return [key](HWND) { svInputKeyPress(key); };
}

// A message box as it was shown.
struct Shown {
    std::wstring text;
    std::wstring caption;
};

inline bool operator==(const Shown& a, const Shown& b) {
    return a.text == b.text && a.caption == b.caption;
}

inline void PrintTo(const Shown& shown, std::ostream* out) {
    *out << std::string(shown.text.begin(), shown.text.end());
}

inline Shown message(UINT textId, UINT captionId) {
    return {std::wstring(svResString()(textId)), std::wstring(svResString()(captionId))};
}

// Reads a message box, then closes it with Enter.
inline ScriptedScreen::Step readMessage(Shown& shown) {
    return [&shown](HWND box) {
        shown = {itemText(box, SV_MSGBOX_TEXT_ID), textOf(box)};
        svInputKeyPress(VK_RETURN);
    };
}

// In a new style's editor: a name and the text modifier (which sorts last and has no options),
// then OK.
inline void fillStyleEditor(ScriptedScreen& screen, const wchar_t* name) {
    screen.then([name](HWND editor) {
        SetFocus(GetDlgItem(editor, IDC_STYLE_NAME));
        svInputText(name);
    });
    screen.then([](HWND editor) {
        SetFocus(GetDlgItem(editor, IDC_STYLE_MODIFIER));
        svInputKeyPress(VK_END);
    });
    screen.then(click(IDOK));
}

// From the style manager: New in the list's menu, then the editor as above.
inline void newStyleInManager(ScriptedScreen& screen, const wchar_t* name) {
    screen.then([](HWND manager) {
        svInputClick(GetDlgItem(manager, IDC_STYLE_LIST), SvMouseButton::right);
    });
    screen.then([](HWND) {
        svInputKeyPress(VK_DOWN);
        svInputKeyPress(VK_RETURN);
    });
    fillStyleEditor(screen, name);
}

} // namespace dialogsteps
