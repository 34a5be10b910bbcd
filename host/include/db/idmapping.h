#pragma once

#include <unordered_map>
#include <vector>

#include "acad/status.h"
#include "db/objectid.h"

#pragma GCC visibility push(default)

// One object of a deep clone: the original (key) and its copy (value).
class AcDbIdPair {
public:
    AcDbIdPair() = default;
    AcDbIdPair(AcDbObjectId key, AcDbObjectId value, bool isCloned, bool isPrimary = false)
        : m_key(key), m_value(value), m_cloned(isCloned), m_primary(isPrimary) {}

    AcDbObjectId key() const { return m_key; }
    AcDbObjectId value() const { return m_value; }
    bool isCloned() const { return m_cloned; }
    // One of the objects the clone was asked for, not one they own.
    bool isPrimary() const { return m_primary; }
    void setKey(AcDbObjectId key) { m_key = key; }
    void setValue(AcDbObjectId value) { m_value = value; }
    void setIsCloned(bool isCloned) { m_cloned = isCloned; }
    void setIsPrimary(bool isPrimary) { m_primary = isPrimary; }

private:
    AcDbObjectId m_key;
    AcDbObjectId m_value;
    bool m_cloned = false;
    bool m_primary = false;
};

class AcDbIdMappingIter;

// The originals of a deep clone and their copies, in the order they were cloned.
class AcDbIdMapping {
public:
    AcDbIdMapping() = default;
    AcDbIdMapping(const AcDbIdMapping&) = delete;
    AcDbIdMapping& operator=(const AcDbIdMapping&) = delete;

    // A key given again replaces its pair.
    Acad::ErrorStatus assign(const AcDbIdPair& pair);
    // Fills the pair of the key the given one holds; false when the key is not mapped.
    bool compute(AcDbIdPair& pair) const;
    // The copy of an original that was cloned; the id itself otherwise.
    AcDbObjectId translated(AcDbObjectId id) const;

private:
    friend class AcDbIdMappingIter;
    std::vector<AcDbIdPair> m_pairs;
    std::unordered_map<AcDbObjectId, std::size_t> m_index;
};

class AcDbIdMappingIter {
public:
    explicit AcDbIdMappingIter(const AcDbIdMapping& map) : m_map(map) {}

    void start() { m_at = 0; }
    bool done() const { return m_at >= m_map.m_pairs.size(); }
    void next() { ++m_at; }
    bool getMap(AcDbIdPair& pair) const;

private:
    const AcDbIdMapping& m_map;
    std::size_t m_at = 0;
};

#pragma GCC visibility pop
