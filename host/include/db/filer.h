#pragma once

#include <cstddef>

#include "db/objectid.h"
#include "rx/object.h"

#pragma GCC visibility push(default)

// What an object's dwgOutFields writes to and its dwgInFields reads from. Every call answers the
// filer's status; after the first failure the status stays and further reads give zeros.
class AcDbDwgFiler : public AcRxObject {
public:
    ~AcDbDwgFiler() override;

    virtual Acad::ErrorStatus filerStatus() const = 0;
    virtual AcDb::FilerType filerType() const = 0;
    virtual void setFilerStatus(Acad::ErrorStatus status) = 0;
    virtual void resetFilerStatus() = 0;

    virtual Acad::ErrorStatus readHardOwnershipId(AcDbObjectId* id) = 0;
    virtual Acad::ErrorStatus writeHardOwnershipId(const AcDbObjectId& id) = 0;
    virtual Acad::ErrorStatus readSoftOwnershipId(AcDbObjectId* id) = 0;
    virtual Acad::ErrorStatus writeSoftOwnershipId(const AcDbObjectId& id) = 0;
    virtual Acad::ErrorStatus readHardPointerId(AcDbObjectId* id) = 0;
    virtual Acad::ErrorStatus writeHardPointerId(const AcDbObjectId& id) = 0;
    virtual Acad::ErrorStatus readSoftPointerId(AcDbObjectId* id) = 0;
    virtual Acad::ErrorStatus writeSoftPointerId(const AcDbObjectId& id) = 0;

    virtual Acad::ErrorStatus readInt8(Adesk::Int8* value) = 0;
    virtual Acad::ErrorStatus writeInt8(Adesk::Int8 value) = 0;
    virtual Acad::ErrorStatus readUInt8(Adesk::UInt8* value) = 0;
    virtual Acad::ErrorStatus writeUInt8(Adesk::UInt8 value) = 0;
    virtual Acad::ErrorStatus readInt16(Adesk::Int16* value) = 0;
    virtual Acad::ErrorStatus writeInt16(Adesk::Int16 value) = 0;
    virtual Acad::ErrorStatus readUInt16(Adesk::UInt16* value) = 0;
    virtual Acad::ErrorStatus writeUInt16(Adesk::UInt16 value) = 0;
    virtual Acad::ErrorStatus readInt32(Adesk::Int32* value) = 0;
    virtual Acad::ErrorStatus writeInt32(Adesk::Int32 value) = 0;
    virtual Acad::ErrorStatus readUInt32(Adesk::UInt32* value) = 0;
    virtual Acad::ErrorStatus writeUInt32(Adesk::UInt32 value) = 0;
    virtual Acad::ErrorStatus readInt64(Adesk::Int64* value) = 0;
    virtual Acad::ErrorStatus writeInt64(Adesk::Int64 value) = 0;
    virtual Acad::ErrorStatus readUInt64(Adesk::UInt64* value) = 0;
    virtual Acad::ErrorStatus writeUInt64(Adesk::UInt64 value) = 0;
    virtual Acad::ErrorStatus readDouble(double* value) = 0;
    virtual Acad::ErrorStatus writeDouble(double value) = 0;
    virtual Acad::ErrorStatus readBoolean(Adesk::Boolean* value) = 0;
    virtual Acad::ErrorStatus writeBoolean(Adesk::Boolean value) = 0;
    // The string is allocated by the host, also on failure (then empty); release it with
    // acutDelBuffer. A null string is written as an empty one.
    virtual Acad::ErrorStatus readString(wchar_t** value) = 0;
    virtual Acad::ErrorStatus writeString(const wchar_t* value) = 0;
    virtual Acad::ErrorStatus readBytes(void* buffer, Adesk::UIntPtr size) = 0;
    virtual Acad::ErrorStatus writeBytes(const void* buffer, Adesk::UIntPtr size) = 0;
};

// DXF filing; the host's objects do not file in DXF.
class AcDbDxfFiler : public AcRxObject {
public:
    ~AcDbDxfFiler() override;
    virtual Acad::ErrorStatus filerStatus() const = 0;
    virtual AcDb::FilerType filerType() const = 0;
};

