#include <string>
#include <vector>

#include "AcContentModifier.h"
#include "db/acutbuffer.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/dimension.h"
#include "db/leader.h"
#include "db/line.h"
#include "db/mtext.h"
#include "db/text.h"
#include "dbx_test_support.h"

namespace {

using DbxModifiers = DbxTest;

std::wstring released(wchar_t* hostText) {
    std::wstring copy(hostText != nullptr ? hostText : L"<null>");
    acutDelBuffer(hostText);
    return copy;
}

// Opens the label for write, as a link does, and lets the modifier write it.
void update(AcContentModifier& modifier, AcDbObjectId label, const wchar_t* text) {
    Opened<AcDbEntity> entity(label, AcDb::kForWrite);
    ASSERT_EQ(entity.status(), Acad::eOk);
    modifier.updateContent(entity.get(), text);
}

std::wstring textOf(AcDbObjectId id) {
    Opened<AcDbText> text(id, AcDb::kForRead);
    return text.get() != nullptr ? released(text->textString()) : L"<not text>";
}

std::wstring contentsOf(AcDbObjectId id) {
    Opened<AcDbMText> mtext(id, AcDb::kForRead);
    return mtext.get() != nullptr ? released(mtext->contents()) : L"<not mtext>";
}

Adesk::UInt16 colorOf(AcDbObjectId id) {
    Opened<AcDbEntity> entity(id, AcDb::kForRead);
    return entity->colorIndex();
}

// --- colour -----------------------------------------------------------------------------------

TEST_F(DbxModifiers, ColorTakesTheWholeNumberTheTextStartsWith) {
    const AcDbObjectId label = append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
    AcColorModifier color;
    struct Case {
        const wchar_t* text;
        Adesk::UInt16 before;
        Adesk::UInt16 after;
    };
    const Case cases[] = {
        {L"3", 7, 3},
        {L"256", 7, 256},
        {L"0", 7, 0},
        {L"red", 7, 0},
        {L"UNKNOWN PROPERTY VALUE", 7, 0},
        {L"257", 7, 7},
        {L"-1", 7, 7},
        {L"12.7", 7, 12},
        {L"  42 m", 7, 42},
        {L"99999999999", 7, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        {
            Opened<AcDbEntity> entity(label, AcDb::kForWrite);
            ASSERT_EQ(entity->setColorIndex(c.before), Acad::eOk);
        }
        update(color, label, c.text);
        EXPECT_EQ(colorOf(label), c.after);
    }
}

TEST_F(DbxModifiers, ColorLeavesLabelsItCannotWriteAlone) {
    const AcDbObjectId label =
        append(new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 1.0));
    AcColorModifier color;
    {
        Opened<AcDbEntity> entity(label, AcDb::kForRead);
        color.updateContent(entity.get(), L"5");
    }
    EXPECT_EQ(colorOf(label), kSvColorByLayer);
    color.updateContent(nullptr, L"5");
    update(color, label, nullptr);
    EXPECT_EQ(colorOf(label), kSvColorByLayer);
}

// --- block attributes -------------------------------------------------------------------------

class DbxBlockModifier : public DbxTest {
protected:
    // A reference whose attributes have these tags, each with the value "old".
    AcDbObjectId insert(std::initializer_list<const wchar_t*> tags) {
        const AcDbObjectId block = addBlock((L"B" + std::to_wstring(++m_blocks)).c_str());
        const AcDbObjectId reference = append(new AcDbBlockReference(AcGePoint3d(0, 0, 0), block));
        Opened<AcDbBlockReference> ref(reference, AcDb::kForWrite);
        for (const wchar_t* tag : tags) {
            AcDbObjectId id;
            auto* attribute = new AcDbAttribute(AcGePoint3d(0, 0, 0), L"old", tag);
            EXPECT_EQ(ref->appendAttribute(id, attribute), Acad::eOk);
            attribute->close();
            m_attributes.push_back(id);
        }
        return reference;
    }

    std::vector<std::wstring> values() const {
        std::vector<std::wstring> all;
        for (AcDbObjectId id : m_attributes)
            all.push_back(textOf(id));
        return all;
    }

