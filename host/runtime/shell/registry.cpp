#include "shell/registry.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "crt/format.h"
#include "shell/desktop_browser.h"
#include "shell/registry_file.h"
#include "shell/registry_text.h"
#include "shell/registry_tree.h"

namespace {

constexpr DWORD kLargestValue = 1u << 20;
constexpr std::size_t kLongestValueName = 16383;
constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

static_assert(sizeof(std::uintptr_t) == 8, "handles are numbered above the predefined keys");

struct OpenKey {
    bool classes = false; // HKEY_CLASSES_ROOT, else HKEY_CURRENT_USER
    std::vector<std::wstring> path;
    REGSAM access = 0;
};

void report(const std::string& message) {
    std::fprintf(stderr, "svhost: registry: %s\n", message.c_str());
}

// Every call holds the lock for its whole run.
class Registry {
public:
    std::mutex lock;

    // A predefined key or an open handle.
    LSTATUS resolve(HKEY key, OpenKey& open) const {
        if (key == HKEY_CURRENT_USER) {
            open = OpenKey{false, {}, KEY_ALL_ACCESS};
        } else if (key == HKEY_CLASSES_ROOT) {
            open = OpenKey{true, {}, KEY_READ};
        } else {
            const auto found = m_handles.find(reinterpret_cast<std::uintptr_t>(key));
            if (found == m_handles.end())
                return ERROR_INVALID_HANDLE;
            open = found->second;
        }
        return ERROR_SUCCESS;
    }

    RegistryKey& root(bool classes) {
        if (classes) {
            if (!m_classes) {
                m_classes = std::make_unique<RegistryKey>();
                addBrowserAssociations(*m_classes);
            }
            return *m_classes;
        }
        if (!m_user)
            load();
        return *m_user;
    }

    RegistryKey* find(const OpenKey& key) { return root(key.classes).find(key.path); }

    HKEY add(OpenKey key) {
        const std::uintptr_t id = m_next;
        m_next += 16;
        m_handles.emplace(id, std::move(key));
        return reinterpret_cast<HKEY>(id);
    }

    bool remove(HKEY key) { return m_handles.erase(reinterpret_cast<std::uintptr_t>(key)) > 0; }

    void save() {
        if (m_file.empty())
            return;
        std::string error;
        if (!replaceFileAtomically(m_file, formatRegistry(*m_user), error) && !m_saveReported) {
            report(error + "; settings changed in this session are not kept");
            m_saveReported = true;
        }
    }

    void forget() {
        m_user.reset();
        m_classes.reset();
    }

private:
    void load() {
        m_user = std::make_unique<RegistryKey>();
        m_saveReported = false;
        m_file.clear();
        const std::string folder = configurationFolder();
        if (folder.empty()) {
            report("no configuration folder (HOME is not set); settings are not kept");
            return;
        }
        const std::string file = folder + "/registry.txt";
        std::string text, error;
        const FileRead read = readWholeFile(file, text, error);
        if (read == FileRead::Failed) {
            report(error + "; settings are not kept");
            return;
        }
        m_file = file;
        RegistryKey parsed;
        if (read == FileRead::Missing || parseRegistry(text, parsed, error)) {
            *m_user = std::move(parsed);
            return;
        }
        // A damaged file is kept for whoever wants to mend it, never saved over.
        const std::string aside = file + ".damaged";
        if (std::rename(file.c_str(), aside.c_str()) != 0) {
            report(file + " is damaged (" + error + "); using defaults, settings are not kept");
            m_file.clear();
            return;
        }
        report(file + " is damaged (" + error + "); kept as " + aside + ", using defaults");
    }

