// The style editor and the macro check opened from it, driven by clicks, keys and typing on a
// scripted screen over a drawing of the loaded module, with a second module adding classes.
#include "SentavellUiApp.h"

#include <cwchar>

#include "arx_fixture.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/line.h"
#include "db/symboltable.h"
#include "dialog_steps.h"
#include "dialogs/CDlgStyle.h"
#include "ed/diesel.h"
#include "host/user/scripted_screen.h"
#include "resource.h"

namespace {

using namespace dialogsteps;

// Input is queued and goes where the focus is once the step is over, so each step below moves
// the focus once and then types into that one control.

// Replaces the field's text as a user does: select it all, then type over it or delete it.
void typeInto(HWND dialog, int id, const std::wstring& text) {
    HWND field = GetDlgItem(dialog, id);
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 0, -1);
    if (text.empty())
        svInputKeyPress(VK_DELETE);
    else
        svInputText(text.c_str());
}

// Calls nested deeper than the evaluator takes.
std::wstring tooDeepMacro() {
    std::wstring macro;
    for (int i = 0; i <= kSvDieselMaxDepth; ++i)
        macro += L"$(+,1,";
    macro += L"1";
    macro.append(kSvDieselMaxDepth + 1, L')');
    return macro;
}

std::vector<std::wstring> itemsOf(HWND combo) {
    std::vector<std::wstring> items;
    const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

// Picks an item of a drop-down list with the keys, as a user walks a closed list.
void choose(HWND dialog, int comboId, const wchar_t* text) {
    HWND combo = GetDlgItem(dialog, comboId);
    const auto index = static_cast<int>(
        SendMessageW(combo, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(text)));
    ASSERT_GE(index, 0) << "no item " << std::string(text, text + std::wcslen(text));
    SetFocus(combo);
    svInputKeyPress(VK_HOME);
    for (int i = 0; i < index; ++i)
        svInputKeyPress(VK_DOWN);
}

// The n-th command of the macro menu, separators not counted: 1 checks, 9 is "%PROPERTY m2".
ScriptedScreen::Step menuCommand(int n) {
    return [n](HWND) {
        for (int i = 0; i < n; ++i)
            svInputKeyPress(VK_DOWN);
        svInputKeyPress(VK_RETURN);
    };
}

constexpr int kCheckCommand = 1;
constexpr int kMetresSquaredCommand = 9;

ScriptedScreen::Step typing(int id, std::wstring text) {
    return [id, text](HWND dialog) { typeInto(dialog, id, text); };
}

ScriptedScreen::Step choosing(int comboId, std::wstring text) {
    return [comboId, text](HWND dialog) { choose(dialog, comboId, text.c_str()); };
}

class StyleEditor : public arxtest::ArxTest {
protected:
    void SetUp() override {
        ArxTest::SetUp();
        ASSERT_TRUE(acrxLoadModule(classesModule().c_str(), false));
    }
    void TearDown() override {
        ArxTest::TearDown();
        acrxUnloadModule(classesModule().c_str(), false);
    }
    static std::wstring classesModule() { return binDirW() + L"/style_classes.arx"; }

    AcDbObjectId styleNamed(const wchar_t* name) {
        AcDbObjectId id;
        AcDbDictionary* styles = mgr->stylesDictionary(db, AcDb::kForRead);
        if (styles != nullptr) {
            styles->getAt(name, id);
            styles->close();
        }
        return id;
    }
    int styleCount() {
        AcDbDictionary* styles = mgr->stylesDictionary(db, AcDb::kForRead);
        const int count = styles != nullptr ? static_cast<int>(styles->numEntries()) : -1;
        if (styles != nullptr)
            styles->close();
        return count;
    }
    // Reader class, modifier class, attribute name, macro and description of a stored style.
    std::vector<std::wstring> contentsOf(AcDbObjectId id) {
        Opened<AcPropertyLinkStyle> style(id, AcDb::kForRead);
        if (style.get() == nullptr)
            return {L"not opened"};
        const AcBlockModifier* block = AcBlockModifier::cast(style->contentModifier());
        auto className = [](const AcRxObject* object) {
            return std::wstring(object != nullptr ? object->isA()->name() : L"none");
        };
        return {className(style->propertyReader()), className(style->contentModifier()),
                block != nullptr ? block->attribName() : L"-", style->postProcessingMacro(),
                style->description()};
    }
    AcDbObjectId roomsStyle() {
        auto* block = new AcBlockModifier;
        block->setAttribName(L"AREA");
        auto* style = linktest::newStyle(new AcAreaReader, block, L"%PROPERTY m2");
        style->setDescription(L"Room areas");
        return addStyle(L"Rooms", style);
    }

    ScriptedScreen screen;
    CDlgStyle editor;
};

TEST_F(StyleEditor, ANewStyleStartsWithTheFirstClassOfEachListAndTheNameFocused) {
    std::vector<std::wstring> readers, modifiers;
    std::wstring reader, modifier;
    bool nameFocused = false, optionsEnabled = false;
    screen.then([&](HWND dialog) {
        readers = itemsOf(GetDlgItem(dialog, IDC_STYLE_READER));
        modifiers = itemsOf(GetDlgItem(dialog, IDC_STYLE_MODIFIER));
        reader = itemText(dialog, IDC_STYLE_READER);
        modifier = itemText(dialog, IDC_STYLE_MODIFIER);
        nameFocused = GetFocus() == GetDlgItem(dialog, IDC_STYLE_NAME);
        optionsEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_MODIFIER_OPTIONS));
        typeInto(dialog, IDC_STYLE_NAME, L"Plain");
    });
    bool optionsAfterText = true;
    screen.then(choosing(IDC_STYLE_MODIFIER, L"Text modifier"));
    screen.then([&](HWND dialog) {
        optionsAfterText = IsWindowEnabled(GetDlgItem(dialog, IDC_MODIFIER_OPTIONS));
        svInputClick(GetDlgItem(dialog, IDOK));
    });
    EXPECT_EQ(editor.DoModal(), IDOK);
    ASSERT_FALSE(readers.empty());
    ASSERT_FALSE(modifiers.empty());
    EXPECT_EQ(reader, readers.front());
    EXPECT_EQ(modifier, modifiers.front());
    EXPECT_EQ(modifier, L"Block modifier");
    EXPECT_TRUE(optionsEnabled) << "the block modifier has options";
    EXPECT_FALSE(optionsAfterText) << "the text modifier has none";
    EXPECT_TRUE(nameFocused);
    EXPECT_EQ(editor.styleId(), styleNamed(L"Plain"));
    EXPECT_EQ(contentsOf(editor.styleId()),
              (std::vector<std::wstring>{L"AcAreaReader", L"AcTextModifier", L"-", L"", L""}))
        << "an empty macro field leaves a new style without a macro";
}

