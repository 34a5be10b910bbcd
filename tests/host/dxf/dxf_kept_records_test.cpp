// What the host has no class for is kept: kinds of entity it lacks, table records and unknown
// objects go back to file as they came, and old drawings without handles still open.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "crt/format.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/polyline.h"
#include "db/proxy.h"
#include "db_test_support.h"

namespace {

// A DXF text as its groups, codes read as numbers so the spacing of the code lines does not matter.
using Group = std::pair<int, std::string>;
std::vector<Group> groupsOf(const std::string& text) {
    std::vector<Group> groups;
    std::istringstream in(text);
    std::string code;
    std::string value;
    while (std::getline(in, code) && std::getline(in, value))
        groups.emplace_back(std::stoi(code), value);
    return groups;
}

bool holds(const std::vector<Group>& all, const std::vector<Group>& part) {
    return std::search(all.begin(), all.end(), part.begin(), part.end()) != all.end();
}

class DxfKeptRecords : public DbTest {
protected:
    AcDbDatabase* read(const std::string& content) {
        const std::string path = tempPath("in.dxf");
        std::ofstream(path, std::ios::binary) << content;
        loaded = std::make_unique<AcDbDatabase>(false);
        const Acad::ErrorStatus es = loaded->readDwgFile(svFromUtf8(path).c_str());
        EXPECT_EQ(es, Acad::eOk) << svToUtf8(svDbReadError());
        return loaded.get();
    }
    std::string saved(AcDbDatabase* in) {
        const std::string path = tempPath("out.dxf");
        EXPECT_EQ(in->saveAs(svFromUtf8(path).c_str()), Acad::eOk);
        std::ifstream file(path, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    // The entities of model space, in order.
    std::vector<AcDbObjectId> modelSpace(AcDbDatabase* in) {
        std::vector<AcDbObjectId> ids;
        AcDbBlockTableRecord* record = nullptr;
        EXPECT_EQ(acdbOpenObject(record, in->modelSpaceId(), AcDb::kForRead), Acad::eOk);
        AcDbBlockTableRecordIterator* it = nullptr;
        record->newIterator(it);
        for (; !it->done(); it->step()) {
            AcDbObjectId id;
            it->getEntityId(id);
            ids.push_back(id);
        }
        delete it;
        record->close();
        return ids;
    }

    std::unique_ptr<AcDbDatabase> loaded;
};

// A drawing of release 12: no handles, no tables of blocks, an old polyline with a bulge and an
// insertion with its attribute.
TEST_F(DxfKeptRecords, OldDrawingsWithoutHandlesOpen) {
    AcDbDatabase* in = read("0\nSECTION\n2\nENTITIES\n"
                            "0\nPOLYLINE\n8\nWALLS\n66\n1\n70\n1\n"
                            "0\nVERTEX\n10\n0\n20\n0\n42\n0.5\n0\nVERTEX\n10\n4\n20\n0\n"
                            "0\nSEQEND\n"
                            "0\nINSERT\n66\n1\n2\nROOM\n10\n5\n20\n5\n"
                            "0\nATTRIB\n10\n5\n20\n5\n40\n0.2\n1\nKitchen\n2\nNAME\n0\nSEQEND\n"
                            "0\nENDSEC\n0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nROOM\n70\n2\n"
                            "0\nATTDEF\n10\n0\n20\n0\n40\n0.2\n1\n?\n2\nNAME\n3\nName\n0\nENDBLK\n"
                            "0\nENDSEC\n0\nEOF\n");
    const std::vector<AcDbObjectId> ids = modelSpace(in);
    ASSERT_EQ(ids.size(), 2u);
    AcDbPolyline* polyline = nullptr;
    ASSERT_EQ(acdbOpenObject(polyline, ids[0], AcDb::kForRead), Acad::eOk);
    double bulge = 0.0;
    polyline->getBulgeAt(0, bulge);
    EXPECT_EQ(polyline->numVerts(), 2u);
    EXPECT_EQ(bulge, 0.5);
    EXPECT_TRUE(polyline->isClosed());
    wchar_t* layer = polyline->layer();
    EXPECT_STREQ(layer, L"WALLS");
    delete[] layer;
    polyline->close();
    AcDbBlockReference* reference = nullptr;
    ASSERT_EQ(acdbOpenObject(reference, ids[1], AcDb::kForRead), Acad::eOk);
    AcDbObjectIterator* it = reference->attributeIterator();
    ASSERT_FALSE(it->done());
    AcDbAttribute* attribute = nullptr;
    ASSERT_EQ(acdbOpenObject(attribute, it->objectId(), AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(attribute->textStringConst(), L"Kitchen");
    attribute->close();
    delete it;
    AcDbBlockTableRecord* block = nullptr;
    ASSERT_EQ(acdbOpenObject(block, reference->blockTableRecord(), AcDb::kForRead), Acad::eOk);
    EXPECT_TRUE(block->hasAttributeDefinitions());
    block->close();
    reference->close();
}

// A spline, a layer's colour and an object of an unknown kind come back out unchanged.
TEST_F(DxfKeptRecords, KindsTheHostLacksGoBackAsTheyCame) {
    const std::string spline = "0\nSPLINE\n5\n2A\n330\n1F\n100\nAcDbEntity\n8\nCURVES\n100\n"
                               "AcDbSpline\n70\n8\n71\n3\n72\n0\n73\n2\n10\n0.5\n20\n1.25\n30\n0\n"
                               "10\n3\n20\n4\n30\n0\n";
    const std::string layer = "0\nLAYER\n5\n30\n330\n2F\n100\nAcDbSymbolTableRecord\n100\n"
                              "AcDbLayerTableRecord\n2\nCURVES\n70\n0\n62\n5\n6\nContinuous\n";
    AcDbDatabase* in = read(
        "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$HANDSEED\n5\n100\n0\nENDSEC\n"
        "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n5\n2F\n330\n0\n100\nAcDbSymbolTable\n70\n1\n" +
        layer +
        "0\nENDTAB\n0\nTABLE\n2\nBLOCK_RECORD\n5\n1\n330\n0\n100\nAcDbSymbolTable\n70\n1\n"
        "0\nBLOCK_RECORD\n5\n1F\n330\n1\n100\nAcDbSymbolTableRecord\n100\nAcDbBlockTableRecord\n"
        "2\n*Model_Space\n0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" +
        spline +
        "0\nENDSEC\n0\nSECTION\n2\nOBJECTS\n0\nDICTIONARY\n5\nC\n330\n0\n100\nAcDbDictionary\n"
        "3\nNOTES\n350\n40\n0\nXRECORD\n5\n40\n330\nC\n100\nAcDbXrecord\n1\nkept words\n"
        "0\nENDSEC\n0\nEOF\n");
    const std::vector<AcDbObjectId> ids = modelSpace(in);
    ASSERT_EQ(ids.size(), 1u);
    AcDbObject* kept = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(kept, ids[0], AcDb::kForRead), Acad::eOk);
    ASSERT_NE(AcDbProxyEntity::cast(kept), nullptr);
    EXPECT_STREQ(AcDbProxyEntity::cast(kept)->originalDxfName(), L"SPLINE");
    kept->close();

    const std::vector<Group> written = groupsOf(saved(in));
    EXPECT_TRUE(holds(written, groupsOf(spline)));
    EXPECT_TRUE(holds(written, groupsOf(layer)));
    EXPECT_TRUE(holds(written, groupsOf("0\nXRECORD\n5\n40\n330\nC\n100\nAcDbXrecord\n1\n"
                                        "kept words\n")));
}

} // namespace
