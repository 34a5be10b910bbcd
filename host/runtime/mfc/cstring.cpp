#include "mfc/cstring.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <cwctype>

#include "crt/crt.h"
#include "crt/format.h"
#include "mfc/afx.h"
#include "win/resources.h"

namespace {

std::size_t clip(int value, std::size_t limit) {
    return value <= 0 ? 0 : std::min(static_cast<std::size_t>(value), limit);
}

} // namespace

CString::CString(const wchar_t* text, int length) {
    if (text != nullptr && length > 0)
        m_text.assign(text, static_cast<std::size_t>(length));
}

CString::CString(wchar_t c, int count) : m_text(clip(count, SIZE_MAX), c) {}

CString::CString(const char* text) : m_text(text != nullptr ? svFromUtf8(text) : L"") {}

wchar_t CString::GetAt(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < m_text.size() ? m_text[index] : L'\0';
}

void CString::SetAt(int index, wchar_t c) {
    if (index >= 0 && static_cast<std::size_t>(index) < m_text.size())
        m_text[index] = c;
}

CString& CString::operator=(const wchar_t* text) {
    m_text = text != nullptr ? text : L"";
    return *this;
}

CString& CString::operator+=(const CString& other) {
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(const wchar_t* text) {
    if (text != nullptr)
        m_text += text;
    return *this;
}

CString& CString::operator+=(wchar_t c) {
    m_text += c;
    return *this;
}

int CString::Compare(const wchar_t* other) const {
    const int c = m_text.compare(other != nullptr ? other : L"");
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CString::CompareNoCase(const wchar_t* other) const {
    return _wcsicmp(m_text.c_str(), other != nullptr ? other : L"");
}

int CString::Find(const wchar_t* sub, int start) const {
    if (sub == nullptr || start < 0 || static_cast<std::size_t>(start) > m_text.size())
        return -1;
    const std::size_t at = m_text.find(sub, static_cast<std::size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::Find(wchar_t c, int start) const {
    if (start < 0 || static_cast<std::size_t>(start) > m_text.size())
        return -1;
    const std::size_t at = m_text.find(c, static_cast<std::size_t>(start));
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(wchar_t c) const {
    const std::size_t at = m_text.rfind(c);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

CString CString::Left(int count) const {
    return CString(m_text.substr(0, clip(count, m_text.size())));
}

CString CString::Mid(int first) const {
    return CString(m_text.substr(clip(first, m_text.size())));
}

CString CString::Mid(int first, int count) const {
    const std::size_t from = clip(first, m_text.size());
    return CString(m_text.substr(from, clip(count, m_text.size() - from)));
}

CString CString::Right(int count) const {
    const std::size_t n = clip(count, m_text.size());
    return CString(m_text.substr(m_text.size() - n));
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
    if (oldText == nullptr || *oldText == L'\0')
        return 0;
    const std::wstring from(oldText);
    const std::wstring to(newText != nullptr ? newText : L"");
    int count = 0;
    for (std::size_t at = m_text.find(from); at != std::wstring::npos;
         at = m_text.find(from, at + to.size())) {
        m_text.replace(at, from.size(), to);
        ++count;
    }
    return count;
}

int CString::Replace(wchar_t oldChar, wchar_t newChar) {
    int count = 0;
    for (wchar_t& c : m_text) {
        if (c == oldChar) {
            c = newChar;
            ++count;
        }
    }
    return count;
}

CString& CString::MakeUpper() {
    for (wchar_t& c : m_text)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return *this;
}

CString& CString::MakeLower() {
    for (wchar_t& c : m_text)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return *this;
}

CString& CString::Trim() {
    const auto blank = [](wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; };
    const auto first = std::find_if_not(m_text.begin(), m_text.end(), blank);
    const auto last = std::find_if_not(m_text.rbegin(), m_text.rend(), blank).base();
    m_text = first < last ? std::wstring(first, last) : std::wstring();
    return *this;
}

void CString::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    m_text = svFormatV(format, args);
    va_end(args);
}

void CString::FormatV(const wchar_t* format, va_list args) {
    m_text = svFormatV(format, args);
}

void CString::AppendFormat(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    m_text += svFormatV(format, args);
    va_end(args);
}

wchar_t* CString::GetBuffer(int minLength) {
    if (static_cast<int>(m_text.size()) < minLength)
        m_text.resize(static_cast<std::size_t>(minLength));
    return m_text.data();
}

wchar_t* CString::GetBufferSetLength(int length) {
    m_text.resize(clip(length, SIZE_MAX));
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0)
        m_text.resize(std::wcslen(m_text.c_str()));
    else
        m_text.resize(std::min(static_cast<std::size_t>(newLength), m_text.size()));
}

CString operator+(const CString& a, const CString& b) {
    return CString(a.str() + b.str());
}

CString operator+(const CString& a, const wchar_t* b) {
    return a + CString(b);
}

CString operator+(const wchar_t* a, const CString& b) {
    return CString(a) + b;
}

bool operator==(const CString& a, const CString& b) {
    return a.str() == b.str();
}

bool operator==(const CString& a, const wchar_t* b) {
    return a.str() == (b != nullptr ? b : L"");
}

bool operator<(const CString& a, const CString& b) {
    return a.str() < b.str();
}

BOOL CString::LoadString(UINT id) {
    return LoadString(AfxFindStringResourceHandle(id), id);
}

BOOL CString::LoadString(HINSTANCE instance, UINT id) {
    const wchar_t* text = nullptr;
    int length = 0;
    if (!svFindString(instance, id, &text, &length))
        return FALSE;
    m_text.assign(text, static_cast<std::size_t>(length));
    return TRUE;
}
