#include "shell/launch.h"

#include <sys/stat.h>

#include <cerrno>

#include "shell/errors.h"
#include "shell/process.h"

namespace {

UINT missingProgram(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    if (slash != std::string::npos && slash > 0 && !isFolder(name.substr(0, slash)))
        return ERROR_PATH_NOT_FOUND;
    return ERROR_FILE_NOT_FOUND;
}

UINT failureCode(int error) {
    switch (error) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case ENOEXEC:
        return ERROR_BAD_FORMAT;
    case ENOMEM:
    case EAGAIN:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return 0;
    }
}

} // namespace

bool isFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

UINT launch(std::vector<std::string> argv, const std::string& folder) {
    if (argv.empty() || argv[0].empty())
        return ERROR_FILE_NOT_FOUND;
    const std::string program = findProgram(argv[0]);
    if (program.empty())
        return missingProgram(argv[0]);
    argv[0] = program;
    const int error = startProgram(argv, folder);
    return error == 0 ? kStarted : failureCode(error);
}
