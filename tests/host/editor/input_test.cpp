#include <gtest/gtest.h>

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
