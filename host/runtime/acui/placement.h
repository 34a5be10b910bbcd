#pragma once

#include <optional>

#include "mfc/cstring.h"
#include "user/types.h"

// A dialog's saved place: its window rectangle on the screen when it last closed.
struct DialogPlacement {
    LONG left;
    LONG top;
    LONG width;
    LONG height;
};

// Where a dialog of the given size opens from a saved place: at the saved corner, with the
// saved size only when it is resizable, moved back onto the screen when it would hang off it
// (a saved place from a larger screen, or a damaged value).
RECT placeOnScreen(const DialogPlacement& saved, SIZE current, SIZE screen, bool resizable);

// The registry key of a named dialog below HKEY_CURRENT_USER: <root>\Dialogs\<name>.
CString placementKey(const CString& root, const CString& name);

// Nothing when the key or any of its values is missing or not a DWORD.
std::optional<DialogPlacement> loadPlacement(const CString& key);
// false when the key cannot be created or a value not written.
bool savePlacement(const CString& key, const DialogPlacement& placement);
