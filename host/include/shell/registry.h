#pragma once

#include <cstdint>
#include <string>

#include "shell/errors.h"
#include "win/types.h"

#pragma GCC visibility push(default)

// The registry of this host. HKEY_CURRENT_USER lives in one file of the user's configuration
// folder ($SVHOST_CONFIG_DIR, else $XDG_CONFIG_HOME/sentavell-host, else
// ~/.config/sentavell-host), read on first use and rewritten whole, atomically, after each change.
// HKEY_CLASSES_ROOT is read-only: it holds the desktop's web browser as the handler of ".htm"
// when one is known. Key and value names compare without case; subkeys are separated by '\\'.
struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using LSTATUS = LONG;
using REGSAM = DWORD;
using LPDWORD = DWORD*;
using LPBYTE = BYTE*;
using LPCBYTE = const BYTE*;
using PLONG = LONG*;

struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u)))

// Access rights; an operation needs the right on the handle it is given.
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F

#define REG_OPTION_NON_VOLATILE 0x0000
#define REG_CREATED_NEW_KEY 0x0001
#define REG_OPENED_EXISTING_KEY 0x0002

// Value types. A string's data are wide characters with their terminator, size in bytes.
#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7
#define REG_QWORD 11

// A null or empty subkey opens the key itself again.
LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                        REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                        LPDWORD disposition);
LSTATUS RegCloseKey(HKEY key);
// A null or empty name is the key's default value. With data null, only the size is answered;
// a buffer too small answers ERROR_MORE_DATA and the size needed.
LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD dataSize);
LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD dataSize);
// The default value of a subkey as a terminated string (empty when it is not set); dataSize in
// bytes, terminator included.
LSTATUS RegQueryValueW(HKEY key, LPCWSTR subKey, LPWSTR data, PLONG dataSize);
// Sets the default value of a subkey, creating it; type must be REG_SZ, the size is ignored.
LSTATUS RegSetValueW(HKEY key, LPCWSTR subKey, DWORD type, LPCWSTR data, DWORD dataSize);
LSTATUS RegDeleteValueW(HKEY key, LPCWSTR valueName);
// The subkey must have no subkeys of its own.
LSTATUS RegDeleteKeyW(HKEY key, LPCWSTR subKey);

// Forgets what was read, so the next call reads the file (and the desktop) again. Open handles
// stay valid.
void svRegistryForget();

// The user's configuration folder named above, where the host keeps this user's files; empty when
// none can be named.
std::wstring svConfigurationFolder();

#pragma GCC visibility pop
