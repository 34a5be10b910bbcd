#include <algorithm>
#include <cstring>
#include <cwchar>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <type_traits>

#include "db/acutbuffer.h"
#include "db/filer.h"
#include "internal.h"

AcDbDwgFiler::~AcDbDwgFiler() = default;
AcDbDxfFiler::~AcDbDxfFiler() = default;

struct AcDbMemoryFiler::Data {
    // Written bytes: `used` of `room`. Not a vector, as a vector cannot grow without first
    // zeroing what is about to be written, and fields come a few bytes at a time.
    std::unique_ptr<unsigned char[]> buffer;
    std::size_t used = 0;
    std::size_t room = 0;
    const unsigned char* view = nullptr; // bytes read in place, when given
    std::size_t viewSize = 0;
    std::size_t pos = 0;
    const unsigned char* base() const { return view != nullptr ? view : buffer.get(); }
    std::size_t size() const { return view != nullptr ? viewSize : used; }
    Acad::ErrorStatus status = Acad::eOk;
    AcDb::FilerType type;

    void makeRoom(std::size_t total) {
        if (total <= room)
            return;
        // An object's fields come a few bytes at a time: room for a typical record at once
        // spares the doublings up to it (undo takes a copy of every object changed).
        const std::size_t grown = std::max({total, 2 * room, std::size_t{256}});
        std::unique_ptr<unsigned char[]> larger(new unsigned char[grown]);
        if (used > 0)
            std::memcpy(larger.get(), buffer.get(), used);
        buffer = std::move(larger);
        room = grown;
    }
    // Where `size` more bytes go; they count as written.
    unsigned char* extend(std::size_t size) {
        if (size > room - used) {
            if (size > std::numeric_limits<std::size_t>::max() / 2 - used)
                throw std::bad_alloc(); // as a vector this large would have
            makeRoom(used + size);
        }
        unsigned char* at = buffer.get() + used;
        used += size;
        return at;
    }
    // Whether writes may go on: a failed filer stays failed, and bytes read in place are not
    // ours to extend.
    bool writable() {
        if (status == Acad::eOk && view != nullptr)
            status = Acad::eNotApplicable;
        return status == Acad::eOk;
    }
};

AcDbMemoryFiler::AcDbMemoryFiler(AcDb::FilerType type) : m_data(new Data) {
    m_data->type = type;
}

AcDbMemoryFiler::AcDbMemoryFiler(const void* data, std::size_t size, AcDb::FilerType type)
    : AcDbMemoryFiler(type) {
    if (size > 0) {
        std::memcpy(m_data->extend(size), data, size);
    }
}

AcDbMemoryFiler::AcDbMemoryFiler(const void* data, std::size_t size, AcDb::FilerType type,
                                 ReadInPlace)
    : AcDbMemoryFiler(type) {
    m_data->view = size > 0 ? static_cast<const unsigned char*>(data) : nullptr;
    m_data->viewSize = size;
}

AcDbMemoryFiler::~AcDbMemoryFiler() {
    delete m_data;
}

void AcDbMemoryFiler::rewind() {
    m_data->pos = 0;
    m_data->status = Acad::eOk;
}

const unsigned char* AcDbMemoryFiler::data() const {
    return m_data->base();
}
std::size_t AcDbMemoryFiler::size() const {
    return m_data->size();
}
std::size_t AcDbMemoryFiler::position() const {
    return m_data->pos;
}
std::size_t AcDbMemoryFiler::remaining() const {
    return m_data->size() - m_data->pos;
}

Acad::ErrorStatus AcDbMemoryFiler::skip(std::size_t size) {
    if (m_data->status == Acad::eOk && size > remaining())
        m_data->status = Acad::eEndOfFile;
    if (m_data->status == Acad::eOk)
        m_data->pos += size;
    return m_data->status;
}

Acad::ErrorStatus AcDbMemoryFiler::filerStatus() const {
    return m_data->status;
}
AcDb::FilerType AcDbMemoryFiler::filerType() const {
    return m_data->type;
}
void AcDbMemoryFiler::setFilerStatus(Acad::ErrorStatus status) {
    m_data->status = status;
}
void AcDbMemoryFiler::resetFilerStatus() {
    m_data->status = Acad::eOk;
}

