#include "file_replace.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "crt/format.h"

namespace {

// Far more hops than any honest chain; a loop of links ends here like the system's own ELOOP.
constexpr int kMaxLinkHops = 40;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at, which need not exist yet.
bool followLinks(std::string path, std::string& target, int& error) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = path;
            return true;
        }
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
        if (n < 0) {
            error = errno;
            return false;
        }
        const std::string next(buffer, static_cast<std::size_t>(n));
        path = next.front() == '/' ? next : folderOf(path) + "/" + next;
    }
    error = ELOOP;
    return false;
}

bool writeAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

Acad::ErrorStatus failed(int error, std::wstring& why) {
    why = svDbFileErrorText(error);
    return Acad::eFileAccessErr;
}

class DescriptorSink final : public SvDbFileSink {
public:
    explicit DescriptorSink(int fd) : m_fd(fd) {}
    bool write(const unsigned char* data, std::size_t size) override {
        if (m_error == 0 && !writeAll(m_fd, data, size))
            m_error = errno != 0 ? errno : EIO;
        return m_error == 0;
    }
    int error() const { return m_error; }

private:
    int m_fd;
    int m_error = 0;
};

} // namespace

std::wstring svDbFileErrorText(int error) {
    switch (error) {
    case ENOSPC:
        return L"no space left on the device";
    case EDQUOT:
        return L"the disk quota is used up";
    case EACCES:
    case EPERM:
        return L"permission denied";
    case ENOENT:
        return L"no such folder";
    case ENOTDIR:
        return L"a part of the path is not a folder";
    case EISDIR:
        return L"it is a folder";
    case EROFS:
        return L"the file system is read-only";
    case ELOOP:
        return L"too many symbolic links";
    default:
        return svFromUtf8(std::strerror(error));
    }
}

Acad::ErrorStatus svDbReplaceFile(const std::string& path, const unsigned char* data,
                                  std::size_t size, std::wstring& why) {
    return svDbReplaceFile(
        path,
        [data, size](SvDbFileSink& sink) {
            return sink.write(data, size) ? Acad::eOk : Acad::eFileAccessErr;
        },
        why);
}

Acad::ErrorStatus svDbReplaceFile(const std::string& path,
                                  const std::function<Acad::ErrorStatus(SvDbFileSink&)>& produce,
                                  std::wstring& why) {
    why.clear();
    std::string target;
    int error = 0;
    if (!followLinks(path, target, error))
        return failed(error, why);
    // The temporary file is private; the drawing gets the mode of the file it replaces, or what
    // a newly created file would get. Renaming would replace a read-only file: refused first.
    struct stat existing {};
    mode_t mode = 0;
    if (::stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return failed(EISDIR, why);
        if ((existing.st_mode & 0222) == 0) {
            why = L"the file is read-only";
            return Acad::eFileAccessErr;
        }
        if (::access(target.c_str(), W_OK) != 0)
            return failed(errno, why);
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    std::string temp = target + ".svtmp-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return failed(errno, why);
    DescriptorSink sink(fd);
    Acad::ErrorStatus produced = Acad::eOk;
    bool ok = ::fchmod(fd, mode) == 0;
    if (ok) {
        produced = produce(sink);
        ok = produced == Acad::eOk && sink.error() == 0 && ::fsync(fd) == 0;
    }
    error = sink.error() != 0 ? sink.error() : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        if (produced != Acad::eOk && sink.error() == 0)
            return produced;
        return failed(error, why);
    }
    return Acad::eOk;
}
