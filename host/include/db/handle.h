#pragma once

#include <cstddef>

#include "db/types.h"

#pragma GCC visibility push(default)

// The persistent name of an object in its drawing: unique within the database, never reused,
// kept across save and load.
class AcDbHandle {
public:
    AcDbHandle() = default;
    AcDbHandle(Adesk::UInt64 value) : m_value(value) {}
    // From hexadecimal text; anything that is not a hexadecimal number gives the null handle.
    explicit AcDbHandle(const wchar_t* hex);

    bool isNull() const { return m_value == 0; }
    void setNull() { m_value = 0; }
    Adesk::UInt64 value() const { return m_value; }
    Adesk::UInt32 low() const { return static_cast<Adesk::UInt32>(m_value); }
    Adesk::UInt32 high() const { return static_cast<Adesk::UInt32>(m_value >> 32); }
    // Upper-case hexadecimal without leading zeros ("0" for null); false when it does not fit.
    bool getIntoAsciiBuffer(wchar_t* buffer, std::size_t length) const;

    AcDbHandle& operator++() {
        ++m_value;
        return *this;
    }
    bool operator==(const AcDbHandle& other) const { return m_value == other.m_value; }
    bool operator!=(const AcDbHandle& other) const { return m_value != other.m_value; }
    bool operator<(const AcDbHandle& other) const { return m_value < other.m_value; }
    bool operator>(const AcDbHandle& other) const { return m_value > other.m_value; }

private:
    Adesk::UInt64 m_value = 0;
};

#pragma GCC visibility pop
