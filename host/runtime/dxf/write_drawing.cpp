// The database as an ASCII DXF file of release 2000: header, classes of the objects that travel as
// proxies, the tables the format wants (layers by the names entities use), blocks, entities and
// objects, every object under its own handle. Objects without a DXF form go as proxy records
// holding the bytes their DWG filing writes.

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <unordered_map>

#include "crt/format.h"
#include "db/arc.h"
#include "db/blockref.h"
#include "db/circle.h"
#include "db/dictionary.h"
#include "db/dimension.h"
#include "db/ellipse.h"
#include "db/file_filer.h"
#include "db/leader.h"
#include "db/line.h"
#include "db/mtext.h"
#include "db/polyline.h"
#include "db/proxy.h"
#include "db/rasterimage.h"
#include "db/symboltable.h"
#include "db/text.h"
#include "db/viewport.h"
#include "exchange.h"
#include "record_bytes.h"
#include "write_entities.h"

namespace {

constexpr std::size_t kChunkBytes = 127;

struct BlockInfo {
    const AcDbBlockTableRecord* record = nullptr;
    std::uint64_t handle = 0;
    std::wstring name;
    std::vector<const AcDbEntity*> entities;
    bool model = false;
    bool paper = false; // the paper space whose entities go to the entities section
    bool sheet = false; // any paper-space layout
    std::uint64_t layout = 0;
};

class Writer {
public:
    explicit Writer(AcDbDatabase* database)
        : m_db(SvDbAccess::impl(database)), m_next(m_db.handseed) {}

    Acad::ErrorStatus run(std::vector<unsigned char>& bytes, std::wstring& why);

private:
    std::uint64_t handleOf(const AcDbObjectId& id) const {
        const std::uint32_t index = SvDbAccess::index(id);
        if (id.isNull() || SvDbAccess::serial(id) != m_db.serial || index >= m_db.slots.size() ||
            m_db.slots[index].object == nullptr)
            return 0;
        return m_db.slots[index].handle.value();
    }
    std::uint64_t newHandle() { return m_next++; }
    void collect();
    void writeHeader(SvDxfWriter& out);
    void writeClasses(SvDxfWriter& out);
    void writeTables();
    void writeBlocks();
    void blockBoundary(const char* type, const char* subclass, std::uint64_t record, bool paper);
    void blockStart(const std::wstring& name, int flags);
    void writeEntities();
    void writeObjects();
    void writeEntity(const AcDbEntity* entity, bool paper);
    void writeProxy(const AcDbObject* obj, bool entity);
    // A record kept as its groups came; `count` replaces a table's count of entries.
    void writeRaw(const AcDbObject* obj, const std::wstring& dxfName,
                  const std::string& count = "");
    static std::wstring rawName(const AcDbObject* obj);
    using EntryFields = std::function<void()>;
    void writeTable(const char* name, const char* subclass,
                    const std::vector<std::pair<std::wstring, EntryFields>>& needed);
    void writeDictionary(const AcDbObject* obj, std::uint64_t handle, std::uint64_t owner,
                         bool hard,
                         const std::vector<std::pair<std::wstring, std::uint64_t>>& entries);
    void table(const char* name, std::uint64_t handle, std::size_t count);
    void tableEntry(const char* type, std::uint64_t table, const char* subclass,
                    int handleCode = 5);
    long long classId(const AcDbObject* obj);
    SvDxfEntityContext context(bool paper);
    std::wstring styleName(const AcDbObjectId& id, const wchar_t* table);
    // The layouts in tab order, each with its name: model space first, then the paper space.
    std::vector<std::pair<std::wstring, const BlockInfo*>> layouts() const;