void AcDbMemoryFiler::reserve(std::size_t bytes) {
    if (m_data->view == nullptr)
        m_data->makeRoom(bytes);
}

void AcDbMemoryFiler::clear() {
    m_data->used = 0;
    m_data->pos = 0;
}

Acad::ErrorStatus AcDbMemoryFiler::writeRaw(const void* bytes, std::size_t size) {
    if (!m_data->writable())
        return m_data->status;
    if (size > 0)
        std::memcpy(m_data->extend(size), bytes, size);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMemoryFiler::readRaw(void* bytes, std::size_t size) {
    if (m_data->status == Acad::eOk && size > remaining())
        m_data->status = Acad::eEndOfFile;
    if (m_data->status != Acad::eOk) {
        if (size > 0)
            std::memset(bytes, 0, size);
        return m_data->status;
    }
    if (size > 0)
        std::memcpy(bytes, m_data->base() + m_data->pos, size);
    m_data->pos += size;
    return Acad::eOk;
}

namespace {

// Little-endian whatever the machine.
template <class T, class Data>
Acad::ErrorStatus writeLittle(Data& d, T value) {
    if (!d.writable())
        return d.status;
    using U = std::make_unsigned_t<T>;
    auto u = static_cast<U>(value);
    unsigned char* out = d.extend(sizeof(T));
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out[i] = static_cast<unsigned char>(static_cast<std::uint64_t>(u) >> (8 * i));
    return Acad::eOk;
}

// Past the end reads as 0 and leaves eEndOfFile, as a short read does.
template <class T, class Data>
Acad::ErrorStatus readLittle(Data& d, T* value) {
    using U = std::make_unsigned_t<T>;
    std::uint64_t u = 0;
    if (d.status == Acad::eOk && sizeof(T) > d.size() - d.pos)
        d.status = Acad::eEndOfFile;
    if (d.status == Acad::eOk) {
        const unsigned char* in = d.base() + d.pos;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            u |= static_cast<std::uint64_t>(in[i]) << (8 * i);
        d.pos += sizeof(T);
    }
    if (value != nullptr)
        *value = static_cast<T>(static_cast<U>(u));
    return d.status;
}

} // namespace

#define SV_FILER_INTEGER(NAME, TYPE)                                                               \
    Acad::ErrorStatus AcDbMemoryFiler::write##NAME(TYPE value) {                                   \
        return writeLittle(*m_data, value);                                                        \
    }                                                                                              \
    Acad::ErrorStatus AcDbMemoryFiler::read##NAME(TYPE* value) {                                   \
        return readLittle(*m_data, value);                                                         \
    }

SV_FILER_INTEGER(Int8, Adesk::Int8)
SV_FILER_INTEGER(UInt8, Adesk::UInt8)
SV_FILER_INTEGER(Int16, Adesk::Int16)
SV_FILER_INTEGER(UInt16, Adesk::UInt16)
SV_FILER_INTEGER(Int32, Adesk::Int32)
SV_FILER_INTEGER(UInt32, Adesk::UInt32)
SV_FILER_INTEGER(Int64, Adesk::Int64)
SV_FILER_INTEGER(UInt64, Adesk::UInt64)

#undef SV_FILER_INTEGER

Acad::ErrorStatus AcDbMemoryFiler::writeDouble(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return writeLittle(*m_data, bits);
}

Acad::ErrorStatus AcDbMemoryFiler::readDouble(double* value) {
    std::uint64_t bits = 0;
    const Acad::ErrorStatus es = readLittle(*m_data, &bits);
    if (value != nullptr)
        std::memcpy(value, &bits, sizeof bits);
    return es;
}

Acad::ErrorStatus AcDbMemoryFiler::writeBoolean(Adesk::Boolean value) {
    return writeLittle(*m_data, static_cast<Adesk::UInt8>(value ? 1 : 0));
}

Acad::ErrorStatus AcDbMemoryFiler::readBoolean(Adesk::Boolean* value) {
    Adesk::UInt8 byte = 0;
    const Acad::ErrorStatus es = readLittle(*m_data, &byte);
    if (value != nullptr)
        *value = byte != 0;
    return es;
}

