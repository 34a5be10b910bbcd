// "sv_linklist" over a drawing that holds a link in every state, and its repair.
#include "AcPropertyLinkStyle.h"
#include "LinkAudit.h"
#include "arx/arx_fixture.h"
#include "db/line.h"
#include "ed/commands.h"

namespace {

using namespace arxtest;
using namespace linktest;

class LinkList : public ArxTest {
protected:
    void SetUp() override {
        ArxTest::SetUp();
        area = addStyle(L"Area", newStyle(new AcAreaReader, new AcTextModifier, L"%PROPERTY m2"));
        copy = addStyle(L"Copy", newStyle(new AcTextReader, new AcTextModifier));
        gone = addStyle(L"Gone", newStyle(new AcAreaReader, new AcTextModifier));
    }

    // One link of each state, and a self-link that is live.
    void buildEveryState() {
        liveLabel = addText(db, L"?");
        addLink(linktest::append(db, rectangle(2.0, 3.0)), area, liveLabel);
        staleLabel = addText(db, L"?");
        addLink(linktest::append(db, rectangle(1.0, 1.0)), area, staleLabel);
        setText(staleLabel, L"edited by hand");
        orphanLabel = addText(db, L"?");
        orphanLink = addLink(linktest::append(db, rectangle(1.0, 2.0)), area, orphanLabel);
        erase(orphanLabel);
        const AcDbObjectId styleless = addText(db, L"?");
        styleLink = addLink(linktest::append(db, rectangle(3.0, 3.0)), gone, styleless);
        erase(gone);
        unreadableLabel = addText(db, L"kept");
        auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(4, 0, 0));
        addLink(linktest::append(db, line), copy, unreadableLabel);
        setText(unreadableLabel, L"kept");
        self = addText(db, L"Self");
        addLink(self, copy, AcDbObjectId());
    }

    std::wstring list(std::vector<std::wstring> answers) {
        answer(std::move(answers));
        output.clear();
        EXPECT_TRUE(svRunCommand(L"sv_linklist"));
        return output.text();
    }

    AcDbObjectId area, copy, gone;
    AcDbObjectId liveLabel, staleLabel, orphanLabel, unreadableLabel, self;
    AcDbObjectId orphanLink, styleLink;
};

TEST_F(LinkList, EveryStateIsNamedAndCounted) {
    buildEveryState();
    const std::wstring text = list({L"", L"eXit"});
    EXPECT_NE(text.find(L"style \"Area\"  label text \"6.0 m2\"  live"), std::wstring::npos)
        << text;
    EXPECT_NE(text.find(L"label text \"edited by hand\"  stale (the style gives \"1.0 m2\")"),
              std::wstring::npos)
        << text;
    EXPECT_NE(text.find(L"TEXT (erased)  style \"Area\"  label text \"\"  orphan"),
              std::wstring::npos)
        << text;
    EXPECT_NE(text.find(L"style \"?\"  label text \"\"  style missing"), std::wstring::npos)
        << text;
    EXPECT_NE(text.find(L"LINE -> " + handleOf(unreadableLabel) +
                        L" TEXT  style \"Copy\"  label text \"kept\"  source unreadable"),
              std::wstring::npos)
        << text;
    EXPECT_NE(text.find(L"-> self  style \"Copy\"  label text \"Self\"  live"), std::wstring::npos)
        << text;
    EXPECT_NE(text.find(L"\nLinks: 6; live 2, stale 1, orphan 1, style missing 1, source "
                        L"unreadable 1."),
              std::wstring::npos)
        << text;
    // eXit changed nothing.
    EXPECT_EQ(textOf(staleLabel), L"edited by hand");
    EXPECT_EQ(svAuditLink(orphanLink).state, SvLinkState::Orphan);
}

TEST_F(LinkList, FixRewritesStaleLabelsAndDropsBrokenLinks) {
    buildEveryState();
    const std::wstring fixed = list({L"", L"Fix"});
    EXPECT_NE(fixed.find(L"\nLabels rewritten: 1. Links removed: 2."), std::wstring::npos) << fixed;
    EXPECT_EQ(textOf(staleLabel), L"1.0 m2");
    EXPECT_EQ(textOf(unreadableLabel), L"kept") << "an unreadable source is not a repair";
    {
        AcDbObject* link = nullptr;
        ASSERT_EQ(acdbOpenAcDbObject(link, orphanLink, AcDb::kForRead, true), Acad::eOk);
        EXPECT_TRUE(link->isErased());
        link->close();
    }
    const std::wstring after = list({L""});
    EXPECT_NE(after.find(L"\nLinks: 4; live 3, stale 0, orphan 0, style missing 0, source "
                         L"unreadable 1."),
              std::wstring::npos)
        << after;
    EXPECT_EQ(after.find(L"Rewrite"), std::wstring::npos) << "nothing left to fix, nothing asked";
}

TEST_F(LinkList, SelectListsOnlyTheLinksOfTheSelectedSources) {
    const AcDbObjectId room = linktest::append(db, rectangle(2.0, 3.0));
    addLink(room, area, addText(db, L"?"));
    addLink(linktest::append(db, rectangle(1.0, 1.0)), area, addText(db, L"?"));
    const std::wstring text = list({L"Select", handleOf(room), L""});
    EXPECT_NE(text.find(L"\nLinks: 1; live 1,"), std::wstring::npos) << text;
}

TEST_F(LinkList, ADrawingWithoutLinksSaysSo) {
    addText(db, L"plain");
    EXPECT_NE(list({L""}).find(L"\nNo links."), std::wstring::npos);
}

// The check reads; it must leave the label, the source and the drawing as they were.
TEST_F(LinkList, AuditingWritesNothing) {
    const AcDbObjectId label = addText(db, L"?");
    const AcDbObjectId room = linktest::append(db, rectangle(2.0, 3.0));
    const AcDbObjectId link = addLink(room, area, label);
    setText(label, L"by hand");
    const SvLinkAudit audit = svAuditLink(link);
    EXPECT_EQ(audit.state, SvLinkState::Stale);
    EXPECT_EQ(std::wstring(audit.expected.GetString()), L"6.0 m2");
    EXPECT_EQ(std::wstring(audit.shown.GetString()), L"by hand");
    EXPECT_EQ(textOf(label), L"by hand");
    EXPECT_EQ(mgr->pendingModifications().length(), 0);
}

// A colour label is stale only when its colour differs from the number the style gives.
TEST_F(LinkList, AColourLabelComparesTheColourItWouldGet) {
    const AcDbObjectId colour =
        addStyle(L"Colour", newStyle(new AcAreaReader, new AcColorModifier));
    const AcDbObjectId marker = addText(db, L"m");
    const AcDbObjectId link = addLink(linktest::append(db, rectangle(1.0, 3.0)), colour, marker);
    EXPECT_EQ(svAuditLink(link).state, SvLinkState::Live);
    {
        Opened<AcDbEntity> entity(marker, AcDb::kForWrite);
        entity->setColorIndex(5);
    }
    const SvLinkAudit audit = svAuditLink(link);
    EXPECT_EQ(audit.state, SvLinkState::Stale);
    EXPECT_EQ(std::wstring(audit.shown.GetString()), L"5");
}

} // namespace
