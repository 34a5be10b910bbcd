#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "acad/status.h"

// Writes `size` bytes as the file `path` names through a temporary file beside it that replaces
// it at the end, so a failed write leaves the file that was there. A symbolic link is followed:
// its target is written and the link stays. A read-only file is refused. On failure `why` says
// what stood in the way, in the system's terms.
Acad::ErrorStatus svDbReplaceFile(const std::string& path, const unsigned char* data,
                                  std::size_t size, std::wstring& why);

// Where a file's bytes go as they are made: false when the file cannot take them, its reason
// kept for the caller of svDbReplaceFile.
class SvDbFileSink {
public:
    virtual bool write(const unsigned char* data, std::size_t size) = 0;

protected:
    ~SvDbFileSink() = default;
};

// The same, the bytes made by `produce` as they are written, so that a large file is never
// whole in memory. A status other than eOk from `produce` leaves the file that was there and is
// returned with `why` empty, unless the sink failed first.
Acad::ErrorStatus svDbReplaceFile(const std::string& path,
                                  const std::function<Acad::ErrorStatus(SvDbFileSink&)>& produce,
                                  std::wstring& why);

// The reason an operation on a file failed with `error` (an errno value), in words.
std::wstring svDbFileErrorText(int error);
