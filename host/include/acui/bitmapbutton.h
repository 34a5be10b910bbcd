#pragma once

#include "mfc/controls.h"

#pragma GCC visibility push(default)

// A push button that shows a bitmap instead of its text, drawn by the button itself.
class CAcUiBitmapButton : public CButton {
public:
    CAcUiBitmapButton() = default;
    ~CAcUiBitmapButton() override;

    // Call once subclassed. The help button (IDHELP) gets the host's question-mark glyph, any
    // other the BITMAP resource named by its control id from the resource chain. FALSE, and the
    // button left as it was, when there is no window or no such bitmap.
    BOOL AutoLoad();
    HBITMAP GetButtonBitmap() const { return static_cast<HBITMAP>(m_bitmap.GetSafeHandle()); }

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

private:
    CBitmap m_bitmap;
};

#pragma GCC visibility pop
