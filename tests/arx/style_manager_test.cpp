// The style manager dialog over a drawing of the loaded module, and "sv_stylemgr" around it:
// rows and their colours, the list's context menu, new, edit and delete, OK in both modes.
#include "SentavellUiApp.h"

#include "arx_fixture.h"
#include "dialog_steps.h"
#include "dialogs/CDlgStyleMgr.h"
#include "ed/commands.h"
#include "gdi/surface.h"
#include "host/user/scripted_screen.h"
#include "resource.h"
#include "user/paint.h"

namespace {

using namespace linktest;
using namespace dialogsteps;

HWND listOf(HWND manager) {
    return GetDlgItem(manager, IDC_STYLE_LIST);
}

std::wstring cellText(HWND list, int row, int column) {
    wchar_t text[128] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

// Each row as "name|description".
std::vector<std::wstring> rowsOf(HWND list) {
    std::vector<std::wstring> rows;
    const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        rows.push_back(cellText(list, row, 0) + L"|" + cellText(list, row, 1));
    return rows;
}

UINT rowState(HWND list, int row) {
    return static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row),
                                          LVIS_SELECTED | LVIS_FOCUSED));
}

// The text colour the dialog gives a cell, asked the way the list asks before it paints.
COLORREF cellColour(HWND list, int row, int column) {
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdr.hwndFrom = list;
    draw.nmcd.hdr.idFrom = IDC_STYLE_LIST;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    draw.iSubItem = column;
    draw.clrText = CLR_DEFAULT;
    SendMessageW(GetParent(list), WM_NOTIFY, IDC_STYLE_LIST, reinterpret_cast<LPARAM>(&draw));
    return draw.clrText;
}

struct Ink {
    int red = 0;  // pixels of a red text
    int dark = 0; // pixels of a text in the window-text colour (black)
};

// The ink of one cell as a snapshot of the list shows it.
Ink inkOf(HWND list, int row, int column) {
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&cell));
    if (column == 0) // the row's rectangle: the first column ends where the second begins
        cell.right = cell.left + static_cast<LONG>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
    // Inside the cell, clear of the focus rectangle and the list's border.
    SvSurface* picture = svSnapshotWindow(list);
    Ink ink;
    for (int y = cell.top + 2; y < cell.bottom - 2; ++y) {
        for (int x = cell.left + 2; x < cell.right - 2; ++x) {
            const COLORREF pixel = svSurfacePixel(picture, x, y);
            const int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
            ink.red += r > 160 && g < 110 && b < 110;
            ink.dark += r < 100 && g < 100 && b < 100;
        }
    }
    svDestroySurface(picture);
    return ink;
}

POINT rowCentre(HWND list, int row) {
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(list, &centre);
    return centre;
}

void clickRow(HWND manager, int row, SvMouseButton button) {
    const POINT at = rowCentre(listOf(manager), row);
    svInputMouseMove(at);
    svInputMouseButton(button, true, at);
    svInputMouseButton(button, false, at);
}

void clickBelowRows(HWND manager, SvMouseButton button) {
    HWND list = listOf(manager);
    RECT client{};
    GetClientRect(list, &client);
    POINT at{client.right / 2, client.bottom - 4};
    ClientToScreen(list, &at);
    svInputMouseMove(at);
    svInputMouseButton(button, true, at);
    svInputMouseButton(button, false, at);
}

ScriptedScreen::Step rightClickRow(int row) {
    return [row](HWND manager) { clickRow(manager, row, SvMouseButton::right); };
}

// Whether each command of the context menu can be chosen: new, edit, delete.
std::vector<bool> menuCommandsEnabled(HWND menuWindow) {
    auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    std::vector<bool> enabled;
    for (UINT command : {ID_STYLE_NEW, ID_STYLE_EDIT, ID_STYLE_DELETE})
        enabled.push_back((GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED) == 0);
    return enabled;
}

// The n-th command of the context menu: 1 new, 2 edit, 3 delete.
ScriptedScreen::Step menuCommand(int n) {
    return [n](HWND) {
        for (int i = 0; i < n; ++i)
            svInputKeyPress(VK_DOWN);
        svInputKeyPress(VK_RETURN);
    };
}

class StyleManager : public arxtest::ArxTest {
protected:
    // "Rooms" is used by a link, "Lengths" by nothing; the list shows them in this order.
    void addStyles() {
        rooms = addStyle(L"Rooms", newStyle(new AcAreaReader, new AcTextModifier, L"%PROPERTY m2"));
        lengths = addStyle(L"Lengths", newStyle(new AcLengthReader, new AcTextModifier));
        addLink(linktest::append(db, rectangle(2, 3)), rooms, addText(db, L"?"));
    }
    bool exists(AcDbObjectId id) { return id.isValid() && !id.isErased(); }
    bool hasStyle(const wchar_t* name) {
        AcDbDictionary* styles = mgr->stylesDictionary(db, AcDb::kForRead);
        AcDbObjectId id;
        const bool found = styles != nullptr && styles->getAt(name, id) == Acad::eOk;
        if (styles != nullptr)
            styles->close();
        return found;
    }