TEST_F(StyleEditor, ClassesOfAnotherModuleAreOfferedButNoClassNamedLikeABase) {
    std::vector<std::wstring> readers, modifiers;
    screen.then([&](HWND dialog) {
        readers = itemsOf(GetDlgItem(dialog, IDC_STYLE_READER));
        modifiers = itemsOf(GetDlgItem(dialog, IDC_STYLE_MODIFIER));
        choose(dialog, IDC_STYLE_READER, L"Half length (\u00BD)");
    });
    screen.then(choosing(IDC_STYLE_MODIFIER, L"Text in capitals"));
    screen.then(typing(IDC_STYLE_NAME, L"Halves"));
    screen.then(typing(IDC_MACRO, L"%PROPERTY m"));
    screen.then(click(IDOK));
    EXPECT_EQ(editor.DoModal(), IDOK);
    EXPECT_EQ(readers,
              (std::vector<std::wstring>{L"Area", L"Half length (\u00BD)", L"Length", L"Text",
                                         L"X coordinate", L"Y coordinate", L"Z coordinate"}));
    EXPECT_EQ(modifiers, (std::vector<std::wstring>{L"Block modifier", L"Color modifier",
                                                    L"Dimension modifier", L"Leader modifier",
                                                    L"MText modifier", L"Text in capitals",
                                                    L"Text modifier"}));

    // The chosen classes work as the database module's own.
    const AcDbObjectId line =
        linktest::append(db, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0)));
    const AcDbObjectId label = linktest::addText(db, L"old");
    linktest::addLink(line, editor.styleId(), label);
    EXPECT_EQ(linktest::textOf(label), L"2.5 M");
}

