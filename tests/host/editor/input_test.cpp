#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "ed/getinput.h"
#include "ed/input.h"
#include "support/output_capture.h"

namespace {

// Answers prompts from the given lines while it lives.
class ScriptedAnswers {
public:
    explicit ScriptedAnswers(std::vector<std::wstring> lines, bool interactive = false)
        : m_input(std::move(lines), interactive), m_previous(svSetInputSource(&m_input)) {}
    ~ScriptedAnswers() { svSetInputSource(m_previous); }

private:
    SvScriptedInput m_input;
    SvInputSource* m_previous;
};

std::wstring keywordAnswer(const wchar_t* keywords, const wchar_t* typed) {
    ScriptedAnswers answers({typed});
    acedInitGet(0, keywords);
    wchar_t result[SV_MAX_INPUT] = L"";
    if (acedGetKword(L"\nOption: ", result) != RTNORM)
        return L"<none>";
    return result;
}

TEST(EditorInput, KeywordsAcceptTheirCapitalsOrTheWholeWord) {
    const wchar_t* list = L"Style Model Paper eXit";
    EXPECT_EQ(keywordAnswer(list, L"x"), L"eXit");
    EXPECT_EQ(keywordAnswer(list, L"X"), L"eXit");
    EXPECT_EQ(keywordAnswer(list, L"exit"), L"eXit");
    EXPECT_EQ(keywordAnswer(list, L"s"), L"Style");
    EXPECT_EQ(keywordAnswer(list, L"sty"), L"Style");
    EXPECT_EQ(keywordAnswer(list, L"PAPER"), L"Paper");
    EXPECT_EQ(keywordAnswer(L"LType Layer", L"lt"), L"LType");
    EXPECT_EQ(keywordAnswer(L"LType Layer", L"ltyp"), L"LType");
    EXPECT_EQ(keywordAnswer(L"Model Paper Self", L"se"), L"Self");
    EXPECT_EQ(keywordAnswer(L"Width,W Height,Ht", L"ht"), L"Height");
    EXPECT_EQ(keywordAnswer(L"Yes No _ Yes No", L"_no"), L"No");
    EXPECT_EQ(keywordAnswer(list, L"ex"), L"<none>"); // neither capitals nor whole word
    EXPECT_EQ(keywordAnswer(list, L"q"), L"<none>");
}

TEST(EditorInput, KeywordAnsweredToAnotherPromptComesBackThroughGetInput) {
    ScriptedAnswers answers({L"m"});
    OutputCapture capture;
    acedInitGet(RSG_NONULL, L"Style Model Paper eXit");
    ads_point point;
    EXPECT_EQ(acedGetPoint(nullptr, L"\nPick: ", point), RTKWORD);
    wchar_t keyword[SV_MAX_INPUT];
    EXPECT_EQ(acedGetInput(keyword), RTNORM);
    EXPECT_STREQ(keyword, L"Model");
}

TEST(EditorInput, EmptyAnswerCancelAndEndOfInput) {
    ScriptedAnswers answers({L"", L"", L"7", L"^C"}, true);
    OutputCapture capture;
    int value = 0;
    EXPECT_EQ(acedGetInt(L"\nNumber: ", &value), RTNONE);
    acedInitGet(RSG_NONULL, nullptr);
    EXPECT_EQ(acedGetInt(L"\nNumber: ", &value), RTNORM); // asked again after the empty line
    EXPECT_EQ(value, 7);
    EXPECT_EQ(acedGetInt(L"\nNumber: ", &value), RTCAN);
    EXPECT_EQ(acedGetInt(L"\nNumber: ", &value), RTCAN); // nothing left to read
    EXPECT_NE(capture.text().find(L"*Cancel*"), std::wstring::npos);
}

TEST(EditorInput, InvalidAnswersAreAskedAgainOfAPerson) {
    ScriptedAnswers answers({L"abc", L"-2", L"0", L"2.5", L"1,2,3,4", L"@1,1"}, true);
    OutputCapture capture;
    acedInitGet(RSG_NONEG | RSG_NOZERO, nullptr);
    ads_real real = 0;
    EXPECT_EQ(acedGetReal(L"\nReal: ", &real), RTNORM);
    EXPECT_EQ(real, 2.5);
    const ads_point base = {10, 20, 0};
    ads_point point;
    EXPECT_EQ(acedGetPoint(base, L"\nPoint: ", point), RTNORM);
    EXPECT_EQ(point[0], 11);
    EXPECT_EQ(point[1], 21);
    EXPECT_NE(capture.text().find(L"Invalid input."), std::wstring::npos);
}

TEST(EditorInput, AScriptsWrongAnswerFailsAtOnce) {
    ScriptedAnswers answers({L"abc", L"", L"5"});
    OutputCapture capture;
    int value = 0;
    EXPECT_EQ(acedGetInt(L"\nNumber: ", &value), RTERROR);
    acedInitGet(RSG_NONULL, nullptr);
    EXPECT_EQ(acedGetInt(L"\nNumber: ", &value), RTERROR);
    EXPECT_EQ(acedGetInt(L"\nNumber: ", &value), RTNORM); // the next line was left for it
    EXPECT_EQ(value, 5);
}

TEST(EditorInput, AnswersShareALineOrTakeTheRestOfIt) {
    ScriptedAnswers answers({L"1,2 3,4", L"  a text with blanks ", L"\"quoted word\" next"});
    ads_point a, b;
    EXPECT_EQ(acedGetPoint(nullptr, L"", a), RTNORM);
    EXPECT_EQ(acedGetPoint(nullptr, L"", b), RTNORM);
    EXPECT_EQ(b[1], 4);
    wchar_t text[SV_MAX_INPUT];
    EXPECT_EQ(acedGetString(1, L"", text), RTNORM);
    EXPECT_STREQ(text, L"a text with blanks ");
    EXPECT_EQ(acedGetString(0, L"", text), RTNORM);
    EXPECT_STREQ(text, L"quoted word");
}

TEST(EditorInput, GetInputWritesAtMostTheHostLimit) {
    const std::wstring longWord(500, L'k');
    ScriptedAnswers answers({longWord});
    acedInitGet(RSG_OTHER, L"Any");
    int value = 0;
    EXPECT_EQ(acedGetInt(L"", &value), RTKWORD); // arbitrary input taken as a keyword
    wchar_t buffer[SV_MAX_INPUT + 8];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(acedGetInput(buffer), RTNORM);
    EXPECT_EQ(std::wstring(buffer).size(), SV_MAX_INPUT - 1u);
    EXPECT_EQ(buffer[SV_MAX_INPUT], L'#');
}

} // namespace

