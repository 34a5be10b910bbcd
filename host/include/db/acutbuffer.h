#pragma once

#pragma GCC visibility push(default)

// Strings the host hands out (read from a filer, a layer name, a dictionary key ...) are
// allocated by the host; the receiver releases them here. The pointer is nulled; null is fine.
void acutDelBuffer(wchar_t*& buffer);
void acutDelBuffer(char*& buffer);
// A copy of `text` that acutDelBuffer releases (null gives an empty string).
wchar_t* acutNewString(const wchar_t* text);

#pragma GCC visibility pop