// A DWG filer on a byte buffer in memory: writes append, reads go from the read position. Used
// for copies and undo; strings are stored as UTF-16LE and ids as they are in memory, so the bytes
// are meaningful only inside this process.
class AcDbMemoryFiler : public AcDbDwgFiler {
public:
    explicit AcDbMemoryFiler(AcDb::FilerType type = AcDb::kCopyFiler);
    // Reads from a copy of the given bytes.
    AcDbMemoryFiler(const void* data, std::size_t size, AcDb::FilerType type);
    // Reads the given bytes where they are: they must outlive the filer, which cannot be written.
    enum ReadInPlace { kReadInPlace };
    AcDbMemoryFiler(const void* data, std::size_t size, AcDb::FilerType type, ReadInPlace);
    ~AcDbMemoryFiler() override;
    AcDbMemoryFiler(const AcDbMemoryFiler&) = delete;
    AcDbMemoryFiler& operator=(const AcDbMemoryFiler&) = delete;

    // Reads start over from the first byte; the status is reset.
    void rewind();
    // Room for this many bytes written, so that a large record grows without copies.
    void reserve(std::size_t bytes);
    // Forgets the bytes written, keeping their room for the next; reads start over. A filer
    // reading in place keeps its bytes.
    void clear();
    const unsigned char* data() const;
    std::size_t size() const;
    std::size_t position() const;
    std::size_t remaining() const;
    // Moves the read position on without reading; past the end is eEndOfFile.
    Acad::ErrorStatus skip(std::size_t size);

    Acad::ErrorStatus filerStatus() const override;
    AcDb::FilerType filerType() const override;
    void setFilerStatus(Acad::ErrorStatus status) override;
    void resetFilerStatus() override;

    Acad::ErrorStatus readHardOwnershipId(AcDbObjectId* id) override;
    Acad::ErrorStatus writeHardOwnershipId(const AcDbObjectId& id) override;
    Acad::ErrorStatus readSoftOwnershipId(AcDbObjectId* id) override;
    Acad::ErrorStatus writeSoftOwnershipId(const AcDbObjectId& id) override;
    Acad::ErrorStatus readHardPointerId(AcDbObjectId* id) override;
    Acad::ErrorStatus writeHardPointerId(const AcDbObjectId& id) override;
    Acad::ErrorStatus readSoftPointerId(AcDbObjectId* id) override;
    Acad::ErrorStatus writeSoftPointerId(const AcDbObjectId& id) override;

    Acad::ErrorStatus readInt8(Adesk::Int8* value) override;
    Acad::ErrorStatus writeInt8(Adesk::Int8 value) override;
    Acad::ErrorStatus readUInt8(Adesk::UInt8* value) override;
    Acad::ErrorStatus writeUInt8(Adesk::UInt8 value) override;
    Acad::ErrorStatus readInt16(Adesk::Int16* value) override;
    Acad::ErrorStatus writeInt16(Adesk::Int16 value) override;
    Acad::ErrorStatus readUInt16(Adesk::UInt16* value) override;
    Acad::ErrorStatus writeUInt16(Adesk::UInt16 value) override;
    Acad::ErrorStatus readInt32(Adesk::Int32* value) override;
    Acad::ErrorStatus writeInt32(Adesk::Int32 value) override;
    Acad::ErrorStatus readUInt32(Adesk::UInt32* value) override;
    Acad::ErrorStatus writeUInt32(Adesk::UInt32 value) override;
    Acad::ErrorStatus readInt64(Adesk::Int64* value) override;
    Acad::ErrorStatus writeInt64(Adesk::Int64 value) override;
    Acad::ErrorStatus readUInt64(Adesk::UInt64* value) override;
    Acad::ErrorStatus writeUInt64(Adesk::UInt64 value) override;
    Acad::ErrorStatus readDouble(double* value) override;
    Acad::ErrorStatus writeDouble(double value) override;
    Acad::ErrorStatus readBoolean(Adesk::Boolean* value) override;
    Acad::ErrorStatus writeBoolean(Adesk::Boolean value) override;
    Acad::ErrorStatus readString(wchar_t** value) override;
    Acad::ErrorStatus writeString(const wchar_t* value) override;
    Acad::ErrorStatus readBytes(void* buffer, Adesk::UIntPtr size) override;
    Acad::ErrorStatus writeBytes(const void* buffer, Adesk::UIntPtr size) override;

protected:
    enum IdKind { kHardOwnership, kSoftOwnership, kHardPointer, kSoftPointer };
    // How an id is stored; a filer for files stores handles instead.
    virtual Acad::ErrorStatus writeId(const AcDbObjectId& id, IdKind kind);
    virtual Acad::ErrorStatus readId(AcDbObjectId* id, IdKind kind);
    Acad::ErrorStatus writeRaw(const void* bytes, std::size_t size);
    Acad::ErrorStatus readRaw(void* bytes, std::size_t size);

private:
    struct Data;
    Data* m_data;
};

#pragma GCC visibility pop
