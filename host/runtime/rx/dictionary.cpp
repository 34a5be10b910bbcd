#include "rx/dictionary.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct AcRxDictionary::Data {
    struct Entry {
        AcRxObject* object;
        std::uint64_t sequence;
    };
    bool deleteObjects;
    std::uint64_t nextSequence = 0;
    std::map<std::wstring, Entry, std::less<>> entries;
};

SV_RX_DEFINE_MEMBERS(AcRxDictionary, newAcRxClass(L"AcRxDictionary", L"AcRxObject"))

AcRxDictionary::AcRxDictionary(bool deleteObjects) : m_data(new Data{deleteObjects, 0, {}}) {}

AcRxDictionary::~AcRxDictionary() {
    if (m_data->deleteObjects) {
        for (auto& [key, entry] : m_data->entries)
            delete entry.object;
    }
    delete m_data;
}

AcRxObject* AcRxDictionary::at(const wchar_t* key) const {
    if (key == nullptr)
        return nullptr;
    auto found = m_data->entries.find(std::wstring_view(key));
    return found == m_data->entries.end() ? nullptr : found->second.object;
}

AcRxObject* AcRxDictionary::atPut(const wchar_t* key, AcRxObject* object) {
    if (key == nullptr)
        return nullptr;
    auto [it, inserted] = m_data->entries.try_emplace(key, Data::Entry{object, 0});
    if (inserted) {
        it->second.sequence = m_data->nextSequence++;
        return nullptr;
    }
    return std::exchange(it->second.object, object);
}

AcRxObject* AcRxDictionary::remove(const wchar_t* key) {
    if (key == nullptr)
        return nullptr;
    auto found = m_data->entries.find(std::wstring_view(key));
    if (found == m_data->entries.end())
        return nullptr;
    AcRxObject* object = found->second.object;
    m_data->entries.erase(found);
    return object;
}

bool AcRxDictionary::has(const wchar_t* key) const {
    return key != nullptr && m_data->entries.contains(std::wstring_view(key));
}

std::uint32_t AcRxDictionary::numEntries() const {
    return static_cast<std::uint32_t>(m_data->entries.size());
}

bool AcRxDictionary::deletesObjects() const {
    return m_data->deleteObjects;
}

AcRxDictionaryIterator* AcRxDictionary::newIterator(AcRx::DictIterType type) const {
    return new AcRxDictionaryIterator(this, type);
}

struct AcRxDictionaryIterator::Data {
    const AcRxDictionary* owner;
    std::vector<std::wstring> keys;
    std::size_t position = 0;
};

SV_RX_DEFINE_MEMBERS(AcRxDictionaryIterator, newAcRxClass(L"AcRxDictionaryIterator", L"AcRxObject"))

AcRxDictionaryIterator::AcRxDictionaryIterator(const AcRxDictionary* owner, AcRx::DictIterType type)
    : m_data(new Data{owner, {}, 0}) {
    // The map keeps keys sorted; insertion order is recovered from the entries' sequence numbers.
    std::vector<std::pair<std::uint64_t, const std::wstring*>> order;
    for (const auto& [key, entry] : owner->m_data->entries)
        order.emplace_back(entry.sequence, &key);
    if (type == AcRx::kDictCollated)
        std::sort(order.begin(), order.end());
    m_data->keys.reserve(order.size());
    for (const auto& item : order)
        m_data->keys.push_back(*item.second);
}

AcRxDictionaryIterator::~AcRxDictionaryIterator() {
    delete m_data;
}

void AcRxDictionaryIterator::skipRemoved() {
    while (m_data->position < m_data->keys.size() &&
           !m_data->owner->has(m_data->keys[m_data->position].c_str()))
        ++m_data->position;
}

bool AcRxDictionaryIterator::done() const {
    return m_data->position >= m_data->keys.size();
}

bool AcRxDictionaryIterator::next() {
    if (done())
        return false;
    ++m_data->position;
    skipRemoved();
    return !done();
}

const wchar_t* AcRxDictionaryIterator::key() const {
    return done() ? nullptr : m_data->keys[m_data->position].c_str();
}

AcRxObject* AcRxDictionaryIterator::object() const {
    return done() ? nullptr : m_data->owner->at(key());
}
