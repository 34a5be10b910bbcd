#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "win/dialog_template.h"

// Whatever the bytes, the reader answers a status; a template it accepts holds only what the
// bytes could hold.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint32_t> aligned(size / 4 + 1);
    std::memcpy(aligned.data(), data, size);
    SvResDialog dialog;
    if (svParseDialogTemplate(aligned.data(), size, dialog) != SvResStatus::Ok) {
        if (!dialog.items.empty() || !dialog.caption.empty())
            __builtin_trap();
        return 0;
    }
    std::size_t characters = dialog.caption.size() + dialog.fontFace.size();
    for (const SvResDialogItem& item : dialog.items)
        characters += item.windowClass.size() + item.title.text.size() + item.creationData.size();
    if (characters > size)
        __builtin_trap();
    return 0;
}