TEST_F(StyleEditor, AnEmptyNameIsRefusedButBlanksAreAName) {
    Shown shown;
    HWND first = nullptr, after = nullptr;
    bool nameFocused = false;
    screen.then([&](HWND dialog) {
        first = dialog;
        choose(dialog, IDC_STYLE_MODIFIER, L"Text modifier");
    });
    screen.then(typing(IDC_STYLE_DESCRIPTION, L"noted before any check"));
    screen.then(click(IDOK));
    screen.then(readMessage(shown));
    screen.then([&](HWND dialog) {
        after = dialog;
        nameFocused = GetFocus() == GetDlgItem(dialog, IDC_STYLE_NAME);
        typeInto(dialog, IDC_STYLE_NAME, L"  ");
        svInputClick(GetDlgItem(dialog, IDOK));
    });
    EXPECT_EQ(editor.DoModal(), IDOK);
    EXPECT_EQ(shown, message(IDS_NAME_MISSING_TEXT, IDS_NAME_MISSING_CAPTION));
    EXPECT_EQ(after, first);
    EXPECT_TRUE(nameFocused);
    EXPECT_TRUE(styleNamed(L"  ").isValid()) << "the name is taken as typed";
    EXPECT_EQ(contentsOf(styleNamed(L"  ")).back(), L"noted before any check");
}

TEST_F(StyleEditor, TheBlockModifierNeedsItsAttributeAndKeepsItWhileItStaysChosen) {
    Shown first, second;
    bool modifierFocused = false;
    std::wstring tagKept = L"not read", tagAfterSwitch = L"not read";
    auto readTag = [](std::wstring& tag) {
        return [&tag](HWND options) {
            tag = itemText(options, IDC_ATTRIBUTE_TAG);
            svInputKeyPress(VK_ESCAPE);
        };
    };
    screen.then(typing(IDC_STYLE_NAME, L"Tags"));
    screen.then(click(IDOK)); // the block modifier is chosen and has no attribute yet
    screen.then(readMessage(first));
    screen.then([&](HWND dialog) {
        modifierFocused = GetFocus() == GetDlgItem(dialog, IDC_STYLE_MODIFIER);
        svInputClick(GetDlgItem(dialog, IDC_MODIFIER_OPTIONS));
    });
    screen.then(typing(IDC_ATTRIBUTE_TAG, L"FIRST"));
    screen.then(click(IDOK));
    screen.then([](HWND dialog) {
        // A notification that leaves the block modifier chosen keeps it and its attribute.
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_STYLE_MODIFIER, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_STYLE_MODIFIER)));
        svInputClick(GetDlgItem(dialog, IDC_MODIFIER_OPTIONS));
    });
    screen.then(readTag(tagKept));
    screen.then(choosing(IDC_STYLE_MODIFIER, L"Text modifier"));
    screen.then(choosing(IDC_STYLE_MODIFIER, L"Block modifier"));
    screen.then(click(IDOK));
    screen.then(readMessage(second));
    screen.then(click(IDC_MODIFIER_OPTIONS));
    screen.then(readTag(tagAfterSwitch));
    screen.then(click(IDC_MODIFIER_OPTIONS));
    screen.then(typing(IDC_ATTRIBUTE_TAG, L"AREA"));
    screen.then(click(IDOK));
    screen.then(click(IDOK));
    EXPECT_EQ(editor.DoModal(), IDOK);
    EXPECT_EQ(first, message(IDS_OPTIONS_INCOMPLETE_TEXT, IDS_OPTIONS_INCOMPLETE_CAPTION));
    EXPECT_EQ(second, first) << "choosing the block modifier again starts it afresh";
    EXPECT_TRUE(modifierFocused);
    EXPECT_EQ(tagKept, L"FIRST");
    EXPECT_EQ(tagAfterSwitch, L"");
    EXPECT_EQ(contentsOf(editor.styleId())[2], L"AREA");
}

