#pragma once

#include "win/types.h"

#pragma GCC visibility push(default)

#ifndef LOWORD
#define LOWORD(l) (static_cast<WORD>(static_cast<DWORD_PTR>(l) & 0xffff))
#define HIWORD(l) (static_cast<WORD>((static_cast<DWORD_PTR>(l) >> 16) & 0xffff))
#endif

#define VS_FFI_SIGNATURE 0xFEEF04BDu
#define VS_FFI_STRUCVERSION 0x00010000u

struct VS_FIXEDFILEINFO {
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;
    DWORD dwFileVersionLS;
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};

// The version block of a module file, read as data: the module is not loaded or run. 0 when the
// file has none. handle is set to 0.
DWORD GetFileVersionInfoSizeW(LPCWSTR fileName, DWORD* handle);
// Fails rather than cutting the block when size is smaller than GetFileVersionInfoSizeW said,
// because VerQueryValueW trusts the block's own lengths.
BOOL GetFileVersionInfoW(LPCWSTR fileName, DWORD handle, DWORD size, LPVOID data);
// "\\" gives the VS_FIXEDFILEINFO; "\\StringFileInfo\\040904b0\\Key" a wide text (length in
// characters with its terminator); "\\VarFileInfo\\Translation" the words (length in bytes).
// Keys compare without case.
BOOL VerQueryValueW(const void* block, LPCWSTR subBlock, LPVOID* buffer, UINT* length);

#pragma GCC visibility pop
