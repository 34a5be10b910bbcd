#include <gtest/gtest.h>

#include <chrono>

#include "crt/format.h"
#include "ed/diesel.h"
#include "host/ed/diesel_test_environment.h"

namespace {

using Clock = std::chrono::steady_clock;

// Generous for sanitizer builds, more so where the runtime also counts coverage for the fuzzers;
// a runaway evaluation takes far longer.
#ifdef SV_COVERAGE_BUILD
constexpr auto kQuickly = std::chrono::seconds(9);
#else
constexpr auto kQuickly = std::chrono::seconds(3);
#endif

std::wstring repeat(const std::wstring& piece, std::size_t times) {
    std::wstring text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

std::wstring nested(const std::wstring& open, const std::wstring& inner, std::size_t depth) {
    return repeat(open, depth) + inner + std::wstring(depth, L')');
}

struct Timed {
    bool accepted;
    std::wstring result;
    Clock::duration took;
};

Timed evaluate(const std::wstring& expression, SvDieselEnvironment& environment) {
    Timed timed{false, {}, {}};
    const auto start = Clock::now();
    timed.accepted = svEvaluateDiesel(expression, environment, timed.result);
    timed.took = Clock::now() - start;
    return timed;
}

TEST(DieselLimits, DeepNestingIsRefusedQuickly) {
    TestEnvironment environment;
    for (const std::wstring& open :
         {std::wstring(L"$(+,"), std::wstring(L"$(eval,"), std::wstring(L"$(if,1,"),
          std::wstring(L"$(upper,\"\","), std::wstring(L"$(")}) {
        const Timed closed = evaluate(nested(open, L"1", 100000), environment);
        EXPECT_FALSE(closed.accepted) << svToUtf8(open);
        EXPECT_TRUE(closed.result.empty());
        EXPECT_LT(closed.took, kQuickly);
        const Timed unclosed = evaluate(repeat(open, 100000), environment);
        EXPECT_FALSE(unclosed.accepted);
        EXPECT_LT(unclosed.took, kQuickly);
    }
}

TEST(DieselLimits, NestingWithinTheCapEvaluates) {
    TestEnvironment environment;
    const Timed timed = evaluate(nested(L"$(+,1,", L"0", kSvDieselMaxDepth), environment);
    ASSERT_TRUE(timed.accepted);
    EXPECT_EQ(timed.result, std::to_wstring(kSvDieselMaxDepth));
    EXPECT_FALSE(evaluate(nested(L"$(+,1,", L"0", kSvDieselMaxDepth + 1), environment).accepted);
}

TEST(DieselLimits, SelfReferenceThroughEvalEnds) {
    TestEnvironment environment;
    environment.variables[L"LOOP"] = L"$(eval,$(getvar,loop))";
    const Timed timed = evaluate(L"$(getvar,loop) $(eval,$(getvar,loop))", environment);
    EXPECT_FALSE(timed.accepted);
    EXPECT_LT(timed.took, kQuickly);
}

TEST(DieselLimits, MegabyteArgumentEvaluatesQuickly) {
    TestEnvironment environment;
    const std::wstring megabyte(std::size_t{1} << 20, L'x');
    Timed timed = evaluate(L"$(strlen," + megabyte + L")", environment);
    ASSERT_TRUE(timed.accepted);
    EXPECT_EQ(timed.result, L"1048576");
    EXPECT_LT(timed.took, kQuickly);

    timed = evaluate(L"$(upper,\"" + megabyte + L"\")", environment);
    ASSERT_TRUE(timed.accepted);
    EXPECT_EQ(timed.result, std::wstring(std::size_t{1} << 20, L'X'));
    EXPECT_LT(timed.took, kQuickly);

    // A megabyte of a number, of commas and of unbalanced parentheses.
    for (const std::wstring& argument :
         {std::wstring(std::size_t{1} << 20, L'9'), std::wstring(std::size_t{1} << 20, L','),
          std::wstring(std::size_t{1} << 20, L'(')}) {
        timed = evaluate(L"$(+,1," + argument + L")", environment);
        EXPECT_TRUE(timed.accepted);
        EXPECT_LT(timed.took, kQuickly);
    }
}

TEST(DieselLimits, RepeatedLargeWorkIsRefused) {
    TestEnvironment environment;
    const std::wstring megabyte(std::size_t{1} << 20, L'x');
    const Timed timed = evaluate(nested(L"$(upper,", megabyte, 100), environment);
    EXPECT_FALSE(timed.accepted);
    EXPECT_LT(timed.took, kQuickly);
}

TEST(DieselLimits, LongOutputIsTruncatedWithTheMarker) {
    TestEnvironment environment;
    environment.variables[L"BIG"] = std::wstring(kSvDieselMaxText / 2 + 1, L'b');
    const Timed timed = evaluate(L"start $(getvar,big)$(getvar,big) end", environment);
    ASSERT_TRUE(timed.accepted);
    EXPECT_EQ(timed.result.size(), kSvDieselMaxText);
    EXPECT_EQ(timed.result.substr(0, 6), L"start ");
    EXPECT_EQ(timed.result.substr(timed.result.size() - 5), L"$(++)");
}

// Values of calls are built past the text already produced: one cut while being built leaves
// only what came before its call, one cut when placed keeps what fits.
TEST(DieselLimits, ValuesCutInsideCallsKeepTheTextBefore) {
    TestEnvironment environment;
    environment.variables[L"BIG"] = std::wstring(kSvDieselMaxText / 2 + 1, L'b');
    Timed timed = evaluate(L"ab$(upper,$(getvar,big)$(getvar,big))cd", environment);
    ASSERT_TRUE(timed.accepted);
    EXPECT_EQ(timed.result, L"ab$(++)");

    timed = evaluate(L"ab$(upper,$(getvar,big))$(upper,$(getvar,big))cd", environment);
    ASSERT_TRUE(timed.accepted);
    EXPECT_EQ(timed.result, L"ab" + std::wstring(kSvDieselMaxText - 7, L'B') + L"$(++)");

    timed = evaluate(L"ab$(eq,$(getvar,big),$(getvar,big))cd", environment);
    ASSERT_TRUE(timed.accepted);
    EXPECT_EQ(timed.result, L"ab1cd");
}

TEST(DieselLimits, OverlongExpressionIsRefused) {
    TestEnvironment environment;
    std::wstring result = L"stale";
    EXPECT_FALSE(
        svEvaluateDiesel(std::wstring(kSvDieselMaxExpression + 1, L'a'), environment, result));
    EXPECT_TRUE(result.empty());
    EXPECT_TRUE(svEvaluateDiesel(std::wstring(kSvDieselMaxExpression, L'a'), environment, result));
}

} // namespace
