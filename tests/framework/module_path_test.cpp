#include <gtest/gtest.h>

#include <cwchar>

#include "module_path.h"

namespace {

TEST(ModulePath, SplitsAWindowsPathAtItsLastBackslash) {
    wchar_t name[] = L"C:\\x\\y.arx";
    wchar_t dir[] = L"C:\\x\\y.arx";
    EXPECT_STREQ(MoveFileNameToFront(name), L"\\y.arx");
    EXPECT_STREQ(CutAtLastSeparator(dir), L"C:\\x");
}

TEST(ModulePath, SplitsAPosixPathAtItsLastSlash) {
    wchar_t name[] = L"/opt/sv/bin/SentavellUi17.arx";
    wchar_t dir[] = L"/opt/sv/bin/SentavellUi17.arx";
    EXPECT_STREQ(MoveFileNameToFront(name), L"/SentavellUi17.arx");
    EXPECT_STREQ(CutAtLastSeparator(dir), L"/opt/sv/bin");
}

TEST(ModulePath, NoSeparatorGivesNull) {
    wchar_t name[] = L"plain.arx";
    EXPECT_EQ(MoveFileNameToFront(name), nullptr);
    EXPECT_EQ(CutAtLastSeparator(name), nullptr);
    EXPECT_STREQ(name, L"plain.arx");
}

} // namespace
