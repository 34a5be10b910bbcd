// The live-label computation of a style: reader, macro through the host's DIESEL, modifier.
#include <chrono>
#include <cwchar>
#include <initializer_list>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "acad/adscodes.h"
#include "db/circle.h"
#include "dbx_test_support.h"
#include "ed/getinput.h"
#include "ed/menucmd.h"
#include "link_fixture.h"
#include "win/host_exports.h"

namespace {

using namespace linktest;

std::vector<std::wstring> g_commands;
int g_forcedAnswer = 0;

// Sees what the module asks of the host, then lets the host answer (or answers itself).
int recordingMenuCmd(const wchar_t* command) {
    g_commands.emplace_back(command);
    return g_forcedAnswer != 0 ? g_forcedAnswer : acedMenuCmd(command);
}

// In place before any update of the program: the module keeps the functions it once found.
const FARPROC g_realMenuCmd = [] {
    const FARPROC real = svHostExportRemove("acedMenuCmd");
    svHostExportAdd("acedMenuCmd", reinterpret_cast<FARPROC>(&recordingMenuCmd));
    return real;
}();

class StyleUpdate : public DbxTest {
protected:
    void SetUp() override {
        DbxTest::SetUp();
        ASSERT_NE(g_realMenuCmd, nullptr);
        g_commands.clear();
        g_forcedAnswer = 0;
        label = addText(db, L"old");
    }

    // One update of `label` from `source` by a style made of these parts.
    std::wstring run(AcDbObjectId source, AcPropertyReader* reader, const wchar_t* macro) {
        AcPropertyLinkStyle style;
        style.setPropertyReader(reader);
        style.setContentModifier(new AcTextModifier);
        style.setPostProcessingMacro(macro);
        {
            Opened<AcDbEntity> from(source, AcDb::kForRead);
            Opened<AcDbEntity> to(label, AcDb::kForWrite);
            style.update(from.get(), to.get());
        }
        return textOf(label);
    }

    AcDbObjectId area(double width, double height) {
        return linktest::append(db, rectangle(width, height));
    }

