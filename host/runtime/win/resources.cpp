#include "win/resources.h"

#include <dlfcn.h>
#include <limits.h>
#include <link.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <string>

#include "crt/format.h"
#include "win/modules.h"

namespace {

link_map* mainProgramMap() {
    static link_map* map = [] {
        link_map* found = nullptr;
        if (void* self = dlopen(nullptr, RTLD_NOW)) {
            dlinfo(self, RTLD_DI_LINKMAP, &found);
            dlclose(self);
        }
        return found;
    }();
    return map;
}

std::string realPath(const char* path) {
    char resolved[PATH_MAX];
    return path != nullptr && realpath(path, resolved) != nullptr ? std::string(resolved)
                                                                  : std::string();
}

// A library answers dlsym with its dependencies' symbols too; the table must be its own.
bool definedIn(void* symbol, HMODULE module, bool program) {
    Dl_info info{};
    link_map* map = nullptr;
    if (dladdr1(symbol, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0 ||
        map == nullptr)
        return false;
    if (program)
        return map == mainProgramMap();
    wchar_t path[PATH_MAX];
    if (GetModuleFileNameW(module, path, PATH_MAX) == 0)
        return false;
    return realPath(map->l_name) == svToUtf8(path);
}

bool sameNameText(const wchar_t* a, const wchar_t* b) {
    for (; *a != L'\0' && *b != L'\0'; ++a, ++b) {
        if (std::towupper(static_cast<wint_t>(*a)) != std::towupper(static_cast<wint_t>(*b)))
            return false;
    }
    return *a == *b;
}

// A name as the platform passes it: an ordinal, "#123", or a string.
bool matches(const wchar_t* entryName, WORD entryId, LPCWSTR wanted) {
    if (wanted == nullptr)
        return false;
    if (IS_INTRESOURCE(wanted))
        return entryName == nullptr && entryId == reinterpret_cast<std::uintptr_t>(wanted);
    if (wanted[0] == L'#') {
        wchar_t* end = nullptr;
        const unsigned long id = std::wcstoul(wanted + 1, &end, 10);
        return entryName == nullptr && end != wanted + 1 && *end == L'\0' && id == entryId;
    }
    return entryName != nullptr && sameNameText(entryName, wanted);
}

const SvResEntry* findEntry(HMODULE module, LPCWSTR name, LPCWSTR type) {
    const SvResourceTable* table = svResourceTable(module);
    if (table == nullptr)
        return nullptr;
    for (DWORD i = 0; i < table->entryCount; ++i) {
        const SvResEntry& entry = table->entries[i];
        if (matches(entry.typeName, entry.typeId, type) && matches(entry.name, entry.id, name))
            return &entry;
    }
    return nullptr;
}

} // namespace

const SvResourceTable* svResourceTable(HMODULE module) {
    const bool program = module == nullptr || module == GetModuleHandleW(nullptr);
    void* symbol = nullptr;
    if (program) {
        if (void* self = dlopen(nullptr, RTLD_NOW)) {
            symbol = dlsym(self, "SvResources");
            dlclose(self);
        }
    } else {
        symbol = reinterpret_cast<void*>(GetProcAddress(module, "SvResources"));
    }
    if (symbol == nullptr || !definedIn(symbol, module, program))
        return nullptr;
    const SvResourceTable* table = reinterpret_cast<SvResourcesProc>(symbol)();
    return table != nullptr && table->version == SV_RESOURCE_TABLE_VERSION ? table : nullptr;
}

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    return reinterpret_cast<HRSRC>(const_cast<SvResEntry*>(findEntry(module, name, type)));
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    if (resource == nullptr)
        return nullptr;
    return const_cast<void*>(reinterpret_cast<const SvResEntry*>(resource)->data);
}

LPVOID LockResource(HGLOBAL data) {
    return data;
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource != nullptr ? reinterpret_cast<const SvResEntry*>(resource)->size : 0;
}

bool svFindString(HMODULE module, UINT id, const wchar_t** text, int* length) {
    const SvResourceTable* table = svResourceTable(module);
    if (table == nullptr || table->strings == nullptr)
        return false;
    const SvResString* end = table->strings + table->stringCount;
    const SvResString* found = std::lower_bound(
        table->strings, end, id, [](const SvResString& s, UINT wanted) { return s.id < wanted; });
    if (found == end || found->id != id || found->length <= 0)
        return false;
    if (text != nullptr)
        *text = found->text;
    if (length != nullptr)
        *length = found->length;
    return true;
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size) {
    if (buffer == nullptr || size < 0)
        return 0;
    const wchar_t* text = nullptr;
    int length = 0;
    const bool found = svFindString(instance, id, &text, &length);
    if (size == 0) {
        if (!found)
            return 0;
        *reinterpret_cast<LPCWSTR*>(buffer) = text;
        return length;
    }
    if (!found) {
        buffer[0] = L'\0';
        return 0;
    }
    const int copied = std::min(length, size - 1);
    std::memcpy(buffer, text, static_cast<std::size_t>(copied) * sizeof(wchar_t));
    buffer[copied] = L'\0';
    return copied;
}