    ScriptedScreen screen;
    CDlgStyleMgr manager;
    AcDbObjectId rooms, lengths;
};

TEST_F(StyleManager, AnEmptyDrawingListsNothingAndSelectionAsksForARow) {
    std::vector<std::wstring> rows{L"not read"};
    std::wstring text, caption;
    screen.then([&](HWND dialog) {
        rows = rowsOf(listOf(dialog));
        svInputClick(GetDlgItem(dialog, IDOK));
    });
    screen.then([&](HWND box) {
        text = textOf(GetDlgItem(box, SV_MSGBOX_TEXT_ID));
        caption = textOf(box);
        svInputKeyPress(VK_RETURN);
    });
    screen.then(press(VK_ESCAPE));
    EXPECT_EQ(manager.DoModal(), IDCANCEL);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(text, std::wstring(svResString()(IDS_SELECT_ROW_TEXT)));
    EXPECT_EQ(caption, std::wstring(svResString()(IDS_SELECT_ROW_CAPTION)));
    EXPECT_TRUE(manager.selectedStyleId().isNull());
}

TEST_F(StyleManager, TheFirstRowIsChosenAndStylesInUseAreRed) {
    addStyles();
    std::vector<std::wstring> rows, headers;
    UINT firstState = 0;
    bool listFocused = false;
    std::vector<COLORREF> colours;
    screen.then([&](HWND dialog) {
        HWND list = listOf(dialog);
        rows = rowsOf(list);
        firstState = rowState(list, 0);
        listFocused = GetFocus() == list;
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 2; ++column)
                colours.push_back(cellColour(list, row, column));
        clickRow(dialog, 1, SvMouseButton::left);
    });
    screen.then(click(IDOK));
    EXPECT_EQ(manager.DoModal(), IDOK);
    ASSERT_EQ(rows, (std::vector<std::wstring>{L"Rooms|test style", L"Lengths|test style"}));
    EXPECT_EQ(firstState, static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_TRUE(listFocused);
    const COLORREF normal = GetSysColor(COLOR_WINDOWTEXT), red = RGB(255, 0, 0);
    EXPECT_EQ(colours, (std::vector<COLORREF>{red, red, normal, normal}));
    EXPECT_EQ(manager.selectedStyleId(), lengths);
}

