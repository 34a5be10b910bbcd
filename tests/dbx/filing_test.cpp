#include <memory>
#include <string>
#include <vector>

#include "AcContentModifier.h"
#include "AcPropertyReader.h"
#include "dbx_test_support.h"

namespace {

using DbxFiling = DbxTest;

// The record as the family writes it: the object level, then the given Int16s and strings.
struct Record {
    std::vector<Adesk::Int16> versions;
    const wchar_t* name = nullptr;
};

std::vector<unsigned char> bytesOf(AcDbMemoryFiler& filer) {
    return {filer.data(), filer.data() + filer.size()};
}

std::unique_ptr<AcDbMemoryFiler> handMade(const Record& record) {
    auto filer = std::make_unique<AcDbMemoryFiler>(AcDb::kFileFiler);
    AcDbObject plain;
    EXPECT_EQ(plain.dwgOutFields(filer.get()), Acad::eOk);
    for (Adesk::Int16 version : record.versions)
        filer->writeInt16(version);
    if (record.name != nullptr)
        filer->writeString(record.name);
    return filer;
}

TEST_F(DbxFiling, BlockModifierKeepsItsAttributeNameExactly) {
    AcBlockModifier out;
    out.setAttribName(L"Room_Area Ä");
    AcDbMemoryFiler filer(AcDb::kFileFiler);
    ASSERT_EQ(out.dwgOutFields(&filer), Acad::eOk);
    EXPECT_EQ(bytesOf(filer), bytesOf(*handMade({{1, 1}, L"Room_Area Ä"})));

    AcBlockModifier in;
    filer.rewind();
    ASSERT_EQ(in.dwgInFields(&filer), Acad::eOk);
    EXPECT_STREQ(in.attribName(), L"Room_Area Ä");
    EXPECT_EQ(filer.remaining(), 0u);
}

TEST_F(DbxFiling, EveryLevelWritesItsVersionOne) {
    const std::vector<AcDbObject*> subclasses = {
        new AcAreaReader,    new AcLengthReader,      new AcTextReader,    new AcXCoordReader,
        new AcYCoordReader,  new AcZCoordReader,      new AcTextModifier,  new AcMTextModifier,
        new AcColorModifier, new AcDimensionModifier, new AcLeaderModifier};
    for (AcDbObject* object : subclasses) {
        AcDbMemoryFiler filer(AcDb::kFileFiler);
        ASSERT_EQ(object->dwgOutFields(&filer), Acad::eOk);
        EXPECT_EQ(bytesOf(filer), bytesOf(*handMade({{1, 1}})))
            << std::wstring(object->isA()->name());
        filer.rewind();
        std::unique_ptr<AcDbObject> fresh(AcDbObject::cast(object->isA()->create()));
        EXPECT_EQ(fresh->dwgInFields(&filer), Acad::eOk);
        delete object;
    }
    for (AcDbObject* base :
         std::initializer_list<AcDbObject*>{new AcPropertyReader, new AcContentModifier}) {
        AcDbMemoryFiler filer(AcDb::kFileFiler);
        ASSERT_EQ(base->dwgOutFields(&filer), Acad::eOk);
        EXPECT_EQ(bytesOf(filer), bytesOf(*handMade({{1}})));
        delete base;
    }
}

TEST_F(DbxFiling, ANewerRecordAsksToBeAProxy) {
    struct Case {
        const char* what;
        AcDbObject* fresh;
        Record record;
    };
    const std::vector<Case> cases = {
        {"block modifier, class level", new AcBlockModifier, {{1, 2}, L"AREA"}},
        {"block modifier, family level", new AcBlockModifier, {{2, 1}, L"AREA"}},
        {"colour modifier", new AcColorModifier, {{1, 2}}},
        {"generic modifier", new AcContentModifier, {{2}}},
        {"x reader, class level", new AcXCoordReader, {{1, 2}}},
        {"text reader, family level", new AcTextReader, {{3, 1}}},
        {"generic reader", new AcPropertyReader, {{2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto filer = handMade(c.record);
        filer->rewind();
        EXPECT_EQ(c.fresh->dwgInFields(filer.get()), Acad::eMakeMeProxy);
        delete c.fresh;
    }
    AcBlockModifier modifier;
    modifier.setAttribName(L"KEPT");
    auto filer = handMade({{1, 2}, L"LOST"});
    filer->rewind();
    EXPECT_EQ(modifier.dwgInFields(filer.get()), Acad::eMakeMeProxy);
    EXPECT_STREQ(modifier.attribName(), L"KEPT");
}

TEST_F(DbxFiling, ATruncatedRecordFailsAndKeepsTheName) {
    AcBlockModifier out;
    out.setAttribName(L"AREA");
    AcDbMemoryFiler full(AcDb::kFileFiler);
    ASSERT_EQ(out.dwgOutFields(&full), Acad::eOk);
    AcDbMemoryFiler cut(full.data(), full.size() - 3, AcDb::kFileFiler);

    AcBlockModifier in;
    in.setAttribName(L"BEFORE");
    EXPECT_NE(in.dwgInFields(&cut), Acad::eOk);
    EXPECT_STREQ(in.attribName(), L"BEFORE");
}

TEST_F(DbxFiling, CloneCarriesTheAttributeNameAndIsIndependent) {
    AcBlockModifier original;
    original.setAttribName(L"Area");
    std::unique_ptr<AcRxObject> copy(original.clone());
    AcBlockModifier* clone = AcBlockModifier::cast(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_STREQ(clone->attribName(), L"Area");
    clone->setAttribName(L"Other");
    EXPECT_STREQ(original.attribName(), L"Area");

    AcYCoordReader reader;
    std::unique_ptr<AcRxObject> readerCopy(reader.clone());
    EXPECT_NE(AcYCoordReader::cast(readerCopy.get()), nullptr);
}

} // namespace
