// "sv_linkremove" and "sv_update" run from the command line on a drawing with live labels.
#include "SentavellEditorReactor.h"
#include "arx/arx_fixture.h"
#include "db/transaction.h"
#include "ed/commands.h"

namespace {

using namespace arxtest;
using namespace linktest;

// What the selection itself echoes comes first.
bool endsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class LinkCommands : public ArxTest {
protected:
    void SetUp() override {
        ArxTest::SetUp();
        area = addStyle(L"Area", newStyle(new AcAreaReader, new AcTextModifier, L"%PROPERTY m2"));
        copy = addStyle(L"Copy", newStyle(new AcTextReader, new AcTextModifier));
    }

    // Selects the objects by handle and ends the selection.
    bool removeFrom(std::initializer_list<AcDbObjectId> picks) {
        std::vector<std::wstring> lines;
        for (AcDbObjectId id : picks)
            lines.push_back(handleOf(id));
        lines.push_back(L"");
        answer(lines);
        output.clear();
        return svRunCommand(L"sv_linkremove");
    }

    static int linksOn(AcDbObjectId source) {
        Opened<AcDbEntity> entity(source, AcDb::kForRead);
        int links = 0;
        Opened<AcDbDictionary> xdict(entity->extensionDictionary(), AcDb::kForRead);
        if (xdict.get() == nullptr)
            return -1;
        AcDbDictionaryIterator* it = xdict->newIterator();
        for (; !it->done(); it->next())
            ++links;
        delete it;
        return links;
    }

    static bool isErased(AcDbObjectId id) {
        AcDbObject* opened = nullptr;
        if (acdbOpenAcDbObject(opened, id, AcDb::kForRead, true) != Acad::eOk)
            return false;
        const bool erased = opened->isErased();
        opened->close();
        return erased;
    }

    static bool reacts(AcDbObjectId source, AcDbObjectId link) {
        Opened<AcDbEntity> entity(source, AcDb::kForRead);
        return entity->hasPersistentReactor(link);
    }

    AcDbObjectId area, copy;
};

TEST_F(LinkCommands, SelectingOnlyLabelsReportsEachAndRemovesNothing) {
    const AcDbObjectId room = linktest::append(db, rectangle(2.0, 3.0));
    const AcDbObjectId label = addText(db, L"?"), other = addText(db, L"?");
    const AcDbObjectId link = addLink(room, area, label);
    EXPECT_TRUE(removeFrom({label, other}));
    EXPECT_PRED2(endsWith, output.text(),
                 L"\nA selected object has no links.\nA selected object has no links."
                 L"\nNo links were found on the selected objects.");
    EXPECT_EQ(linksOn(room), 1);
    EXPECT_TRUE(reacts(room, link));
    moveVertex(room, 2, 2.0, 4.0);
    EXPECT_EQ(textOf(label), L"7.0 m2");
}

TEST_F(LinkCommands, BothLinksOfASourceGoAndTheLabelsKeepTheirText) {
    const AcDbObjectId room = linktest::append(db, rectangle(2.0, 3.0));
    const AcDbObjectId name = addText(db, L"Kitchen");
    const AcDbObjectId areaLabel = addText(db, L"?"), nameLabel = addText(db, L"?");
    const AcDbObjectId first = addLink(room, area, areaLabel);
    const AcDbObjectId second = addLink(room, copy, nameLabel);
    addLink(name, copy, nameLabel);
    ASSERT_EQ(linksOn(room), 2);

    EXPECT_TRUE(removeFrom({room}));
    EXPECT_PRED2(endsWith, output.text(), L"\nLinks found: 2.\nLinks removed: 2.");
    EXPECT_EQ(linksOn(room), 0) << "the empty extension dictionary stays";
    EXPECT_FALSE(reacts(room, first));
    EXPECT_FALSE(reacts(room, second));
    EXPECT_TRUE(isErased(first));
    EXPECT_TRUE(isErased(second));

    moveVertex(room, 2, 2.0, 5.0);
    EXPECT_EQ(textOf(areaLabel), L"6.0 m2");
    // The name's own link was not selected and still works.
    setText(name, L"Pantry");
    EXPECT_EQ(textOf(nameLabel), L"Pantry");
}

TEST_F(LinkCommands, ASelfLinkIsRemovedFromItsObject) {
    const AcDbObjectId label = addText(db, L"self");
    const AcDbObjectId link = addLink(label, copy, AcDbObjectId());
    EXPECT_TRUE(removeFrom({label}));
    EXPECT_PRED2(endsWith, output.text(), L"\nLinks found: 1.\nLinks removed: 1.");
    EXPECT_EQ(linksOn(label), 0);
    EXPECT_FALSE(reacts(label, link));
    mgr->performDelayedModifications();
    setText(label, L"edited");
    EXPECT_EQ(mgr->pendingModifications().length(), 0) << "nothing left to queue itself";
}

TEST_F(LinkCommands, ANonLinkEntryOfTheDictionaryIsLeftAlone) {
    const AcDbObjectId room = linktest::append(db, rectangle(2.0, 3.0));
    const AcDbObjectId label = addText(db, L"?");
    addLink(room, area, label);
    AcDbObjectId xdictId;
    {
        Opened<AcDbEntity> entity(room, AcDb::kForRead);
        xdictId = entity->extensionDictionary();
    }
    const AcDbObjectId note = addStyleTo(xdictId, L"NOTE", newStyle(new AcAreaReader, nullptr));
    EXPECT_TRUE(removeFrom({room}));
    EXPECT_PRED2(endsWith, output.text(), L"\nLinks found: 1.\nLinks removed: 1.");
    EXPECT_EQ(linksOn(room), 1);
    EXPECT_FALSE(isErased(note));
}

TEST_F(LinkCommands, AnEmptySelectionAbortsWithoutAWord) {
    const AcDbObjectId room = linktest::append(db, rectangle(2.0, 3.0));
    addLink(room, area, addText(db, L"?"));
    answer({L"", L""});
    output.clear();
    svRunCommand(L"sv_linkremove");
    EXPECT_EQ(output.text().find(L"Links"), std::wstring::npos);
    EXPECT_EQ(linksOn(room), 1);
    EXPECT_EQ(doc->transactionManager()->numActiveTransactions(), 0);
}

TEST_F(LinkCommands, UpdateWithAnEmptyQueueEndsNormally) {
    ASSERT_EQ(mgr->pendingModifications().length(), 0);
    output.clear();
    EXPECT_TRUE(svRunCommand(L"sv_update"));
    EXPECT_TRUE(output.text().empty());
    EXPECT_EQ(doc->transactionManager()->numActiveTransactions(), 0);
}

TEST_F(LinkCommands, UpdateRewritesAQueuedSelfLinkFromItsOwnObject) {
    // Without the reactor only the command can work the queue off.
    DestroyEditorReactor();
    auto* modifier = new AcColorModifier;
    const AcDbObjectId colour = addStyle(L"Colour", newStyle(new AcAreaReader, modifier));
    const AcDbObjectId room = linktest::append(db, rectangle(2.0, 3.0));
    addLink(room, colour, AcDbObjectId());
    moveVertex(room, 2, 2.0, 4.0);
    ASSERT_EQ(mgr->pendingModifications().length(), 1);
    {
        Opened<AcDbEntity> entity(room, AcDb::kForRead);
        EXPECT_EQ(entity->colorIndex(), 256);
    }
    EXPECT_TRUE(svRunCommand(L"sv_update"));
    EXPECT_EQ(mgr->pendingModifications().length(), 0);
    Opened<AcDbEntity> entity(room, AcDb::kForRead);
    EXPECT_EQ(entity->colorIndex(), 7);
    CreateEditorReactor(); // the loaded module keeps it; later tests rely on it
}

} // namespace
