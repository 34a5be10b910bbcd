#include "dialogs/BoldFont.h"

void setBoldDialogFont(CDialog& dialog, int controlId, CFont& font) {
    LOGFONTW logFont{};
    HFONT dialogFont = reinterpret_cast<HFONT>(dialog.SendMessage(WM_GETFONT));
    if (dialogFont == nullptr || GetObjectW(dialogFont, sizeof logFont, &logFont) == 0)
        return;
    logFont.lfWeight = FW_BOLD;
    font.Attach(CreateFontIndirectW(&logFont));
    if (CWnd* control = dialog.GetDlgItem(controlId))
        control->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
}
