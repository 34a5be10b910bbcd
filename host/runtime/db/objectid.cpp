#include <cwctype>

#include "db/acutbuffer.h"
#include "db/handle.h"
#include "db/objectid.h"
#include "internal.h"

namespace {

// Never destroyed: ids may be asked about while static objects go away at exit.
struct LiveDatabases {
    std::unordered_map<std::uint64_t, AcDbDatabase*> bySerial;
    std::uint64_t nextSerial = 1;
};

LiveDatabases& liveDatabases() {
    static auto* databases = new LiveDatabases;
    return *databases;
}

} // namespace

const AcDbObjectId AcDbObjectId::kNull;

namespace {
Adesk::UInt64 g_invalidations = 0;
}

Adesk::UInt64 svDbIdInvalidationCount() {
    return g_invalidations;
}

void svDbNoteInvalidation() {
    ++g_invalidations;
}

std::uint64_t svDbRegister(AcDbDatabase* db) {
    LiveDatabases& l = liveDatabases();
    const std::uint64_t serial = l.nextSerial++;
    l.bySerial.emplace(serial, db);
    return serial;
}

void svDbUnregister(std::uint64_t serial) {
    svDbNoteInvalidation();
    LiveDatabases& l = liveDatabases();
    l.bySerial.erase(serial);
    if (g_svDbLastLive.serial == serial)
        g_svDbLastLive = SvDbLastLive{};
}

std::vector<AcDbDatabase*> svDbLiveDatabases() {
    std::vector<AcDbDatabase*> all;
    for (const auto& [serial, db] : liveDatabases().bySerial)
        all.push_back(db);
    return all;
}

SvDbLastLive g_svDbLastLive;

AcDbDatabase* svDbFindLive(std::uint64_t serial) {
    if (serial == 0)
        return nullptr;
    LiveDatabases& l = liveDatabases();
    auto it = l.bySerial.find(serial);
    if (it == l.bySerial.end())
        return nullptr;
    g_svDbLastLive = SvDbLastLive{serial, it->second};
    return it->second;
}

SvDbSlot* svDbSlot(const AcDbObjectId& id) {
    AcDbDatabase* db = svDbLive(SvDbAccess::serial(id));
    if (db == nullptr)
        return nullptr;
    SvDbDatabaseData& d = SvDbAccess::impl(db);
    const std::uint32_t index = SvDbAccess::index(id);
    if (index >= d.slots.size())
        return nullptr;
    return &d.slots[index];
}

AcDbObject* svDbResolve(const AcDbObjectId& id) {
    SvDbSlot* slot = svDbSlot(id);
    return slot != nullptr ? slot->object : nullptr;
}

bool AcDbObjectId::isValid() const {
    return svDbResolve(*this) != nullptr;
}

bool AcDbObjectId::isErased() const {
    AcDbObject* obj = svDbResolve(*this);
    return obj != nullptr && SvDbAccess::data(obj).erased;
}

AcDbDatabase* AcDbObjectId::database() const {
    return svDbLive(m_db);
}

AcDbHandle AcDbObjectId::handle() const {
    SvDbSlot* slot = svDbSlot(*this);
    return slot != nullptr && slot->object != nullptr ? slot->handle : AcDbHandle();
}

AcDbHandle::AcDbHandle(const wchar_t* hex) {
    if (hex == nullptr || *hex == L'\0')
        return;
    Adesk::UInt64 value = 0;
    int digits = 0;
    for (const wchar_t* p = hex; *p != L'\0'; ++p) {
        int digit = 0;
        if (*p >= L'0' && *p <= L'9')
            digit = *p - L'0';
        else if (*p >= L'a' && *p <= L'f')
            digit = *p - L'a' + 10;
        else if (*p >= L'A' && *p <= L'F')
            digit = *p - L'A' + 10;
        else
            return;
        if (value == 0 && digit == 0)
            continue;
        if (++digits > 16)
            return;
        value = value << 4 | static_cast<Adesk::UInt64>(digit);
    }
    m_value = value;
}

bool AcDbHandle::getIntoAsciiBuffer(wchar_t* buffer, std::size_t length) const {
    wchar_t digits[17];
    int count = 0;
    Adesk::UInt64 value = m_value;
    do {
        digits[count++] = L"0123456789ABCDEF"[value & 0xF];
        value >>= 4;
    } while (value != 0);
    if (buffer == nullptr || length < static_cast<std::size_t>(count) + 1)
        return false;
    for (int i = 0; i < count; ++i)
        buffer[i] = digits[count - 1 - i];
    buffer[count] = L'\0';
    return true;
}

std::wstring svDbFold(const wchar_t* text) {
    std::wstring folded = text != nullptr ? text : L"";
    for (wchar_t& c : folded)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return folded;
}

std::wstring svDbDecodeUtf16(const unsigned char* bytes, std::size_t units) {
    std::wstring text;
    text.reserve(units);
    auto at = [bytes](std::size_t i) {
        return static_cast<std::uint32_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    };
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t c = at(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && at(i + 1) >= 0xDC00 &&
            at(i + 1) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (at(i + 1) - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        text.push_back(static_cast<wchar_t>(c));
    }
    return text;
}

void acutDelBuffer(wchar_t*& buffer) {
    delete[] buffer;
    buffer = nullptr;
}

void acutDelBuffer(char*& buffer) {
    delete[] buffer;
    buffer = nullptr;
}

wchar_t* acutNewString(const wchar_t* text) {
    const std::wstring copy = text != nullptr ? text : L"";
    auto* out = new wchar_t[copy.size() + 1];
    copy.copy(out, copy.size());
    out[copy.size()] = L'\0';
    return out;
}