    std::unique_ptr<RegistryKey> m_user;
    std::unique_ptr<RegistryKey> m_classes;
    std::string m_file; // empty when changes cannot be kept
    bool m_saveReported = false;
    std::map<std::uintptr_t, OpenKey> m_handles;
    std::uintptr_t m_next = std::uintptr_t{1} << 32;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

std::wstring valueName(LPCWSTR name) {
    return name != nullptr ? std::wstring(name) : std::wstring();
}

// A subkey below the key of a handle.
struct Lookup {
    OpenKey base;                // the handle's
    OpenKey below;               // the subkey's
    RegistryKey* node = nullptr; // the subkey, null when it is missing
    bool created = false;
};

// ERROR_KEY_DELETED when the handle's key itself is gone.
LSTATUS lookBelow(Registry& reg, HKEY key, LPCWSTR subKey, Lookup& found) {
    if (const LSTATUS status = reg.resolve(key, found.base); status != ERROR_SUCCESS)
        return status;
    std::vector<std::wstring> parts;
    if (!splitKeyPath(subKey, parts))
        return ERROR_BAD_PATHNAME;
    if (reg.find(found.base) == nullptr)
        return ERROR_KEY_DELETED;
    found.below = found.base;
    found.below.path.insert(found.below.path.end(), parts.begin(), parts.end());
    found.node = reg.find(found.below);
    return ERROR_SUCCESS;
}

LSTATUS existingBelow(Registry& reg, HKEY key, LPCWSTR subKey, Lookup& found) {
    const LSTATUS status = lookBelow(reg, key, subKey, found);
    return status == ERROR_SUCCESS && found.node == nullptr ? ERROR_FILE_NOT_FOUND : status;
}

// Creates the subkey unless it exists; the handle's key must allow that.
LSTATUS createBelow(Registry& reg, HKEY key, LPCWSTR subKey, Lookup& found) {
    if (const LSTATUS status = lookBelow(reg, key, subKey, found);
        status != ERROR_SUCCESS || found.node != nullptr)
        return status;
    if (found.base.classes || (found.base.access & KEY_CREATE_SUB_KEY) == 0)
        return ERROR_ACCESS_DENIED;
    found.node = &reg.root(false).create(found.below.path, found.created);
    return ERROR_SUCCESS;
}

// Runs the operation under the lock on the key of a handle that has the rights it needs.
template <typename Operation>
LSTATUS onKey(HKEY key, REGSAM needed, Operation operation) {
    Registry& reg = registry();
    std::lock_guard guard(reg.lock);
    OpenKey open;
    if (const LSTATUS status = reg.resolve(key, open); status != ERROR_SUCCESS)
        return status;
    if ((open.access & needed) != needed)
        return ERROR_ACCESS_DENIED;
    RegistryKey* node = reg.find(open);
    return node != nullptr ? operation(reg, *node) : ERROR_KEY_DELETED;
}

// Runs the operation under the lock on a subkey, made first when create is set and it is missing.
template <typename Operation>
LSTATUS onSubkey(HKEY key, LPCWSTR subKey, bool create, Operation operation) {
    Registry& reg = registry();
    std::lock_guard guard(reg.lock);
    Lookup found;
    const LSTATUS status =
        create ? createBelow(reg, key, subKey, found) : existingBelow(reg, key, subKey, found);
    return status == ERROR_SUCCESS ? operation(reg, found) : status;
}

// The characters of a string value up to its first terminator.
bool stringOf(const RegistryValue& value, std::wstring& text) {
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ)
        return false;
    text.assign(value.data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), value.data.data(), text.size() * sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    return true;
}

// Opens the subkey, or with disposition, creates it unless it exists and says which it did.
LSTATUS openKey(HKEY key, LPCWSTR subKey, REGSAM access, PHKEY result, DWORD* disposition) {
    if (result == nullptr)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    return onSubkey(key, subKey, disposition != nullptr, [&](Registry& reg, Lookup& found) {
        if (found.below.classes && (access & kWriteRights) != 0)
            return LSTATUS{ERROR_ACCESS_DENIED};
        if (found.created)
            reg.save();
        if (disposition != nullptr)
            *disposition = found.created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        found.below.access = access;
        *result = reg.add(std::move(found.below));
        return LSTATUS{ERROR_SUCCESS};
    });
}

} // namespace

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM access, PHKEY result) {
    return openKey(key, subKey, access, result, nullptr);
}

LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM access,
                        LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    DWORD made = 0;
    const LSTATUS status = openKey(key, subKey, access, result, &made);
    if (status == ERROR_SUCCESS && disposition != nullptr)
        *disposition = made;
    return status;
}

LSTATUS RegCloseKey(HKEY key) {
    if (key == HKEY_CURRENT_USER || key == HKEY_CLASSES_ROOT)
        return ERROR_SUCCESS;
    Registry& reg = registry();
    std::lock_guard guard(reg.lock);
    return reg.remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data,
                         LPDWORD dataSize) {
    if (data != nullptr && dataSize == nullptr)
        return ERROR_INVALID_PARAMETER;
    return onKey(key, KEY_QUERY_VALUE, [&](Registry&, RegistryKey& node) {
        const RegistryValue* value = node.value(valueName(name));
        if (value == nullptr)
            return LSTATUS{ERROR_FILE_NOT_FOUND};
        if (type != nullptr)
            *type = value->type;
        if (dataSize == nullptr)
            return LSTATUS{ERROR_SUCCESS};
        const auto size = static_cast<DWORD>(value->data.size());
        const DWORD room = *dataSize;
        *dataSize = size;
        if (data != nullptr && room < size)
            return LSTATUS{ERROR_MORE_DATA};
        if (data != nullptr)
            std::memcpy(data, value->data.data(), size);
        return LSTATUS{ERROR_SUCCESS};
    });
}

