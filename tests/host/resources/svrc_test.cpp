#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "rc.h"

namespace {

namespace fs = std::filesystem;

const std::string kScripts = SCRIPTS_DIR;

svrc::Script compile(const std::string& text, svrc::Options options = {}) {
    return svrc::compileText(text, kScripts + "/inline.rc", options);
}

// The message of the error a script fails with, or "" when it compiles.
std::string failure(const std::string& text) {
    try {
        compile(text);
    } catch (const svrc::Error& error) {
        return error.what();
    }
    return std::string();
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Outcome {
    int status;
    std::string errors;
};

Outcome runSvrc(const std::string& arguments, const fs::path& folder) {
    const fs::path errors = folder / "stderr.txt";
    const std::string command = "cd '" + folder.string() + "' && '" SVRC_PATH "' " + arguments +
                                " 2> '" + errors.string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status)) << "svrc did not exit normally";
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readAll(errors)};
}

fs::path scratch(const std::string& name) {
    const fs::path folder = fs::path(::testing::TempDir()) / ("svrc_" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

struct BadScript {
    const char* text;
    const char* expected; // "file:line: error: ..." fragment
};

TEST(SvrcErrors, MalformedScriptsNameTheFileAndLine) {
    const BadScript cases[] = {
        {"STRINGTABLE\nBEGIN\n  1 \"open\nEND\n", "inline.rc:3: error: unterminated string"},
        {"/* never closed\nSTRINGTABLE BEGIN END\n", "inline.rc:1: error: unterminated comment"},
        {"\n\nSTRINGTABEL BEGIN 1 \"x\" END\n",
         "inline.rc:3: error: unknown statement 'STRINGTABEL'"},
        {"STRINGTABLE BEGIN\n 12abc \"x\"\nEND\n", "inline.rc:2: error: bad number '12abc'"},
        {"STRINGTABLE BEGIN\n 99999999999 \"x\"\nEND\n",
         "inline.rc:2: error: number 99999999999 does not fit in 32 bits"},
        {"STRINGTABLE BEGIN\n 70000 \"x\"\nEND\n",
         "inline.rc:2: error: string id 70000 is out of range"},
        {"STRINGTABLE BEGIN\n 1 \"a\"\n 1 \"b\"\nEND\n",
         "inline.rc:3: error: string id 1 is defined twice (first at"},
        {"STRINGTABLE BEGIN\n IDS_NOWHERE \"a\"\nEND\n",
         "inline.rc:2: error: unknown name 'IDS_NOWHERE'"},
        {"STRINGTABLE BEGIN\n 1 \"a\"\n", "inline.rc:1: error: STRINGTABLE has no END"},
        {"STRINGTABLE BEGIN\n 1, 2\nEND\n", "inline.rc:2: error: expected the text of string 1"},
        {"70000 DIALOG 0,0,10,10\nBEGIN\nEND\n",
         "inline.rc:1: error: resource id 70000 is out of range"},
        {"1 DIALOG 0,0,10,10\nBEGIN\n  SLIDER \"x\", 1, 0,0,1,1\nEND\n",
         "inline.rc:3: error: unknown control statement 'SLIDER'"},
        {"1 DIALOG 0,0,10,10\nTITLE \"x\"\nBEGIN\nEND\n",
         "inline.rc:2: error: unknown dialog statement 'TITLE'"},
        {"1 DIALOG 0,0,10,10\nBEGIN\n  PUSHBUTTON \"x\", 1, 0,0,1,1, 0, 0, 5\nEND\n",
         "inline.rc:3: error: a help id needs DIALOGEX"},
        {"1 DIALOG 0,0,40000,10\nBEGIN\nEND\n", "inline.rc:1: error: width 40000 is out of range"},
        {"1 DIALOGEX 0,0,10,10\nBEGIN\n LTEXT \"x\" 1, 0,0,1,1\nEND\n",
         "inline.rc:3: error: expected ',' before the control id"},
        {"1 MENU\nBEGIN\n  MENUITEM \"x\", 1, SHINY\nEND\n",
         "inline.rc:3: error: expected a menu option"},
        {"1 MENUEX\nBEGIN\nEND\n", "inline.rc:1: error: MENUEX resources are not supported"},
        {"1 VERSIONINFO\nFILEVERSION 1,2,3,4\nBEGIN\n VALUE \"A\", \"x\", 1\nEND\n",
         "inline.rc:4: error: VALUE \"A\" mixes text and numbers"},
        {"1 VERSIONINFO\nFILEVERSION 1,70000\nBEGIN\nEND\n",
         "inline.rc:2: error: version part 70000 is out of range"},
        {"1 BITMAP \"missing.bmp\"\n", "inline.rc:1: error: cannot open 'missing.bmp'"},
        {"1 BITMAP \"sample.rc\"\n", "inline.rc:1: error: 'sample.rc' is not a bitmap file"},
        {"1 FOO 42\n", "inline.rc:1: error: expected a file name or BEGIN after 'FOO'"},
        {"#include \"nothere.h\"\n", "inline.rc:1: error: cannot open include file 'nothere.h'"},
        {"#if 1\nSTRINGTABLE BEGIN 1 \"x\" END\n", "inline.rc:1: error: #if without #endif"},
        {"#endif\n", "inline.rc:1: error: #endif without #if"},
        {"#if 1\n#else\n#else\n#endif\n", "inline.rc:3: error: #else after #else"},
        {"#frobnicate\n", "inline.rc:1: error: unknown preprocessor directive #frobnicate"},
        {"#if 1/0\n#endif\n", "inline.rc:1: error: division by zero in #if"},
        {"#define A B\n#define B A\nSTRINGTABLE BEGIN A \"x\" END\n",
         "inline.rc:3: error: unknown name 'A'"},
        {"STRINGTABLE BEGIN 1 \"x\" END\n@\n", "inline.rc:2: error: unexpected character '@'"},
        {"#define MAX(a, b) a\nSTRINGTABLE BEGIN MAX \"x\" END\n",
         "inline.rc:2: error: macro MAX cannot be used in a script"},
        {"1 BITMAP", "inline.rc:1: error: expected a file name or BEGIN after 'BITMAP'"},
        {"1 CURSOR \"images.bmp\"\n", "inline.rc:1: error: 'images.bmp' is not a cursor file"},
        {"1 MENU\nBEGIN\n POPUP \"a\"\n BEGIN\n END\nEND\n",
         "inline.rc:3: error: POPUP has no items"},
        {"1 MENU\nBEGIN\nEND\n", "inline.rc:1: error: MENU has no items"},
    };
    for (const BadScript& bad : cases) {
        const std::string message = failure(bad.text);
        EXPECT_NE(message.find(bad.expected), std::string::npos)
            << "script:\n"
            << bad.text << "\ngave: " << message;
    }
}

TEST(SvrcErrors, FaultsInsideAnIncludedHeaderNameTheHeader) {
    const fs::path folder = scratch("header");
    std::ofstream(folder / "ids.h") << "#define IDS_A 1\n#if\n#endif\n";
    svrc::Options options;
    options.includeDirs.push_back(folder.string());
    try {
        compile("#include \"ids.h\"\n", options);
        FAIL() << "compiled";
    } catch (const svrc::Error& error) {
        EXPECT_EQ(error.where().file, (folder / "ids.h").string());
        EXPECT_EQ(error.where().line, 2);
    }
}

// Every cut of a real script either compiles or fails with a located error: no crash, no hang,
// no other exception.
TEST(SvrcErrors, EveryTruncationOfTheSampleFailsCleanly) {
    const std::string text = readAll(kScripts + "/sample.rc");
    ASSERT_GT(text.size(), 1000u);
    int failures = 0;
    for (std::size_t cut = 0; cut < text.size(); cut += 7) {
        try {
            compile(text.substr(0, cut));
        } catch (const svrc::Error& error) {
            ++failures;
            EXPECT_EQ(error.where().file, kScripts + "/inline.rc");
            EXPECT_GE(error.where().line, 1);
        }
    }
    EXPECT_GT(failures, 0);
}

TEST(SvrcPreprocessor, ConditionalsDefinesAndHeadersAsTheOriginalCompilerReadsThem) {
    const fs::path folder = scratch("preprocessor");
    // Headers contribute their directives only; the C code in them is not a script.
    std::ofstream(folder / "ids.h") << "#define IDS_A 10\n#define IDS_B (IDS_A + 1)\n"
                                       "#define MAX(a, b) ((a) > (b) ? (a) : (b))\n"
                                       "int not_a_statement(void);\n";
    svrc::Options options;
    options.includeDirs.push_back(folder.string());
    options.defines["EDITION"] = "2";
    const svrc::Script script =
        compile("#include <ids.h>\n"
                "#include \"windows.h\"\n"
                "#define GREETING \"hi\"\n"
                "STRINGTABLE BEGIN\n"
                "#if EDITION == 1\n  IDS_A \"one\"\n"
                "#elif EDITION == 2 && !defined(NOT_THERE)\n  IDS_A \"two\"\n"
                "#else\n  IDS_A \"other\" $%^ garbage \"\n"
                "#endif\n"
                "  IDS_B GREETING \" there\"\n"
                "#undef GREETING\n"
                "#ifdef GREETING\n  99 \"no\"\n#endif\n"
                "END\n",
                options);
    ASSERT_EQ(script.strings.size(), 2u);
    EXPECT_EQ(script.strings[0].id, 10u);
    EXPECT_EQ(script.strings[0].text, L"two");
    EXPECT_EQ(script.strings[1].id, 11u);
    EXPECT_EQ(script.strings[1].text, L"hi there");
}

TEST(SvrcPreprocessor, ScriptsSavedAsUtf16AreRead) {
    const fs::path folder = scratch("utf16");
    const std::u16string text = u"STRINGTABLE BEGIN 1 \"Fl\u00e4che \u20ac\" END\r\n";
    std::ofstream out(folder / "wide.rc", std::ios::binary);
    out << '\xFF' << '\xFE';
    for (char16_t c : text)
        out << static_cast<char>(c & 0xFF) << static_cast<char>(c >> 8);
    out.close();
    svrc::Options options;
    options.input = (folder / "wide.rc").string();
    const svrc::Script script = svrc::compile(options);
    ASSERT_EQ(script.strings.size(), 1u);
    EXPECT_EQ(script.strings[0].text, L"Fl\u00e4che \u20ac");
}

// The file with its bytes from offset on replaced, or cut there when replacement is empty.
void writeDamaged(const fs::path& to, const std::string& from, std::size_t offset,
                  const std::string& replacement) {
    std::ifstream in(from, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    bytes = replacement.empty() ? bytes.substr(0, offset)
                                : bytes.replace(offset, replacement.size(), replacement);
    std::ofstream(to, std::ios::binary) << bytes;
}

TEST(SvrcImages, DamagedBitmapsAndCursorsFailAtTheStatementNamingThem) {
    const fs::path folder = scratch("images");
    writeDamaged(folder / "short.bmp", kScripts + "/images.bmp", 58, "");
    writeDamaged(folder / "rle.bmp", kScripts + "/images.bmp", 14 + 16, std::string("\1", 1));
    writeDamaged(folder / "short.cur", kScripts + "/pointer.cur", 400, "");
    writeDamaged(folder / "hotspot.cur", kScripts + "/pointer.cur", 6 + 4,
                 std::string("\x40\0", 2));
    svrc::Options options;
    options.includeDirs.push_back(folder.string());
    const std::pair<const char*, const char*> cases[] = {
        {"short.bmp", "'short.bmp' is not a usable bitmap: the data ends too early"},
        {"rle.bmp", "'rle.bmp' is not a usable bitmap: the data is in a form"},
        {"short.cur", "'short.cur' is not a usable cursor: the data ends too early"},
        {"hotspot.cur", "'hotspot.cur' is not a usable cursor: a field holds a value out"},
    };
    for (const auto& [file, expected] : cases) {
        const bool cursor = std::string(file).find(".cur") != std::string::npos;
        const std::string text =
            std::string("\n\n7 ") + (cursor ? "CURSOR" : "BITMAP") + " \"" + file + "\"\n";
        try {
            compile(text, options);
            ADD_FAILURE() << file << " compiled";
        } catch (const svrc::Error& error) {
            EXPECT_NE(
                std::string(error.what()).find(std::string("inline.rc:3: error: ") + expected),
                std::string::npos)
                << error.what();
        }
    }
}

TEST(SvrcImages, CursorImagesAreNumberedThroughTheScript) {
    const svrc::Script script = compile("1 CURSOR \"pointer.cur\"\n2 CURSOR \"pointer.cur\"\n");
    std::vector<std::pair<int, int>> typesAndIds;
    for (const svrc::RawResource& raw : script.raws)
        typesAndIds.emplace_back(raw.type.id, raw.name.id);
    const std::vector<std::pair<int, int>> expected = {{1, 1}, {1, 2}, {12, 1},
                                                       {1, 3}, {1, 4}, {12, 2}};
    EXPECT_EQ(typesAndIds, expected);
}

TEST(SvrcTemplates, DialogItemsStartOnDoubleWordsAndSeparatorsAreBlank) {
    const svrc::Script script = compile(
        "1 DIALOGEX 0, 0, 10, 10\nCAPTION \"abc\"\nBEGIN\n"
        "  LTEXT \"x\", 5, 0, 0, 1, 1\n  CONTROL \"\", 6, \"SysTreeView32\", 0, 0, 0, 1, 1\n"
        "END\n1 MENU\nBEGIN\n  MENUITEM SEPARATOR\nEND\n");
    const std::vector<std::uint8_t> dialog = svrc::dialogTemplate(script.dialogs.at(0));
    // Header (26 bytes), no menu, no class, the caption (8): the first item at 40.
    ASSERT_GT(dialog.size(), 40u + 24u);
    EXPECT_EQ(dialog[40 + 20], 5); // its id
    EXPECT_EQ((std::vector<std::uint8_t>(dialog.begin() + 64, dialog.begin() + 68)),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0x82, 0})); // the Static ordinal
    const std::vector<std::uint8_t> menu = svrc::menuTemplate(script.menus.at(0));
    EXPECT_EQ(menu, (std::vector<std::uint8_t>{0, 0, 0, 0, 0x80, 0, 0, 0, 0, 0}));
}

TEST(SvrcVersionBlock, WordsAndDoubleWordsAsWritten) {
    const svrc::Script script = compile("1 VERSIONINFO\nFILEVERSION 1,2\nBEGIN\n"
                                        "  BLOCK \"VarFileInfo\" BEGIN VALUE \"T\", 1, 2L, -1 END\n"
                                        "END\n");
    ASSERT_TRUE(script.version);
    EXPECT_EQ(script.version->fileVersion[0], (1u << 16) | 2u);
    EXPECT_EQ(script.version->fileVersion[1], 0u);
    const svrc::VersionNode& value = script.version->children.at(0).children.at(0);
    EXPECT_EQ(value.bytes, (std::vector<std::uint8_t>{1, 0, 2, 0, 0, 0, 0xFF, 0xFF}));
}

TEST(SvrcProgram, FailureExitsNonZeroWithTheLocationAndLeavesNoOutput) {
    const fs::path folder = scratch("program_bad");
    std::ofstream(folder / "bad.rc") << "// fine\nSTRINGTABLE\nBEGIN\n  1 \"never closed\nEND\n";
    const Outcome run = runSvrc("-o out.cpp bad.rc", folder);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("bad.rc:4: error: unterminated string"), std::string::npos)
        << run.errors;
    EXPECT_FALSE(fs::exists(folder / "out.cpp"));
    EXPECT_FALSE(fs::exists(folder / "out.cpp.tmp"));
}

