// "sv_linkcreate" from the command line: the current style, the source and label prompts with
// their keywords, layouts and viewports, and the link it leaves in the drawing.
#include "SentavellEditorReactor.h"
#include "SentavellUiApp.h"

#include "arx_fixture.h"
#include "db/circle.h"
#include "db/viewport.h"
#include "dialog_steps.h"
#include "ed/commands.h"
#include "ed/spaces.h"
#include "host/user/scripted_screen.h"
#include "resource.h"

namespace {

using namespace arxtest;
using namespace linktest;
using dialogsteps::click;
using dialogsteps::newStyleInManager;

class LinkCreate : public ArxTest {
protected:
    void SetUp() override {
        ArxTest::SetUp();
        room = linktest::append(db, rectangle(2.0, 3.0));
        label = addText(db, L"?");
    }
    std::wstring text(UINT id) const { return std::wstring(svResString()(id)); }
    std::wstring formatted(UINT id, const wchar_t* argument) const {
        CString line;
        line.Format(svResString()(id), argument);
        return std::wstring(line);
    }
    std::size_t count(const std::wstring& part) const {
        std::size_t found = 0;
        for (std::size_t at = output.text().find(part); at != std::wstring::npos;
             at = output.text().find(part, at + 1))
            ++found;
        return found;
    }

    // Answered as a person types them, so that the prompts are shown.
    bool run(std::vector<std::wstring> answers) {
        input = std::make_unique<SvScriptedInput>(std::move(answers), true);
        svSetInputSource(input.get());
        output.clear();
        const std::size_t before = linksOf(room).size();
        svRunCommand(L"sv_linkcreate"); // false when the input ran out in a prompt
        return linksOf(room).size() > before;
    }

    // The links stored on a source, in its extension dictionary.
    static std::vector<AcDbObjectId> linksOf(AcDbObjectId source) {
        std::vector<AcDbObjectId> links;
        if (source.isNull())
            return links;
        Opened<AcDbEntity> entity(source, AcDb::kForRead);
        Opened<AcDbDictionary> xdict(entity->extensionDictionary(), AcDb::kForRead);
        if (xdict.get() == nullptr)
            return links;
        AcDbDictionaryIterator* it = xdict->newIterator();
        for (; !it->done(); it->next()) {
            if (it->name()[0] == L'*')
                links.push_back(it->objectId());
        }
        delete it;
        return links;
    }

    AcDbObjectId linkedObjOf(AcDbObjectId link) {
        Opened<AcPropertyLink> opened(link, AcDb::kForRead);
        return opened.get() != nullptr ? opened->linkedObj() : AcDbObjectId();
    }

    void addStyles() {
        area = addStyle(L"Area", newStyle(new AcAreaReader, new AcTextModifier, L"%PROPERTY m2"));
        copy = addStyle(L"Copy", newStyle(new AcTextReader, new AcTextModifier));
    }

