#include <algorithm>

#include "db/database.h"
#include "db/dictionary.h"
#include "db/symboltable.h"
#include "db/transaction.h"
#include "internal.h"

namespace {

struct SysVarDefinition {
    AcDbSysVar defaultValue;
    double minValue = 0.0;
    double maxValue = 0.0;
};

std::map<std::wstring, SysVarDefinition>& definitions() {
    static auto* defs = [] {
        auto* d = new std::map<std::wstring, SysVarDefinition>;
        (*d)[L"LUNITS"] = {AcDbSysVar::int16(2), 1, 5};
        (*d)[L"LUPREC"] = {AcDbSysVar::int16(4), 0, 8};
        (*d)[L"TILEMODE"] = {AcDbSysVar::int16(1), 0, 1};
        (*d)[L"CMDECHO"] = {AcDbSysVar::int16(1), 0, 1};
        (*d)[L"CMDDIA"] = {AcDbSysVar::int16(1), 0, 1};
        return d;
    }();
    return *defs;
}

bool isInteger(AcDbSysVar::Type type) {
    return type == AcDbSysVar::kInt16 || type == AcDbSysVar::kInt32;
}

double numberOf(const AcDbSysVar& value) {
    return value.type == AcDbSysVar::kReal ? value.realValue : value.intValue;
}

// Fits a value to a defined variable's type and range.
Acad::ErrorStatus conform(const SysVarDefinition& def, const AcDbSysVar& value, AcDbSysVar& out) {
    const AcDbSysVar::Type type = def.defaultValue.type;
    out = AcDbSysVar();
    out.type = type;
    if (type == AcDbSysVar::kString) {
        if (value.type != AcDbSysVar::kString)
            return Acad::eInvalidInput;
        out.stringValue = value.stringValue;
        return Acad::eOk;
    }
    if (isInteger(type) && !isInteger(value.type))
        return Acad::eInvalidInput;
    if (type == AcDbSysVar::kReal && value.type != AcDbSysVar::kReal && !isInteger(value.type))
        return Acad::eInvalidInput;
    const double number = numberOf(value);
    if (def.minValue < def.maxValue && (number < def.minValue || number > def.maxValue))
        return Acad::eOutOfRange;
    if (type == AcDbSysVar::kInt16 && (number < -32768 || number > 32767))
        return Acad::eOutOfRange;
    if (type == AcDbSysVar::kReal)
        out.realValue = number;
    else
        out.intValue = value.intValue;
    return Acad::eOk;
}

void buildDefaultDrawing(AcDbDatabase* db, SvDbDatabaseData& d) {
    auto* table = new AcDbBlockTable;
    db->addAcDbObject(d.blockTable, table);
    auto addSpace = [table](const wchar_t* name, AcDbObjectId& id) {
        auto* record = new AcDbBlockTableRecord;
        record->setName(name);
        record->setIsLayout(true);
        table->add(id, record);
        record->close();
    };
    addSpace(ACDB_MODEL_SPACE, d.modelSpace);
    addSpace(ACDB_PAPER_SPACE, d.paperSpace);
    table->close();
    auto* nod = new AcDbDictionary;
    db->addAcDbObject(d.nod, nod);
    nod->close();
}

} // namespace

AcDbSysVar AcDbSysVar::int16(Adesk::Int16 value) {
    AcDbSysVar v;
    v.type = kInt16;
    v.intValue = value;
    return v;
}

AcDbSysVar AcDbSysVar::int32(Adesk::Int32 value) {
    AcDbSysVar v;
    v.type = kInt32;
    v.intValue = value;
    return v;
}

AcDbSysVar AcDbSysVar::real(double value) {
    AcDbSysVar v;
    v.type = kReal;
    v.realValue = value;
    return v;
}

AcDbSysVar AcDbSysVar::string(const wchar_t* value) {
    AcDbSysVar v;
    v.type = kString;
    v.stringValue = value != nullptr ? value : L"";
    return v;
}

Acad::ErrorStatus svDbDefineSysVar(const wchar_t* name, const AcDbSysVar& defaultValue,
                                   double minValue, double maxValue) {
    if (name == nullptr || *name == L'\0' || defaultValue.type == AcDbSysVar::kNone)
        return Acad::eInvalidInput;
    auto [it, added] = definitions().try_emplace(
        svDbFold(name), SysVarDefinition{defaultValue, minValue, maxValue});
    return added ? Acad::eOk : Acad::eDuplicateKey;
}

// ---------------------------------------------------------------------------------------------

AcDbDatabase::AcDbDatabase(bool buildDefault, bool) : m_impl(new SvDbDatabaseData) {
    m_impl->serial = svDbRegister(this);
    m_impl->transactions = SvDbAccess::newTransactionManager(this);
    if (buildDefault)
        buildDefaultDrawing(this, *m_impl);
}

