// What the host has no class for is kept: kinds of entity it lacks, table records and unknown
// objects go back to file as they came, and old drawings without handles still open.
#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "crt/format.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/line.h"
#include "db/polyline.h"
#include "db/proxy.h"
#include "db/text.h"
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

// The records of that type, each as its groups after the type.
std::vector<std::vector<Group>> recordsOf(const std::vector<Group>& all, const std::string& type) {
    std::vector<std::vector<Group>> records;
    bool inside = false;
    for (const Group& group : all) {
        if (group.first == 0) {
            inside = group.second == type;
            if (inside)
                records.emplace_back();
        } else if (inside) {
            records.back().push_back(group);
        }
    }
    return records;
}

// The values of a code in a record, in order.
std::vector<std::string> valuesOf(const std::vector<Group>& record, int code) {
    std::vector<std::string> values;
    for (const auto& [groupCode, value] : record) {
        if (groupCode == code)
            values.push_back(value);
    }
    return values;
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

    // What the one line of a drawing's model space holds.
    struct LineRead {
        AcGePoint3d start;
        AcGePoint3d end;
        int color = -1;
        std::wstring layer;
    };
    LineRead onlyLine(const std::string& content) {
        LineRead read;
        const std::vector<AcDbObjectId> ids = entitiesOf(this->read(content)->modelSpaceId());
        AcDbLine* line = nullptr;
        EXPECT_EQ(ids.size(), 1u);
        if (ids.size() != 1 || acdbOpenObject(line, ids[0], AcDb::kForRead) != Acad::eOk)
            return read;
        read.start = line->startPoint();
        read.end = line->endPoint();
        read.color = line->colorIndex();
        wchar_t* layer = line->layer();
        read.layer = layer;
        delete[] layer;
        line->close();
        return read;
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
    const std::vector<AcDbObjectId> ids = entitiesOf(in->modelSpaceId());
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

// Lines ended by CR LF, comments and a last line without its end are read like any others.
TEST_F(DxfKeptRecords, LineEndsAndCommentsAreTakenAsTheyCome) {
    const std::string drawing = "999\nwritten by hand\n0\nSECTION\n2\nENTITIES\n"
                                "0\nLINE\n8\nWALLS  \n10\n1\n20\n2\n30\n0\n999\nmidway\n"
                                "11\n4.5\n21\n-6\n31\n0\n0\nENDSEC\n0\nEOF";
    std::string crlf;
    for (char c : drawing)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& content : {drawing, crlf}) {
        const LineRead line = onlyLine(content);
        EXPECT_EQ(line.start, AcGePoint3d(1, 2, 0));
        EXPECT_EQ(line.end, AcGePoint3d(4.5, -6, 0));
        EXPECT_EQ(line.layer, L"WALLS  "); // a value keeps its spaces
    }
}

// Numbers as other programs spell them: spaces before or after, a plus sign, an exponent, a
// hexadecimal real.
TEST_F(DxfKeptRecords, NumbersAreReadHoweverTheyAreSpelt) {
    const LineRead line = onlyLine("0\nSECTION\n2\nENTITIES\n0\nLINE\n62\n +3\n"
                                   "10\n 1.5\n20\n+2\n30\n0.25  \n11\n1e1\n21\n-2.5E-1\n31\n0x1p2\n"
                                   "0\nENDSEC\n0\nEOF\n");
    EXPECT_EQ(line.start, AcGePoint3d(1.5, 2, 0.25));
    EXPECT_EQ(line.end, AcGePoint3d(10, -0.25, 4));
    EXPECT_EQ(line.color, 3);
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
    const std::vector<AcDbObjectId> ids = entitiesOf(in->modelSpaceId());
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

// Texts name their styles and dimensions theirs, in any case; a drawing has layouts beyond the
// first sheet. Written and read again twice, each keeps its style by the table's name and each
// sheet its layout.
TEST_F(DxfKeptRecords, StylesAndLayoutsComeBack) {
    const std::string tables =
        "0\nSECTION\n2\nTABLES\n"
        "0\nTABLE\n2\nSTYLE\n5\n3\n330\n0\n100\nAcDbSymbolTable\n70\n1\n"
        "0\nSTYLE\n5\n12\n330\n3\n100\nAcDbSymbolTableRecord\n100\nAcDbTextStyleTableRecord\n"
        "2\nNotes\n70\n0\n40\n0\n41\n1\n50\n0\n71\n0\n42\n2.5\n3\nnotes.ttf\n4\n\n0\nENDTAB\n"
        "0\nTABLE\n2\nDIMSTYLE\n5\n4\n330\n0\n100\nAcDbSymbolTable\n70\n1\n"
        "0\nDIMSTYLE\n105\n13\n330\n4\n100\nAcDbSymbolTableRecord\n100\nAcDbDimStyleTableRecord\n"
        "2\nMetric\n70\n0\n0\nENDTAB\n"
        "0\nTABLE\n2\nBLOCK_RECORD\n5\n1\n330\n0\n100\nAcDbSymbolTable\n70\n3\n"
        "0\nBLOCK_RECORD\n5\n1F\n330\n1\n2\n*Model_Space\n"
        "0\nBLOCK_RECORD\n5\n20\n330\n1\n2\n*Paper_Space\n"
        "0\nBLOCK_RECORD\n5\n21\n330\n1\n2\n*Paper_Space0\n0\nENDTAB\n0\nENDSEC\n";
    const std::string blocks =
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n5\n22\n330\n21\n67\n1\n8\n0\n2\n*Paper_Space0\n70\n0\n"
        "10\n0\n20\n0\n30\n0\n"
        "0\nTEXT\n5\n30\n330\n21\n67\n1\n8\n0\n10\n1\n20\n1\n30\n0\n40\n0.5\n1\nSheet B\n"
        "7\nnotes\n0\nENDBLK\n5\n23\n330\n21\n67\n1\n8\n0\n0\nENDSEC\n";
    const std::string entities =
        "0\nSECTION\n2\nENTITIES\n"
        "0\nTEXT\n5\n31\n8\n0\n10\n0\n20\n0\n30\n0\n40\n0.5\n1\nhello\n7\nNotes\n"
        "0\nMTEXT\n5\n32\n8\n0\n10\n0\n20\n2\n30\n0\n40\n0.5\n1\nmulti\n7\nNOTES\n"
        "0\nTEXT\n5\n33\n8\n0\n10\n0\n20\n4\n30\n0\n40\n0.5\n1\nplain\n7\nNowhere\n"
        "0\nDIMENSION\n5\n34\n8\n0\n2\n*D1\n10\n3\n20\n3\n30\n0\n11\n1.5\n21\n3\n31\n0\n70\n1\n"
        "1\n\n3\nmetric\n13\n0\n23\n0\n33\n0\n14\n3\n24\n0\n34\n0\n"
        "0\nLINE\n5\n35\n67\n1\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n1\n31\n0\n0\nENDSEC\n";
    AcDbDatabase* in =
        read("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$HANDSEED\n5\n100\n0\nENDSEC\n" +
             tables + blocks + entities + "0\nEOF\n");

    AcDbObjectId id;
    ASSERT_EQ(in->getAcDbObjectId(id, false, AcDbHandle(0x31)), Acad::eOk);
    AcDbText* text = nullptr;
    ASSERT_EQ(acdbOpenObject(text, id, AcDb::kForRead), Acad::eOk);
    AcDbObject* style = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(style, text->textStyle(), AcDb::kForRead), Acad::eOk);
    text->close();
    ASSERT_NE(AcDbProxyObject::cast(style), nullptr);
    EXPECT_STREQ(AcDbProxyObject::cast(style)->originalDxfName(), L"STYLE");
    EXPECT_EQ(style->objectId().handle(), AcDbHandle(0x12));
    style->close();

    for (int trip = 1; trip <= 2; ++trip) {
        SCOPED_TRACE("trip " + std::to_string(trip));
        const std::string text = saved(in);
        const std::vector<Group> written = groupsOf(text);
        std::map<std::string, std::string> styles; // by the entity's first words
        for (const char* type : {"TEXT", "MTEXT"}) {
            for (const auto& record : recordsOf(written, type))
                styles[valuesOf(record, 1).at(0)] = valuesOf(record, 7).at(0);
        }
        EXPECT_EQ(styles, (std::map<std::string, std::string>{{"hello", "Notes"},
                                                              {"multi", "Notes"},
                                                              {"plain", "Standard"},
                                                              {"Sheet B", "Notes"}}));
        const auto dimensions = recordsOf(written, "DIMENSION");
        ASSERT_EQ(dimensions.size(), 1u);
        EXPECT_EQ(valuesOf(dimensions[0], 3), std::vector<std::string>{"Metric"});
        std::vector<std::string> styleNames;
        for (const auto& record : recordsOf(written, "STYLE"))
            styleNames.push_back(valuesOf(record, 2).at(0));
        EXPECT_NE(std::find(styleNames.begin(), styleNames.end(), "Notes"), styleNames.end());
        std::vector<std::string> dimensionStyles;
        for (const auto& record : recordsOf(written, "DIMSTYLE"))
            dimensionStyles.push_back(valuesOf(record, 2).at(0));
        EXPECT_NE(std::find(dimensionStyles.begin(), dimensionStyles.end(), "Metric"),
                  dimensionStyles.end());

        // Each layout names its block record, and the record names the layout back.
        std::map<std::string, std::string> layoutOfBlock;
        for (const auto& record : recordsOf(written, "BLOCK_RECORD"))
            layoutOfBlock[valuesOf(record, 2).at(0)] = valuesOf(record, 340).at(0);
        std::map<std::string, std::string> layouts; // name -> its block record's name
        for (const auto& record : recordsOf(written, "LAYOUT")) {
            const std::string handle = valuesOf(record, 5).at(0);
            const std::string block = valuesOf(record, 330).back();
            for (const auto& other : recordsOf(written, "BLOCK_RECORD")) {
                if (valuesOf(other, 5).at(0) == block) {
                    const std::string name = valuesOf(other, 2).at(0);
                    layouts[valuesOf(record, 1).back()] = name;
                    EXPECT_EQ(layoutOfBlock[name], handle) << name;
                }
            }
        }
        EXPECT_EQ(layouts, (std::map<std::string, std::string>{{"Model", "*Model_Space"},
                                                               {"Layout1", "*Paper_Space"},
                                                               {"Layout2", "*Paper_Space0"}}));
        // The second sheet's text is on paper, in its block.
        EXPECT_NE(text.find("Sheet B"), std::string::npos);
        for (const auto& record : recordsOf(written, "TEXT")) {
            if (valuesOf(record, 1).at(0) == "Sheet B") {
                EXPECT_EQ(valuesOf(record, 67), std::vector<std::string>{"1"});
            }
        }
        in = read(text);
    }
}

} // namespace