    AcDbObjectId label;
};

TEST_F(StyleUpdate, MacroExpandsBothPlaceholdersAndTheHostAnswerIsTheLabel) {
    db->setLuprec(1);
    EXPECT_EQ(run(area(2.5, 5.0), new AcAreaReader, L"%PROPERTY m2"), L"12.5 m2");
    EXPECT_EQ(g_commands, std::vector<std::wstring>{L"M=12.5 m2"});

    struct Case {
        double width;
        const wchar_t* macro;
        const wchar_t* command;
    };
    // "%g": six significant digits, exponent form from a million on; case-sensitive names.
    const Case cases[] = {
        {3.14159265, L"%NPROPERTY", L"M=3.14159"},
        {1000000.0, L"%NPROPERTY", L"M=1e+06"},
        {1234567.0, L"[%NPROPERTY]", L"M=[1.23457e+06]"},
        {2.0, L"%PROPERTY|%NPROPERTY|%PROPERTY", L"M=2.0|2|2.0"},
        {2.0, L"%property %Nproperty", L"M=%property %Nproperty"},
        {2.0, L"$(*,%NPROPERTY,10)", L"M=$(*,2,10)"},
    };
    for (const Case& c : cases) {
        g_commands.clear();
        run(area(c.width, 1.0), new AcAreaReader, c.macro);
        EXPECT_EQ(g_commands, std::vector<std::wstring>{c.command});
    }
    EXPECT_EQ(textOf(label), L"20");
}

TEST_F(StyleUpdate, TextReaderNumberIsZeroAndPlaceholdersInTheTextAreReplacedToo) {
    EXPECT_EQ(run(addText(db, L"abc"), new AcTextReader, L"%PROPERTY=%NPROPERTY"), L"abc=0");
    // The text's own "%NPROPERTY" is replaced by the number, its "%PROPERTY" is not re-expanded.
    g_commands.clear();
    run(addText(db, L"x%NPROPERTYy%PROPERTY"), new AcTextReader, L"%PROPERTY");
    EXPECT_EQ(g_commands, std::vector<std::wstring>{L"M=x0y%PROPERTY"});
}

TEST_F(StyleUpdate, WithoutMacroTheReadersTextIsWrittenAsIs) {
    EXPECT_EQ(run(area(2.0, 3.0), new AcAreaReader, L""), L"6.0000");
    EXPECT_TRUE(g_commands.empty());
}

TEST_F(StyleUpdate, AnExpressionTheHostRefusesLeavesTheUnprocessedText) {
    g_forcedAnswer = RTERROR;
    EXPECT_EQ(run(area(2.0, 3.0), new AcAreaReader, L"$(bogus"), L"6.0000");
    EXPECT_EQ(g_commands.size(), 1u);
}

TEST_F(StyleUpdate, AnUnreadableSourceWritesUnknownEvenWithAMacro) {
    const AcDbObjectId polyline = area(2.0, 3.0);
    EXPECT_EQ(run(polyline, new AcTextReader, L"%PROPERTY m2"), L"UNKNOWN PROPERTY VALUE");
    setText(label, L"old");
    {
        AcPropertyLinkStyle style;
        style.setPropertyReader(new AcAreaReader);
        style.setContentModifier(new AcTextModifier);
        style.setPostProcessingMacro(L"%PROPERTY");
        Opened<AcDbEntity> to(label, AcDb::kForWrite);
        style.update(nullptr, to.get());
    }
    EXPECT_EQ(textOf(label), L"UNKNOWN PROPERTY VALUE");
    EXPECT_TRUE(g_commands.empty());
}

bool expectText(const std::wstring& actual, const wchar_t* expected) {
    if (actual == expected)
        return true;
    std::wcerr << L"label \"" << actual << L"\", expected \"" << expected << L"\"\n";
    return false;
}

// Withdrawn functions are looked for again on every update until found; once found, kept.
TEST_F(StyleUpdate, MissingHostFunctionsSkipTheMacroUntilTheyAppear) {
    inFreshProcess([this] {
        const AcDbObjectId source = area(2.0, 3.0);
        const FARPROC menuCmd = svHostExportRemove("acedMenuCmd");
        bool ok = expectText(run(source, new AcAreaReader, L"%PROPERTY m2"), L"6.0000");
        svHostExportAdd("acedMenuCmd", menuCmd);
        ok &= expectText(run(source, new AcAreaReader, L"%PROPERTY m2"), L"6.0000 m2");
        // Both were found: withdrawing one now changes nothing.
        svHostExportRemove("acedGetInput");
        ok &= expectText(run(source, new AcAreaReader, L"%PROPERTY m3"), L"6.0000 m3");
        return ok;
    });
}

TEST_F(StyleUpdate, MissingGetInputAloneAlsoSkipsTheMacro) {
    inFreshProcess([this] {
        svHostExportRemove("acedGetInput");
        return expectText(run(area(2.0, 3.0), new AcAreaReader, L"%PROPERTY m2"), L"6.0000") &&
               g_commands.empty();
    });
}

// The working buffer holds 131 characters and a terminator; a longer value is cut, never spilled.
TEST_F(StyleUpdate, LongValuesAreCutToTheWorkingBuffer) {
    const std::wstring longText(300, L'x');
    const AcDbObjectId source = addText(db, longText.c_str());
    EXPECT_EQ(run(source, new AcTextReader, L""), std::wstring(131, L'x'));
    setText(label, L"old");
    EXPECT_EQ(run(source, new AcTextReader, L"%PROPERTY"), std::wstring(131, L'x'));
    g_forcedAnswer = RTERROR;
    setText(label, L"old");
    EXPECT_EQ(run(source, new AcTextReader, L"%PROPERTY"), std::wstring(131, L'x'));
}

int g_markedNumberReadings = 0;

// A subclass from elsewhere is asked as written: its own text, and its number besides.
class MarkedAreaReader : public AcAreaReader {
public:
    double readPropertyAsNumber(const AcDbEntity* entity) const override {
        ++g_markedNumberReadings;
        return AcAreaReader::readPropertyAsNumber(entity) + 1.0;
    }
    wchar_t* readPropertyAsString(const AcDbEntity* entity) const override {
        delete[] AcAreaReader::readPropertyAsString(entity);
        auto* text = new wchar_t[8];
        std::wcscpy(text, L"marked");
        return text;
    }
};

TEST_F(StyleUpdate, EachReaderGivesItsOwnStringFormAndAForeignOneIsAskedAsWritten) {
    db->setLuprec(3);
    const AcDbObjectId source = area(2.5, 3.0);
    auto* circle = new AcDbCircle(AcGePoint3d(1.25, -2.5, 0.5), AcGeVector3d::kZAxis, 2.0);
    const AcDbObjectId round = linktest::append(db, circle);
    for (AcDbObjectId from : {source, round}) {
        for (AcPropertyReader* reader : std::initializer_list<AcPropertyReader*>{
                 new AcAreaReader, new AcLengthReader, new AcXCoordReader, new AcYCoordReader,
                 new AcZCoordReader, new AcPropertyReader}) {
            const std::string name = reader->displayName();
            std::wstring expected;
            {
                Opened<AcDbEntity> entity(from, AcDb::kForRead);
                const std::unique_ptr<wchar_t[]> text(reader->readPropertyAsString(entity.get()));
                expected = text.get();
            }
            EXPECT_EQ(run(from, reader, L""), expected) << name;
        }
    }
    EXPECT_EQ(run(round, new AcXCoordReader, L"$(+,%NPROPERTY,1)|%PROPERTY"), L"2.25|1.250");

    g_markedNumberReadings = 0;
    EXPECT_EQ(run(source, new MarkedAreaReader, L"%PROPERTY %NPROPERTY"), L"marked 8.5");
    EXPECT_EQ(g_markedNumberReadings, 2);
}

TEST_F(StyleUpdate, AStyleWithoutReaderOrModifierLeavesTheLabelAlone) {
    const AcDbObjectId source = area(2.0, 3.0);
    for (bool withReader : {false, true}) {
        AcPropertyLinkStyle style;
        if (withReader)
            style.setPropertyReader(new AcAreaReader);
        else
            style.setContentModifier(new AcTextModifier);
        Opened<AcDbEntity> from(source, AcDb::kForRead);
        Opened<AcDbEntity> to(label, AcDb::kForWrite);
        style.update(from.get(), to.get());
    }
    EXPECT_EQ(textOf(label), L"old");
}

} // namespace

