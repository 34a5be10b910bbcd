#include "ed/aliases.h"

#include <cwctype>
#include <fstream>
#include <map>

#include "crt/format.h"

namespace {

std::map<std::wstring, std::wstring>& aliases() {
    static std::map<std::wstring, std::wstring> table; // upper-case alias to command
    return table;
}

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return text;
}

std::wstring trimmed(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L" \t\r");
    const std::size_t last = text.find_last_not_of(L" \t\r");
    return first == std::wstring::npos ? std::wstring() : text.substr(first, last - first + 1);
}

bool isName(const std::wstring& text) {
    if (text.empty() || text.size() > 64)
        return false;
    for (wchar_t c : text) {
        if (std::iswspace(static_cast<wint_t>(c)) || c == L',' || c == L'*' || c == L';')
            return false;
    }
    return true;
}

} // namespace

bool svLoadCommandAliases(const wchar_t* path, std::wstring& problems) {
    std::ifstream in(svToUtf8(path), std::ios::binary);
    if (!in) {
        problems = svFormat(L"cannot read %s", path);
        return false;
    }
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        std::wstring line = svFromUtf8(raw);
        line = trimmed(line.substr(0, line.find(L';')));
        if (line.empty())
            continue;
        const std::size_t comma = line.find(L',');
        const std::wstring alias = trimmed(line.substr(0, comma));
        const std::wstring target =
            comma == std::wstring::npos ? L"" : trimmed(line.substr(comma + 1));
        if (!target.empty() && target[0] != L'*' && isName(alias))
            continue; // a program to start
        const std::wstring command = target.empty() ? L"" : trimmed(target.substr(1));
        if (!isName(alias) || !isName(command)) {
            problems += svFormat(L"%s%s:%d: not ALIAS, *COMMAND", problems.empty() ? L"" : L"; ",
                                 path, number);
            continue;
        }
        aliases()[upper(alias)] = upper(command);
    }
    return true;
}

std::wstring svCommandForAlias(const std::wstring& alias) {
    const auto found = aliases().find(upper(alias));
    return found == aliases().end() ? std::wstring() : found->second;
}

std::vector<std::pair<std::wstring, std::wstring>> svCommandAliases() {
    return {aliases().begin(), aliases().end()};
}

void svClearCommandAliases() {
    aliases().clear();
}
