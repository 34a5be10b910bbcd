#include <gtest/gtest.h>

#include <string>

#include "db/acutbuffer.h"
#include "db/database.h"
#include "db/rtos.h"
#include "ed/getinput.h"
#include "ed/menucmd.h"
#include "ed/sysvars.h"
#include "win/host_exports.h"
#include "win/modules.h"

namespace {

// A drawing to work in, for as long as the test runs.
class WorkingDrawing : public testing::Test {
protected:
    void SetUp() override { acdbHostApplicationServices()->setWorkingDatabase(&m_db); }
    void TearDown() override { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }
    AcDbDatabase m_db;
};

std::wstring evaluated(const wchar_t* command) {
    if (acedMenuCmd(command) != RTKWORD)
        return L"<refused>";
    wchar_t value[SV_MAX_INPUT];
    acedGetInput(value);
    return value;
}

TEST_F(WorkingDrawing, MenuCommandEvaluatesDieselForGetInput) {
    EXPECT_EQ(evaluated(L"M=12.5 m2"), L"12.5 m2");
    EXPECT_EQ(evaluated(L"M=$(+,1,2)"), L"3");
    EXPECT_EQ(evaluated(L"M=$(getvar,lunits)"), L"2");
    EXPECT_EQ(evaluated(L"M=$(rtos,12.5)"), L"12.5000");
    EXPECT_EQ(evaluated(L"M=$(rtos,12.5,4,1)"), L"1'-0 1/2\"");
    EXPECT_EQ(evaluated(L"P1=*"), L"<refused>");
    EXPECT_EQ(evaluated(nullptr), L"<refused>");
    std::wstring deep;
    for (int i = 0; i < 1000; ++i)
        deep += L"$(+,1,";
    EXPECT_EQ(evaluated((L"M=" + deep).c_str()), L"<refused>");
}

TEST_F(WorkingDrawing, LongMacroResultsAreCutToTheInputLimit) {
    const std::wstring longText(400, L'x');
    EXPECT_EQ(evaluated((L"M=" + longText).c_str()).size(), SV_MAX_INPUT - 1u);
}

TEST_F(WorkingDrawing, HostExportsTheLateBoundFunctions) {
    HMODULE host = GetModuleHandleW(nullptr);
    for (const char* name : {"acedMenuCmd", "acedGetInput", "acdbRToS"})
        EXPECT_NE(GetProcAddress(host, name), nullptr) << name;
    FARPROC withdrawn = svHostExportRemove("acdbRToS");
    EXPECT_EQ(GetProcAddress(host, "acdbRToS"), nullptr);
    svHostExportAdd("acdbRToS", withdrawn);
}

TEST_F(WorkingDrawing, SystemVariablesThroughResultBuffers) {
    resbuf value{};
    ASSERT_EQ(acedGetVar(L"cmdecho", &value), RTNORM);
    EXPECT_EQ(value.restype, RTSHORT);
    resbuf zero{nullptr, RTSHORT, {}};
    zero.resval.rint = 0;
    EXPECT_EQ(acedSetVar(L"CMDECHO", &zero), RTNORM);
    ASSERT_EQ(acedGetVar(L"CMDECHO", &value), RTNORM);
    EXPECT_EQ(value.resval.rint, 0);

    resbuf text{nullptr, RTSTR, {}};
    text.resval.rstring = const_cast<wchar_t*>(L"x");
    EXPECT_EQ(acedSetVar(L"LUNITS", &text), RTREJ);
    resbuf badUnits{nullptr, RTSHORT, {}};
    badUnits.resval.rint = 9;
    EXPECT_EQ(acedSetVar(L"LUNITS", &badUnits), RTREJ);
    EXPECT_EQ(acedGetVar(L"NO_SUCH_VARIABLE", &value), RTERROR);
    EXPECT_EQ(acedSetVar(L"NO_SUCH_VARIABLE", &zero), RTERROR);

    acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    EXPECT_EQ(acedGetVar(L"CMDECHO", &value), RTERROR);
}

TEST_F(WorkingDrawing, RToSFollowsTheDrawingUnits) {
    wchar_t text[kSvRToSMaxChars];
    ASSERT_EQ(acdbRToS(12.5, -1, -1, text), RTNORM);
    EXPECT_STREQ(text, L"12.5000");
    m_db.setLunits(4);
    m_db.setLuprec(3);
    acdbRToS(12.5, -1, -1, text);
    EXPECT_STREQ(text, L"1'-0 1/2\"");
    acdbRToS(12.5, 2, 1, text);
    EXPECT_STREQ(text, L"12.5");
    acdbRToS(1e300, 2, 4, text);
    EXPECT_EQ(std::wstring(text).find(L"E+300"), std::wstring(text).size() - 5);
    EXPECT_EQ(acdbRToS(1.0, 2, 2, nullptr), RTERROR);
}

} // namespace