// A macro that would grow past its bound is not built, let alone evaluated: the label says the
// value is unknown, at once, and nothing escapes the update.
TEST_F(StyleUpdate, AMacroGrowingPastItsBoundGivesTheFallbackQuickly) {
    std::wstring manyPlaceholders;
    for (int i = 0; i < 10000; ++i)
        manyPlaceholders += L"%PROPERTY";
    const AcDbObjectId hugeSource = addText(db, std::wstring(100000, L'x').c_str());
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(run(hugeSource, new AcTextReader, manyPlaceholders.c_str()),
              L"UNKNOWN PROPERTY VALUE");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(200));
    EXPECT_TRUE(g_commands.empty());

    // Either alone is enough: a long text once, a short one very often.
    setText(label, L"old");
    EXPECT_EQ(run(hugeSource, new AcTextReader, L"[%PROPERTY]"), L"UNKNOWN PROPERTY VALUE");
    setText(label, L"old");
    EXPECT_EQ(run(addText(db, L"ab"), new AcTextReader, manyPlaceholders.c_str()),
              L"UNKNOWN PROPERTY VALUE");
    EXPECT_TRUE(g_commands.empty());
}

// Up to the bound everything is evaluated, the number's placeholders counted after the text's.
TEST_F(StyleUpdate, AMacroJustWithinItsBoundIsEvaluated) {
    const std::wstring fits(4096 - 2, L'y');
    EXPECT_EQ(run(addText(db, fits.c_str()), new AcTextReader, L"[%PROPERTY]"),
              L"[" + std::wstring(130, L'y'));
    setText(label, L"old");
    EXPECT_EQ(run(addText(db, fits.c_str()), new AcTextReader, L"[%PROPERTY]!"),
              L"UNKNOWN PROPERTY VALUE");
    // Each "%NPROPERTY" in the text becomes "0": ten characters give one.
    std::wstring numbers;
    for (int i = 0; i < 400; ++i)
        numbers += L"%NPROPERTY";
    g_commands.clear();
    setText(label, L"old");
    EXPECT_EQ(run(addText(db, numbers.c_str()), new AcTextReader, L"%PROPERTY"),
              std::wstring(131, L'0'));
    ASSERT_EQ(g_commands.size(), 1u);
    EXPECT_EQ(g_commands[0], L"M=" + std::wstring(400, L'0'));
}
