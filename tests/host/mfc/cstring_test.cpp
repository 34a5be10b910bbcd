#include <gtest/gtest.h>

#include <stdexcept>

#include "mfc/afxcoll.h"
#include "mfc/cstring.h"

namespace {

TEST(CString, FormatTakesWideStringsAndNumbers) {
    CString text;
    text.Format(L"%s\\%s", L"/opt/sv", L"SentavellUi17Res.dll");
    EXPECT_STREQ(text, L"/opt/sv\\SentavellUi17Res.dll");
    text.Format(L"M=%s", L"$(+,1,2)");
    EXPECT_EQ(text, L"M=$(+,1,2)");
    text.AppendFormat(L" %g|%d", 3.14159265, 7);
    EXPECT_EQ(text, L"M=$(+,1,2) 3.14159|7");
}

TEST(CString, SlicingClipsAtTheEnds) {
    const CString text(L"Sentavell");
    EXPECT_EQ(text.Left(4), L"Sent");
    EXPECT_EQ(text.Left(99), L"Sentavell");
    EXPECT_EQ(text.Left(-1), L"");
    EXPECT_EQ(text.Mid(4), L"avell");
    EXPECT_EQ(text.Mid(4, 2), L"av");
    EXPECT_EQ(text.Mid(20, 2), L"");
    EXPECT_EQ(text.Right(4), L"vell");
    EXPECT_EQ(text.Right(99), L"Sentavell");
    EXPECT_EQ(text.GetAt(99), L'\0');
}

TEST(CString, SearchReplaceAndCase) {
    CString text(L"%PROPERTY and %PROPERTY");
    EXPECT_EQ(text.Find(L"PROP"), 1);
    EXPECT_EQ(text.Find(L"PROP", 2), 15);
    EXPECT_EQ(text.Find(L'x'), -1);
    EXPECT_EQ(text.ReverseFind(L'%'), 14);
    EXPECT_EQ(text.Replace(L"%PROPERTY", L"12.5 %PROPERTY"), 2); // no re-scan of what was put in
    EXPECT_EQ(text, L"12.5 %PROPERTY and 12.5 %PROPERTY");
    EXPECT_EQ(text.Replace(L"", L"x"), 0);
    EXPECT_EQ(CString(L"Tag").CompareNoCase(L"TAG"), 0);
    EXPECT_EQ(CString(L"a").Compare(L"b"), -1);
    EXPECT_EQ(CString(L" mixed Case ").Trim().MakeUpper(), L"MIXED CASE");
}

TEST(CString, BufferRoundTrip) {
    CString text;
    wchar_t* buffer = text.GetBuffer(16);
    wcscpy(buffer, L"abc");
    text.ReleaseBuffer();
    EXPECT_EQ(text.GetLength(), 3);
    text.GetBufferSetLength(2);
    text.ReleaseBuffer(2);
    EXPECT_EQ(text, L"ab");
    EXPECT_EQ(CString("m\xC2\xB2"), L"m\u00B2");
    EXPECT_EQ(CString(static_cast<const wchar_t*>(nullptr)), L"");
}

TEST(CStringArray, AddAnswersTheIndexAndAccessOutsideTheArrayThrows) {
    CStringArray names;
    EXPECT_TRUE(names.IsEmpty());
    EXPECT_EQ(names.Add(L"AcBlockModifier"), 0);
    EXPECT_EQ(names.Add(L"AcAreaReader"), 1);
    EXPECT_EQ(names.GetSize(), 2);
    names.SetAt(1, L"AcLengthReader");
    EXPECT_EQ(names.GetAt(1), L"AcLengthReader");
    EXPECT_THROW(names.GetAt(2), std::out_of_range);
    EXPECT_THROW(names.GetAt(-1), std::out_of_range);
    EXPECT_THROW(names.SetAt(2, L"x"), std::out_of_range);
    names.RemoveAll();
    EXPECT_EQ(names.GetCount(), 0);
}

} // namespace