    ScriptedScreen screen;
    AcDbObjectId area, copy;
    AcDbObjectId room, label;
};

TEST_F(LinkCreate, WithoutStylesTheQuestionComesFirstAndNoOrACancelledManagerEndIt) {
    std::wstring question, caption;
    screen.then([&](HWND box) {
        question = dialogsteps::textOf(GetDlgItem(box, SV_MSGBOX_TEXT_ID));
        caption = dialogsteps::textOf(box);
        svInputClick(GetDlgItem(box, IDNO));
    });
    EXPECT_FALSE(run({handleOf(room), handleOf(label)}));
    EXPECT_EQ(question, text(IDS_NO_STYLES_TEXT));
    EXPECT_EQ(caption, text(IDS_NO_STYLES_CAPTION));
    EXPECT_EQ(count(text(IDS_SOURCE_PROMPT)), 0u);

    screen.then(click(IDYES));
    screen.then(click(IDCANCEL));
    EXPECT_FALSE(run({handleOf(room), handleOf(label)}));
    EXPECT_EQ(count(text(IDS_SOURCE_PROMPT)), 0u);
    EXPECT_TRUE(screen.finished());
}

TEST_F(LinkCreate, AStyleMadeInTheManagerAfterYesBecomesCurrentAndIsUsed) {
    screen.then(click(IDYES));
    newStyleInManager(screen, L"Made");
    screen.then(click(IDOK)); // the manager, on the new row
    ASSERT_TRUE(run({handleOf(room), handleOf(label)}));
    CString name;
    mgr->styleName(svCurDocStyle().current(), name);
    EXPECT_EQ(std::wstring(name), L"Made");
    EXPECT_EQ(textOf(label), L"6.0");
}

// Styles made in the manager are the user's work: leaving the prompts without a link keeps them.
TEST_F(LinkCreate, AStyleConfirmedInTheManagerOutlivesACommandWithoutALink) {
    screen.then(click(IDYES));
    newStyleInManager(screen, L"Kept");
    screen.then(click(IDOK));
    EXPECT_FALSE(run({L"eXit"}));
    CString name;
    mgr->styleName(svCurDocStyle().current(), name);
    EXPECT_EQ(std::wstring(name), L"Kept");
}

TEST_F(LinkCreate, TheFirstStyleBecomesCurrentAndTheLabelGetsItsValueFromTheLink) {
    addStyles();
    svCurDocStyle().current() = AcDbObjectId();
    ASSERT_TRUE(run({handleOf(room), handleOf(label)}));
    EXPECT_TRUE(screen.waits.empty()) << "no question while the drawing has styles";
    EXPECT_EQ(svCurDocStyle().current(), area);
    EXPECT_EQ(count(formatted(IDS_CURRENT_STYLE, L"Area")), 1u);
    EXPECT_EQ(count(text(IDS_SOURCE_PROMPT)), 1u);
    EXPECT_EQ(count(text(IDS_LABEL_PROMPT)), 1u);

    const std::vector<AcDbObjectId> links = linksOf(room);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(linkedObjOf(links[0]), label);
    {
        Opened<AcPropertyLink> link(links[0], AcDb::kForRead);
        EXPECT_EQ(link->style(), area);
        Opened<AcDbEntity> source(room, AcDb::kForRead);
        EXPECT_TRUE(source->hasPersistentReactor(links[0]));
    }
    EXPECT_EQ(textOf(label), L"6.0 m2");
    moveVertex(room, 2, 2.0, 4.0);
    EXPECT_EQ(textOf(label), L"7.0 m2") << "the label follows from now on";
}

TEST_F(LinkCreate, TheSourceIsRefusedAsItsOwnLabelButSelfMakesASelfLink) {
    svCurDocStyle().current() =
        addStyle(L"X", newStyle(new AcXCoordReader, new AcTextModifier, L"X=%PROPERTY"));
    const AcDbObjectId named =
        linktest::append(db, new AcDbText(AcGePoint3d(5, 0, 0), L"Kitchen", {}, 1.0));
    room = named;
    ASSERT_TRUE(run({handleOf(named), handleOf(named), L"Self"}));
    EXPECT_EQ(count(text(IDS_LABEL_IS_SOURCE)), 1u);
    EXPECT_EQ(count(text(IDS_LABEL_PROMPT)), 2u);
    const std::vector<AcDbObjectId> links = linksOf(named);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_TRUE(linkedObjOf(links[0]).isNull());
    EXPECT_EQ(textOf(named), L"X=5.0") << "written by the pass after the command";
}

TEST_F(LinkCreate, ALabelOfAnotherKindIsRefusedByNameUnlessTheStyleHasNoModifier) {
    addStyles();
    svCurDocStyle().current() = area;
    const AcDbObjectId circle =
        linktest::append(db, new AcDbCircle(AcGePoint3d(50, 50, 0), AcGeVector3d::kZAxis, 1.0));
    ASSERT_TRUE(run({handleOf(room), handleOf(circle), handleOf(label)}));
    EXPECT_EQ(count(formatted(IDS_WRONG_LABEL_KIND, L"TEXT")), 1u);
    EXPECT_EQ(linkedObjOf(linksOf(room)[0]), label);

    svCurDocStyle().current() = addStyle(L"Bare", newStyle(new AcAreaReader, nullptr));
    ASSERT_TRUE(run({handleOf(room), handleOf(circle)}));
    EXPECT_EQ(linkedObjOf(linksOf(room)[1]), circle);
}

TEST_F(LinkCreate, ASecondLinkOfASourceStandsBesideTheFirst) {
    addStyles();
    const AcDbObjectId other = addText(db, L"?");
    ASSERT_TRUE(run({handleOf(room), handleOf(label)}));
    ASSERT_TRUE(run({handleOf(room), handleOf(other)}));
    const std::vector<AcDbObjectId> links = linksOf(room);
    ASSERT_EQ(links.size(), 2u);
    Opened<AcDbEntity> source(room, AcDb::kForRead);
    EXPECT_TRUE(source->hasPersistentReactor(links[0]));
    EXPECT_TRUE(source->hasPersistentReactor(links[1]));
    EXPECT_EQ(textOf(other), L"6.0 m2");
}

TEST_F(LinkCreate, StyleChoosesAnotherCurrentStyleAndExitOrCancelEndWithoutALink) {
    addStyles();
    svCurDocStyle().current() = area;
    screen.then([](HWND manager) {
        HWND list = GetDlgItem(manager, IDC_STYLE_LIST);
        SetFocus(list);
        svInputKeyPress(VK_END); // "Copy", the last row
        svInputClick(GetDlgItem(manager, IDOK));
    });
    const AcDbObjectId named = addText(db, L"Kitchen");
    room = named;
    ASSERT_TRUE(run({L"Style", handleOf(named), handleOf(label)}));
    EXPECT_EQ(svCurDocStyle().current(), copy);
    EXPECT_EQ(count(formatted(IDS_CURRENT_STYLE, L"Copy")), 1u) << "the line shows the new style";
    EXPECT_EQ(textOf(label), L"Kitchen");

    EXPECT_FALSE(run({L"eXit"}));
    EXPECT_FALSE(run({handleOf(room)})) << "the input ends at the label prompt";
    EXPECT_FALSE(run({L"Style"})) << "the manager closes with nothing chosen";
    EXPECT_EQ(svCurDocStyle().current(), copy);
}

TEST_F(LinkCreate, OnALayoutThePromptsSayLayoutAndModelAsksForAViewport) {
    addStyles();
    ASSERT_EQ(db->setTilemode(false), Acad::eOk);
    auto* viewport = new AcDbViewport;
    viewport->setCenterPoint(AcGePoint3d(50, 50, 0));
    viewport->setWidth(80);
    viewport->setHeight(60);
    AcDbObjectId viewportId;
    {
        Opened<AcDbBlockTableRecord> paper(db->paperSpaceId(), AcDb::kForWrite);
        ASSERT_EQ(paper->appendAcDbEntity(viewportId, viewport), Acad::eOk);
        viewport->close();
    }
    EXPECT_FALSE(run({L"Model", handleOf(label)}));
    EXPECT_EQ(count(text(IDS_SOURCE_PROMPT_LAYOUT)), 1u);
    EXPECT_EQ(count(text(IDS_NOT_A_VIEWPORT)), 1u) << "then the input ended";

    ASSERT_TRUE(run({L"Model", handleOf(viewportId), handleOf(room), handleOf(label)}));
    EXPECT_EQ(svPickSpaceId(db), db->modelSpaceId()) << "the switch outlives the command";
    EXPECT_EQ(count(text(IDS_SOURCE_PROMPT_LAYOUT)), 2u);
    EXPECT_EQ(count(text(IDS_LABEL_PROMPT_LAYOUT)), 1u);
    EXPECT_EQ(count(text(IDS_SOURCE_PROMPT)), 0u);

    EXPECT_FALSE(run({L"Paper", L"eXit"}));
    EXPECT_EQ(svPickSpaceId(db), db->paperSpaceId());
}

} // namespace
