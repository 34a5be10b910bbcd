#include "ed/menus.h"

#include <algorithm>
#include <fstream>

#include "crt/crt.h"
#include "crt/format.h"

namespace {

struct MenuGroup {
    std::wstring name;
    std::vector<SvMenuItem> items;
};

std::vector<MenuGroup>& groups() {
    static std::vector<MenuGroup> loaded;
    return loaded;
}

MenuGroup* findGroup(const wchar_t* name) {
    if (name == nullptr)
        return nullptr;
    auto& all = groups();
    auto found = std::find_if(all.begin(), all.end(), [name](const MenuGroup& group) {
        return _wcsicmp(group.name.c_str(), name) == 0;
    });
    return found == all.end() ? nullptr : &*found;
}

std::wstring trimmed(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L" \t\r");
    if (first == std::wstring::npos)
        return L"";
    return text.substr(first, text.find_last_not_of(L" \t\r") - first + 1);
}

bool fail(std::wstring& reason, const std::wstring& path, int line, const wchar_t* what) {
    reason = svFormat(L"%s:%d: %s", path.c_str(), line, what);
    return false;
}

} // namespace

bool acedIsMenuGroupLoaded(const wchar_t* groupName) {
    return findGroup(groupName) != nullptr;
}

bool svLoadMenuFile(const wchar_t* path, std::wstring& reason) {
    std::wstring file = path != nullptr ? path : L"";
    // Modules build paths with the backslash of the platform they were written for.
    std::replace(file.begin(), file.end(), L'\\', L'/');
    std::ifstream in(svToUtf8(file), std::ios::binary);
    if (!in) {
        reason = file + L": cannot open the menu file";
        return false;
    }
    MenuGroup group;
    std::wstring section;
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        const std::wstring text = trimmed(svFromUtf8(raw));
        if (text.empty() || text[0] == L';')
            continue;
        if (text.front() == L'[') {
            if (text.back() != L']')
                return fail(reason, file, line, L"unclosed section heading");
            section = trimmed(text.substr(1, text.size() - 2));
            continue;
        }
        const std::size_t equals = text.find(L'=');
        if (equals == std::wstring::npos || section.empty())
            return fail(reason, file, line, L"expected name=value inside a section");
        const std::wstring key = trimmed(text.substr(0, equals));
        const std::wstring value = trimmed(text.substr(equals + 1));
        if (_wcsicmp(section.c_str(), L"MenuGroup") == 0) {
            if (_wcsicmp(key.c_str(), L"Name") == 0)
                group.name = value;
        } else if (section.compare(0, 5, L"Menu ") == 0) {
            group.items.push_back({trimmed(section.substr(5)), key, value});
        } else {
            return fail(reason, file, line, L"unknown section");
        }
    }
    if (group.name.empty())
        return fail(reason, file, line, L"no menu group name");
    if (findGroup(group.name.c_str()) != nullptr) {
        reason = L"menu group " + group.name + L" is loaded already";
        return false;
    }
    groups().push_back(std::move(group));
    return true;
}

bool svUnloadMenuGroup(const wchar_t* groupName) {
    MenuGroup* group = findGroup(groupName);
    if (group == nullptr)
        return false;
    auto& all = groups();
    all.erase(all.begin() + (group - all.data()));
    return true;
}

std::vector<std::wstring> svMenuGroupNames() {
    std::vector<std::wstring> names;
    for (const MenuGroup& group : groups())
        names.push_back(group.name);
    return names;
}

std::vector<SvMenuItem> svMenuGroupItems(const wchar_t* groupName) {
    const MenuGroup* group = findGroup(groupName);
    return group != nullptr ? group->items : std::vector<SvMenuItem>{};
}
