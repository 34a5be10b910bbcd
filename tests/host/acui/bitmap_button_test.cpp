#include "acui/acui.h"
#include "host/mfc/dialog_fixture.h"
#include "host/mfc/test_resource.h"

namespace {

class CButtonsDialog : public CAcUiDialog {
public:
    CButtonsDialog() : CAcUiDialog(IDD_CONTROLS) {}
    CAcUiBitmapButton m_help;
    CAcUiBitmapButton m_picture;
    CAcUiBitmapButton m_plain;
    BOOL loaded[3] = {FALSE, FALSE, FALSE};

protected:
    void DoDataExchange(CDataExchange* dx) override {
        CAcUiDialog::DoDataExchange(dx);
        DDX_Control(dx, IDHELP, m_help);
        DDX_Control(dx, IDC_PICTURE_BUTTON, m_picture);
        DDX_Control(dx, IDC_OPEN_CHILD, m_plain);
    }
    BOOL OnInitDialog() override {
        CAcUiDialog::OnInitDialog();
        loaded[0] = m_help.AutoLoad();
        loaded[1] = m_picture.AutoLoad();
        loaded[2] = m_plain.AutoLoad();
        return TRUE;
    }
};

bool anyPixelOf(HWND window, COLORREF colour) {
    SvSurface* surface = svSnapshotWindow(window);
    bool found = false;
    for (int y = 0; y < svSurfaceHeight(surface) && !found; ++y) {
        for (int x = 0; x < svSurfaceWidth(surface) && !found; ++x)
            found = svSurfacePixel(surface, x, y) == colour;
    }
    svDestroySurface(surface);
    return found;
}

using BitmapButtons = DialogTest;

TEST_F(BitmapButtons, HelpGetsTheGlyphOthersTheirBitmapResource) {
    CButtonsDialog dialog;
    screen.then([&](HWND modal) {
        EXPECT_TRUE(dialog.loaded[0]);
        EXPECT_TRUE(dialog.loaded[1]);
        EXPECT_FALSE(dialog.loaded[2]) << "no bitmap bears that id";
        EXPECT_EQ(dialog.m_help.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
        EXPECT_EQ(dialog.m_plain.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
        EXPECT_EQ(CBitmap::FromHandle(dialog.m_help.GetButtonBitmap())->GetSize(), CSize(16, 16));
        EXPECT_EQ(CBitmap::FromHandle(dialog.m_picture.GetButtonBitmap())->GetSize(), CSize(2, 1));
        EXPECT_TRUE(anyPixelOf(dialog.m_help, RGB(0, 0, 128))) << "the question mark is drawn";
        EXPECT_FALSE(anyPixelOf(dialog.m_help, RGB(255, 0, 255))) << "its background is not";
        svInputClick(GetDlgItem(modal, IDCANCEL));
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(BitmapButtonsAlone, AButtonWithoutWindowLoadsNothing) {
    CAcUiBitmapButton button;
    EXPECT_FALSE(button.AutoLoad());
    EXPECT_EQ(button.GetButtonBitmap(), nullptr);
}

} // namespace