// UTF-16LE, written where it goes; a code point past Unicode is written as U+FFFD.
Acad::ErrorStatus AcDbMemoryFiler::writeString(const wchar_t* value) {
    const wchar_t* text = value != nullptr ? value : L"";
    const std::size_t length = std::wcslen(text);
    auto paired = [](std::uint32_t c) { return c >= 0x10000 && c <= 0x10FFFF; };
    std::size_t units = length;
    for (std::size_t i = 0; i < length; ++i)
        units += paired(static_cast<std::uint32_t>(text[i])) ? 1 : 0;
    if (writeLittle(*m_data, static_cast<Adesk::UInt32>(units)) != Acad::eOk)
        return m_data->status;
    unsigned char* out = m_data->extend(2 * units);
    auto unit = [&out](std::uint32_t u) {
        *out++ = static_cast<unsigned char>(u & 0xFF);
        *out++ = static_cast<unsigned char>(u >> 8);
    };
    for (std::size_t i = 0; i < length; ++i) {
        auto c = static_cast<std::uint32_t>(text[i]);
        if (paired(c)) {
            c -= 0x10000;
            unit(0xD800 | (c >> 10));
            unit(0xDC00 | (c & 0x3FF));
        } else {
            unit(c > 0x10FFFF ? 0xFFFD : c);
        }
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbMemoryFiler::readString(wchar_t** value) {
    std::wstring text;
    Adesk::UInt32 units = 0;
    readLittle(*m_data, &units);
    // Checked before anything is allocated: a length can claim no more than the bytes left.
    if (m_data->status == Acad::eOk && units > remaining() / 2)
        m_data->status = Acad::eEndOfFile;
    if (m_data->status == Acad::eOk) {
        text = svDbDecodeUtf16(m_data->base() + m_data->pos, units);
        m_data->pos += std::size_t{units} * 2;
    }
    if (value != nullptr)
        *value = acutNewString(text.c_str());
    return m_data->status;
}

Acad::ErrorStatus AcDbMemoryFiler::writeBytes(const void* buffer, Adesk::UIntPtr size) {
    if (buffer == nullptr && size > 0) {
        m_data->status = Acad::eInvalidInput;
        return m_data->status;
    }
    return writeRaw(buffer, size);
}

Acad::ErrorStatus AcDbMemoryFiler::readBytes(void* buffer, Adesk::UIntPtr size) {
    if (buffer == nullptr && size > 0) {
        m_data->status = Acad::eInvalidInput;
        return m_data->status;
    }
    return readRaw(buffer, size);
}

Acad::ErrorStatus AcDbMemoryFiler::writeId(const AcDbObjectId& id, IdKind) {
    writeUInt64(SvDbAccess::serial(id));
    return writeUInt32(SvDbAccess::index(id));
}

Acad::ErrorStatus AcDbMemoryFiler::readId(AcDbObjectId* id, IdKind) {
    Adesk::UInt64 serial = 0;
    Adesk::UInt32 index = 0;
    readUInt64(&serial);
    const Acad::ErrorStatus es = readUInt32(&index);
    if (id != nullptr)
        *id = es == Acad::eOk ? SvDbAccess::makeId(serial, index) : AcDbObjectId();
    return es;
}

Acad::ErrorStatus AcDbMemoryFiler::readHardOwnershipId(AcDbObjectId* id) {
    return readId(id, kHardOwnership);
}
Acad::ErrorStatus AcDbMemoryFiler::writeHardOwnershipId(const AcDbObjectId& id) {
    return writeId(id, kHardOwnership);
}
Acad::ErrorStatus AcDbMemoryFiler::readSoftOwnershipId(AcDbObjectId* id) {
    return readId(id, kSoftOwnership);
}
Acad::ErrorStatus AcDbMemoryFiler::writeSoftOwnershipId(const AcDbObjectId& id) {
    return writeId(id, kSoftOwnership);
}
Acad::ErrorStatus AcDbMemoryFiler::readHardPointerId(AcDbObjectId* id) {
    return readId(id, kHardPointer);
}
Acad::ErrorStatus AcDbMemoryFiler::writeHardPointerId(const AcDbObjectId& id) {
    return writeId(id, kHardPointer);
}
Acad::ErrorStatus AcDbMemoryFiler::readSoftPointerId(AcDbObjectId* id) {
    return readId(id, kSoftPointer);
}
Acad::ErrorStatus AcDbMemoryFiler::writeSoftPointerId(const AcDbObjectId& id) {
    return writeId(id, kSoftPointer);
}
