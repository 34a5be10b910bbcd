#include "ed/frame.h"

// The command line is the host's only window; its handle only has to be distinct and stable.
struct HWND__ {};

namespace {

HWND__ g_mainWindow;

class MainFrame : public CWnd {
public:
    MainFrame() { m_hWnd = &g_mainWindow; }
};

} // namespace

CWnd* acedGetAcadFrame() {
    static MainFrame frame;
    return &frame;
}
