#pragma once

#include "user/menu.h"

#include <string>
#include <vector>

namespace sv::user {

struct MenuItem {
    UINT flags = 0; // MF_* state and kind, without MF_POPUP's count
    UINT id = 0;
    std::wstring text;
    HMENU submenu = nullptr;
};

struct Menu {
    std::vector<MenuItem> items;
};

// Null for a handle that names no live menu.
Menu* findMenu(HMENU menu);

} // namespace sv::user
