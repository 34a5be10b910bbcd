#pragma once

#include <cstddef>
#include <string>

#include "acad/status.h"

// Writes `size` bytes as the file `path` names through a temporary file beside it that replaces
// it at the end, so a failed write leaves the file that was there. A symbolic link is followed:
// its target is written and the link stays. A read-only file is refused. On failure `why` says
// what stood in the way, in the system's terms.
Acad::ErrorStatus svDbReplaceFile(const std::string& path, const unsigned char* data,
                                  std::size_t size, std::wstring& why);

// The reason an operation on a file failed with `error` (an errno value), in words.
std::wstring svDbFileErrorText(int error);