    SvDbDatabaseData& m_db;
    SvDxfWriter m_out;
    std::uint64_t m_next;
    std::vector<BlockInfo> m_blocks;
    std::set<std::wstring> m_layers;
    std::vector<SvDbClassEntry> m_classes;
    std::vector<int> m_classCounts;
    std::vector<bool> m_classIsEntity;
    std::unordered_map<std::wstring, long long> m_classIds;
    std::vector<std::pair<const AcDbEntity*, std::uint64_t>> m_images; // image, its definition
    struct DimensionBlock {
        const AcDbEntity* dimension;
        std::wstring name;
        std::uint64_t record;
    };
    std::vector<DimensionBlock> m_dimensionBlocks;
    struct KeptTable {
        const AcDbObject* table = nullptr;
        std::vector<const AcDbObject*> entries;
    };
    std::map<std::wstring, KeptTable> m_keptTables; // by table name
    std::unordered_map<const AcDbObject*, std::wstring> m_styleNames;
    std::uint64_t m_layoutDictionary = 0;
    std::uint64_t m_groupDictionary = 0;
    std::uint64_t m_imageDictionary = 0;
};

template <class Proxy>
bool isRawProxy(const Proxy* proxy, std::wstring& dxfName,
                const std::vector<unsigned char>*& bytes) {
    if (proxy == nullptr || !svDxfIsRawClassName(proxy->originalClassName()))
        return false;
    dxfName = proxy->originalDxfName() != nullptr ? proxy->originalDxfName() : L"";
    bytes = &proxy->proxyData();
    return true;
}

// A record of a kind the host lacks, kept as its groups: its DXF name and packed groups.
bool isRaw(const AcDbObject* obj, std::wstring& dxfName, const std::vector<unsigned char>*& bytes) {
    return isRawProxy(AcDbProxyObject::cast(obj), dxfName, bytes) ||
           isRawProxy(AcDbProxyEntity::cast(obj), dxfName, bytes);
}

// The tables and the kinds of their records, which go to the tables section.
bool isTablePart(const std::wstring& dxfName) {
    static const wchar_t* const kinds[] = {L"TABLE", L"VPORT", L"LTYPE", L"LAYER",   L"STYLE",
                                           L"VIEW",  L"UCS",   L"APPID", L"DIMSTYLE"};
    return std::any_of(std::begin(kinds), std::end(kinds),
                       [&dxfName](const wchar_t* kind) { return dxfName == kind; });
}

bool isMapped(const AcDbEntity* entity) {
    // The kinds svDxfWriteEntity writes; a dry run would cost a second pass over the output.
    static const AcRxClass* const kinds[] = {AcDbLine::desc(),
                                             AcDbArc::desc(),
                                             AcDbCircle::desc(),
                                             AcDbEllipse::desc(),
                                             AcDbPolyline::desc(),
                                             AcDbText::desc(),
                                             AcDbBlockReference::desc(),
                                             AcDbMText::desc(),
                                             AcDbRotatedDimension::desc(),
                                             AcDbAlignedDimension::desc(),
                                             AcDbLeader::desc(),
                                             AcDbRasterImage::desc(),
                                             AcDbViewport::desc()};
    return std::any_of(std::begin(kinds), std::end(kinds),
                       [entity](const AcRxClass* kind) { return entity->isKindOf(kind); });
}

void Writer::collect() {
    auto* table = AcDbBlockTable::cast(svDbResolve(m_db.blockTable));
    SvDbFilingScope readingTable(table);
    AcDbSymbolTableIterator* it = nullptr;
    table->newIterator(it, true, true);
    for (; !it->done(); it->step(true, true)) {
        AcDbObjectId id;
        it->getRecordId(id);
        auto* record = AcDbBlockTableRecord::cast(svDbResolve(id));
        if (record == nullptr)
            continue;
        SvDbFilingScope reading(record);
        BlockInfo block;
        block.record = record;
        block.handle = handleOf(id);
        const wchar_t* name = nullptr;
        record->getName(name);
        block.name = name != nullptr ? name : L"";
        block.model = id == m_db.modelSpace;
        block.paper = id == m_db.paperSpace;
        block.sheet = block.paper || (!block.model && record->isLayout());
        if (block.model || block.sheet)
            block.layout = newHandle();
        AcDbBlockTableRecordIterator* entities = nullptr;
        record->newIterator(entities, true, true);
        for (; !entities->done(); entities->step(true, true)) {
            AcDbObjectId entityId;
            entities->getEntityId(entityId);
            auto* entity = AcDbEntity::cast(svDbResolve(entityId));
            if (entity == nullptr)
                continue;
            block.entities.push_back(entity);
            SvDbFilingScope readingEntity(entity);
            wchar_t* layer = entity->layer();
            m_layers.insert(layer);
            delete[] layer;
            if (AcDbRasterImage::cast(entity) != nullptr)
                m_images.emplace_back(entity, newHandle());
            if (AcDbDimension::cast(entity) != nullptr) {
                const std::wstring dimensionName =
                    L"*D" + std::to_wstring(m_dimensionBlocks.size() + 1);
                m_dimensionBlocks.push_back({entity, dimensionName, newHandle()});
            }
        }
        delete entities;
        m_blocks.push_back(std::move(block));
    }
    delete it;
    m_layers.insert(L"0");
    for (const SvDbSlot& slot : m_db.slots) {
        std::wstring dxfName;
        const std::vector<unsigned char>* bytes = nullptr;
        if (slot.object == nullptr || SvDbAccess::data(slot.object).erased ||
            !isRaw(slot.object, dxfName, bytes) || !isTablePart(dxfName))
            continue;
        if (dxfName == L"TABLE")
            m_keptTables[rawName(slot.object)].table = slot.object;
        else
            m_keptTables[dxfName].entries.push_back(slot.object);
    }
    m_layoutDictionary = newHandle();
    auto* nod = AcDbDictionary::cast(svDbResolve(m_db.nod));
    SvDbFilingScope readingNod(nod);
    if (!nod->has(L"ACAD_GROUP"))
        m_groupDictionary = newHandle();
    if (!m_images.empty())
        m_imageDictionary = newHandle();
}

long long Writer::classId(const AcDbObject* obj) {
    SvDbClassEntry cls = svDbClassOf(const_cast<AcDbObject*>(obj));
    auto [it, added] = m_classIds.try_emplace(cls.name, 500 + m_classes.size());
    if (added) {
        m_classes.push_back(cls);
        m_classCounts.push_back(0);
        m_classIsEntity.push_back(obj->isKindOf(AcDbEntity::desc()));
    }
    ++m_classCounts[static_cast<std::size_t>(it->second - 500)];
    return it->second;
}

SvDxfEntityContext Writer::context(bool paper) {
    SvDxfEntityContext context;
    context.handleOf = [this](const AcDbObjectId& id) { return handleOf(id); };
    context.newHandle = [this] { return newHandle(); };
    context.imageDefinitionOf = [this](const AcDbEntity* image) {
        for (const auto& [entity, definition] : m_images) {
            if (entity == image)
                return definition;
        }
        return std::uint64_t{0};
    };
    context.dimensionBlockOf = [this](const AcDbEntity* dimension) {
        for (const DimensionBlock& block : m_dimensionBlocks) {
            if (block.dimension == dimension)
                return block.name;
        }
        return std::wstring();
    };
    context.styleNameOf = [this](const AcDbObjectId& id, const wchar_t* table) {
        return styleName(id, table);
    };
    context.paperSpace = paper;
    return context;
}

// Styles are records the drawing brought along in its tables, written there as they came.
std::wstring Writer::styleName(const AcDbObjectId& id, const wchar_t* table) {
    AcDbObject* style = handleOf(id) != 0 ? svDbResolve(id) : nullptr;
    std::wstring dxfName;
    const std::vector<unsigned char>* bytes = nullptr;
    if (style == nullptr || SvDbAccess::data(style).erased || !isRaw(style, dxfName, bytes) ||
        dxfName != table)
        return L"Standard";
    auto [it, added] = m_styleNames.try_emplace(style);
    if (added)
        it->second = rawName(style);
    return it->second.empty() ? L"Standard" : it->second;
}

std::vector<std::pair<std::wstring, const BlockInfo*>> Writer::layouts() const {
    std::vector<std::pair<std::wstring, const BlockInfo*>> layouts;
    for (int rank : {0, 1, 2}) {
        for (const BlockInfo& block : m_blocks) {
            if ((block.model ? 0 : block.paper ? 1 : block.sheet ? 2 : -1) != rank)
                continue;
            std::wstring name = L"Model";
            if (!block.model) {
                name = L"Layout";
                name += std::to_wstring(layouts.size());
            }
            layouts.emplace_back(std::move(name), &block);
        }
    }
    return layouts;
}

void Writer::writeRaw(const AcDbObject* obj, const std::wstring& dxfName,
                      const std::string& count) {
    std::wstring name;
    const std::vector<unsigned char>* bytes = nullptr;
    std::vector<SvDxfRawGroup> groups;
    if (isRaw(obj, name, bytes))
        svDxfUnpackGroups(*bytes, groups);
    m_out.text(0, dxfName);
    // Dimension styles carry their handle in 105, every other record in 5.
    m_out.handle(dxfName == L"DIMSTYLE" ? 105 : 5, handleOf(obj->objectId()));
    for (const SvDxfRawGroup& group : groups) {
        if (group.code == 70 && !count.empty())
            m_out.text(70, count);
        else
            m_out.text(group.code, svFromUtf8(group.value));
    }
}

std::wstring Writer::rawName(const AcDbObject* obj) {
    std::wstring name;
    const std::vector<unsigned char>* bytes = nullptr;
    std::vector<SvDxfRawGroup> groups;
    if (isRaw(obj, name, bytes) && svDxfUnpackGroups(*bytes, groups)) {
        for (const SvDxfRawGroup& group : groups) {
            if (group.code == 2)
                return svFromUtf8(group.value);
        }
    }
    return L"";
}

void Writer::writeProxy(const AcDbObject* obj, bool entity) {
    SvDbFileFiler filer(m_db);
    SvDbFilingScope reading(obj);
    obj->dwgOutFields(&filer);
    const long long id = classId(obj);
    svDxfWriteHead(m_out, entity ? "ACAD_PROXY_ENTITY" : "ACAD_PROXY_OBJECT", obj, context(false));
    if (entity) {
        auto* asEntity = AcDbEntity::cast(obj);
        m_out.text(100, std::string("AcDbEntity"));
        wchar_t* layer = asEntity->layer();
        m_out.text(8, std::wstring(layer));
        delete[] layer;
        m_out.text(100, std::string("AcDbProxyEntity"));
        m_out.integer(90, 498);
    } else {
        m_out.text(100, std::string("AcDbProxyObject"));
        m_out.integer(90, 499);
    }
    m_out.integer(91, id);
    if (entity)
        m_out.integer(92, 0);
    m_out.integer(93, static_cast<long long>(filer.size()) * 8);
    static const char digits[] = "0123456789ABCDEF";
    for (std::size_t pos = 0; pos < filer.size(); pos += kChunkBytes) {
        std::string chunk;
        for (std::size_t k = pos; k < std::min(filer.size(), pos + kChunkBytes); ++k) {
            chunk += digits[filer.data()[k] >> 4];
            chunk += digits[filer.data()[k] & 15];
        }
        m_out.text(310, chunk);
    }
    m_out.integer(94, 0);
    m_out.integer(95, 0);
    m_out.integer(70, 0);
}

void Writer::writeEntity(const AcDbEntity* entity, bool paper) {
    SvDbFilingScope reading(entity);
    std::wstring dxfName;
    const std::vector<unsigned char>* bytes = nullptr;
    if (isRaw(entity, dxfName, bytes))
        writeRaw(entity, dxfName);
    else if (isMapped(entity))
        svDxfWriteEntity(m_out, entity, context(paper));
    else
        writeProxy(entity, true);
}

void Writer::writeHeader(SvDxfWriter& out) {
    out.text(0, std::string("SECTION"));
    out.text(2, std::string("HEADER"));
    out.text(9, std::string("$ACADVER"));
    out.text(1, std::string("AC1015"));
    out.text(9, std::string("$DWGCODEPAGE"));
    out.text(3, std::string("ANSI_1252"));
    for (const auto& [name, value] : m_db.sysvars) {
        out.text(9, L"$" + name);
        switch (value.type) {
        case AcDbSysVar::kInt16:
            out.integer(70, value.intValue);
            break;
        case AcDbSysVar::kInt32:
            out.integer(90, value.intValue);
            break;
        case AcDbSysVar::kReal:
            out.real(40, value.realValue);
            break;
        default:
            out.text(1, value.stringValue);
            break;
        }
    }
    out.text(9, std::string("$HANDSEED"));
    out.handle(5, m_next);
    out.text(0, std::string("ENDSEC"));
}

void Writer::writeClasses(SvDxfWriter& out) {
    out.text(0, std::string("SECTION"));
    out.text(2, std::string("CLASSES"));
    for (std::size_t i = 0; i < m_classes.size(); ++i) {
        const SvDbClassEntry& cls = m_classes[i];
        out.text(0, std::string("CLASS"));
        out.text(1, cls.dxfName.empty() ? cls.name : cls.dxfName);
        out.text(2, cls.name);
        out.text(3, cls.appName);
        out.integer(90, 0);
        out.integer(91, m_classCounts[i]);
        out.integer(280, 0);
        out.integer(281, m_classIsEntity[i] ? 1 : 0);
    }
    out.text(0, std::string("ENDSEC"));
}

void Writer::table(const char* name, std::uint64_t handle, std::size_t count) {
    m_out.text(0, std::string("TABLE"));
    m_out.text(2, std::string(name));
    m_out.handle(5, handle);
    m_out.handle(330, 0);
    m_out.text(100, std::string("AcDbSymbolTable"));
    m_out.integer(70, static_cast<long long>(count));
}

void Writer::tableEntry(const char* type, std::uint64_t tableHandle, const char* subclass,
                        int handleCode) {
    m_out.text(0, std::string(type));
    m_out.handle(handleCode, newHandle());
    m_out.handle(330, tableHandle);
    m_out.text(100, std::string("AcDbSymbolTableRecord"));
    m_out.text(100, std::string(subclass));
}

// Table records the drawing brought along are written as they came; of those the host needs
// (the layers its entities name, the standard styles) the missing ones are added.
void Writer::writeTable(const char* name, const char* subclass,
                        const std::vector<std::pair<std::wstring, EntryFields>>& needed) {
    const KeptTable& kept = m_keptTables[svFromUtf8(name)];
    std::set<std::wstring> present;
    for (const AcDbObject* entry : kept.entries)
        present.insert(svDbFold(rawName(entry).c_str()));
    std::vector<const std::pair<std::wstring, EntryFields>*> missing;
    for (const auto& entry : needed) {
        if (present.insert(svDbFold(entry.first.c_str())).second)
            missing.push_back(&entry);
    }
    const std::size_t count = kept.entries.size() + missing.size();
    std::uint64_t handle = 0;
    if (kept.table != nullptr) {
        handle = handleOf(kept.table->objectId());
        writeRaw(kept.table, L"TABLE", std::to_string(count));
    } else {
        handle = newHandle();
        table(name, handle, count);
        if (std::string(name) == "DIMSTYLE") {
            m_out.text(100, std::string("AcDbDimStyleTable"));
            m_out.integer(71, 0);
        }
    }
    for (const AcDbObject* entry : kept.entries)
        writeRaw(entry, svFromUtf8(name));
    for (const auto* entry : missing) {
        tableEntry(name, handle, subclass, std::string(name) == "DIMSTYLE" ? 105 : 5);
        m_out.text(2, entry->first);
        m_out.integer(70, 0);
        if (entry->second)
            entry->second();
    }
    m_out.text(0, std::string("ENDTAB"));
}

void Writer::writeTables() {
    m_out.text(0, std::string("SECTION"));
    m_out.text(2, std::string("TABLES"));
    writeTable("VPORT", "AcDbViewportTableRecord", {{L"*Active", nullptr}});
    const EntryFields lineType = [this] {
        m_out.text(3, std::string(""));
        m_out.integer(72, 65);
        m_out.integer(73, 0);
        m_out.real(40, 0.0);
    };
    writeTable("LTYPE", "AcDbLinetypeTableRecord",
               {{L"ByBlock", lineType}, {L"ByLayer", lineType}, {L"Continuous", lineType}});
    std::vector<std::pair<std::wstring, EntryFields>> layers;
    for (const std::wstring& layer : m_layers) {
        layers.emplace_back(layer, [this] {
            m_out.integer(62, 7);
            m_out.text(6, std::string("Continuous"));
        });
    }
    writeTable("LAYER", "AcDbLayerTableRecord", layers);
    writeTable("STYLE", "AcDbTextStyleTableRecord", {{L"Standard", [this] {
                                                          m_out.real(40, 0.0);
                                                          m_out.real(41, 1.0);
                                                          m_out.real(50, 0.0);
                                                          m_out.integer(71, 0);
                                                          m_out.real(42, 2.5);
                                                          m_out.text(3, std::string("txt"));
                                                          m_out.text(4, std::string(""));
                                                      }}});
    writeTable("VIEW", "AcDbViewTableRecord", {});
    writeTable("UCS", "AcDbUCSTableRecord", {});
    writeTable("APPID", "AcDbRegAppTableRecord", {{L"ACAD", nullptr}});
    writeTable("DIMSTYLE", "AcDbDimStyleTableRecord", {{L"Standard", nullptr}});

    const std::uint64_t blockTable = handleOf(m_db.blockTable);
    table("BLOCK_RECORD", blockTable, m_blocks.size() + m_dimensionBlocks.size());
    for (const BlockInfo& block : m_blocks) {
        svDxfWriteHead(m_out, "BLOCK_RECORD", block.record, context(false));
        m_out.text(100, std::string("AcDbSymbolTableRecord"));
        m_out.text(100, std::string("AcDbBlockTableRecord"));
        m_out.text(2, block.name);
        m_out.handle(340, block.layout);
    }
    for (const DimensionBlock& block : m_dimensionBlocks) {
        m_out.text(0, std::string("BLOCK_RECORD"));
        m_out.handle(5, block.record);
        m_out.handle(330, blockTable);
        m_out.text(100, std::string("AcDbSymbolTableRecord"));
        m_out.text(100, std::string("AcDbBlockTableRecord"));
        m_out.text(2, block.name);
        m_out.handle(340, 0);
    }
    m_out.text(0, std::string("ENDTAB"));
    m_out.text(0, std::string("ENDSEC"));
}

void Writer::blockBoundary(const char* type, const char* subclass, std::uint64_t record,
                           bool paper) {
    m_out.text(0, std::string(type));
    m_out.handle(5, newHandle());
    m_out.handle(330, record);
    m_out.text(100, std::string("AcDbEntity"));
    if (paper)
        m_out.integer(67, 1);
    m_out.text(8, std::string("0"));
    m_out.text(100, std::string(subclass));
}

void Writer::blockStart(const std::wstring& name, int flags) {
    m_out.text(2, name);
    m_out.integer(70, flags);
    m_out.point(10, 0.0, 0.0, 0.0);
    m_out.text(3, name);
    m_out.text(1, std::string(""));
}

void Writer::writeBlocks() {
    m_out.text(0, std::string("SECTION"));
    m_out.text(2, std::string("BLOCKS"));
    for (const BlockInfo& block : m_blocks) {
        blockBoundary("BLOCK", "AcDbBlockBegin", block.handle, block.sheet);
        SvDbFilingScope reading(block.record);
        blockStart(block.name, block.record->hasAttributeDefinitions() ? 2 : 0);
        if (!block.model && !block.paper) {
            for (const AcDbEntity* entity : block.entities)
                writeEntity(entity, block.sheet);
        }
        blockBoundary("ENDBLK", "AcDbBlockEnd", block.handle, block.sheet);
    }
    // A dimension's picture is the host's to draw: its block is left empty.
    for (const DimensionBlock& block : m_dimensionBlocks) {
        blockBoundary("BLOCK", "AcDbBlockBegin", block.record, false);
        blockStart(block.name, 1);
        blockBoundary("ENDBLK", "AcDbBlockEnd", block.record, false);
    }
    m_out.text(0, std::string("ENDSEC"));
}

void Writer::writeEntities() {
    m_out.text(0, std::string("SECTION"));
    m_out.text(2, std::string("ENTITIES"));
    for (const BlockInfo& block : m_blocks) {
        if (block.model || block.paper) {
            for (const AcDbEntity* entity : block.entities)
                writeEntity(entity, block.paper);
        }
    }
    m_out.text(0, std::string("ENDSEC"));
}

void Writer::writeDictionary(const AcDbObject* obj, std::uint64_t handle, std::uint64_t owner,
                             bool hard,
                             const std::vector<std::pair<std::wstring, std::uint64_t>>& entries) {
    if (obj != nullptr) {
        svDxfWriteHead(m_out, "DICTIONARY", obj, context(false));
    } else {
        m_out.text(0, std::string("DICTIONARY"));
        m_out.handle(5, handle);
        m_out.handle(330, owner);
    }
    m_out.text(100, std::string("AcDbDictionary"));
    if (hard)
        m_out.integer(280, 1);
    m_out.integer(281, 1);
    for (const auto& [key, target] : entries) {
        m_out.text(3, key);
        m_out.handle(hard ? 360 : 350, target);
    }
}

void Writer::writeObjects() {
    m_out.text(0, std::string("SECTION"));
    m_out.text(2, std::string("OBJECTS"));
    std::vector<std::pair<std::uint64_t, std::uint32_t>> order;
    for (std::uint32_t i = 0; i < m_db.slots.size(); ++i) {
        AcDbObject* obj = m_db.slots[i].object;
        if (obj != nullptr && !SvDbAccess::data(obj).erased && !obj->isKindOf(AcDbEntity::desc()) &&
            !obj->isKindOf(AcDbSymbolTable::desc()) &&
            !obj->isKindOf(AcDbSymbolTableRecord::desc()))
            order.emplace_back(m_db.slots[i].handle.value(), i);
    }
    std::sort(order.begin(), order.end());
    const std::uint64_t nodHandle = handleOf(m_db.nod);
    // The root dictionary first, as readers expect.
    std::stable_partition(order.begin(), order.end(),
                          [nodHandle](const auto& entry) { return entry.first == nodHandle; });
    for (const auto& [handle, index] : order) {
        AcDbObject* obj = m_db.slots[index].object;
        std::wstring dxfName;
        const std::vector<unsigned char>* bytes = nullptr;
        if (auto* dictionary = AcDbDictionary::cast(obj)) {
            SvDbFilingScope reading(dictionary);
            std::vector<std::pair<std::wstring, std::uint64_t>> entries;
            AcDbDictionaryIterator* it = dictionary->newIterator();
            for (; !it->done(); it->next()) {
                if (const std::uint64_t target = handleOf(it->objectId()))
                    entries.emplace_back(it->name(), target);
            }
            delete it;
            if (handle == nodHandle) {
                if (m_groupDictionary != 0)
                    entries.emplace_back(L"ACAD_GROUP", m_groupDictionary);
                entries.emplace_back(L"ACAD_LAYOUT", m_layoutDictionary);
                if (m_imageDictionary != 0)
                    entries.emplace_back(L"ACAD_IMAGE_DICT", m_imageDictionary);
            }
            writeDictionary(dictionary, handle, 0, dictionary->isTreatElementsAsHard(), entries);
        } else if (isRaw(obj, dxfName, bytes)) {
            if (!isTablePart(dxfName))
                writeRaw(obj, dxfName);
        } else {
            writeProxy(obj, false);
        }
        if (handle != nodHandle)
            continue;
        if (m_groupDictionary != 0)
            writeDictionary(nullptr, m_groupDictionary, nodHandle, false, {});
        std::vector<std::pair<std::wstring, std::uint64_t>> entries;
        for (const auto& [name, block] : layouts())
            entries.emplace_back(name, block->layout);
        writeDictionary(nullptr, m_layoutDictionary, nodHandle, false, entries);
        if (m_imageDictionary != 0) {
            std::vector<std::pair<std::wstring, std::uint64_t>> images;
            for (const auto& [image, definition] : m_images)
                images.emplace_back(L"IMAGE" + std::to_wstring(images.size() + 1), definition);
            writeDictionary(nullptr, m_imageDictionary, nodHandle, false, images);
        }
    }
    int tab = 0;
    for (const auto& [name, block] : layouts()) {
        m_out.text(0, std::string("LAYOUT"));
        m_out.handle(5, block->layout);
        m_out.handle(330, m_layoutDictionary);
        m_out.text(100, std::string("AcDbPlotSettings"));
        m_out.text(1, std::string(""));
        m_out.integer(70, 0);
        m_out.text(100, std::string("AcDbLayout"));
        m_out.text(1, name);
        m_out.integer(70, 1);
        m_out.integer(71, tab++);
        m_out.point(10, 0.0, 0.0);
        m_out.point(11, 420.0, 297.0);
        m_out.handle(330, block->handle);
    }
    for (const auto& [image, definition] : m_images) {
        auto* raster = AcDbRasterImage::cast(image);
        SvDbFilingScope reading(raster);
        int width = 0;
        int height = 0;
        raster->getImageSize(width, height);
        wchar_t* file = raster->imageFileName();
        m_out.text(0, std::string("IMAGEDEF"));
        m_out.handle(5, definition);
        m_out.handle(330, m_imageDictionary);
        m_out.text(100, std::string("AcDbRasterImageDef"));
        m_out.integer(90, 0);
        m_out.text(1, std::wstring(file));
        m_out.point(10, std::max(width, 1), std::max(height, 1));
        m_out.point(11, 1.0, 1.0);
        m_out.integer(280, 1);
        m_out.integer(281, 0);
        delete[] file;
    }
    m_out.text(0, std::string("ENDSEC"));
}

Acad::ErrorStatus Writer::run(std::vector<unsigned char>& bytes, std::wstring& why) {
    if (AcDbBlockTable::cast(svDbResolve(m_db.blockTable)) == nullptr ||
        AcDbDictionary::cast(svDbResolve(m_db.nod)) == nullptr)
        return Acad::eNotApplicable;
    collect();
    // The tables, blocks, entities and objects first, so the classes and the handle seed are
    // known when the header and the classes are written before them.
    SvDxfWriter classes;
    writeTables();
    writeBlocks();
    writeEntities();
    writeObjects();
    m_out.text(0, std::string("EOF"));
    SvDxfWriter header;
    writeHeader(header);
    writeClasses(classes);
    std::vector<unsigned char> headerBytes;
    std::vector<unsigned char> classBytes;
    std::vector<unsigned char> body;
    if (!header.finish(headerBytes) || !classes.finish(classBytes) || !m_out.finish(body)) {
        why = L"the DXF output could not be written";
        return Acad::eFileAccessErr;
    }
    bytes = std::move(headerBytes);
    bytes.insert(bytes.end(), classBytes.begin(), classBytes.end());
    bytes.insert(bytes.end(), body.begin(), body.end());
    return Acad::eOk;
}

} // namespace

Acad::ErrorStatus svDxfWrite(AcDbDatabase* database, std::vector<unsigned char>& bytes,
                             std::wstring& why) {
    Writer writer(database);
    return writer.run(bytes, why);
}
