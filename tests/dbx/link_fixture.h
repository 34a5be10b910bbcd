#pragma once

// Drawings with live labels, built as a user's link creation leaves them: styles in a dictionary,
// links under "*U" in their source's extension dictionary and among its persistent reactors.
// Shared by the database-module, application-module and end-to-end tests.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "AcContentModifier.h"
#include "AcPropertyLink.h"
#include "AcPropertyLinkStyle.h"
#include "AcPropertyReader.h"
#include "db/database.h"
#include "db/dictionary.h"
#include "db/polyline.h"
#include "db/symboltable.h"
#include "db/text.h"

namespace linktest {

// Runs `body` in a new process of this program, where module-wide state (the host functions the
// style found, the service's pending list) starts afresh whichever tests ran before.
template <class Body>
void inFreshProcess(Body body) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(body() ? 0 : 1), testing::ExitedWithCode(0), "");
}

// Appends to the drawing's model space and closes the entity.
inline AcDbObjectId append(AcDbDatabase* db, AcDbEntity* entity) {
    AcDbObject* opened = nullptr;
    AcDbObjectId id;
    EXPECT_EQ(acdbOpenAcDbObject(opened, db->modelSpaceId(), AcDb::kForWrite), Acad::eOk);
    auto* space = AcDbBlockTableRecord::cast(opened);
    if (space == nullptr) {
        delete entity;
        return id;
    }
    EXPECT_EQ(space->appendAcDbEntity(id, entity), Acad::eOk);
    entity->close();
    space->close();
    return id;
}

inline AcDbPolyline* rectangle(double width, double height) {
    auto* outline = new AcDbPolyline;
    outline->addVertexAt(0, AcGePoint2d(0.0, 0.0));
    outline->addVertexAt(1, AcGePoint2d(width, 0.0));
    outline->addVertexAt(2, AcGePoint2d(width, height));
    outline->addVertexAt(3, AcGePoint2d(0.0, height));
    outline->setClosed(true);
    return outline;
}

inline AcDbObjectId addText(AcDbDatabase* db, const wchar_t* content) {
    return append(db, new AcDbText(AcGePoint3d(0.0, 0.0, 0.0), content, AcDbObjectId(), 1.0));
}

inline AcPropertyLinkStyle* newStyle(AcPropertyReader* reader, AcContentModifier* modifier,
                                     const wchar_t* macro = L"") {
    auto* style = new AcPropertyLinkStyle;
    style->setPropertyReader(reader);
    style->setContentModifier(modifier);
    style->setDescription(L"test style");
    style->setPostProcessingMacro(macro);
    return style;
}

// Stores the style in the dictionary `dictId` under `name`.
inline AcDbObjectId addStyleTo(AcDbObjectId dictId, const wchar_t* name,
                               AcPropertyLinkStyle* style) {
    AcDbObject* opened = nullptr;
    AcDbObjectId id;
    EXPECT_EQ(acdbOpenAcDbObject(opened, dictId, AcDb::kForWrite), Acad::eOk);
    auto* dict = AcDbDictionary::cast(opened);
    if (dict == nullptr) {
        delete style;
        return id;
    }
    EXPECT_EQ(dict->setAt(name, style, id), Acad::eOk);
    style->close();
    dict->close();
    return id;
}

inline AcDbObjectId addStyle(AcDbDatabase* db, const wchar_t* name, AcPropertyLinkStyle* style) {
    return addStyleTo(db->namedObjectsDictionaryId(), name, style);
}

// A link from `source` to `label` (null: a self-link). The source is closed as modified, so the
// link fires at once, as it does when a user creates it.
inline AcDbObjectId addLink(AcDbObjectId source, AcDbObjectId styleId, AcDbObjectId label) {
    AcDbObject* owner = nullptr;
    AcDbObjectId linkId;
    EXPECT_EQ(acdbOpenAcDbObject(owner, source, AcDb::kForWrite), Acad::eOk);
    if (owner == nullptr)
        return linkId;
    if (owner->extensionDictionary().isNull()) {
        EXPECT_EQ(owner->createExtensionDictionary(), Acad::eOk);
    }
    AcDbObject* opened = nullptr;
    EXPECT_EQ(acdbOpenAcDbObject(opened, owner->extensionDictionary(), AcDb::kForWrite), Acad::eOk);
    auto* xdict = AcDbDictionary::cast(opened);
    auto* link = new AcPropertyLink;
    link->setStyle(styleId);
    link->setLinkedObj(label);
    EXPECT_EQ(xdict->setAt(L"*U", link, linkId), Acad::eOk);
    link->close();
    xdict->close();
    EXPECT_EQ(owner->addPersistentReactor(linkId), Acad::eOk);
    owner->recordGraphicsModified();
    owner->close();
    return linkId;
}

inline std::wstring textOf(AcDbObjectId id) {
    AcDbObject* opened = nullptr;
    if (acdbOpenAcDbObject(opened, id, AcDb::kForRead, true) != Acad::eOk)
        return L"<not open>";
    auto* text = AcDbText::cast(opened);
    std::wstring content = text != nullptr ? text->textStringConst() : L"<not a text>";
    opened->close();
    return content;
}

inline void setText(AcDbObjectId id, const wchar_t* content) {
    AcDbObject* opened = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(opened, id, AcDb::kForWrite), Acad::eOk);
    AcDbText::cast(opened)->setTextString(content);
    opened->close();
}

// Moves one vertex of a polyline; its close notifies the links.
inline void moveVertex(AcDbObjectId polyline, unsigned int index, double x, double y) {
    AcDbObject* opened = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(opened, polyline, AcDb::kForWrite), Acad::eOk);
    AcDbPolyline::cast(opened)->setPointAt(index, AcGePoint2d(x, y));
    opened->close();
}

inline void erase(AcDbObjectId id) {
    AcDbObject* opened = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(opened, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(opened->erase(), Acad::eOk);
    opened->close();
}

} // namespace linktest
