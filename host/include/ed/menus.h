#pragma once

#include <string>
#include <vector>

#pragma GCC visibility push(default)

// A menu group loaded from a menu file: named items that run command-line macros.
struct SvMenuItem {
    std::wstring menu;  // the menu it stands in
    std::wstring label; // what a person sees
    std::wstring macro; // what it types on the command line
};

bool acedIsMenuGroupLoaded(const wchar_t* groupName);

// Loads the menu group a menu file defines; false with a reason when the file cannot be read or
// is malformed, or its group is loaded already.
//
// A menu file is text: "[MenuGroup]" with "Name=GROUP", then one "[Menu title]" section for each
// menu with "label=macro" lines. Blank lines and lines starting with ';' are ignored.
bool svLoadMenuFile(const wchar_t* path, std::wstring& reason);
bool svUnloadMenuGroup(const wchar_t* groupName);
std::vector<std::wstring> svMenuGroupNames();
std::vector<SvMenuItem> svMenuGroupItems(const wchar_t* groupName);

#pragma GCC visibility pop