LSTATUS RegSetValueExW(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data,
                       DWORD dataSize) {
    if ((data == nullptr && dataSize != 0) || dataSize > kLargestValue ||
        valueName(name).size() > kLongestValueName)
        return ERROR_INVALID_PARAMETER;
    return onKey(key, KEY_SET_VALUE, [&](Registry& reg, RegistryKey& node) {
        node.setValue(RegistryValue{valueName(name), type,
                                    std::vector<BYTE>(data, data + (data ? dataSize : 0))});
        reg.save();
        return LSTATUS{ERROR_SUCCESS};
    });
}

LSTATUS RegQueryValueW(HKEY key, LPCWSTR subKey, LPWSTR data, PLONG dataSize) {
    if (dataSize == nullptr || *dataSize < 0)
        return ERROR_INVALID_PARAMETER;
    return onSubkey(key, subKey, false, [&](Registry&, Lookup& found) {
        // A subkey is opened for the query; the key itself must have been opened for one.
        if (found.below.path.size() == found.base.path.size() &&
            (found.base.access & KEY_QUERY_VALUE) == 0)
            return LSTATUS{ERROR_ACCESS_DENIED};
        std::wstring text;
        if (const RegistryValue* value = found.node->value(L"");
            value != nullptr && !stringOf(*value, text))
            return LSTATUS{ERROR_INVALID_DATA};
        const auto size = static_cast<LONG>((text.size() + 1) * sizeof(wchar_t));
        const LONG room = *dataSize;
        *dataSize = size;
        if (data == nullptr)
            return LSTATUS{ERROR_SUCCESS};
        if (room < size) {
            // Whoever reads the buffer regardless finds an empty text, not a stale one.
            if (room >= static_cast<LONG>(sizeof(wchar_t)))
                data[0] = L'\0';
            return LSTATUS{ERROR_MORE_DATA};
        }
        std::memcpy(data, text.c_str(), static_cast<std::size_t>(size));
        return LSTATUS{ERROR_SUCCESS};
    });
}

LSTATUS RegSetValueW(HKEY key, LPCWSTR subKey, DWORD type, LPCWSTR data, DWORD) {
    if (type != REG_SZ || data == nullptr)
        return ERROR_INVALID_PARAMETER;
    return onSubkey(key, subKey, true, [&](Registry& reg, Lookup& found) {
        const bool itself = found.below.path.size() == found.base.path.size();
        if (found.below.classes || (itself && (found.base.access & KEY_SET_VALUE) == 0))
            return LSTATUS{ERROR_ACCESS_DENIED};
        found.node->setValue(stringValue(L"", data));
        reg.save();
        return LSTATUS{ERROR_SUCCESS};
    });
}

LSTATUS RegDeleteValueW(HKEY key, LPCWSTR name) {
    return onKey(key, KEY_SET_VALUE, [&](Registry& reg, RegistryKey& node) {
        if (!node.removeValue(valueName(name)))
            return LSTATUS{ERROR_FILE_NOT_FOUND};
        reg.save();
        return LSTATUS{ERROR_SUCCESS};
    });
}

LSTATUS RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
    if (subKey == nullptr || *subKey == L'\0')
        return ERROR_INVALID_PARAMETER;
    return onSubkey(key, subKey, false, [&](Registry& reg, Lookup& found) {
        if (found.below.classes || found.node->hasChildren())
            return LSTATUS{ERROR_ACCESS_DENIED};
        const std::wstring name = found.below.path.back();
        found.below.path.pop_back();
        reg.find(found.below)->removeChild(name);
        reg.save();
        return LSTATUS{ERROR_SUCCESS};
    });
}

void svRegistryForget() {
    Registry& reg = registry();
    std::lock_guard guard(reg.lock);
    reg.forget();
}

std::wstring svConfigurationFolder() {
    return svFromUtf8(configurationFolder());
}
