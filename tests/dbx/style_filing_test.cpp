// How a style is filed with its embedded reader and modifier, and how it is copied.
#include <memory>
#include <string>
#include <vector>

#include "db/proxy.h"
#include "dbx_test_support.h"
#include "link_fixture.h"
#include "support/output_capture.h"

namespace {

using namespace linktest;
using StyleFiling = DbxTest;

std::vector<unsigned char> bytesOf(const AcDbMemoryFiler& filer) {
    return {filer.data(), filer.data() + filer.size()};
}

// The start of every record: the object level.
std::unique_ptr<AcDbMemoryFiler> recordStart() {
    auto filer = std::make_unique<AcDbMemoryFiler>(AcDb::kFileFiler);
    AcDbObject plain;
    EXPECT_EQ(plain.dwgOutFields(filer.get()), Acad::eOk);
    return filer;
}

// An embedded reader or modifier as its family files it: object level, family and class version.
void embedded(AcDbDwgFiler* filer, const wchar_t* className) {
    filer->writeBoolean(true);
    filer->writeString(className);
    AcDbObject plain;
    plain.dwgOutFields(filer);
    filer->writeInt16(1);
    filer->writeInt16(1);
}

TEST_F(StyleFiling, Version2RecordEmbedsModifierThenReaderByClassName) {
    auto* modifier = new AcBlockModifier;
    modifier->setAttribName(L"ROOM");
    std::unique_ptr<AcPropertyLinkStyle> out(newStyle(new AcAreaReader, modifier, L"%PROPERTY m2"));
    out->setDescription(L"Area in m²");
    AcDbMemoryFiler filer(AcDb::kFileFiler);
    ASSERT_EQ(out->dwgOutFields(&filer), Acad::eOk);

    auto expected = recordStart();
    expected->writeInt16(2);
    embedded(expected.get(), L"AcBlockModifier");
    expected->writeString(L"ROOM");
    embedded(expected.get(), L"AcAreaReader");
    expected->writeString(L"Area in m²");
    expected->writeString(L"%PROPERTY m2");
    EXPECT_EQ(bytesOf(filer), bytesOf(*expected));

    AcPropertyLinkStyle in;
    in.setPropertyReader(new AcTextReader);
    filer.rewind();
    ASSERT_EQ(in.dwgInFields(&filer), Acad::eOk);
    EXPECT_EQ(filer.remaining(), 0u);
    ASSERT_NE(AcAreaReader::cast(in.propertyReader()), nullptr);
    ASSERT_NE(AcBlockModifier::cast(in.contentModifier()), nullptr);
    EXPECT_STREQ(AcBlockModifier::cast(in.contentModifier())->attribName(), L"ROOM");
    EXPECT_STREQ(in.description(), L"Area in m²");
    EXPECT_STREQ(in.postProcessingMacro(), L"%PROPERTY m2");
}

TEST_F(StyleFiling, AStyleWithoutReaderAndModifierComesBackWithout) {
    AcPropertyLinkStyle empty;
    AcDbMemoryFiler filer(AcDb::kFileFiler);
    ASSERT_EQ(empty.dwgOutFields(&filer), Acad::eOk);
    std::unique_ptr<AcPropertyLinkStyle> in(newStyle(new AcAreaReader, new AcTextModifier));
    filer.rewind();
    ASSERT_EQ(in->dwgInFields(&filer), Acad::eOk);
    EXPECT_EQ(in->propertyReader(), nullptr);
    EXPECT_EQ(in->contentModifier(), nullptr);
    EXPECT_STREQ(in->description(), L"");
}

TEST_F(StyleFiling, AVersion1RecordHasNoMacroAndLeavesTheOneHeld) {
    auto record = recordStart();
    record->writeInt16(1);
    record->writeBoolean(false);
    embedded(record.get(), L"AcLengthReader");
    record->writeString(L"old style");

    AcPropertyLinkStyle fresh;
    record->rewind();
    ASSERT_EQ(fresh.dwgInFields(record.get()), Acad::eOk);
    EXPECT_EQ(record->remaining(), 0u);
    EXPECT_STREQ(fresh.postProcessingMacro(), L"");
    EXPECT_STREQ(fresh.description(), L"old style");
    EXPECT_NE(AcLengthReader::cast(fresh.propertyReader()), nullptr);

    AcPropertyLinkStyle holding;
    holding.setPostProcessingMacro(L"kept");
    record->rewind();
    ASSERT_EQ(holding.dwgInFields(record.get()), Acad::eOk);
    EXPECT_STREQ(holding.postProcessingMacro(), L"kept");
}

// Records this module cannot read whole ask to be kept as proxies: newer versions of the style
// or of an embedded object, classes that are not registered or not of the slot's family. The host
// is never ended and no object of the wrong family lands in a slot.
TEST_F(StyleFiling, RecordsItCannotReadAreProxiesNotAborts) {
    struct Case {
        const char* what;
        Adesk::Int16 version;
        const wchar_t* modifierClass;
        Adesk::Int16 modifierVersion;
    };
    const Case cases[] = {
        {"newer style", 3, L"AcTextModifier", 1},
        {"newer embedded modifier", 2, L"AcTextModifier", 2},
        {"unregistered class", 2, L"AcNoSuchModifier", 1},
        {"reader in the modifier slot", 2, L"AcAreaReader", 1},
        {"a style nested in a style", 2, L"AcPropertyLinkStyle", 1},
        {"not a database object", 2, L"AcRxDictionary", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto record = recordStart();
        record->writeInt16(c.version);
        record->writeBoolean(true);
        record->writeString(c.modifierClass);
        AcDbObject plain;
        plain.dwgOutFields(record.get());
        record->writeInt16(1);
        record->writeInt16(c.modifierVersion);
        record->writeBoolean(false);
        record->writeString(L"description");
        record->writeString(L"");
        std::unique_ptr<AcPropertyLinkStyle> style(newStyle(nullptr, new AcColorModifier));
        record->rewind();
        EXPECT_EQ(style->dwgInFields(record.get()), Acad::eMakeMeProxy);
        if (c.version <= 2) {
            EXPECT_EQ(style->contentModifier(), nullptr);
        }
    }
}

// A style subclass that files as a newer style under the style's own class name.
class NewerStyle : public AcPropertyLinkStyle {
public:
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override {
        AcDbObject::dwgOutFields(filer);
        filer->writeInt16(3);
        filer->writeString(L"whatever version 3 holds");
        return filer->filerStatus();
    }
};

TEST_F(StyleFiling, ANewerStyleInADrawingLoadsAsAProxyThatSavesUnchanged) {
    addStyle(db, L"Newer", new NewerStyle);
    const std::string first = binDir() + "/style_filing_newer_1.dwg";
    const std::string second = binDir() + "/style_filing_newer_2.dwg";
    const std::wstring firstW(first.begin(), first.end());
    const std::wstring secondW(second.begin(), second.end());
    ASSERT_EQ(db->saveAs(firstW.c_str()), Acad::eOk);

    AcDbDatabase loaded(false);
    ASSERT_EQ(loaded.readDwgFile(firstW.c_str()), Acad::eOk);
    AcDbDictionary* nod = nullptr;
    ASSERT_EQ(loaded.getNamedObjectsDictionary(nod, AcDb::kForRead), Acad::eOk);
    AcDbObjectId styleId;
    EXPECT_EQ(nod->getAt(L"Newer", styleId), Acad::eOk);
    nod->close();
    Opened<AcDbProxyObject> proxy(styleId, AcDb::kForRead);
    ASSERT_EQ(proxy.status(), Acad::eOk);
    EXPECT_STREQ(proxy->originalClassName(), L"AcPropertyLinkStyle");
}

// A style of another add-on: its modifier's class is not registered here.
class ForeignStyle : public AcPropertyLinkStyle {
public:
    explicit ForeignStyle(const wchar_t* modifierClass) : m_modifierClass(modifierClass) {}
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override {
        AcDbObject::dwgOutFields(filer);
        filer->writeInt16(2);
        embedded(filer, m_modifierClass);
        filer->writeBoolean(false);
        filer->writeString(L"foreign");
        filer->writeString(L"");
        return filer->filerStatus();
    }

private:
    const wchar_t* m_modifierClass;
};

// Said once a class in each drawing read, naming the class and the first style that needs it.
TEST_F(StyleFiling, AStyleNamingAnUnregisteredClassIsSaidOnceAReading) {
    addStyle(db, L"Alpha", new ForeignStyle(L"AcFutureModifier"));
    addStyle(db, L"Beta", new ForeignStyle(L"AcFutureModifier"));
    addStyle(db, L"Gamma", new ForeignStyle(L"AcOtherModifier"));
    const std::string path = binDir() + "/style_filing_foreign.dwg";
    const std::wstring pathW(path.begin(), path.end());
    ASSERT_EQ(db->saveAs(pathW.c_str()), Acad::eOk);
    const std::wstring message =
        L"readObject() attempts to read class, that hasn't been registered via rxInit()! ";
    for (int reading = 0; reading < 2; ++reading) {
        OutputCapture output;
        AcDbDatabase loaded(false);
        ASSERT_EQ(loaded.readDwgFile(pathW.c_str()), Acad::eOk);
        EXPECT_EQ(output.text(), L"\n" + message + L"Class AcFutureModifier, style \"Alpha\".\n" +
                                     message + L"Class AcOtherModifier, style \"Gamma\".");
    }
    std::remove(path.c_str());
}

TEST_F(StyleFiling, WritingAnEmbeddedObjectOfAnUnregisteredClassEndsTheHost) {
    AcPropertyLinkStyle style;
    style.setPropertyReader(new AcZCoordReader);
    deleteAcRxClass(AcZCoordReader::desc());
    AcZCoordReader::gpDesc = nullptr;
    AcDbMemoryFiler filer(AcDb::kFileFiler);
    try {
        style.dwgOutFields(&filer);
        ADD_FAILURE() << "no abort";
    } catch (const DbxAbortSeen& seen) {
        EXPECT_STREQ(seen.what(), "writeObject() attempts to write class, that hasn't been "
                                  "registered via rxInit()!");
    }
    AcZCoordReader::rxInit();
}

TEST_F(StyleFiling, StylesAreNotFiledInDxf) {
    AcPropertyLinkStyle style;
    EXPECT_EQ(style.dxfOutFields(nullptr), Acad::eNotImplementedYet);
    EXPECT_EQ(style.dxfInFields(nullptr), Acad::eNotImplementedYet);
}

TEST_F(StyleFiling, CopyFromGivesIndependentClones) {
    auto* modifier = new AcBlockModifier;
    modifier->setAttribName(L"AREA");
    std::unique_ptr<AcPropertyLinkStyle> original(
        newStyle(new AcAreaReader, modifier, L"%PROPERTY"));
    AcPropertyLinkStyle copy;
    copy.setPropertyReader(new AcTextReader);
    ASSERT_EQ(copy.copyFrom(original.get()), Acad::eOk);

    auto* copied = AcBlockModifier::cast(copy.contentModifier());
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, modifier);
    EXPECT_STREQ(copied->attribName(), L"AREA");
    copied->setAttribName(L"OTHER");
    EXPECT_STREQ(modifier->attribName(), L"AREA");
    ASSERT_NE(AcAreaReader::cast(copy.propertyReader()), nullptr);
    EXPECT_NE(copy.propertyReader(), original->propertyReader());
    EXPECT_STREQ(copy.postProcessingMacro(), L"%PROPERTY");
    EXPECT_STREQ(copy.description(), L"test style");
    original.reset();
    EXPECT_STREQ(AcBlockModifier::cast(copy.contentModifier())->attribName(), L"OTHER");

    // Onto itself it keeps everything; from another class it changes nothing.
    AcContentModifier* held = copy.contentModifier();
    EXPECT_EQ(copy.copyFrom(&copy), Acad::eOk);
    EXPECT_EQ(copy.contentModifier(), held);
    AcAreaReader notAStyle;
    EXPECT_NE(copy.copyFrom(&notAStyle), Acad::eOk);
    EXPECT_EQ(copy.contentModifier(), held);
    EXPECT_STREQ(copy.postProcessingMacro(), L"%PROPERTY");

    std::unique_ptr<AcRxObject> cloned(copy.clone());
    auto* clone = AcPropertyLinkStyle::cast(cloned.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone->contentModifier(), held);
    EXPECT_STREQ(AcBlockModifier::cast(clone->contentModifier())->attribName(), L"OTHER");
}

} // namespace