    std::vector<AcDbObjectId> m_attributes;
    int m_blocks = 0;
};

TEST_F(DbxBlockModifier, TagMatchesWithoutRegardToCase) {
    const AcDbObjectId reference = insert({L"AREA", L"ROOM"});
    AcBlockModifier modifier;
    ASSERT_EQ(modifier.setAttribName(L"area"), Acad::eOk);
    update(modifier, reference, L"12.5 m2");
    EXPECT_EQ(values(), (std::vector<std::wstring>{L"12.5 m2", L"old"}));
}

TEST_F(DbxBlockModifier, EveryMatchingAttributeIsWritten) {
    const AcDbObjectId reference = insert({L"AREA", L"ROOM", L"Area"});
    AcBlockModifier modifier;
    modifier.setAttribName(L"AREA");
    update(modifier, reference, L"7");
    EXPECT_EQ(values(), (std::vector<std::wstring>{L"7", L"old", L"7"}));
    // Each attribute was closed again.
    for (AcDbObjectId id : m_attributes) {
        Opened<AcDbAttribute> attribute(id, AcDb::kForWrite);
        EXPECT_EQ(attribute.status(), Acad::eOk);
    }
}

TEST_F(DbxBlockModifier, AnEmptyNameMatchesNothing) {
    const AcDbObjectId reference = insert({L"AREA", L"ROOM"});
    AcBlockModifier modifier;
    EXPECT_TRUE(modifier.hasOptions());
    EXPECT_FALSE(modifier.hasOptionsCorrect());
    update(modifier, reference, L"7");
    EXPECT_EQ(values(), (std::vector<std::wstring>{L"old", L"old"}));

    modifier.setAttribName(L"ROOM");
    EXPECT_TRUE(modifier.hasOptionsCorrect());
    modifier.setAttribName(nullptr);
    EXPECT_STREQ(modifier.attribName(), L"");
    EXPECT_FALSE(modifier.hasOptionsCorrect());
}

TEST_F(DbxBlockModifier, OtherLabelsAndErasedAttributesAreLeftAlone) {
    const AcDbObjectId reference = insert({L"AREA", L"AREA"});
    {
        Opened<AcDbAttribute> first(m_attributes[0], AcDb::kForWrite);
        ASSERT_EQ(first->erase(), Acad::eOk);
    }
    AcBlockModifier modifier;
    modifier.setAttribName(L"AREA");
    update(modifier, reference, L"new");
    {
        AcDbObject* erased = nullptr;
        ASSERT_EQ(acdbOpenAcDbObject(erased, m_attributes[0], AcDb::kForRead, true), Acad::eOk);
        EXPECT_EQ(released(static_cast<AcDbAttribute*>(erased)->textString()), L"old");
        erased->close();
    }
    EXPECT_EQ(textOf(m_attributes[1]), L"new");

    const AcDbObjectId text = append(new AcDbText(AcGePoint3d(0, 0, 0), L"AREA"));
    update(modifier, text, L"new");
    EXPECT_EQ(textOf(text), L"AREA");
    modifier.updateContent(nullptr, L"new");
}

// --- text, multiline text, dimension, leader ---------------------------------------------------

class DbxTextModifiers : public DbxTest {
protected:
    AcDbObjectId mtext(const wchar_t* contents) {
        auto* note = new AcDbMText;
        note->setContents(contents);
        return append(note);
    }
};

TEST_F(DbxTextModifiers, TextModifierWritesTextAndAttributesOpenForWrite) {
    const AcDbObjectId label = append(new AcDbText(AcGePoint3d(0, 0, 0), L"old"));
    AcTextModifier modifier;
    update(modifier, label, L"new");
    EXPECT_EQ(textOf(label), L"new");

    {
        Opened<AcDbEntity> readOnly(label, AcDb::kForRead);
        modifier.updateContent(readOnly.get(), L"not written");
    }
    EXPECT_EQ(textOf(label), L"new");

    const AcDbObjectId block = addBlock(L"TAGS");
    const AcDbObjectId reference = append(new AcDbBlockReference(AcGePoint3d(0, 0, 0), block));
    AcDbObjectId attribute;
    {
        Opened<AcDbBlockReference> ref(reference, AcDb::kForWrite);
        auto* value = new AcDbAttribute(AcGePoint3d(0, 0, 0), L"old", L"TAG");
        ASSERT_EQ(ref->appendAttribute(attribute, value), Acad::eOk);
        value->close();
    }
    update(modifier, attribute, L"attribute value");
    EXPECT_EQ(textOf(attribute), L"attribute value");

    const AcDbObjectId note = mtext(L"old");
    update(modifier, note, L"new");
    EXPECT_EQ(contentsOf(note), L"old");
}

TEST_F(DbxTextModifiers, MTextModifierWritesOnlyMultilineText) {
    const AcDbObjectId note = mtext(L"old");
    AcMTextModifier modifier;
    update(modifier, note, L"first\\Psecond");
    EXPECT_EQ(contentsOf(note), L"first\\Psecond");
    {
        Opened<AcDbEntity> readOnly(note, AcDb::kForRead);
        modifier.updateContent(readOnly.get(), L"not written");
    }
    EXPECT_EQ(contentsOf(note), L"first\\Psecond");

    const AcDbObjectId label = append(new AcDbText(AcGePoint3d(0, 0, 0), L"old"));
    update(modifier, label, L"new");
    EXPECT_EQ(textOf(label), L"old");
}

TEST_F(DbxTextModifiers, DimensionModifierSetsTheTextOverride) {
    const AcDbObjectId dimension = append(new AcDbRotatedDimension(
        0.0, AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0), AcGePoint3d(5, 2, 0)));
    AcDimensionModifier modifier;
    update(modifier, dimension, L"<> m");
    {
        Opened<AcDbDimension> dim(dimension, AcDb::kForRead);
        EXPECT_EQ(released(dim->dimensionText()), L"<> m");
    }
    {
        Opened<AcDbEntity> readOnly(dimension, AcDb::kForRead);
        modifier.updateContent(readOnly.get(), L"not written");
    }
    Opened<AcDbDimension> dim(dimension, AcDb::kForRead);
    EXPECT_EQ(released(dim->dimensionText()), L"<> m");
}

