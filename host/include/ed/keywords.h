#pragma once

#include <string>
#include <vector>

#pragma GCC visibility push(default)

// A keyword list as acedInitGet takes it: keywords separated by blanks; the capital letters of a
// keyword are the abbreviation a person may type instead ("eXit" accepts "x"); "LType" accepts any
// prefix of at least its capitals ("lt", "lty"); "NAME,N" gives the abbreviation explicitly.
#pragma GCC visibility push(default)

// Matching ignores case. Global names after a lone "_" are accepted with a leading underscore.
class SvKeywordList {
public:
    SvKeywordList() = default;
    explicit SvKeywordList(const std::wstring& list);
    bool empty() const { return m_keywords.empty(); }
    // The keyword as written in the list (its local form), or empty when nothing matches.
    std::wstring match(const std::wstring& input) const;

private:
    struct Keyword {
        std::wstring name;         // as written, without ",abbreviation"
        std::wstring abbreviation; // upper case
        bool prefixAllowed;        // the abbreviation leads the name
        std::wstring global;       // upper case, may be empty
    };
    std::vector<Keyword> m_keywords;
};

#pragma GCC visibility pop
