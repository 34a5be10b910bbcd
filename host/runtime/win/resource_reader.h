#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "win/dialog_template.h"
#include "win/resource_status.h"
#include "win/types.h"

// Little-endian reads from resource bytes that never pass their end. Offsets count from the
// start of the data, which is what template alignment is relative to.
class SvResourceReader {
public:
    SvResourceReader(const void* data, std::size_t size)
        : m_data(static_cast<const BYTE*>(data)), m_size(data != nullptr ? size : 0) {}

    std::size_t offset() const { return m_at; }
    std::size_t remaining() const { return m_size - m_at; }
    const BYTE* here() const { return m_data + m_at; }

    bool skip(std::size_t count) {
        if (count > remaining())
            return false;
        m_at += count;
        return true;
    }
    bool alignTo(std::size_t boundary) {
        const std::size_t over = m_at % boundary;
        return over == 0 || skip(boundary - over);
    }
    template <typename T>
    bool peek(T& value) const {
        if (sizeof(T) > remaining())
            return false;
        std::memcpy(&value, m_data + m_at, sizeof(T));
        return true;
    }
    template <typename T>
    bool read(T& value) {
        if (!peek(value))
            return false;
        m_at += sizeof(T);
        return true;
    }

    // A terminated UTF-16 text, surrogate pairs joined into one character.
    SvResStatus text(std::wstring& out) {
        out.clear();
        for (;;) {
            WORD unit = 0;
            if (!read(unit))
                return SvResStatus::UnterminatedString;
            if (unit == 0)
                return SvResStatus::Ok;
            WORD low = 0;
            if (unit >= 0xD800 && unit < 0xDC00 && peek(low) && low >= 0xDC00 && low < 0xE000) {
                m_at += 2;
                out += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            } else {
                out += static_cast<wchar_t>(unit);
            }
        }
    }

    // A field holding nothing (0x0000), an ordinal (0xFFFF, then the ordinal) or a text.
    SvResStatus nameOrOrdinal(SvResName& out) {
        out = SvResName{};
        WORD first = 0;
        if (!peek(first))
            return SvResStatus::Truncated;
        if (first == 0xFFFF) {
            m_at += 2;
            out.isOrdinal = true;
            return read(out.ordinal) ? SvResStatus::Ok : SvResStatus::Truncated;
        }
        return text(out.text);
    }

private:
    const BYTE* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// Templates are read in place, so they must start on the boundary their format needs.
inline SvResStatus svCheckStart(const void* data, std::size_t boundary) {
    if (data == nullptr)
        return SvResStatus::Truncated;
    return reinterpret_cast<std::uintptr_t>(data) % boundary != 0 ? SvResStatus::Misaligned
                                                                  : SvResStatus::Ok;
}

// Reads with read(data, size, parsed), leaving parsed empty unless it succeeds, so a caller never
// sees half of damaged data.
template <typename Parsed, typename Read>
SvResStatus svReadWhole(const void* data, std::size_t size, Parsed& parsed, Read read) {
    parsed = Parsed{};
    const SvResStatus status = read(data, size, parsed);
    if (status != SvResStatus::Ok)
        parsed = Parsed{};
    return status;
}