TEST_F(DbxTextModifiers, LeaderModifierWritesOnlyAMultilineTextAnnotation) {
    auto makeLeader = [this](AcDbObjectId annotation) {
        auto* leader = new AcDbLeader;
        leader->appendVertex(AcGePoint3d(0, 0, 0));
        leader->appendVertex(AcGePoint3d(5, 5, 0));
        const AcDbObjectId id = append(leader);
        if (!annotation.isNull()) {
            Opened<AcDbLeader> open(id, AcDb::kForWrite);
            EXPECT_EQ(open->attachAnnotation(annotation), Acad::eOk);
        }
        return id;
    };
    AcLeaderModifier modifier;

    const AcDbObjectId note = mtext(L"old");
    const AcDbObjectId annotated = makeLeader(note);
    update(modifier, annotated, L"new");
    EXPECT_EQ(contentsOf(note), L"new");
    Opened<AcDbMText> closedAgain(note, AcDb::kForWrite);
    EXPECT_EQ(closedAgain.status(), Acad::eOk);

    const AcDbObjectId block = addBlock(L"ANNOTATION");
    const AcDbObjectId reference = append(new AcDbBlockReference(AcGePoint3d(5, 5, 0), block));
    const AcDbObjectId withBlock = makeLeader(reference);
    update(modifier, withBlock, L"new");
    {
        Opened<AcDbBlockReference> ref(reference, AcDb::kForRead);
        EXPECT_EQ(ref.status(), Acad::eOk);
    }

    update(modifier, makeLeader(AcDbObjectId()), L"new");
    const AcDbObjectId label = mtext(L"not a leader");
    update(modifier, label, L"new");
    EXPECT_EQ(contentsOf(label), L"not a leader");
}

} // namespace
