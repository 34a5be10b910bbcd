#include "shell/registry_tree.h"

#include <cwctype>

#include "shell/registry.h"

namespace {

constexpr std::size_t kMaxKeyNameLength = 255;

std::wstring folded(const std::wstring& name) {
    std::wstring out = name;
    for (wchar_t& c : out)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

} // namespace

RegistryKey* RegistryKey::child(const std::wstring& name) {
    const auto found = m_children.find(folded(name));
    return found == m_children.end() ? nullptr : found->second.get();
}

RegistryKey* RegistryKey::find(const std::vector<std::wstring>& path) {
    RegistryKey* key = this;
    for (const std::wstring& part : path) {
        key = key->child(part);
        if (key == nullptr)
            return nullptr;
    }
    return key;
}

RegistryKey& RegistryKey::create(const std::vector<std::wstring>& path, bool& created) {
    created = false;
    RegistryKey* key = this;
    for (const std::wstring& part : path) {
        auto& slot = key->m_children[folded(part)];
        if (!slot) {
            slot = std::make_unique<RegistryKey>(part);
            created = true;
        }
        key = slot.get();
    }
    return *key;
}

bool RegistryKey::removeChild(const std::wstring& name) {
    return m_children.erase(folded(name)) > 0;
}

const RegistryValue* RegistryKey::value(const std::wstring& name) const {
    const auto found = m_values.find(folded(name));
    return found == m_values.end() ? nullptr : &found->second;
}

void RegistryKey::setValue(RegistryValue value) {
    auto [slot, inserted] = m_values.try_emplace(folded(value.name));
    if (!inserted)
        value.name = slot->second.name;
    slot->second = std::move(value);
}

bool RegistryKey::removeValue(const std::wstring& name) {
    return m_values.erase(folded(name)) > 0;
}

RegistryValue stringValue(std::wstring name, const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return RegistryValue{std::move(name), REG_SZ,
                         std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}

bool validKeyName(const std::wstring& name) {
    return !name.empty() && name.size() <= kMaxKeyNameLength &&
           name.find(L'\\') == std::wstring::npos;
}

bool splitKeyPath(const wchar_t* subKey, std::vector<std::wstring>& parts) {
    parts.clear();
    if (subKey == nullptr || *subKey == L'\0')
        return true;
    std::wstring part;
    for (const wchar_t* c = subKey;; ++c) {
        if (*c == L'\\' || *c == L'\0') {
            if (!validKeyName(part))
                return false;
            parts.push_back(std::move(part));
            part.clear();
            if (*c == L'\0')
                return true;
        } else {
            part += *c;
        }
    }
}
