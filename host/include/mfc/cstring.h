#pragma once

#include <cstdarg>
#include <string>

#include "win/types.h"

#pragma GCC visibility push(default)

// The platform's wide string class, as the modules' code uses it.
class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_text(text != nullptr ? text : L"") {}
    CString(const wchar_t* text, int length);
    CString(wchar_t c, int count = 1);
    // Narrow text is taken as UTF-8.
    explicit CString(const char* text);
    CString(const std::wstring& text) : m_text(text) {}

    operator const wchar_t*() const { return m_text.c_str(); }
    const wchar_t* GetString() const { return m_text.c_str(); }
    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    wchar_t GetAt(int index) const;
    void SetAt(int index, wchar_t c);

    CString& operator=(const wchar_t* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const wchar_t* text);
    CString& operator+=(wchar_t c);

    int Compare(const wchar_t* other) const;
    int CompareNoCase(const wchar_t* other) const;
    // Index of the first occurrence at or after start, or -1.
    int Find(const wchar_t* sub, int start = 0) const;
    int Find(wchar_t c, int start = 0) const;
    int ReverseFind(wchar_t c) const;
    // Counts beyond the ends are clipped.
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;
    // Answers the number of replacements.
    int Replace(const wchar_t* oldText, const wchar_t* newText);
    int Replace(wchar_t oldChar, wchar_t newChar);
    CString& MakeUpper();
    CString& MakeLower();
    CString& Trim();

    // printf formatting with the platform's rule that %s takes a wide string.
    void Format(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);
    void AppendFormat(const wchar_t* format, ...);

    // A writable buffer of at least minLength characters; ReleaseBuffer(-1) takes the length up to
    // the first terminator.
    wchar_t* GetBuffer(int minLength = 0);
    wchar_t* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    // The string-table text id: from the current resource handle, else from the first module of
    // the resource chain that has it. FALSE, and the string unchanged, when none has it.
    BOOL LoadString(UINT id);
    BOOL LoadString(HINSTANCE instance, UINT id);

    const std::wstring& str() const { return m_text; }

private:
    std::wstring m_text;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const wchar_t* b);
CString operator+(const wchar_t* a, const CString& b);
bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const wchar_t* b);
bool operator<(const CString& a, const CString& b);

#pragma GCC visibility pop
