#pragma once

#include <unistd.h>

#include <climits>
#include <string>

// The build's output folder: the test programs sit there beside the host and the modules.
// A reference, so `"'" + binDir()` builds a new string instead of inserting into a temporary,
// which g++ 12 at -O3 flags with a false -Wrestrict.
inline const std::string& binDir() {
    static const std::string folder = [] {
        char buffer[PATH_MAX];
        const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        std::string path(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
        return path.substr(0, path.rfind('/'));
    }();
    return folder;
}

inline std::wstring binDirW() {
    const std::string narrow = binDir();
    return std::wstring(narrow.begin(), narrow.end());
}
