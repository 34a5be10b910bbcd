#include "user/dialog_internal.h"
#include "user/queue.h"

using namespace sv::user;

INT_PTR svDialogBoxFromTemplate(HINSTANCE instance, const SvResDialog& dialogTemplate, HWND owner,
                                DLGPROC proc, LPARAM param) {
    HWND ownerTop = IsWindow(owner) ? GetAncestor(owner, GA_ROOT) : nullptr;
    const bool disableOwner = ownerTop && IsWindowEnabled(ownerTop);
    if (disableOwner)
        EnableWindow(ownerTop, FALSE);
    HWND dialog = createDialog(instance, &dialogTemplate, ownerTop, proc, param, true);
    if (!dialog) {
        if (disableOwner)
            EnableWindow(ownerTop, TRUE);
        return -1;
    }
    dialogData(dialog)->disabledOwner = disableOwner ? ownerTop : nullptr;
    INT_PTR result = -1;
    {
        ModalScope scope(dialog);
        if (!dialogData(dialog)->ended)
            ShowWindow(dialog, SW_SHOWNORMAL);
        for (;;) {
            DialogData* data = dialogData(dialog);
            if (!data)
                break;
            if (data->ended) {
                result = data->result;
                break;
            }
            MSG msg;
            if (!nextMessage(msg, {}, true, true)) {
                // No more input will come: the dialog ends as if cancelled.
                EndDialog(dialog, -1);
                continue;
            }
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                EndDialog(dialog, -1);
                continue;
            }
            if (!IsDialogMessageW(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    if (DialogData* data = dialogData(dialog); data && data->disabledOwner) {
        EnableWindow(data->disabledOwner, TRUE);
        data->disabledOwner = nullptr;
    }
    DestroyWindow(dialog);
    return result;
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC proc, LPARAM param) {
    SvResDialog parsed;
    if (!readTemplate(dialogTemplate, parsed))
        return -1;
    return svDialogBoxFromTemplate(instance, parsed, owner, proc, param);
}

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc,
                        LPARAM param) {
    SvResDialog parsed;
    if (!loadTemplate(instance, templateName, parsed))
        return -1;
    return svDialogBoxFromTemplate(instance, parsed, owner, proc, param);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    DialogData* data = dialogData(dialog);
    if (!data)
        return FALSE;
    data->ended = true;
    data->result = result;
    // The owner takes input again before the dialog goes, so the activation falls back to it.
    if (HWND owner = data->disabledOwner) {
        data->disabledOwner = nullptr;
        EnableWindow(owner, TRUE);
    }
    ShowWindow(dialog, SW_HIDE);
    return TRUE;
}
