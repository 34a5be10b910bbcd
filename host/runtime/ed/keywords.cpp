#include "ed/keywords.h"

#include <cwctype>
#include <sstream>

namespace {

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return text;
}

bool startsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

SvKeywordList::SvKeywordList(const std::wstring& list) {
    std::wistringstream words(list);
    std::wstring word;
    bool global = false;
    std::size_t globalIndex = 0;
    while (words >> word) {
        if (word == L"_") {
            global = true;
            continue;
        }
        if (global) {
            if (globalIndex < m_keywords.size())
                m_keywords[globalIndex++].global = upper(word);
            continue;
        }
        Keyword keyword;
        const std::size_t comma = word.find(L',');
        if (comma != std::wstring::npos) {
            keyword.name = word.substr(0, comma);
            keyword.abbreviation = upper(word.substr(comma + 1));
        } else {
            keyword.name = word;
            for (wchar_t c : word) {
                if (std::iswupper(static_cast<wint_t>(c)) || std::iswdigit(static_cast<wint_t>(c)))
                    keyword.abbreviation += c;
            }
        }
        const std::wstring name = upper(keyword.name);
        if (keyword.abbreviation.empty() || keyword.abbreviation == name)
            keyword.abbreviation = name;
        keyword.prefixAllowed = startsWith(name, keyword.abbreviation);
        m_keywords.push_back(keyword);
    }
}

std::wstring SvKeywordList::match(const std::wstring& input) const {
    if (input.empty())
        return L"";
    const std::wstring typed = upper(input);
    for (const Keyword& keyword : m_keywords) {
        const std::wstring name = upper(keyword.name);
        const bool matches =
            typed == name || typed == keyword.abbreviation ||
            (keyword.prefixAllowed && typed.size() >= keyword.abbreviation.size() &&
             startsWith(name, typed)) ||
            (!keyword.global.empty() && typed == L"_" + keyword.global);
        if (matches)
            return keyword.name;
    }
    return L"";
}
