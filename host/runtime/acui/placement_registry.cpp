#include "acui/placement.h"
#include "shell/registry.h"

namespace {

constexpr const wchar_t* kLeft = L"Left";
constexpr const wchar_t* kTop = L"Top";
constexpr const wchar_t* kWidth = L"Width";
constexpr const wchar_t* kHeight = L"Height";

std::optional<LONG> readNumber(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return std::nullopt;
    return static_cast<LONG>(value);
}

bool writeNumber(HKEY key, const wchar_t* name, LONG number) {
    const auto value = static_cast<DWORD>(number);
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value)) == ERROR_SUCCESS;
}

} // namespace

std::optional<DialogPlacement> loadPlacement(const CString& keyName) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyName, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    const auto left = readNumber(key, kLeft);
    const auto top = readNumber(key, kTop);
    const auto width = readNumber(key, kWidth);
    const auto height = readNumber(key, kHeight);
    RegCloseKey(key);
    if (!left || !top || !width || !height)
        return std::nullopt;
    return DialogPlacement{*left, *top, *width, *height};
}

bool savePlacement(const CString& keyName, const DialogPlacement& placement) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyName, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const bool written =
        writeNumber(key, kLeft, placement.left) && writeNumber(key, kTop, placement.top) &&
        writeNumber(key, kWidth, placement.width) && writeNumber(key, kHeight, placement.height);
    RegCloseKey(key);
    return written;
}