TEST_F(StyleEditor, ANewBlockStyleWritesIntoTheChosenAttributeOnceLinked) {
    const AcDbObjectId block = [&] {
        Opened<AcDbBlockTable> table(db->blockTableId(), AcDb::kForWrite);
        auto* record = new AcDbBlockTableRecord;
        record->setName(L"ROOM");
        AcDbObjectId id;
        EXPECT_EQ(table->add(id, record), Acad::eOk);
        record->close();
        return id;
    }();
    const AcDbObjectId reference =
        linktest::append(db, new AcDbBlockReference(AcGePoint3d(0, 0, 0), block));
    AcDbObjectId name, area;
    {
        Opened<AcDbBlockReference> ref(reference, AcDb::kForWrite);
        auto* first = new AcDbAttribute(AcGePoint3d(0, 0, 0), L"Kitchen", L"NAME");
        ASSERT_EQ(ref->appendAttribute(name, first), Acad::eOk);
        first->close();
        auto* second = new AcDbAttribute(AcGePoint3d(0, 0, 0), L"?", L"AREA");
        ASSERT_EQ(ref->appendAttribute(area, second), Acad::eOk);
        second->close();
    }
    screen.then(typing(IDC_STYLE_NAME, L"Room area"));
    screen.then(click(IDC_MODIFIER_OPTIONS));
    screen.then(typing(IDC_ATTRIBUTE_TAG, L"area"));
    screen.then(click(IDOK));
    screen.then(click(IDC_MACRO_MENU));
    screen.then(menuCommand(kMetresSquaredCommand));
    screen.then(click(IDOK));
    ASSERT_EQ(editor.DoModal(), IDOK);

    const AcDbObjectId room = linktest::append(db, linktest::rectangle(4, 6));
    linktest::addLink(room, editor.styleId(), reference);
    EXPECT_EQ(linktest::textOf(area), L"24.0 m2");
    EXPECT_EQ(linktest::textOf(name), L"Kitchen");
}

TEST_F(StyleEditor, AnEditedStyleShowsItselfAndKeepsWhatTheUserDidNotChange) {
    const AcDbObjectId rooms = roomsStyle();
    editor.setStyleId(rooms);
    std::wstring name, description, macro, reader, modifier;
    bool nameEnabled = true;
    screen.then([&](HWND dialog) {
        name = itemText(dialog, IDC_STYLE_NAME);
        nameEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_STYLE_NAME));
        description = itemText(dialog, IDC_STYLE_DESCRIPTION);
        macro = itemText(dialog, IDC_MACRO);
        reader = itemText(dialog, IDC_STYLE_READER);
        modifier = itemText(dialog, IDC_STYLE_MODIFIER);
        typeInto(dialog, IDC_MACRO, L"");
    });
    screen.then(typing(IDC_STYLE_DESCRIPTION, L"Areas of rooms"));
    screen.then(choosing(IDC_STYLE_READER, L"Length"));
    screen.then(click(IDOK));
    EXPECT_EQ(editor.DoModal(), IDOK);
    EXPECT_EQ(name, L"Rooms");
    EXPECT_FALSE(nameEnabled);
    EXPECT_EQ(description, L"Room areas");
    EXPECT_EQ(macro, L"%PROPERTY m2");
    EXPECT_EQ(reader, L"Area");
    EXPECT_EQ(modifier, L"Block modifier");
    EXPECT_EQ(editor.styleId(), rooms);
    EXPECT_EQ(styleCount(), 1);
    EXPECT_EQ(contentsOf(rooms),
              (std::vector<std::wstring>{L"AcLengthReader", L"AcBlockModifier", L"AREA",
                                         L"%PROPERTY m2", L"Areas of rooms"}))
        << "a cleared macro field keeps the stored macro";
}