TEST(SvrcProgram, SampleCompilesWithADepfileNamingWhatItRead) {
    const fs::path folder = scratch("program_good");
    const Outcome run = runSvrc("-o out.cpp -d out.d '" + kScripts + "/sample.rc'", folder);
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::string source = readAll(folder / "out.cpp");
    EXPECT_NE(source.find("SvResources()"), std::string::npos);
    const std::string depfile = readAll(folder / "out.d");
    EXPECT_NE(depfile.find("resource.h"), std::string::npos);
    EXPECT_NE(depfile.find("images.bmp"), std::string::npos);
    EXPECT_NE(depfile.find("pointer.cur"), std::string::npos);
    EXPECT_NE(depfile.find("sample.rc"), std::string::npos);
}

TEST(SvrcProgram, WrongArgumentsGiveUsage) {
    const fs::path folder = scratch("program_usage");
    EXPECT_EQ(runSvrc("", folder).status, 2);
    EXPECT_EQ(runSvrc("-o out.cpp", folder).status, 2);
    EXPECT_EQ(runSvrc("--frob -o out.cpp x.rc", folder).status, 2);
    const Outcome missing = runSvrc("-o out.cpp nothere.rc", folder);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.errors.find("cannot open 'nothere.rc'"), std::string::npos);
}

} // namespace