namespace {

// The point answered, or -99 everywhere when the answer is refused.
std::array<double, 3> pointAnswer(const wchar_t* typed, const double* base = nullptr) {
    ScriptedAnswers answers({typed});
    OutputCapture capture;
    ads_point point = {-99, -99, -99};
    if (acedGetPoint(base, L"", point) != RTNORM)
        point[0] = point[1] = point[2] = -99;
    return {point[0], point[1], point[2]};
}

TEST(EditorInput, PolarPointsAreADistanceAndAnAngleInDegrees) {
    const ads_point base = {10, 20, 3};
    const std::array<double, 3> relative = pointAnswer(L"@5<45", base);
    EXPECT_NEAR(relative[0], 10 + 5 / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(relative[1], 20 + 5 / std::sqrt(2.0), 1e-12);
    EXPECT_EQ(relative[2], 3) << "the base's elevation is kept";
    const std::array<double, 3> absolute = pointAnswer(L"2<90", base);
    EXPECT_NEAR(absolute[0], 0, 1e-12);
    EXPECT_NEAR(absolute[1], 2, 1e-12);
    const std::array<double, 3> backwards = pointAnswer(L"@-1<-720", base);
    EXPECT_NEAR(backwards[0], 9, 1e-12);
    EXPECT_NEAR(backwards[1], 20, 1e-12);
    for (const wchar_t* bad : {L"@5<", L"<45", L"5<45<1", L"5<x", L"1,2<3", L"@5<45,1"})
        EXPECT_EQ(pointAnswer(bad, base)[0], -99) << bad;
    EXPECT_EQ(pointAnswer(L"@5<45")[0], -99) << "no base to start from";
}

TEST(EditorInput, CancelAtTheCommandPromptIsPassedOverAndTheEndIsKnown) {
    ScriptedAnswers answers({L"^C rest of the line", L"LINE 0,0"});
    OutputCapture capture;
    std::wstring command;
    ASSERT_TRUE(svReadCommand(command));
    EXPECT_EQ(command, L"LINE");
    EXPECT_NE(capture.text().find(L"*Cancel*"), std::wstring::npos);
    EXPECT_FALSE(svInputEnded());
    std::wstring answer;
    EXPECT_TRUE(svReadAnswer(L"", answer));
    EXPECT_FALSE(svReadAnswer(L"", answer));
    EXPECT_TRUE(svInputEnded());
}

} // namespace