TEST_F(StyleEditor, APredefinedMacroReplacesTheWholeField) {
    std::wstring macro;
    screen.then([](HWND dialog) {
        typeInto(dialog, IDC_MACRO, L"typed before");
        svInputClick(GetDlgItem(dialog, IDC_MACRO_MENU));
    });
    screen.then(menuCommand(kMetresSquaredCommand));
    screen.then([&](HWND dialog) {
        macro = itemText(dialog, IDC_MACRO);
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(editor.DoModal(), IDCANCEL);
    EXPECT_EQ(macro, L"%PROPERTY m2");
}

TEST_F(StyleEditor, TheCheckEvaluatesASampleAndHandsTheMacroBackOnlyOnOk) {
    std::wstring shownMacro, shownSample, thousandth, scaled, unreplaced, refused, afterCancel;
    std::wstring afterOk;
    LONG resultWeight = 0;
    HWND check = nullptr, stillOpen = nullptr;
    auto result = [](HWND dialog) { return itemText(dialog, IDC_CHECK_RESULT); };
    auto evaluate = [](HWND dialog) { svInputClick(GetDlgItem(dialog, IDC_CHECK_EVALUATE)); };

    screen.then([](HWND dialog) {
        typeInto(dialog, IDC_MACRO, L"$(*,%PROPERTY,0.001)");
        svInputClick(GetDlgItem(dialog, IDC_MACRO_MENU));
    });
    screen.then(menuCommand(kCheckCommand));
    screen.then([&](HWND dialog) {
        shownMacro = itemText(dialog, IDC_MACRO);
        shownSample = itemText(dialog, IDC_CHECK_SAMPLE);
        LOGFONTW font{};
        auto handle = reinterpret_cast<HFONT>(
            SendMessageW(GetDlgItem(dialog, IDC_CHECK_RESULT), WM_GETFONT, 0, 0));
        if (handle != nullptr && GetObjectW(handle, sizeof font, &font) != 0)
            resultWeight = font.lfWeight;
        evaluate(dialog);
    });
    screen.then([&](HWND dialog) {
        thousandth = result(dialog);
        typeInto(dialog, IDC_CHECK_SAMPLE, L"2500");
        evaluate(dialog);
    });
    screen.then([&](HWND dialog) {
        scaled = result(dialog);
        typeInto(dialog, IDC_MACRO, L"%NPROPERTY/%PROPERTY");
        evaluate(dialog);
    });
    screen.then([&](HWND dialog) {
        unreplaced = result(dialog);
        typeInto(dialog, IDC_MACRO, tooDeepMacro());
        evaluate(dialog);
    });
    screen.then([&](HWND dialog) {
        refused = result(dialog);
        svInputClick(GetDlgItem(dialog, IDCANCEL));
    });
    screen.then([&](HWND dialog) {
        afterCancel = itemText(dialog, IDC_MACRO);
        svInputClick(GetDlgItem(dialog, IDC_MACRO_MENU));
    });
    screen.then(menuCommand(kCheckCommand));
    screen.then([&](HWND dialog) {
        check = dialog;
        typeInto(dialog, IDC_MACRO, L"");
        svInputClick(GetDlgItem(dialog, IDOK));
    });
    screen.then([&](HWND dialog) {
        stillOpen = dialog;
        typeInto(dialog, IDC_MACRO, L"%PROPERTY cm");
        svInputClick(GetDlgItem(dialog, IDOK));
    });
    screen.then([&](HWND dialog) {
        afterOk = itemText(dialog, IDC_MACRO);
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(editor.DoModal(), IDCANCEL);

    EXPECT_EQ(shownMacro, L"$(*,%PROPERTY,0.001)");
    EXPECT_EQ(shownSample, L"1");
    EXPECT_EQ(resultWeight, FW_BOLD);
    EXPECT_EQ(thousandth, L"0.001");
    EXPECT_EQ(scaled, L"2.5");
    EXPECT_EQ(unreplaced, L"%NPROPERTY/2500") << "only %PROPERTY takes the sample";
    EXPECT_EQ(refused, std::wstring(svResString()(IDS_MACRO_NO_RESULT)));
    EXPECT_EQ(afterCancel, L"$(*,%PROPERTY,0.001)");
    EXPECT_EQ(stillOpen, check) << "an empty macro is not handed back";
    EXPECT_EQ(afterOk, L"%PROPERTY cm");
}

TEST_F(StyleEditor, CancelAtEveryLevelLeavesTheDrawingAsItWas) {
    const AcDbObjectId rooms = roomsStyle();
    const std::vector<std::wstring> before = contentsOf(rooms);
    editor.setStyleId(rooms);
    screen.then(typing(IDC_STYLE_DESCRIPTION, L"changed"));
    screen.then(typing(IDC_MACRO, L"changed"));
    screen.then(click(IDC_MODIFIER_OPTIONS));
    screen.then(typing(IDC_ATTRIBUTE_TAG, L"OTHER"));
    screen.then(click(IDC_ATTRIBUTE_LOOKUP));
    screen.then(press(VK_ESCAPE)); // the lookup
    screen.then(press(VK_ESCAPE)); // the options
    screen.then(click(IDC_MACRO_MENU));
    screen.then(menuCommand(kCheckCommand));
    screen.then(press(VK_ESCAPE)); // the check
    screen.then([](HWND dialog) {
        choose(dialog, IDC_STYLE_MODIFIER, L"Text modifier");
        svInputKeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(editor.DoModal(), IDCANCEL);
    EXPECT_EQ(contentsOf(rooms), before);
    EXPECT_EQ(styleCount(), 1);
}

// The drawing may refuse the store; the user keeps the dialog and everything typed into it.
TEST_F(StyleEditor, AStoreTheDrawingRefusesKeepsTheDialogOpen) {
    const AcDbObjectId rooms = roomsStyle();
    editor.setStyleId(rooms);
    Shown shown;
    HWND first = nullptr, after = nullptr;
    Opened<AcPropertyLinkStyle>* blocking = nullptr;
    screen.then([&](HWND dialog) {
        first = dialog;
        blocking = new Opened<AcPropertyLinkStyle>(rooms, AcDb::kForWrite);
        typeInto(dialog, IDC_STYLE_DESCRIPTION, L"kept");
        svInputClick(GetDlgItem(dialog, IDOK));
    });
    screen.then(readMessage(shown));
    screen.then([&](HWND dialog) {
        after = dialog;
        delete blocking;
        svInputClick(GetDlgItem(dialog, IDOK));
    });
    EXPECT_EQ(editor.DoModal(), IDOK);
    EXPECT_EQ(shown, message(IDS_STYLE_NOT_STORED_TEXT, IDS_STYLE_NOT_STORED_CAPTION));
    EXPECT_EQ(after, first);
    EXPECT_EQ(contentsOf(rooms).back(), L"kept");
}

TEST_F(StyleEditor, ANameAlreadyInUseKeepsTheDialogOpenSilently) {
    roomsStyle();
    HWND first = nullptr, after = nullptr;
    screen.then([&](HWND dialog) {
        first = dialog;
        choose(dialog, IDC_STYLE_MODIFIER, L"Text modifier");
    });
    screen.then(typing(IDC_STYLE_NAME, L"Rooms"));
    screen.then(click(IDOK));
    screen.then([&](HWND dialog) {
        after = dialog;
        typeInto(dialog, IDC_STYLE_NAME, L"Rooms 2");
        svInputClick(GetDlgItem(dialog, IDOK));
    });
    EXPECT_EQ(editor.DoModal(), IDOK);
    EXPECT_EQ(after, first) << "no message box came between";
    EXPECT_EQ(editor.styleId(), styleNamed(L"Rooms 2"));
    EXPECT_EQ(contentsOf(styleNamed(L"Rooms"))[1], L"AcBlockModifier");
}

} // namespace
