#include <gtest/gtest.h>

#include <random>

#include "crt/format.h"
#include "ed/diesel.h"
#include "host/ed/diesel_test_environment.h"

namespace {

// "$(name,??)" spelled so that it is not a trigraph.
std::wstring badArguments(const std::wstring& name) {
    return L"$(" + name +
           L",?"
           L"?)";
}

struct Case {
    const wchar_t* expression;
    std::wstring expected;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << svToUtf8(c.expression);
}

class Diesel : public testing::TestWithParam<Case> {
protected:
    Diesel() {
        environment.variables = {{L"THICKNESS", L"5"},       {L"HPANG", L"15.5"},
                                 {L"USERR1", L"10.0"},       {L"TEXTSTYLE", L"Standard"},
                                 {L"SNAPUNIT", L"0.5,0.25"}, {L"SNAPANG", L"0.785398"},
                                 {L"CLAYER", L"Walls"},      {L"EMPTY", L""}};
        environment.variables[L"DATE"] = std::to_wstring(TestEnvironment::kNow);
        environment.settings = {{L"MAXHATCH", L"100000"}};
    }
    TestEnvironment environment;
};

TEST_P(Diesel, Evaluates) {
    std::wstring result;
    ASSERT_TRUE(svEvaluateDiesel(GetParam().expression, environment, result));
    EXPECT_EQ(result, GetParam().expected);
}

// The examples of the language's own documentation.
INSTANTIATE_TEST_SUITE_P(
    DocumentedExamples, Diesel,
    testing::Values(
        Case{L"$(+, $(getvar, thickness), 10)", L"15"},
        Case{L"$(<, $(getvar, hpang), $(getvar, userr1))", L"0"},
        Case{L"Style: $(getvar, textstyle)", L"Style: Standard"},
        Case{L"Snap: $(getvar, snapunit) $(fix,$(*,$(getvar,snapang),$(/,180,3.14159)))",
             L"Snap: 0.5,0.25 45"},
        Case{L"Snap: $(rtos,$(index,0,$(getvar,snapunit))),$(rtos,$(index,1,$(getvar,snapunit)))"
             L" $(angtos,$(getvar,snapang))",
             L"Snap: 0.5000,0.2500 45"},
        Case{L"$(edtime,$(getvar,date),DDD\",\" DD MON YYYY - H:MMam/pm)",
             L"Sat, 05 Sep 1998 - 4:53am"},
        Case{L"$(edtime,0,DDDD\",\" D MONTH YYYY)", L"Saturday, 5 September 1998"},
        Case{L"$(angtos,0.785398,1,4)", L"45d0'0\""}, Case{L"$(rtos,17.5,4,2)", L"1'-5 1/2\""}));

// Every picture code of $(edtime) on the documented moment.
INSTANTIATE_TEST_SUITE_P(
    EdtimeCodes, Diesel,
    testing::Values(Case{L"$(edtime,0,D)", L"5"}, Case{L"$(edtime,0,DD)", L"05"},
                    Case{L"$(edtime,0,DDD)", L"Sat"}, Case{L"$(edtime,0,DDDD)", L"Saturday"},
                    Case{L"$(edtime,0,M)", L"9"}, Case{L"$(edtime,0,MO)", L"09"},
                    Case{L"$(edtime,0,MON)", L"Sep"}, Case{L"$(edtime,0,MONTH)", L"September"},
                    Case{L"$(edtime,0,YY)", L"98"}, Case{L"$(edtime,0,YYYY)", L"1998"},
                    Case{L"$(edtime,0,H)", L"4"}, Case{L"$(edtime,0,HH)", L"04"},
                    Case{L"$(edtime,0,MM)", L"53"}, Case{L"$(edtime,0,SS)", L"17"},
                    Case{L"$(edtime,0,MSEC)", L"506"}, Case{L"$(edtime,0,AM/PM)", L"AM"},
                    Case{L"$(edtime,0,am/pm)", L"am"}, Case{L"$(edtime,0,A/P)", L"A"},
                    Case{L"$(edtime,0,a/p)", L"a"}, Case{L"$(edtime,0,yyyy/mo/dd)", L"1998/09/05"},
                    // "AM" alone: a literal A, then M for the month.
                    Case{L"$(edtime,0,H AM)", L"4 A9"},
                    Case{L"$(edtime,2451545.75,HH:MM AM/PM DDD)", L"06:00 PM Sat"},
                    Case{L"$(edtime,2451545.75,HH:MM)", L"18:00"},
                    Case{L"$(edtime,2451545.0,H a/p)", L"12 a"},
                    Case{L"$(edtime,2460000.5,DDDD D MON YYYY)", L"Friday 24 Feb 2023"}));

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, Diesel,
    testing::Values(Case{L"$(+,1,2,3)", L"6"}, Case{L"$(-,10,2.5)", L"7.5"}, Case{L"$(-,5)", L"5"},
                    Case{L"$(*,2,3.5,-1)", L"-7"}, Case{L"$(/,1,3)", L"0.33333333"},
                    Case{L"$(/,10,4,5)", L"0.5"}, Case{L"$(+,0.1,0.2)", L"0.3"},
                    Case{L"$(+,1e3,1)", L"1001"}, Case{L"$(+, 12.5 m2,1)", L"13.5"},
                    Case{L"$(+,abc,1)", L"1"}, Case{L"$(*,-1,0)", L"0"},
                    Case{L"$(+,1,2,3,4,5,6,7,8,9)", L"45"}, Case{L"$(fix,3.9)", L"3"},
                    Case{L"$(fix,-3.9)", L"-3"}, Case{L"$(rtos,$(/,288,144),2)", L"2.0000"}));

