#include "ed/frame.h"

#include "user/metrics.h"
#include "user/window.h"

namespace {

constexpr const wchar_t* kFrameClass = L"SvHostFrame";

} // namespace

CWnd* acedGetAcadFrame() {
    // Never destroyed: modules may still ask for it while the process ends.
    static CWnd* const frame = new CWnd;
    if (!IsWindow(frame->m_hWnd)) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.lpszClassName = kFrameClass;
        RegisterClassW(&windowClass);
        const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        frame->CreateEx(0, kFrameClass, L"svhost", WS_OVERLAPPEDWINDOW, screen, nullptr, 0);
    }
    return frame;
}
