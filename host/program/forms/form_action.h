#pragma once

#include <string>

namespace forms {

// One line a person or a script answers a form with. Controls are named by their id; rows of a
// list and items of a tree by their number (0 first) or their text.
struct FormAction {
    enum Kind {
        Click,       // click ID
        DoubleClick, // dblclick ID [ROW]
        RightClick,  // rclick ID [ROW]
        Type,        // type ID TEXT: the control's text becomes TEXT
        Choose,      // choose ID TEXT: the combo box item with that text
        Select,      // select ID ROW
        Key,         // key NAME: Enter, Esc, F1, Tab, Shift+Tab, Up, Down, Left, Right, Space, ...
        Hover,       // hover ID [ROW]: the pointer rests on it
        Move,        // move X,Y: the window's top-left corner on the screen
        Snapshot,    // snapshot FILE.png [ID]
        Show,        // show: the form again
    };
    Kind kind = Show;
    int control = 0;
    bool hasItem = false;
    std::wstring item; // row or item: a number or a text
    std::wstring text;
    unsigned virtualKey = 0;
    bool shift = false;
    int x = 0, y = 0;
};

// False with a message that says what is wrong, in words a person understands.
bool parseFormAction(const std::wstring& line, FormAction& action, std::wstring& error);

// What HELP says of the actions.
const wchar_t* formActionsHelp();

// The names the controls of standard ids answer to besides their number.
int standardControlId(const std::wstring& name);

} // namespace forms
