#include "form_screen.h"

#include <utility>

#include "control_items.h"
#include "crt/format.h"
#include "ed/commands.h"
#include "ed/input.h"
#include "form_action.h"
#include "form_view.h"
#include "gdi/surface.h"
#include "rx/print.h"
#include "user/controls.h"
#include "user/dialog.h"
#include "user/input.h"
#include "user/menu.h"
#include "user/paint.h"
#include "user/window.h"

namespace forms {

namespace {

// A pointer that rests this long has shown every tooltip.
constexpr DWORD kHoverMilliseconds = 1000;

POINT centreOf(const RECT& rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void pressKey(UINT key, bool shift) {
    if (shift)
        svInputKey(VK_SHIFT, true);
    svInputKeyPress(key);
    if (shift)
        svInputKey(VK_SHIFT, false);
}

bool writeSnapshot(HWND window, const std::wstring& path, std::wstring& error) {
    SvSurface* surface = svSnapshotWindow(window);
    const bool written = surface != nullptr && svWriteSurfacePng(surface, svToUtf8(path).c_str());
    svDestroySurface(surface);
    if (!written)
        error = L"Cannot write the snapshot " + path + L".";
    return written;
}

bool clickMenuItem(HWND menuWindow, int id, std::wstring& error) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (GetMenuItemID(menu, i) != static_cast<UINT>(id))
            continue;
        RECT rect{};
        if (!GetMenuItemRect(menuWindow, menu, static_cast<UINT>(i), &rect))
            break;
        // A greyed item takes the click and does nothing, as under a pointer.
        const POINT at = centreOf(rect);
        svInputMouseMove(at);
        svInputMouseButton(SvMouseButton::left, true, at);
        svInputMouseButton(SvMouseButton::left, false, at);
        return true;
    }
    error = svFormat(L"The menu has no item %d.", id);
    return false;
}

} // namespace

bool FormScreen::perform(HWND form, const FormAction& action, std::wstring& error) {
    const bool menu = describeForm(form).menu;
    if (action.kind == FormAction::Show)
        return true;
    if (action.kind == FormAction::Key) {
        pressKey(action.virtualKey, action.shift);
        return true;
    }
    if (action.kind == FormAction::Move) {
        if (menu) {
            error = L"A menu cannot be moved.";
            return false;
        }
        SetWindowPos(form, nullptr, action.x, action.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return true;
    }
    if (menu) {
        if (action.kind == FormAction::Click)
            return clickMenuItem(form, action.control, error);
        if (action.kind == FormAction::Snapshot && action.control == 0)
            return writeSnapshot(form, action.text, error);
        error = L"A menu takes click ID, key NAME, snapshot FILE.png or show.";
        return false;
    }
    if (action.kind == FormAction::Snapshot && action.control == 0)
        return writeSnapshot(form, action.text, error);

    const HWND control = formControl(form, action.control);
    if (control == nullptr || !IsWindowVisible(control)) {
        error = svFormat(L"The form has no control %d.", action.control);
        return false;
    }
    if (action.kind == FormAction::Snapshot)
        return writeSnapshot(control, action.text, error);
    if (action.kind != FormAction::Hover && !IsWindowEnabled(control)) {
        error = svFormat(L"Control %d is disabled.", action.control);
        return false;
    }
    const std::wstring kind = controlKind(control);
    POINT at = svWindowCentre(control);
    if (action.hasItem && !itemPoint(control, action.item, at, error))
        return false;

    switch (action.kind) {
    case FormAction::Click:
        svInputClick(control);
        return true;
    case FormAction::Select:
        if (kind != L"list" && kind != L"tree") {
            error = svFormat(L"Control %d is a %s: select takes a list or a tree.", action.control,
                             kind.c_str());
            return false;
        }
        svInputMouseMove(at);
        svInputMouseButton(SvMouseButton::left, true, at);
        svInputMouseButton(SvMouseButton::left, false, at);
        return true;
    case FormAction::DoubleClick:
        svInputMouseMove(at);
        svInputMouseButton(SvMouseButton::left, true, at);
        svInputMouseButton(SvMouseButton::left, false, at);
        svInputMouseDoubleClick(SvMouseButton::left, at);
        svInputMouseButton(SvMouseButton::left, false, at);
        return true;
    case FormAction::RightClick:
        svInputMouseMove(at);
        svInputMouseButton(SvMouseButton::right, true, at);
        svInputMouseButton(SvMouseButton::right, false, at);
        return true;
    case FormAction::Hover:
        svInputMouseMove(at);
        svAdvanceClock(kHoverMilliseconds);
        return true;
    case FormAction::Type:
        if (kind != L"edit") {
            error = svFormat(L"Control %d is a %s: type takes an edit field.", action.control,
                             kind.c_str());
            return false;
        }
        if ((GetWindowLongPtrW(control, GWL_STYLE) & ES_READONLY) != 0) {
            error = svFormat(L"Control %d is read-only.", action.control);
            return false;
        }
        // What a person does: click into the field, select what it holds, type over it.
        svInputClick(control);
        svInputKeyPress(VK_END);
        pressKey(VK_HOME, true);
        if (action.text.empty())
            svInputKeyPress(VK_DELETE);
        else
            svInputText(action.text.c_str());
        return true;
    case FormAction::Choose:
        if (kind != L"combo") {
            error = svFormat(L"Control %d is a %s: choose takes a combo box.", action.control,
                             kind.c_str());
            return false;
        }
        m_droppedItem = comboItem(control, action.text, error);
        if (m_droppedItem < 0)
            return false;
        m_droppedCombo = control;
        svInputClick(control);
        return true;
    default:
        error = L"That action does not fit this form.";
        return false;
    }
}

bool FormScreen::refuse(const std::wstring& error) {
    acutPrintf(L"\n%s", error.c_str());
    if (svInputIsInteractive())
        return true;
    // A script's bad action stops the script at its line, as a bad prompt answer does.
    m_abandoned = true;
    svSetCommandFailed();
    return false;
}

bool FormScreen::act(HWND form) {
    while (true) {
        acutPrintf(L"%s", formText(describeForm(form)).c_str());
        std::wstring line;
        if (!svReadAnswer(L"Action: ", line, SvAnswer::Line))
            return false;
        if (line == kSvCancelWord) {
            svInputKeyPress(VK_ESCAPE);
            return true;
        }
        FormAction action;
        std::wstring error;
        if (parseFormAction(line, action, error) && perform(form, action, error))
            return true;
        if (!refuse(error))
            return false;
    }
}

bool FormScreen::waitForInput(HWND modalWindow) {
    if (m_abandoned)
        return false;
    if (m_droppedCombo != nullptr) {
        const HWND combo = std::exchange(m_droppedCombo, nullptr);
        std::wstring error;
        if (clickDroppedItem(combo, m_droppedItem, error))
            return true;
        if (!refuse(error))
            return false;
    }
    return act(modalWindow);
}

} // namespace forms
