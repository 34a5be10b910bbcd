#include "user/controls.h"
#include "user/dialog_internal.h"
#include "user/input.h"
#include "user/screen.h"

#include "gdi/objects.h"

#include "crt/crt.h"

namespace sv::user {
namespace {

// A text, an ordinal as MAKEINTRESOURCE, or null for an empty field.
LPCWSTR nameOf(const SvResName& name) {
    if (name.isOrdinal)
        return MAKEINTRESOURCEW(name.ordinal);
    return name.text.empty() ? nullptr : name.text.c_str();
}

} // namespace

DialogData::~DialogData() {
    if (ownsFont)
        DeleteObject(font);
}

DialogData* dialogData(HWND window) {
    Window* w = findWindow(window);
    return w ? w->dialog.get() : nullptr;
}

// Modal dialogs show themselves once their loop runs.
HWND createDialog(HINSTANCE instance, const SvResDialog* dialogTemplate, HWND owner, DLGPROC proc,
                  LPARAM param, bool modal) {
    if (!dialogTemplate)
        return nullptr;
    ensureSystemClasses();
    bool ownsFont = false;
    HFONT font = createTemplateFont(*dialogTemplate, &ownsFont);
    const SIZE units = measureBaseUnits(font);
    const bool child = (dialogTemplate->style & WS_CHILD) != 0;
    RECT rect = dialogUnitsToPixels(units, dialogTemplate->x, dialogTemplate->y, dialogTemplate->cx,
                                    dialogTemplate->cy);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (!child && (dialogTemplate->style & (DS_CENTER | DS_CENTERMOUSE))) {
        const SIZE screen = svScreen()->size();
        rect.left = (screen.cx - width) / 2;
        rect.top = (screen.cy - height) / 2;
    } else if (!child && !(dialogTemplate->style & DS_ABSALIGN) && IsWindow(owner)) {
        POINT origin{0, 0};
        ClientToScreen(owner, &origin);
        rect.left += origin.x;
        rect.top += origin.y;
    }
    LPCWSTR className = nameOf(dialogTemplate->windowClass);
    if (!className)
        className = WC_DIALOG;
    const DWORD style = dialogTemplate->style & ~static_cast<DWORD>(WS_VISIBLE);
    HWND dialog = CreateWindowExW(
        dialogTemplate->exStyle, className, dialogTemplate->caption.c_str(), style, rect.left,
        rect.top, width, height, owner, nullptr, instance, reinterpret_cast<LPVOID>(param));
    Window* w = findWindow(dialog);
    if (!w) {
        if (ownsFont)
            DeleteObject(font);
        return nullptr;
    }
    w->dialog = std::make_unique<DialogData>();
    DialogData& data = *w->dialog;
    data.font = font;
    data.ownsFont = ownsFont;
    data.baseUnits = units;
    data.modal = modal;
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    for (const SvResDialogItem& item : dialogTemplate->items) {
        const RECT at = dialogUnitsToPixels(units, item.x, item.y, item.cx, item.cy);
        LPCWSTR text = nameOf(item.title);
        // The control receives its creation data as WM_CREATE's parameter.
        auto* creationData =
            item.creationData.empty() ? nullptr : const_cast<BYTE*>(item.creationData.data());
        HWND control = CreateWindowExW(
            item.exStyle, item.windowClass.c_str(), text ? text : L"", item.style | WS_CHILD,
            at.left, at.top, at.right - at.left, at.bottom - at.top, dialog,
            reinterpret_cast<HMENU>(static_cast<LONG_PTR>(item.id)), instance, creationData);
        if (!IsWindow(dialog))
            return nullptr;
        if (!control) {
            if (dialogTemplate->style & DS_NOFAILCREATE)
                continue;
            DestroyWindow(dialog);
            return nullptr;
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (_wcsicmp(item.windowClass.c_str(), WC_BUTTONW) == 0 &&
            (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && dialogData(dialog)->defaultId == 0)
            dialogData(dialog)->defaultId = static_cast<int>(item.id);
    }

    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    const LRESULT setFocus =
        SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (!IsWindow(dialog))
        return nullptr;
    if (setFocus && IsWindow(first))
        setDialogFocus(dialog, first);
    if (!modal && (dialogTemplate->style & WS_VISIBLE) && !dialogData(dialog)->ended)
        ShowWindow(dialog, SW_SHOWNORMAL);
    return dialog;
}

} // namespace sv::user

namespace sv::user {

bool readTemplate(LPCDLGTEMPLATEW dialogTemplate, SvResDialog& parsed) {
    // A template in memory comes without its size, as on the platform; the reader still stops
    // at every terminator and count it finds.
    constexpr std::size_t kLargestTemplate = 0x100000;
    return dialogTemplate &&
           svParseDialogTemplate(dialogTemplate, kLargestTemplate, parsed) == SvResStatus::Ok;
}

bool loadTemplate(HINSTANCE instance, LPCWSTR name, SvResDialog& parsed) {
    return svLoadDialog(instance, name, parsed) == SvResStatus::Ok;
}

} // namespace sv::user

HWND svCreateDialogFromTemplate(HINSTANCE instance, const SvResDialog& dialogTemplate, HWND owner,
                                DLGPROC proc, LPARAM param) {
    return sv::user::createDialog(instance, &dialogTemplate, owner, proc, param, false);
}

HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC proc, LPARAM param) {
    SvResDialog parsed;
    if (!sv::user::readTemplate(dialogTemplate, parsed))
        return nullptr;
    return svCreateDialogFromTemplate(instance, parsed, owner, proc, param);
}

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc,
                        LPARAM param) {
    SvResDialog parsed;
    if (!sv::user::loadTemplate(instance, templateName, parsed))
        return nullptr;
    return svCreateDialogFromTemplate(instance, parsed, owner, proc, param);
}
