#include <cstdlib>

#include "crt/crt.h"
#include "crt/format.h"
#include "shell/desktop_browser.h"
#include "shell/launch.h"
#include "shell/process.h"
#include "shell/shell.h"

namespace {

HINSTANCE answer(UINT code) {
    return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(code));
}

bool desktopSession() {
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

// The opener's words with the address in place of each "%s", or after them when none holds one.
std::vector<std::string> withAddress(std::vector<std::string> words, const std::string& address) {
    bool placed = false;
    for (std::string& word : words) {
        for (std::size_t at = word.find("%s"); at != std::string::npos;
             at = word.find("%s", at + address.size())) {
            word.replace(at, 2, address);
            placed = true;
        }
    }
    if (!placed)
        words.push_back(address);
    return words;
}

} // namespace

HINSTANCE ShellExecuteW(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR directory, int) {
    if (verb != nullptr && *verb != L'\0' && _wcsicmp(verb, L"open") != 0)
        return answer(SE_ERR_NOASSOC);
    if (file == nullptr || *file == L'\0')
        return answer(SE_ERR_FNF);
    const std::string folder = directory != nullptr ? svToUtf8(directory) : std::string();
    if (!folder.empty() && !isFolder(folder))
        return answer(SE_ERR_PNF);
    std::optional<std::vector<std::string>> opener = browserFromEnvironment();
    if (opener && opener->empty())
        return answer(SE_ERR_FNF);
    if (!opener) {
        const std::string xdgOpen = desktopSession() ? findProgram("xdg-open") : "";
        if (xdgOpen.empty())
            return answer(SE_ERR_NOASSOC);
        opener = std::vector<std::string>{xdgOpen};
    }
    return answer(launch(withAddress(std::move(*opener), svToUtf8(file)), folder));
}
