#include "shell/registry_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr off_t kLargestFile = off_t{64} << 20;

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

bool makeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string configurationFolder() {
    if (std::string own = variable("SVHOST_CONFIG_DIR"); !own.empty())
        return own;
    if (std::string xdg = variable("XDG_CONFIG_HOME"); !xdg.empty() && xdg.front() == '/')
        return xdg + "/sentavell-host";
    if (std::string home = variable("HOME"); !home.empty())
        return home + "/.config/sentavell-host";
    return "";
}

FileRead readWholeFile(const std::string& path, std::string& text, std::string& error) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return FileRead::Missing;
        error = systemError("cannot read " + path);
        return FileRead::Failed;
    }
    if (!S_ISREG(info.st_mode) || info.st_size > kLargestFile) {
        error = path + " is not a registry file of a sensible size";
        return FileRead::Failed;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        error = systemError("cannot open " + path);
        return FileRead::Failed;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read " + path;
        return FileRead::Failed;
    }
    return FileRead::Read;
}

bool replaceFileAtomically(const std::string& path, const std::string& text, std::string& error) {
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !makeFolders(path.substr(0, slash))) {
        error = systemError("cannot make the folder of " + path);
        return false;
    }
    const std::string temporary = path + ".new" + std::to_string(getpid());
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = systemError("cannot write " + temporary);
        return false;
    }
    bool written = writeAll(fd, text) && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = systemError("cannot replace " + path);
        unlink(temporary.c_str());
        return false;
    }
    return true;
}
