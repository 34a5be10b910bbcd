#pragma once

#include <gtest/gtest.h>

#include "gdi/surface.h"
#include "host/user/scripted_screen.h"
#include "mfc/afx.h"
#include "win/modules.h"

// Dialogs of the test resource module, run under a scripted screen.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_module = LoadLibraryW(L"res_mfc.dll");
        ASSERT_NE(m_module, nullptr);
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    void TearDown() override { AfxSetResourceHandle(m_previous); }

    ScriptedScreen screen;

private:
    HMODULE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

inline void pressAt(HWND window, bool down, SvMouseButton button = SvMouseButton::left) {
    svInputMouseButton(button, down, svWindowCentre(window));
}

// A pixel of the window painted afresh.
inline COLORREF snapshotPixel(HWND window, int x, int y) {
    SvSurface* surface = svSnapshotWindow(window);
    const COLORREF pixel = svSurfacePixel(surface, x, y);
    svDestroySurface(surface);
    return pixel;
}