AcDbDatabase::~AcDbDatabase() {
    if (acdbHostApplicationServices()->workingDatabase() == this)
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
    SvDbDatabaseData& d = *m_impl;
    svDbUnregister(d.serial);
    d.destroying = true;
    for (AcTransaction* transaction : d.stack)
        delete transaction;
    d.stack.clear();
    for (SvDbSlot& slot : d.slots) {
        AcDbObject* obj = slot.object;
        if (obj == nullptr)
            continue;
        slot.object = nullptr;
        const std::vector<AcDbObjectReactor*> transient = SvDbAccess::data(obj).transient;
        for (AcDbObjectReactor* reactor : transient)
            reactor->goodbye(obj);
        delete obj;
    }
    delete d.transactions;
    delete m_impl;
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& id, AcDbObject* obj) {
    if (obj == nullptr)
        return Acad::eNullObjectPointer;
    SvDbObjectData& od = SvDbAccess::data(obj);
    if (!od.id.isNull() || od.zombie)
        return Acad::eAlreadyInDb;
    SvDbDatabaseData& d = *m_impl;
    if (d.slots.size() >= 0xFFFFFFFFu)
        return Acad::eOutOfMemory;
    if (d.handseed >= kSvDbMaxHandseed)
        return Acad::eOutOfRange;
    const auto index = static_cast<std::uint32_t>(d.slots.size());
    const AcDbHandle handle(d.handseed++);
    d.slots.push_back({obj, handle});
    d.byHandle.emplace(handle.value(), index);
    od.id = SvDbAccess::makeId(d.serial, index);
    od.writer = true;
    svDbRecordCreated(d, index);
    id = od.id;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObject* obj) {
    AcDbObjectId id;
    return addAcDbObject(id, obj);
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& id, bool, const AcDbHandle& handle,
                                                Adesk::UInt32) {
    id.setNull();
    auto it = m_impl->byHandle.find(handle.value());
    if (it == m_impl->byHandle.end())
        return Acad::eKeyNotFound;
    id = SvDbAccess::makeId(m_impl->serial, it->second);
    return Acad::eOk;
}

AcDbHandle AcDbDatabase::handseed() const {
    return AcDbHandle(m_impl->handseed);
}

AcDbObjectId AcDbDatabase::blockTableId() const {
    return m_impl->blockTable;
}

Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbBlockTable*& table, AcDb::OpenMode mode) {
    return acdbOpenObject(table, m_impl->blockTable, mode);
}

Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& table, AcDb::OpenMode mode) {
    return getSymbolTable(table, mode);
}

AcDbObjectId AcDbDatabase::namedObjectsDictionaryId() const {
    return m_impl->nod;
}

Acad::ErrorStatus AcDbDatabase::getNamedObjectsDictionary(AcDbDictionary*& dict,
                                                          AcDb::OpenMode mode) {
    return acdbOpenObject(dict, m_impl->nod, mode);
}

AcDbObjectId AcDbDatabase::modelSpaceId() const {
    return m_impl->modelSpace;
}

AcDbObjectId AcDbDatabase::paperSpaceId() const {
    return m_impl->paperSpace;
}

AcDbObjectId AcDbDatabase::currentSpaceId() const {
    return tilemode() ? m_impl->modelSpace : m_impl->paperSpace;
}

Acad::ErrorStatus AcDbDatabase::countHardReferences(const AcDbObjectIdArray& ids,
                                                    Adesk::UInt32* counts) {
    if (ids.isEmpty())
        return Acad::eOk;
    if (counts == nullptr)
        return Acad::eNullObjectPointer;
    std::unordered_map<AcDbObjectId, std::vector<int>> wanted;
    for (int i = 0; i < ids.length(); ++i)
        wanted[ids[i]].push_back(i);
    for (const SvDbSlot& slot : m_impl->slots) {
        if (slot.object == nullptr || SvDbAccess::data(slot.object).erased)
            continue;
        for (const AcDbObjectId& ref : svDbFiledIds(slot.object, SvDbIdWanted::kHardReferences)) {
            auto it = wanted.find(ref);
            if (it == wanted.end())
                continue;
            for (int i : it->second)
                ++counts[i];
        }
    }
    return Acad::eOk;
}

std::vector<AcDbObjectIdArray> svDbReferencesTo(AcDbDatabase* db,
                                                const std::vector<AcDbObjectId>& targets) {
    std::vector<AcDbObjectIdArray> referring(targets.size());
    std::unordered_map<AcDbObjectId, std::vector<std::size_t>> wanted;
    for (std::size_t i = 0; i < targets.size(); ++i)
        wanted[targets[i]].push_back(i);
    if (db == nullptr || wanted.empty())
        return referring;
    for (const SvDbSlot& slot : SvDbAccess::impl(db).slots) {
        if (slot.object == nullptr || SvDbAccess::data(slot.object).erased)
            continue;
        for (const AcDbObjectId& ref : svDbFiledIds(slot.object, SvDbIdWanted::kPointers)) {
            const auto it = wanted.find(ref);
            if (it == wanted.end())
                continue;
            for (std::size_t i : it->second) {
                if (!referring[i].contains(slot.object->objectId()))
                    referring[i].append(slot.object->objectId());
            }
        }
    }
    return referring;
}

