#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "win/types.h"

struct RegistryValue {
    std::wstring name; // as first written
    DWORD type = 0;
    std::vector<BYTE> data;
};

// One key: its subkeys and values, both found without regard to case and kept in name order.
class RegistryKey {
public:
    explicit RegistryKey(std::wstring name = {}) : m_name(std::move(name)) {}

    const std::wstring& name() const { return m_name; }

    // Null when some part of the path is missing.
    RegistryKey* find(const std::vector<std::wstring>& path);
    // The key at the path, made with its parents when missing; created tells which.
    RegistryKey& create(const std::vector<std::wstring>& path, bool& created);
    RegistryKey* child(const std::wstring& name);
    bool removeChild(const std::wstring& name);
    bool hasChildren() const { return !m_children.empty(); }

    const RegistryValue* value(const std::wstring& name) const;
    // Replaces a value of the same name, keeping the name's first spelling.
    void setValue(RegistryValue value);
    bool removeValue(const std::wstring& name);

    template <typename Visit>
    void forEachChild(Visit visit) const {
        for (const auto& [folded, key] : m_children)
            visit(*key);
    }
    template <typename Visit>
    void forEachValue(Visit visit) const {
        for (const auto& [folded, value] : m_values)
            visit(value);
    }

private:
    std::wstring m_name;
    std::map<std::wstring, std::unique_ptr<RegistryKey>> m_children; // by folded name
    std::map<std::wstring, RegistryValue> m_values;                  // by folded name
};

// A REG_SZ value: the characters and their terminator.
RegistryValue stringValue(std::wstring name, const std::wstring& text);

// Not empty, no backslash, at most 255 characters.
bool validKeyName(const std::wstring& name);

// The parts of a '\\' separated subkey; false when a part is not a valid key name. A null or empty
// subkey has no parts.
bool splitKeyPath(const wchar_t* subKey, std::vector<std::wstring>& parts);
