#pragma once

#include <string>

#include "user/screen.h"

namespace forms {

// The screen of scripts and terminals: a modal window that waits prints itself as a form and
// takes its next action from the command line's input, as the mouse and keys it stands for.
class FormScreen : public SvScreen {
public:
    bool waitForInput(HWND modalWindow) override;
    // A command starts: a script's earlier bad action no longer stops dialogs.
    void commandStarted() { m_abandoned = false; }

private:
    // False with the error when the action does not fit the form.
    bool perform(HWND form, const struct FormAction& action, std::wstring& error);
    // What a person reads from the form and does next, until the next action line.
    bool act(HWND form);
    // False when a script's bad action has been reported and the dialogs are being left.
    bool refuse(const std::wstring& error);

    bool m_abandoned = false;
    // An action of two gestures whose second waits for the first to take effect: choosing in
    // a combo box clicks it, and once its list has dropped, the item.
    HWND m_droppedCombo = nullptr;
    int m_droppedItem = -1;
};

} // namespace forms
