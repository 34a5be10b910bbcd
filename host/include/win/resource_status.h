#pragma once

#include "win/types.h"

#pragma GCC visibility push(default)

// How reading a template, bitmap or cursor out of resource bytes ended. The bytes may come from a
// module or from a caller's memory, so every fault in them is an answer, never a crash.
enum class SvResStatus {
    Ok,
    NotFound,           // no resource of that name and type
    Truncated,          // the data ends inside a field, or before its last item
    Misaligned,         // the data does not start on the boundary its format needs
    BadHeader,          // not data of this kind: wrong version, signature or header size
    UnterminatedString, // a text runs to the end of the data
    TooManyItems,       // a count larger than the data can hold
    TooDeep,            // popups nested past the limit
    BadValue,           // a field outside its range: unknown class ordinal, no planes, ...
    Unsupported,        // well-formed, in a form not decoded here (compression, extended menus)
    Oversized,          // dimensions past what is decoded
};

// A short English explanation, for messages and logs.
const wchar_t* svResStatusText(SvResStatus status);

#pragma GCC visibility pop
