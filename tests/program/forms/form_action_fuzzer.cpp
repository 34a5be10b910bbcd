#include <cstddef>
#include <cstdint>
#include <string>

#include "form_action.h"

// Any line a script may hold: parsing answers or refuses, within the line's own bounds.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring line;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        line += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    forms::FormAction action;
    std::wstring error;
    if (!forms::parseFormAction(line, action, error) && error.empty())
        __builtin_trap();
    return 0;
}
