#include "user/controls.h"
#include "user/dialog_internal.h"
#include "user/input.h"
#include "user/metrics.h"
#include "user/msgbox.h"

#include "gdi/dc.h"
#include "gdi/objects.h"
#include "gdi/text.h"

#include <algorithm>
#include <vector>

namespace sv::user {
namespace {

struct Button {
    int id;
    const wchar_t* text;
};

std::vector<Button> buttonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, L"OK"}, {IDCANCEL, L"Cancel"}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, L"&Abort"}, {IDRETRY, L"&Retry"}, {IDIGNORE, L"&Ignore"}};
    case MB_YESNOCANCEL:
        return {{IDYES, L"&Yes"}, {IDNO, L"&No"}, {IDCANCEL, L"Cancel"}};
    case MB_YESNO:
        return {{IDYES, L"&Yes"}, {IDNO, L"&No"}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, L"&Retry"}, {IDCANCEL, L"Cancel"}};
    case MB_CANCELTRYCONTINUE:
        return {{IDCANCEL, L"Cancel"}, {IDTRYAGAIN, L"&Try Again"}, {IDCONTINUE, L"&Continue"}};
    default:
        return {{IDOK, L"OK"}};
    }
}

LPCWSTR iconFor(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return IDI_HAND;
    case MB_ICONQUESTION:
        return IDI_QUESTION;
    case MB_ICONEXCLAMATION:
        return IDI_EXCLAMATION;
    case MB_ICONASTERISK:
        return IDI_ASTERISK;
    default:
        return nullptr;
    }
}

struct Box {
    UINT type;
    std::vector<Button> buttons;
    int defaultId;
};

bool hasButton(const Box& box, int id) {
    return std::any_of(box.buttons.begin(), box.buttons.end(),
                       [id](const Button& b) { return b.id == id; });
}

INT_PTR boxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const Box& box = *reinterpret_cast<const Box*>(lParam);
        if (LPCWSTR icon = iconFor(box.type))
            SendDlgItemMessageW(dialog, SV_MSGBOX_ICON_ID, STM_SETICON,
                                reinterpret_cast<WPARAM>(LoadIconW(nullptr, icon)), 0);
        SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(box.defaultId), 0);
        setDialogFocus(dialog, GetDlgItem(dialog, box.defaultId));
        return FALSE;
    }
    case WM_COMMAND: {
        const auto* box = reinterpret_cast<const Box*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (!box)
            return FALSE;
        const int id = LOWORD(wParam);
        if (hasButton(*box, id))
            EndDialog(dialog, id);
        // Esc and closing answer Cancel where there is one, and OK for a lone OK button.
        else if (id == IDCANCEL && box->buttons.size() == 1 && box->buttons[0].id == IDOK)
            EndDialog(dialog, IDOK);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

SIZE measureText(HFONT font, LPCWSTR text, int maxWidth) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT rect{0, 0, maxWidth, 0};
    DrawTextW(dc, text, -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, old);
    DeleteDC(dc);
    return {rect.right, rect.bottom};
}

// Pixels to dialog units, rounding up so that nothing is cut.
short toUnits(int pixels, int base, int units) {
    return static_cast<short>((pixels * units + base - 1) / base);
}

SvResDialog buildTemplate(LPCWSTR text, LPCWSTR caption, const Box& box) {
    SvResDialog dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
    dialog.caption = caption ? caption : L"Error";
    dialog.hasFont = true;
    dialog.fontPointSize = 8;
    dialog.fontWeight = FW_NORMAL;
    dialog.fontFace = L"MS Shell Dlg";
    bool owned = false;
    HFONT font = createTemplateFont(dialog, &owned);
    const SIZE units = measureBaseUnits(font);
    const SIZE textSize = measureText(font, text ? text : L"", MulDiv(278, units.cx, 4));
    if (owned)
        DeleteObject(font);

    const bool icon = iconFor(box.type) != nullptr;
    const short textX = icon ? 36 : 7;
    const short textCx = std::max<short>(toUnits(textSize.cx, units.cx, 4), 8);
    const short textCy = std::max<short>(toUnits(textSize.cy, units.cy, 8), 8);
    const short contentCy = std::max<short>(textCy, icon ? 20 : 0);
    const short buttonCx = 50;
    const short buttonCy = 14;
    const short gap = 4;
    const auto buttons = static_cast<short>(box.buttons.size());
    const short buttonsCx = static_cast<short>(buttons * buttonCx + (buttons - 1) * gap);
    dialog.cx =
        std::max<short>(static_cast<short>(textX + textCx + 7), static_cast<short>(buttonsCx + 14));
    dialog.cy = static_cast<short>(7 + contentCy + 7 + buttonCy + 7);

    if (icon) {
        SvResDialogItem item;
        item.windowClass = WC_STATICW;
        item.id = SV_MSGBOX_ICON_ID;
        item.style = WS_CHILD | WS_VISIBLE | SS_ICON;
        item.x = 7;
        item.y = 7;
        item.cx = 21;
        item.cy = 20;
        dialog.items.push_back(item);
    }
    SvResDialogItem label;
    label.windowClass = WC_STATICW;
    label.title.text = text ? text : L"";
    label.id = SV_MSGBOX_TEXT_ID;
    label.style = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_NOPREFIX;
    label.x = textX;
    label.y = static_cast<short>(7 + (contentCy - textCy) / 2);
    label.cx = textCx;
    label.cy = textCy;
    dialog.items.push_back(label);

    short x = static_cast<short>((dialog.cx - buttonsCx) / 2);
    for (const Button& button : box.buttons) {
        SvResDialogItem item;
        item.windowClass = WC_BUTTONW;
        item.title.text = button.text;
        item.id = button.id;
        item.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                     (button.id == box.defaultId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                     (&button == &box.buttons.front() ? WS_GROUP : 0);
        item.x = x;
        item.y = static_cast<short>(dialog.cy - 7 - buttonCy);
        item.cx = buttonCx;
        item.cy = buttonCy;
        dialog.items.push_back(item);
        x = static_cast<short>(x + buttonCx + gap);
    }
    return dialog;
}

} // namespace

} // namespace sv::user

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    using namespace sv::user;
    Box box{type, buttonsFor(type), 0};
    const std::size_t defaultIndex = (type & MB_DEFMASK) >> 8;
    box.defaultId = box.buttons[std::min(defaultIndex, box.buttons.size() - 1)].id;
    const SvResDialog dialog = buildTemplate(text, caption, box);
    if (type & MB_ICONMASK)
        MessageBeep(type & MB_ICONMASK);
    const INT_PTR result =
        svDialogBoxFromTemplate(nullptr, dialog, owner, boxProc, reinterpret_cast<LPARAM>(&box));
    return result < 0 ? 0 : static_cast<int>(result);
}