TEST_F(StyleManager, ASnapshotShowsTheStyleInUseInRedInBothColumns) {
    addStyles();
    std::vector<Ink> inks;
    screen.then([](HWND dialog) { clickBelowRows(dialog, SvMouseButton::left); });
    screen.then([&](HWND dialog) {
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 2; ++column)
                inks.push_back(inkOf(listOf(dialog), row, column));
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(manager.DoModal(), IDCANCEL);
    ASSERT_EQ(inks.size(), 4u);
    for (int column = 0; column < 2; ++column) {
        EXPECT_GT(inks[column].red, 10) << "Rooms, column " << column;
        EXPECT_EQ(inks[column].dark, 0) << "Rooms, column " << column;
        EXPECT_EQ(inks[2 + column].red, 0) << "Lengths, column " << column;
        EXPECT_GT(inks[2 + column].dark, 10) << "Lengths, column " << column;
    }
}

TEST_F(StyleManager, OnlyAStyleNothingUsesCanBeDeletedAndNoKeepsIt) {
    addStyles();
    std::vector<bool> onUnused, onUsed;
    std::wstring question;
    std::vector<std::wstring> rowsAfterNo, rowsAfterYes;
    screen.then(rightClickRow(0)); // Rooms
    screen.then([&](HWND menu) {
        onUsed = menuCommandsEnabled(menu);
        svInputKeyPress(VK_ESCAPE);
    });
    screen.then(rightClickRow(1)); // Lengths
    screen.then([&](HWND menu) {
        onUnused = menuCommandsEnabled(menu);
        menuCommand(3)(menu);
    });
    screen.then([&](HWND box) {
        question = textOf(GetDlgItem(box, SV_MSGBOX_TEXT_ID));
        svInputKeyPress(VK_RETURN); // No is the default
    });
    screen.then([&](HWND dialog) {
        rowsAfterNo = rowsOf(listOf(dialog));
        clickRow(dialog, 1, SvMouseButton::right);
    });
    screen.then(menuCommand(3));
    screen.then(click(IDYES));
    screen.then([&](HWND dialog) {
        rowsAfterYes = rowsOf(listOf(dialog));
        svInputClick(GetDlgItem(dialog, IDCANCEL));
    });
    EXPECT_EQ(manager.DoModal(), IDCANCEL);
    EXPECT_EQ(onUsed, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(onUnused, (std::vector<bool>{true, true, true}));
    CString expected;
    expected.Format(svResString()(IDS_DELETE_STYLE_TEXT), L"Lengths");
    EXPECT_EQ(question, std::wstring(expected));
    EXPECT_EQ(rowsAfterNo.size(), 2u);
    EXPECT_EQ(rowsAfterYes, (std::vector<std::wstring>{L"Rooms|test style"}));
    EXPECT_FALSE(exists(lengths));
    CString name;
    mgr->styleName(lengths, name);
    EXPECT_TRUE(name.IsEmpty()) << "its entry left the styles dictionary";
}

TEST_F(StyleManager, WithoutARowNewIsTheOnlyCommandAndANewStyleIsAppendedChosen) {
    addStyles();
    std::vector<bool> enabled;
    std::vector<std::wstring> rows;
    UINT lastState = 0;
    COLORREF lastColour = 0;
    // Below the rows: the click leaves no row chosen.
    screen.then([](HWND dialog) { clickBelowRows(dialog, SvMouseButton::left); });
    screen.then([](HWND dialog) { clickBelowRows(dialog, SvMouseButton::right); });
    screen.then([&](HWND menu) {
        enabled = menuCommandsEnabled(menu);
        menuCommand(1)(menu);
    });
    fillStyleEditor(screen, L"Areas");
    screen.then([&](HWND dialog) {
        HWND list = listOf(dialog);
        rows = rowsOf(list);
        lastState = rowState(list, 2);
        lastColour = cellColour(list, 2, 0);
        svInputClick(GetDlgItem(dialog, IDOK));
    });
    EXPECT_EQ(manager.DoModal(), IDOK);
    EXPECT_EQ(enabled, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(rows,
              (std::vector<std::wstring>{L"Rooms|test style", L"Lengths|test style", L"Areas|"}))
        << "at the end, not in sorted place";
    EXPECT_EQ(lastState, static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(lastColour, GetSysColor(COLOR_WINDOWTEXT));
    CString name;
    mgr->styleName(manager.selectedStyleId(), name);
    EXPECT_EQ(std::wstring(name), L"Areas");
}

TEST_F(StyleManager, ADoubleClickEditsTheRowsStyleAndTheRowFollows) {
    addStyles();
    std::wstring editedName;
    std::vector<std::wstring> rows;
    screen.then([](HWND dialog) {
        const POINT at = rowCentre(listOf(dialog), 0);
        svInputMouseMove(at);
        svInputMouseButton(SvMouseButton::left, true, at);
        svInputMouseButton(SvMouseButton::left, false, at);
        svInputMouseDoubleClick(SvMouseButton::left, at);
        svInputMouseButton(SvMouseButton::left, false, at);
    });
    screen.then([&](HWND editor) {
        editedName = textOf(GetDlgItem(editor, IDC_STYLE_NAME));
        SetFocus(GetDlgItem(editor, IDC_STYLE_DESCRIPTION));
        svInputKeyPress(VK_END);
        svInputText(L" of rooms");
    });
    screen.then(click(IDOK));
    screen.then([&](HWND dialog) {
        rows = rowsOf(listOf(dialog));
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(manager.DoModal(), IDCANCEL);
    EXPECT_EQ(editedName, L"Rooms");
    EXPECT_EQ(rows[0], L"Rooms|test style of rooms");
}

TEST_F(StyleManager, TheCommandKeepsTheDialogsChangesOnOkAndUndoesThemOnCancel) {
    addStyles();
    auto createThen = [&](int closing) {
        screen.then(rightClickRow(0));
        screen.then(menuCommand(1));
        fillStyleEditor(screen, L"Made here");
        screen.then(rightClickRow(1)); // Lengths goes too
        screen.then(menuCommand(3));
        screen.then(click(IDYES));
        screen.then(click(closing));
        return svRunCommand(L"sv_stylemgr");
    };
    EXPECT_TRUE(createThen(IDCANCEL));
    EXPECT_TRUE(hasStyle(L"Lengths"));
    EXPECT_TRUE(exists(lengths));
    EXPECT_FALSE(hasStyle(L"Made here"));

    EXPECT_TRUE(createThen(IDOK));
    EXPECT_FALSE(hasStyle(L"Lengths"));
    EXPECT_FALSE(exists(lengths));
    EXPECT_TRUE(hasStyle(L"Made here"));
}

} // namespace