INSTANTIATE_TEST_SUITE_P(ComparisonsAndBits, Diesel,
                         testing::Values(Case{L"$(=,2,2.0)", L"1"}, Case{L"$(=,2,3)", L"0"},
                                         Case{L"$(<,2,3)", L"1"}, Case{L"$(>,2,3)", L"0"},
                                         Case{L"$(!=,2,3)", L"1"}, Case{L"$(<=,3,3)", L"1"},
                                         Case{L"$(>=,2,3)", L"0"}, Case{L"$(and,7,12)", L"4"},
                                         Case{L"$(or,1,2,4)", L"7"}, Case{L"$(xor,5,3)", L"6"},
                                         Case{L"$(and,-1,255)", L"255"}));

INSTANTIATE_TEST_SUITE_P(
    Strings, Diesel,
    testing::Values(Case{L"$(eq,abc,abc)", L"1"}, Case{L"$(eq,abc,ABC)", L"0"},
                    Case{L"$(strlen,hello)", L"5"}, Case{L"$(strlen,)", L"0"},
                    Case{L"$(substr,abcdef,2,3)", L"bcd"}, Case{L"$(substr,abcdef,4)", L"def"},
                    Case{L"$(substr,abc,9)", L""}, Case{L"$(substr,abc,2,0)", L""},
                    Case{L"$(upper,Walls 2b)", L"WALLS 2B"},
                    Case{L"$(index,1,$(getvar,snapunit))", L"0.25"},
                    Case{L"$(index,5,$(getvar,snapunit))", L""}, Case{L"$(index,1,\"a,,c\")", L""},
                    Case{L"$(nth,2,a,b,c)", L"c"}, Case{L"$(nth,7,a,b,c)", L""},
                    Case{L"$(getenv,MAXHATCH)", L"100000"}, Case{L"$(getenv,nothing)", L""},
                    Case{L"$(getvar,empty)", L""}, Case{L"$(eval,\"$(+,1,2)\")", L"3"},
                    Case{L"$(eval,$(upper,\"$(strlen,abc)\"))", L"3"}));

// Only the chosen branch of $(if) and $(nth) is evaluated: the unknown function is never met.
INSTANTIATE_TEST_SUITE_P(
    Conditionals, Diesel,
    testing::Values(Case{L"$(if,1,yes,$(nosuch))", L"yes"}, Case{L"$(if,0,$(nosuch),no)", L"no"},
                    Case{L"$(if,0,yes)", L""},
                    Case{L"$(if,$(=,$(getvar,thickness),5),thick,thin)", L"thick"},
                    Case{L"$(nth,0,first,$(nosuch))", L"first"}));

INSTANTIATE_TEST_SUITE_P(
    QuotingAndText, Diesel,
    testing::Values(Case{L"12.5 m2", L"12.5 m2"}, Case{L"", L""},
                    Case{L"cost $5 (net), total", L"cost $5 (net), total"},
                    Case{L"\"$(getvar,clayer)\" is $(getvar,clayer)", L"$(getvar,clayer) is Walls"},
                    Case{L"$(upper,\"a,b\")", L"A,B"}, Case{L"$(strlen,\"say \"\"hi\"\"\")", L"8"},
                    Case{L"$(upper,say \"\"hi\"\")", L"SAY HI"},
                    Case{L"$(eq,\"\",$(getvar,empty))", L"1"}, Case{L"a\"\"b", L"ab"},
                    Case{L"$(upper,\"$(\")", L"$("}, Case{L"$(upper,  padded)", L"PADDED"},
                    Case{L"$( UPPER ,x)$(GetVar,Clayer)", L"XWalls"},
                    // A lone quote outside calls is an inch mark, not a string.
                    Case{L"1'-0 1/2\"", L"1'-0 1/2\""}, Case{L"$(upper,(a)),b)", L"(A),b)"}));

