#include <gtest/gtest.h>

#include "form_action.h"
#include "user/input.h"

using forms::FormAction;
using forms::parseFormAction;

namespace {

FormAction parsed(const std::wstring& line) {
    FormAction action;
    std::wstring error;
    EXPECT_TRUE(parseFormAction(line, action, error)) << line << ": " << std::string(error.begin(), error.end());
    return action;
}

std::wstring refused(const std::wstring& line) {
    FormAction action;
    std::wstring error;
    EXPECT_FALSE(parseFormAction(line, action, error)) << std::string(line.begin(), line.end());
    return error;
}

} // namespace

TEST(FormAction, ControlsByNumberOrStandardName) {
    EXPECT_EQ(parsed(L"click 2010").control, 2010);
    EXPECT_EQ(parsed(L"click ok").control, 1);
    EXPECT_EQ(parsed(L"CLICK Cancel").control, 2);
    EXPECT_EQ(parsed(L"click Yes").control, 6);
    EXPECT_EQ(parsed(L"click -1").control, -1);
    EXPECT_EQ(parsed(L"  click   9  ").kind, FormAction::Click);
}

TEST(FormAction, TextsKeepTheirBlanksInQuotes) {
    FormAction action = parsed(L"type 2003 \"Room  area\"");
    EXPECT_EQ(action.kind, FormAction::Type);
    EXPECT_EQ(action.control, 2003);
    EXPECT_EQ(action.text, L"Room  area");
    EXPECT_EQ(parsed(L"type 2009 \"say \"\"hi\"\"\"").text, L"say \"hi\"");
    EXPECT_EQ(parsed(L"type 2009 \"\"").text, L"");
    action = parsed(L"choose 2008 \"Area reader\"");
    EXPECT_EQ(action.kind, FormAction::Choose);
    EXPECT_EQ(action.text, L"Area reader");
}

TEST(FormAction, RowsAndItemsAreOptionalWhereAPointerNeedsNone) {
    FormAction action = parsed(L"select 2000 1");
    EXPECT_TRUE(action.hasItem);
    EXPECT_EQ(action.item, L"1");
    action = parsed(L"rclick 2000");
    EXPECT_EQ(action.kind, FormAction::RightClick);
    EXPECT_FALSE(action.hasItem);
    action = parsed(L"dblclick 2012 \"Door/TAG\"");
    EXPECT_EQ(action.item, L"Door/TAG");
    EXPECT_EQ(parsed(L"hover 2014").kind, FormAction::Hover);
}

TEST(FormAction, KeysMovesAndSnapshots) {
    FormAction action = parsed(L"key Enter");
    EXPECT_EQ(action.virtualKey, static_cast<unsigned>(VK_RETURN));
    action = parsed(L"key shift+tab");
    EXPECT_EQ(action.virtualKey, static_cast<unsigned>(VK_TAB));
    EXPECT_TRUE(action.shift);
    EXPECT_EQ(parsed(L"key esc").virtualKey, static_cast<unsigned>(VK_ESCAPE));
    action = parsed(L"move 120,-30");
    EXPECT_EQ(action.x, 120);
    EXPECT_EQ(action.y, -30);
    action = parsed(L"snapshot \"my dialog.png\" 2011");
    EXPECT_EQ(action.text, L"my dialog.png");
    EXPECT_EQ(action.control, 2011);
    EXPECT_EQ(parsed(L"snapshot d.png").control, 0);
}

TEST(FormAction, BadLinesSayWhatIsWrong) {
    EXPECT_NE(refused(L"").find(L"No action"), std::wstring::npos);
    EXPECT_NE(refused(L"press 1").find(L"Unknown action \"press\""), std::wstring::npos);
    EXPECT_EQ(refused(L"click"), L"Usage: click ID");
    EXPECT_EQ(refused(L"click Bogus"), L"Usage: click ID");
    EXPECT_EQ(refused(L"click 1 2"), L"Usage: click ID");
    EXPECT_EQ(refused(L"type 2003"), L"Usage: type ID TEXT");
    EXPECT_EQ(refused(L"move 12"), L"Usage: move X,Y");
    EXPECT_EQ(refused(L"move a,b"), L"Usage: move X,Y");
    EXPECT_NE(refused(L"key Hyper").find(L"Unknown key \"Hyper\""), std::wstring::npos);
    EXPECT_NE(refused(L"type 1 \"open").find(L"no closing quote"), std::wstring::npos);
    EXPECT_EQ(refused(L"click 12345678901"), L"Usage: click ID");
    EXPECT_NE(refused(std::wstring(5000, L'x')).find(L"too long"), std::wstring::npos);
}
