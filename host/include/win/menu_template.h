#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "win/resource_status.h"
#include "win/types.h"

#pragma GCC visibility push(default)

// Menu item flags as a menu template carries them.
#define MF_GRAYED 0x0001
#define MF_DISABLED 0x0002
#define MF_BITMAP 0x0004
#define MF_CHECKED 0x0008
#define MF_POPUP 0x0010
#define MF_MENUBARBREAK 0x0020
#define MF_MENUBREAK 0x0040
#define MF_END 0x0080
#define MF_SEPARATOR 0x0800
#define MF_HELP 0x4000

// Popups nest at most this deep below the menu bar.
#define SV_MENU_MAX_DEPTH 16

// Menu items in template order; a popup's items follow it one level deeper, and the last item
// of each level carries MF_END. Separators carry MF_SEPARATOR whichever way the template wrote
// them.
struct SvResMenuItem {
    std::wstring text; // empty for a separator
    UINT id = 0;       // 0 for popups and separators
    UINT flags = 0;    // MF_POPUP, MF_END, MF_GRAYED, ... as the template has them
    UINT depth = 0;
};

struct SvResMenu {
    std::vector<SvResMenuItem> items;
};

// Reads a standard menu template (MENUITEMTEMPLATEHEADER, then the items) as
// LoadMenuIndirectW receives it: it must start on a WORD boundary, and size bounds every read.
// Extended templates answer Unsupported. On failure menu is left empty.
SvResStatus svParseMenuTemplate(const void* data, std::size_t size, SvResMenu& menu);

// The RT_MENU resource name of module, read as above.
SvResStatus svLoadMenu(HMODULE module, LPCWSTR name, SvResMenu& menu);

#pragma GCC visibility pop