AcDbTransactionManager* AcDbDatabase::transactionManager() const {
    return m_impl->transactions;
}

namespace {

// The value a drawing has for an upper-case name: its own, else the variable's default.
const AcDbSysVar* sysVarByKey(const SvDbSysVars& own, const std::wstring& key) {
    if (auto it = own.find(key); it != own.end())
        return &it->second;
    if (auto it = definitions().find(key); it != definitions().end())
        return &it->second.defaultValue;
    return nullptr;
}

// The typed accessors run inside every label's update, so their names are folded once and the
// default they fall back on is found once.
struct TypedSysVar {
    std::wstring key;
    const AcDbSysVar* defaultValue;

    explicit TypedSysVar(const wchar_t* name) : key(name), defaultValue(sysVarByKey({}, key)) {}

    Adesk::Int16 int16In(const SvDbSysVars& own) const {
        const auto it = own.find(key);
        const AcDbSysVar* var = it != own.end() ? &it->second : defaultValue;
        return var != nullptr ? static_cast<Adesk::Int16>(var->intValue) : Adesk::Int16(0);
    }
};

} // namespace

Acad::ErrorStatus AcDbDatabase::getSysVar(const wchar_t* name, AcDbSysVar& value) const {
    if (name == nullptr)
        return Acad::eInvalidInput;
    const AcDbSysVar* var = sysVarByKey(m_impl->sysvars, svDbFold(name));
    if (var == nullptr)
        return Acad::eKeyNotFound;
    value = *var;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::setSysVar(const wchar_t* name, const AcDbSysVar& value) {
    if (name == nullptr || *name == L'\0' || value.type == AcDbSysVar::kNone)
        return Acad::eInvalidInput;
    const std::wstring key = svDbFold(name);
    AcDbSysVar stored = value;
    if (auto it = definitions().find(key); it != definitions().end()) {
        const Acad::ErrorStatus es = conform(it->second, value, stored);
        if (es != Acad::eOk)
            return es;
    }
    m_impl->sysvars[key] = stored;
    return Acad::eOk;
}

Adesk::Int16 AcDbDatabase::lunits() const {
    static const TypedSysVar var(L"LUNITS");
    return var.int16In(m_impl->sysvars);
}

Acad::ErrorStatus AcDbDatabase::setLunits(Adesk::Int16 value) {
    return setSysVar(L"LUNITS", AcDbSysVar::int16(value));
}

Adesk::Int16 AcDbDatabase::luprec() const {
    static const TypedSysVar var(L"LUPREC");
    return var.int16In(m_impl->sysvars);
}

Acad::ErrorStatus AcDbDatabase::setLuprec(Adesk::Int16 value) {
    return setSysVar(L"LUPREC", AcDbSysVar::int16(value));
}

bool AcDbDatabase::tilemode() const {
    static const TypedSysVar var(L"TILEMODE");
    return var.int16In(m_impl->sysvars) != 0;
}

Acad::ErrorStatus AcDbDatabase::setTilemode(bool value) {
    return setSysVar(L"TILEMODE", AcDbSysVar::int16(value ? 1 : 0));
}

const wchar_t* AcDbDatabase::fileName() const {
    return m_impl->fileName.empty() ? nullptr : m_impl->fileName.c_str();
}

void svDbTakeBack(SvDbDatabaseData& db, std::uint32_t index) {
    if (index >= db.slots.size())
        return;
    SvDbSlot& slot = db.slots[index];
    AcDbObject* obj = slot.object;
    if (obj == nullptr)
        return;
    slot.object = nullptr;
    svDbNoteInvalidation();
    db.byHandle.erase(slot.handle.value());
    SvDbObjectData& d = SvDbAccess::data(obj);
    d.id.setNull();
    if (d.readers > 0 || d.writer || d.notifyOpens > 0 || d.notifying > 0) {
        d.zombie = true; // whoever holds it open deletes it at the close
        return;
    }
    const std::vector<AcDbObjectReactor*> transient = d.transient;
    for (AcDbObjectReactor* reactor : transient)
        reactor->goodbye(obj);
    delete obj;
}

// ---------------------------------------------------------------------------------------------

AcDbDatabase* AcDbHostApplicationServices::workingDatabase() const {
    return m_working;
}

void AcDbHostApplicationServices::setWorkingDatabase(AcDbDatabase* db) {
    m_working = db;
}

AcDbHostApplicationServices* acdbHostApplicationServices() {
    static auto* services = new AcDbHostApplicationServices;
    return services;
}
