// Damaged, truncated and hostile DXF files: each is refused with the line where it goes wrong,
// and nothing of it is loaded.
#include <fstream>

#include "crt/format.h"
#include "db_test_support.h"

namespace {

class DxfBadInput : public DbTest {
protected:
    // The message of a failed read, or "loaded" when the file was taken.
    std::string readError(const std::string& content) {
        const std::string path = tempPath("bad.dxf");
        std::ofstream(path, std::ios::binary) << content;
        AcDbDatabase in(false);
        if (in.readDwgFile(svFromUtf8(path).c_str()) == Acad::eOk)
            return "loaded";
        EXPECT_TRUE(in.blockTableId().isNull()) << "a failed read left objects behind";
        return svToUtf8(svDbReadError());
    }
};

const std::string kHeader = "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n";

TEST_F(DxfBadInput, SoundFileLoads) {
    EXPECT_EQ(readError(kHeader + "0\nSECTION\n2\nENTITIES\n0\nLINE\n5\n2A\n8\n0\n10\n0\n20\n0\n"
                                  "30\n0\n11\n1\n21\n1\n31\n0\n0\nENDSEC\n0\nEOF\n"),
              "loaded");
}

TEST_F(DxfBadInput, BrokenStructureNamesItsLine) {
    EXPECT_EQ(readError(""), "line 1: the file ends without EOF");
    EXPECT_EQ(readError(kHeader), "line 9: the file ends without EOF");
    EXPECT_EQ(readError("0\nSECTION\n2\nENTITIES\n0\nLINE\n"),
              "line 1: the section is not ended (ENDSEC)");
    EXPECT_EQ(readError("0\nSECTION\n2\nHEADER\n0\nSECTION\n2\nX\n0\nENDSEC\n0\nEOF\n"),
              "line 5: a section begins inside another");
    EXPECT_EQ(readError("zero\nSECTION\n"), "line 1: a group code was expected");
    EXPECT_EQ(readError("0\nSECTION\n77777\nX\n"), "line 3: a group code was expected");
    EXPECT_EQ(readError("0\nSECTION\n2\n"), "line 3: the group code has no value");
    EXPECT_EQ(readError("5\n1\n0\nEOF\n"), "line 1: a section was expected");
}

TEST_F(DxfBadInput, BadValuesAndHandlesNameTheirLine) {
    const std::string entities = "0\nSECTION\n2\nENTITIES\n";
    EXPECT_EQ(readError(kHeader + entities + "0\nCIRCLE\n10\nwide\n0\nENDSEC\n0\nEOF\n"),
              "line 18: a number was expected");
    // Numbers past what a double or a whole number holds, and numbers with words after them.
    for (const char* value : {"1e999", "-1e400", "1.5x", "1.5 2", "nan", "inf"}) {
        EXPECT_EQ(
            readError(kHeader + entities + "0\nCIRCLE\n40\n" + value + "\n0\nENDSEC\n0\nEOF\n"),
            "line 18: a number was expected")
            << value;
    }
    for (const char* value : {"99999999999999999999", "2.5", "7 7"}) {
        EXPECT_EQ(
            readError(kHeader + entities + "0\nCIRCLE\n62\n" + value + "\n0\nENDSEC\n0\nEOF\n"),
            "line 18: a whole number was expected")
            << value;
    }
    EXPECT_EQ(readError(kHeader + entities + "0\nLINE\n5\nXYZ\n0\nENDSEC\n0\nEOF\n"),
              "line 18: the handle is not a hexadecimal number within range");
    EXPECT_EQ(readError(kHeader + entities + "0\nLINE\n5\n2A\n0\nLINE\n5\n2A\n0\nENDSEC\n0\nEOF\n"),
              "line 21: the handle is used twice");
    EXPECT_EQ(
        readError(kHeader + entities + "0\nINSERT\n66\n1\n2\nB\n0\nATTRIB\n0\nENDSEC\n0\nEOF\n"),
        "line 15: the sequence is not ended (SEQEND)");
    EXPECT_EQ(readError(kHeader + "0\nSECTION\n2\nOBJECTS\n0\nDICTIONARY\n5\nC\n3\nKEY\n350\n99\n"
                                  "0\nENDSEC\n0\nEOF\n"),
              "line 22: the dictionary entry names an object the file lacks");
}

// Two dictionaries that own each other are not a drawing.
TEST_F(DxfBadInput, OwnershipCycleIsRefused) {
    const std::string objects = "0\nSECTION\n2\nOBJECTS\n"
                                "0\nDICTIONARY\n5\nC\n330\n0\n3\nA\n360\nD\n"
                                "0\nDICTIONARY\n5\nD\n330\nC\n3\nB\n360\nE\n"
                                "0\nDICTIONARY\n5\nE\n330\nD\n3\nC\n360\nD\n0\nENDSEC\n0\nEOF\n";
    const std::string error = readError(kHeader + objects);
    EXPECT_NE(error.find("ownership runs in a cycle"), std::string::npos) << error;
}

TEST_F(DxfBadInput, HugeLinesAreRefusedBeforeAnythingIsRead) {
    EXPECT_EQ(readError(kHeader + "0\nSECTION\n2\nENTITIES\n0\nTEXT\n1\n" +
                        std::string(100 * 1024 * 1024, 'x') + "\n0\nENDSEC\n0\nEOF\n"),
              "line 18: the line is longer than a DXF line may be");
    EXPECT_EQ(readError(std::string("0\nSEC\0TION\n", 12)),
              "line 2: the line holds a zero byte (a binary DXF is not read)");
}

// Whichever check finds it, the first line at fault is the one named.
TEST_F(DxfBadInput, TheFirstFaultyLineIsNamed) {
    const std::string huge(5000, 'x');
    EXPECT_EQ(readError("0\nSECTION\nX\nHEADER\n1\n" + huge + "\n"),
              "line 3: a group code was expected");
    EXPECT_EQ(readError("0\nSECTION\n2\n" + huge + "\n0\nENDSEC\n"),
              "line 4: the line is longer than a DXF line may be");
    EXPECT_EQ(readError("0\nSECTION\n" + huge),
              "line 3: the line is longer than a DXF line may be");
    EXPECT_EQ(readError(std::string("0\nSECTION\n2\nHEA\0DER\n", 18)),
              "line 4: the line holds a zero byte (a binary DXF is not read)");
    EXPECT_EQ(readError("0\r\nSECTION\r\n2\r\n"), "line 3: the group code has no value");
}

// Known by its sentinel, whatever program's name opens it.
TEST_F(DxfBadInput, ABinaryDxfIsNamedAsSuch) {
    const std::string sentinel = std::string(7, 'X') + " Binary DXF\r\n\x1a" + '\0';
    EXPECT_EQ(readError(sentinel + std::string(64, '\1')),
              "a binary DXF file is not read; save it as ASCII DXF");
}

} // namespace