INSTANTIATE_TEST_SUITE_P(
    Malformed, Diesel,
    testing::Values(
        Case{L"$(+,1,2", L"$?"}, Case{L"x $(+,1,$(+,2,3)", L"x $?"},
        Case{L"ok $(upper,\"abc)", L"ok $?"}, Case{L"$(foo,1)", L"$(foo)??"},
        Case{L"$()", L"$()??"}, Case{L"$(+,1,2,3,4,5,6,7,8,9,10)", badArguments(L"+")},
        Case{L"$(nth,0,a,b,c,d,e,f,g,h,i)", badArguments(L"nth")},
        Case{L"$(/,1,0)", badArguments(L"/")}, Case{L"$(/,0,5,0)", badArguments(L"/")},
        Case{L"$(*,1e200,1e200)", badArguments(L"*")}, Case{L"$(+,1e999)", badArguments(L"+")},
        Case{L"$(UPPER)", badArguments(L"UPPER")}, Case{L"$(=,1)", badArguments(L"=")},
        Case{L"$(eq,a,b,c)", badArguments(L"eq")}, Case{L"$(if,1)", badArguments(L"if")},
        Case{L"$(rtos,1,7)", badArguments(L"rtos")}, Case{L"$(rtos,1,2,9)", badArguments(L"rtos")},
        Case{L"$(angtos,1,5)", badArguments(L"angtos")},
        Case{L"$(edtime,-5,D)", badArguments(L"edtime")},
        Case{L"$(substr,abc,0)", badArguments(L"substr")},
        Case{L"$(substr,abc,1,-1)", badArguments(L"substr")},
        Case{L"$(index,-1,a)", badArguments(L"index")}, Case{L"$(and,1e30)", badArguments(L"and")},
        Case{L"$(getvar,nosuch)", badArguments(L"getvar")},
        Case{L"a$(foo)b$(/,1,0)c", L"a$(foo)??b" + badArguments(L"/") + L"c"}));

TEST(DieselClock, OneReadingPerEvaluation) {
    TestEnvironment environment;
    std::wstring result;
    ASSERT_TRUE(svEvaluateDiesel(L"$(edtime,0,SS)$(edtime,0,MSEC)", environment, result));
    EXPECT_EQ(result, L"17506");
    EXPECT_EQ(environment.clockReads, 1);
}

TEST(DieselDefaults, DefaultEnvironmentFormatsAndKnowsNoVariables) {
    std::wstring result;
    ASSERT_TRUE(svEvaluateDiesel(L"$(rtos,12.5)|$(angtos,3.14159265)|$(getenv,HOME)", result));
    EXPECT_EQ(result, L"12.5000|180|");
    ASSERT_TRUE(svEvaluateDiesel(L"$(getvar,clayer)", result));
    EXPECT_EQ(result, badArguments(L"getvar"));
    ASSERT_TRUE(svEvaluateDiesel(L"$(edtime,0,YYYY)", result));
    EXPECT_EQ(result.size(), 4u);
}

TEST(DieselHost, ThrowingEnvironmentIsRefused) {
    TestEnvironment environment;
    environment.throwOnGetVar = true;
    std::wstring result = L"stale";
    EXPECT_FALSE(svEvaluateDiesel(L"$(getvar,clayer)", environment, result));
    EXPECT_TRUE(result.empty());
}

// Short decimals are read without the long conversion; they must come out as the long one reads
// them, which the same digits padded past fifteen with zeros are sent through.
TEST(DieselNumbers, ShortDecimalsReadAsTheirLongSpellings) {
    std::mt19937_64 random(5);
    SvDieselEnvironment environment;
    std::wstring result;
    for (int i = 0; i < 20000; ++i) {
        const int digits = 1 + static_cast<int>(random() % 15);
        std::wstring number = std::to_wstring(random() % 1000000000000000ULL).substr(0, digits);
        const std::size_t point = random() % (number.size() + 1);
        number.insert(point, L".");
        if (i % 3 == 0)
            number.insert(0, L"-");
        std::wstring padded = number + std::wstring(20, L'0');
        const std::wstring expression = L"$(=," + number + L"," + padded + L")";
        ASSERT_TRUE(svEvaluateDiesel(expression, environment, result));
        ASSERT_EQ(result, L"1") << svToUtf8(expression);
    }
    // Written with an exponent, and with leading zeros, blanks and what follows a number.
    for (const wchar_t* expression :
         {L"$(=,0.3,3e-1)", L"$(=,0.000123,1.23e-4)", L"$(=,00012.50,12.5)", L"$(=, 7.25xyz,7.25)",
          L"$(=,-0,0)", L"$(=,.5,0.5)", L"$(=,5.,5)", L"$(=,1.2.3,1.2)",
          L"$(=,123456789012345,1.23456789012345e14)", L"$(=,0.0000000000000000000001,1e-22)",
          L"$(=,0.00000000000000000000001,1e-23)"}) {
        ASSERT_TRUE(svEvaluateDiesel(expression, environment, result));
        EXPECT_EQ(result, L"1") << svToUtf8(expression);
    }
    ASSERT_TRUE(svEvaluateDiesel(L"$(+,.,-,+)", environment, result));
    EXPECT_EQ(result, L"0");
}

} // namespace
