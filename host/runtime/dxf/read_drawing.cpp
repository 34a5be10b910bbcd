// A DXF file into the database: its groups are checked and read through libdime, its sections
// taken apart into records of the host's classes, and the records built as the host's own
// drawings are. What the host has no class for is kept as its groups came.

#include <algorithm>
#include <map>
#include <memory>
#include <span>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "crt/format.h"
#include "db/attribute.h"
#include "db/blockref.h"
#include "db/database.h"
#include "db/dimension.h"
#include "db/leader.h"
#include "db/mtext.h"
#include "db/rasterimage.h"
#include "db/symboltable.h"
#include "db/text.h"
#include "exchange.h"
#include "read_entities.h"
#include "record_bytes.h"

namespace {

using Groups = std::span<const SvDxfGroup>;
using Head = SvDxfRecords::Head;

struct Failure {
    std::wstring why;
};

[[noreturn]] void fail(std::size_t line, const wchar_t* what) {
    throw Failure{svDxfAt(line, what)};
}

// The records of a span: each runs from a 0 group to the next.
std::vector<Groups> recordsOf(Groups groups) {
    std::vector<Groups> records;
    std::size_t start = 0;
    for (std::size_t i = 1; i <= groups.size(); ++i) {
        if (i == groups.size() || groups[i].code == 0) {
            if (start < groups.size())
                records.push_back(groups.subspan(start, i - start));
            start = i;
        }
    }
    return records;
}

std::string upper(std::string_view view) {
    std::string text(view);
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string_view trimmed(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

const SvDxfGroup* find(Groups record, int code) {
    for (const SvDxfGroup& group : record) {
        if (group.code == code)
            return &group;
    }
    return nullptr;
}

// The anonymous blocks that hold the pictures of dimensions.
bool isDimensionBlock(std::string_view name) {
    return upper(trimmed(name)).rfind("*D", 0) == 0;
}

class Reader {
public:
    Reader(AcDbDatabase* db, std::vector<SvDxfGroup>& groups) : m_db(db), m_groups(groups) {}

    Acad::ErrorStatus run(std::wstring& why);

private:
    void splitSections();
    void scanHandles();
    void readHeader(Groups section);
    void readClasses(Groups section);
    void readTables(Groups section);
    void readBlocks(Groups section);
    void readEntities(Groups section, std::uint64_t modelSpace, std::uint64_t paperSpace);
    void readObjects(Groups section);
    void placeEntities(const std::vector<Groups>& records, std::size_t& i, std::uint64_t owner,
                       std::vector<std::uint64_t>* into);
    Head headOf(Groups record);
    std::uint64_t handleOf(Groups record);
    std::uint64_t newHandle() { return ++m_maxHandle; }
    std::uint64_t blockFor(std::string_view name);
    void keepRaw(Groups record, const Head& head, bool entity);
    void setStyle(AcDbEntity* entity, Groups record);
    void finishBlocks();
    std::uint64_t addFiled(Groups record);
    void attachAnnotations();

    AcDbDatabase* m_db;
    std::vector<SvDxfGroup>& m_groups;
    SvDxfRecords m_records;
    SvDxfText m_text;
    std::map<std::string, Groups> m_sections;
    std::uint64_t m_maxHandle = 0;
    std::uint64_t m_handseed = 0;
    std::uint64_t m_blockTable = 0;
    std::uint64_t m_nod = 0;
    std::unordered_set<std::uint64_t> m_claimed;
    std::unordered_set<std::uint64_t> m_onFile;
    struct Block {
        std::uint64_t handle = 0;
        std::wstring name;
        std::vector<std::uint64_t> entities;
        bool defined = false;
    };
    std::map<std::string, Block> m_blocks; // by upper-case name
    // The records of the text and dimension style tables by upper-case name.
    std::unordered_map<std::string, std::uint64_t> m_textStyles;
    std::unordered_map<std::string, std::uint64_t> m_dimensionStyles;
    std::vector<SvDbClassEntry> m_classes;
    std::unordered_map<std::uint64_t, std::wstring> m_imageFiles;       // image definition -> file
    std::vector<std::pair<std::uint64_t, std::uint64_t>> m_annotations; // leader, annotation
};

void Reader::splitSections() {
    const Groups all(m_groups);
    std::size_t i = 0;
    while (i < all.size()) {
        const SvDxfGroup& group = all[i];
        if (group.code == 999) {
            ++i;
            continue;
        }
        if (group.code != 0)
            fail(group.line, L"a section was expected");
        const std::string_view word = trimmed(group.value);
        if (word == "EOF")
            return;
        if (word != "SECTION")
            fail(group.line, L"a section was expected");
        if (i + 1 >= all.size() || all[i + 1].code != 2)
            fail(group.line, L"the section has no name");
        const std::string name = upper(trimmed(all[i + 1].value));
        std::size_t end = i + 2;
        while (end < all.size() && !(all[end].code == 0 && trimmed(all[end].value) == "ENDSEC")) {
            if (all[end].code == 0 && trimmed(all[end].value) == "SECTION")
                fail(all[end].line, L"a section begins inside another");
            ++end;
        }
        if (end == all.size())
            fail(group.line, L"the section is not ended (ENDSEC)");
        if (!m_sections.emplace(name, all.subspan(i + 2, end - i - 2)).second)
            fail(group.line, L"the section comes twice");
        i = end + 1;
    }
    fail(all.empty() ? 1 : all.back().line, L"the file ends without EOF");
}

void Reader::scanHandles() {
    // Most records have a handle and about a dozen groups.
    const std::size_t handles = m_groups.size() / 8;
    m_onFile.reserve(handles);
    m_claimed.reserve(handles);
    m_records.reserve(handles);
    for (const SvDxfGroup& group : m_groups) {
        if (group.code != 5 && group.code != 105)
            continue;
        std::uint64_t handle = 0;
        if (!svDxfHandle(group.value, handle) || handle == 0 || handle >= kSvDbMaxHandseed / 2)
            fail(group.line + 1, L"the handle is not a hexadecimal number within range");
        m_onFile.insert(handle);
        m_maxHandle = std::max(m_maxHandle, handle);
    }
}

void Reader::readHeader(Groups section) {
    for (std::size_t i = 0; i < section.size(); ++i) {
        if (section[i].code != 9)
            continue;
        const std::string name = upper(trimmed(section[i].value));
        if (i + 1 >= section.size())
            fail(section[i].line, L"the header variable has no value");
        const SvDxfGroup& value = section[i + 1];
        if (name == "$ACADVER") {
            const std::string_view version = trimmed(value.value);
            m_text.utf8 = version >= "AC1021";
        } else if (name == "$HANDSEED") {
            if (!svDxfHandle(value.value, m_handseed) || m_handseed >= kSvDbMaxHandseed / 2)
                fail(value.line + 1, L"the handle seed is not a hexadecimal number within range");
        } else if (name.size() > 1) {
            const std::wstring variable = svFromUtf8(name.substr(1));
            AcDbSysVar current;
            if (m_db->getSysVar(variable.c_str(), current) != Acad::eOk)
                continue;
            AcDbSysVar read = current;
            long long whole = 0;
            double real = 0.0;
            if (current.type == AcDbSysVar::kString) {
                read.stringValue = svDxfDecode(value.value, m_text);
            } else if (current.type == AcDbSysVar::kReal && svDxfReal(value, real)) {
                read.realValue = real;
            } else if (current.type != AcDbSysVar::kReal && svDxfInteger(value, whole) &&
                       whole >= INT32_MIN && whole <= INT32_MAX) {
                read.intValue = static_cast<Adesk::Int32>(whole);
            } else {
                fail(value.line + 1, L"the header variable's value is not of its kind");
            }
            // A value the host does not take (out of its range) keeps the default.
            AcDbDatabase probe(false, true);
            if (probe.setSysVar(variable.c_str(), read) == Acad::eOk)
                m_records.records.sysvars.emplace_back(variable, read);
        }
    }
}

void Reader::readClasses(Groups section) {
    for (Groups record : recordsOf(section)) {
        if (trimmed(record.front().value) != "CLASS")
            continue;
        SvDbClassEntry entry;
        const SvDxfGroup* dxfName = find(record, 1);
        const SvDxfGroup* name = find(record, 2);
        const SvDxfGroup* app = find(record, 3);
        const SvDxfGroup* isEntity = find(record, 281);
        entry.dxfName = dxfName != nullptr ? svDxfDecode(trimmed(dxfName->value), m_text) : L"";
        entry.name = name != nullptr ? svDxfDecode(trimmed(name->value), m_text) : entry.dxfName;
        entry.appName = app != nullptr ? svDxfDecode(app->value, m_text) : L"";
        long long flag = 0;
        if (isEntity != nullptr && !svDxfInteger(*isEntity, flag))
            fail(isEntity->line + 1, L"a whole number was expected");
        if (entry.name.empty())
            fail(record.front().line, L"the class has no name");
        entry.flags = flag != 0 ? kSvDbClassIsEntity : 0;
        m_classes.push_back(entry);
    }
}

std::uint64_t Reader::handleOf(Groups record) {
    const SvDxfGroup* group = find(record, 5);
    if (group == nullptr)
        group = find(record, 105);
    std::uint64_t handle = 0;
    if (group == nullptr)
        return newHandle();
    svDxfHandle(group->value, handle);
    if (!m_claimed.insert(handle).second)
        fail(group->line, L"the handle is used twice");
    return handle;
}

// Handle, extension dictionary, reactors and owner as the record's groups give them.
Head Reader::headOf(Groups record) {
    Head head;
    head.handle = handleOf(record);
    enum { kNone, kXdict, kReactors, kOther } group102 = kNone;
    for (const SvDxfGroup& group : record) {
        if (group.code == 102) {
            const std::string_view word = trimmed(group.value);
            group102 = word == "{ACAD_XDICTIONARY" ? kXdict
                       : word == "{ACAD_REACTORS"  ? kReactors
                       : word == "}"               ? kNone
                                                   : kOther;
            continue;
        }
        std::uint64_t handle = 0;
        if (group.code != 330 && group.code != 360)
            continue;
        if (!svDxfHandle(group.value, handle))
            fail(group.line + 1, L"the handle is not a hexadecimal number");
        if (group102 == kXdict && group.code == 360)
            head.xdict = handle;
        else if (group102 == kReactors && group.code == 330)
            head.reactors.push_back(handle);
        else if (group102 == kNone && group.code == 330 && head.owner == 0)
            head.owner = handle;
    }
    return head;
}

void Reader::readTables(Groups section) {
    std::string table;
    for (Groups record : recordsOf(section)) {
        const std::string_view type = trimmed(record.front().value);
        if (type == "TABLE") {
            const SvDxfGroup* name = find(record, 2);
            table = name != nullptr ? upper(trimmed(name->value)) : "";
            if (table == "BLOCK_RECORD")
                m_blockTable = handleOf(record);
            else
                keepRaw(record, headOf(record), false);
        } else if (type == "BLOCK_RECORD" && table == "BLOCK_RECORD") {
            const SvDxfGroup* name = find(record, 2);
            if (name == nullptr)
                fail(record.front().line, L"the block record has no name");
            if (isDimensionBlock(name->value)) {
                handleOf(record);
                continue;
            }
            Block& block = m_blocks[upper(name->value)];
            if (block.handle != 0)
                fail(record.front().line, L"the block record comes twice");
            block.handle = handleOf(record);
            block.name = svDxfDecode(name->value, m_text);
        } else if (type != "ENDTAB" && table != "BLOCK_RECORD") {
            // Layers with their colours, text and dimension styles, line types: kept whole.
            const Head head = headOf(record);
            keepRaw(record, head, false);
            const SvDxfGroup* name = find(record, 2);
            auto* styles = type == "STYLE" && table == "STYLE"         ? &m_textStyles
                           : type == "DIMSTYLE" && table == "DIMSTYLE" ? &m_dimensionStyles
                                                                       : nullptr;
            if (styles != nullptr && name != nullptr)
                styles->try_emplace(upper(trimmed(name->value)), head.handle);
        }
    }
}

std::uint64_t Reader::blockFor(std::string_view name) {
    Block& block = m_blocks[upper(name)];
    if (block.handle == 0) {
        block.handle = newHandle();
        block.name = svDxfDecode(name, m_text);
    }
    return block.handle;
}

void Reader::keepRaw(Groups record, const Head& head, bool entity) {
    std::vector<SvDxfRawGroup> raw;
    raw.reserve(record.size());
    for (const SvDxfGroup& group : record.subspan(1)) {
        if (group.code != 5 && group.code != 105)
            raw.push_back({group.code, svToUtf8(svDxfDecode(group.value, m_text))});
    }
    SvDbClassEntry cls;
    cls.dxfName = svFromUtf8(std::string(trimmed(record.front().value)));
    cls.name = svDxfRawClassName(cls.dxfName);
    m_records.addBytes(head, cls, entity, svDxfPackGroups(raw));
}

// A text names its style in 7, a dimension in 3: the entity refers to the table's record of that
// name, and to none (the standard style) when the table lacks it.
void Reader::setStyle(AcDbEntity* entity, Groups record) {
    auto* text = AcDbText::cast(entity);
    auto* mtext = AcDbMText::cast(entity);
    auto* dimension = AcDbDimension::cast(entity);
    const bool isText = text != nullptr || mtext != nullptr;
    if (!isText && dimension == nullptr)
        return;
    const SvDxfGroup* name = find(record, isText ? 7 : 3);
    if (name == nullptr)
        return;
    const auto& styles = isText ? m_textStyles : m_dimensionStyles;
    const auto it = styles.find(upper(trimmed(name->value)));
    if (it == styles.end())
        return;
    const AcDbObjectId style = m_records.idFor(it->second);
    if (text != nullptr)
        text->setTextStyle(style);
    else if (mtext != nullptr)
        mtext->setTextStyle(style);
    else
        dimension->setDimensionStyle(style);
}

// Entities from records[i] on, up to the end or ENDBLK, into the block `owner`; a sequence
// (an insertion's attributes, an old polyline's vertices) goes with the record it follows.
void Reader::placeEntities(const std::vector<Groups>& records, std::size_t& i, std::uint64_t owner,
                           std::vector<std::uint64_t>* into) {
    for (; i < records.size(); ++i) {
        const Groups record = records[i];
        const std::string_view type = trimmed(record.front().value);
        if (type == "ENDBLK")
            return;
        if (type == "SEQEND" || type == "VERTEX" || type == "ATTRIB")
            fail(record.front().line, L"the record belongs to a sequence that has not begun");
        // The records of its sequence, up to and with SEQEND.
        std::size_t last = i;
        const bool sequence = type == "POLYLINE" || (type == "INSERT" && find(record, 66) &&
                                                     trimmed(find(record, 66)->value) == "1");
        if (sequence) {
            while (last + 1 < records.size() &&
                   trimmed(records[last + 1].front().value) != "SEQEND") {
                const std::string_view inner = trimmed(records[last + 1].front().value);
                if (inner != (type == "POLYLINE" ? "VERTEX" : "ATTRIB"))
                    fail(records[last + 1].front().line, L"the sequence is not ended (SEQEND)");
                ++last;
            }
            if (last + 1 >= records.size())
                fail(record.front().line, L"the sequence is not ended (SEQEND)");
            ++last;
        }
        if (type == "ACAD_PROXY_ENTITY" && find(record, 310) != nullptr) {
            into->push_back(addFiled(record));
            continue;
        }
        Head head = headOf(record);
        head.owner = owner;
        std::wstring why;
        std::unique_ptr<AcDbEntity> entity(svDxfMakeEntity(record, m_text, why));
        if (!why.empty())
            throw Failure{why};
        if (entity != nullptr)
            setStyle(entity.get(), record);
        if (entity != nullptr && type == "POLYLINE") {
            for (std::size_t k = i + 1; k < last && why.empty(); ++k)
                svDxfAddVertex(entity.get(), records[k], why);
            if (!why.empty())
                throw Failure{why};
        }
        if (entity == nullptr) {
            // Kept whole, its sequence with it.
            const Groups whole(record.data(),
                               records[last].data() + records[last].size() - record.data());
            keepRaw(whole, head, true);
            for (std::size_t k = i + 1; k <= last; ++k)
                handleOf(records[k]);
        } else if (auto* reference = AcDbBlockReference::cast(entity.get())) {
            const SvDxfGroup* name = find(record, 2);
            if (name == nullptr)
                fail(record.front().line, L"the insertion names no block");
            reference->setBlockTableRecord(m_records.idFor(blockFor(name->value)));
            std::vector<std::uint64_t> attributes;
            for (std::size_t k = i + 1; k < last; ++k) {
                Head attributeHead = headOf(records[k]);
                attributeHead.owner = head.handle;
                std::unique_ptr<AcDbEntity> attribute(svDxfMakeEntity(records[k], m_text, why));
                if (!why.empty())
                    throw Failure{why};
                if (AcDbAttribute::cast(attribute.get()) == nullptr)
                    fail(records[k].front().line, L"an insertion's sequence holds no attribute");
                setStyle(attribute.get(), records[k]);
                attributes.push_back(attributeHead.handle);
                m_records.add(attributeHead, attribute.release());
            }
            if (sequence)
                handleOf(records[last]);
            entity.release();
            m_records.addBlockReference(head, reference, attributes);
        } else {
            if (type == "POLYLINE") {
                for (std::size_t k = i + 1; k <= last; ++k)
                    handleOf(records[k]);
            }
            if (const SvDxfGroup* annotation = find(record, 340);
                annotation != nullptr && AcDbLeader::cast(entity.get()) != nullptr) {
                std::uint64_t target = 0;
                if (svDxfHandle(annotation->value, target) && target != 0)
                    m_annotations.emplace_back(head.handle, target);
            }
            if (auto* image = AcDbRasterImage::cast(entity.get())) {
                const SvDxfGroup* definition = find(record, 340);
                std::uint64_t target = 0;
                if (definition != nullptr && svDxfHandle(definition->value, target))
                    image->setImageFileName(m_imageFiles[target].c_str());
            }
            m_records.add(head, entity.release());
        }
        into->push_back(head.handle);
        i = last;
    }
}

void Reader::readBlocks(Groups section) {
    const std::vector<Groups> records = recordsOf(section);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Groups record = records[i];
        const std::string_view type = trimmed(record.front().value);
        if (type != "BLOCK")
            fail(record.front().line, L"a block was expected");
        const SvDxfGroup* name = find(record, 2);
        if (name == nullptr)
            fail(record.front().line, L"the block has no name");
        handleOf(record);
        if (isDimensionBlock(name->value)) {
            // A dimension's picture: the host draws its dimensions itself.
            while (++i < records.size() && trimmed(records[i].front().value) != "ENDBLK")
                handleOf(records[i]);
            if (i >= records.size())
                fail(record.front().line, L"the block is not ended (ENDBLK)");
            handleOf(records[i]);
            continue;
        }
        const std::uint64_t owner = blockFor(name->value);
        Block& block = m_blocks[upper(name->value)];
        if (block.defined)
            fail(record.front().line, L"the block is defined twice");
        block.defined = true;
        ++i;
        placeEntities(records, i, owner, &block.entities);
        if (i >= records.size())
            fail(record.front().line, L"the block is not ended (ENDBLK)");
        handleOf(records[i]);
    }
}

void Reader::readEntities(Groups section, std::uint64_t modelSpace, std::uint64_t paperSpace) {
    const std::vector<Groups> records = recordsOf(section);
    std::vector<Groups> model;
    std::vector<Groups> paper;
    // Entities of the paper-space layout are marked 67 1; the rest are in model space.
    for (std::size_t i = 0; i < records.size(); ++i) {
        const SvDxfGroup* space = find(records[i], 67);
        const std::string_view type = trimmed(records[i].front().value);
        const bool follows = type == "VERTEX" || type == "ATTRIB" || type == "SEQEND";
        const bool inPaper =
            follows
                ? (!paper.empty() && paper.back().data() + paper.back().size() == records[i].data())
                : space != nullptr && trimmed(space->value) == "1";
        (inPaper ? paper : model).push_back(records[i]);
    }
    std::size_t i = 0;
    placeEntities(model, i, modelSpace, &m_blocks[upper("*Model_Space")].entities);
    if (i < model.size())
        fail(model[i].front().line, L"ENDBLK outside a block");
    i = 0;
    placeEntities(paper, i, paperSpace, &m_blocks[upper("*Paper_Space")].entities);
    if (i < paper.size())
        fail(paper[i].front().line, L"ENDBLK outside a block");
}

void Reader::readObjects(Groups section) {
    const std::vector<Groups> records = recordsOf(section);
    // Layouts and image definitions are made anew when the drawing is written; what points to
    // them is dropped with them.
    std::unordered_set<std::uint64_t> remade;
    for (Groups record : records) {
        const std::string_view type = trimmed(record.front().value);
        std::uint64_t handle = 0;
        const SvDxfGroup* own = find(record, 5);
        if (own == nullptr || !svDxfHandle(own->value, handle))
            continue;
        if (type == "LAYOUT" || type == "IMAGEDEF" || type == "IMAGEDEF_REACTOR" ||
            type == "RASTERVARIABLES")
            remade.insert(handle);
    }
    bool first = true;
    for (Groups record : records) {
        const std::string_view type = trimmed(record.front().value);
        if (type == "DICTIONARY") {
            Head head = headOf(record);
            if (first)
                m_nod = head.handle;
            first = false;
            bool hard = false;
            if (const SvDxfGroup* flag = find(record, 280))
                hard = trimmed(flag->value) == "1";
            std::vector<std::pair<std::wstring, std::uint64_t>> entries;
            for (std::size_t g = 0; g < record.size(); ++g) {
                if (record[g].code != 3)
                    continue;
                if (g + 1 >= record.size() ||
                    (record[g + 1].code != 350 && record[g + 1].code != 360))
                    fail(record[g].line, L"the dictionary entry has no object");
                std::uint64_t target = 0;
                if (!svDxfHandle(record[g + 1].value, target))
                    fail(record[g + 1].line + 1, L"the handle is not a hexadecimal number");
                if (record[g + 1].code == 360)
                    hard = true;
                if (remade.count(target) != 0)
                    continue;
                if (target == 0 || m_onFile.count(target) == 0)
                    fail(record[g + 1].line + 1,
                         L"the dictionary entry names an object the file lacks");
                const std::wstring key = svDxfDecode(record[g].value, m_text);
                if (key == L"ACAD_LAYOUT" || key == L"ACAD_IMAGE_DICT" || key == L"ACAD_IMAGE_VARS")
                    remade.insert(target);
                else
                    entries.emplace_back(key, target);
            }
            if (remade.count(head.handle) == 0)
                m_records.addDictionary(head, hard, entries);
        } else if (type == "ACAD_PROXY_OBJECT") {
            addFiled(record);
        } else {
            const Head head = headOf(record);
            if (remade.count(head.handle) == 0)
                keepRaw(record, head, false);
        }
    }
}

// A proxy record of a class of the CLASSES section with the bytes its DWG filing wrote: made an
// object of that class when it is registered, else a proxy that keeps the bytes.
std::uint64_t Reader::addFiled(Groups record) {
    const Head head = headOf(record);
    const SvDxfGroup* classId = find(record, 91);
    long long id = 0;
    if (classId == nullptr || !svDxfInteger(*classId, id) || id < 500 ||
        id - 500 >= static_cast<long long>(m_classes.size()))
        fail(record.front().line, L"the proxy names no class of the file");
    std::vector<unsigned char> bytes;
    for (const SvDxfGroup& group : record) {
        if (group.code != 310)
            continue;
        const std::string_view hex = trimmed(group.value);
        if (hex.size() % 2 != 0)
            fail(group.line + 1, L"the binary data is not hexadecimal");
        for (std::size_t k = 0; k < hex.size(); k += 2) {
            std::uint64_t byte = 0;
            if (!svDxfHandle(hex.substr(k, 2), byte))
                fail(group.line + 1, L"the binary data is not hexadecimal");
            bytes.push_back(static_cast<unsigned char>(byte));
        }
    }
    m_records.addFiled(head.handle, m_classes[static_cast<std::size_t>(id - 500)],
                       std::move(bytes));
    return head.handle;
}

void Reader::finishBlocks() {
    std::vector<std::uint64_t> ids;
    for (auto& [key, block] : m_blocks) {
        Head head;
        head.handle = block.handle;
        head.owner = m_blockTable;
        const bool layout = key.rfind("*MODEL_SPACE", 0) == 0 || key.rfind("*PAPER_SPACE", 0) == 0;
        m_records.addBlockTableRecord(head, block.name, layout, block.entities);
        ids.push_back(block.handle);
    }
    Head table;
    table.handle = m_blockTable;
    m_records.addBlockTable(table, ids);
}

Acad::ErrorStatus Reader::run(std::wstring& why) {
    try {
        splitSections();
        scanHandles();
        if (auto it = m_sections.find("HEADER"); it != m_sections.end())
            readHeader(it->second);
        if (auto it = m_sections.find("CLASSES"); it != m_sections.end())
            readClasses(it->second);
        if (auto it = m_sections.find("TABLES"); it != m_sections.end())
            readTables(it->second);
        if (m_blockTable == 0)
            m_blockTable = newHandle();
        const std::uint64_t modelSpace = blockFor("*Model_Space");
        const std::uint64_t paperSpace = blockFor("*Paper_Space");
        if (auto it = m_sections.find("OBJECTS"); it != m_sections.end()) {
            for (Groups record : recordsOf(it->second)) {
                const SvDxfGroup* own = find(record, 5);
                const SvDxfGroup* file = find(record, 1);
                std::uint64_t handle = 0;
                if (trimmed(record.front().value) == "IMAGEDEF" && own != nullptr &&
                    file != nullptr && svDxfHandle(own->value, handle))
                    m_imageFiles[handle] = svDxfDecode(file->value, m_text);
            }
        }
        if (auto it = m_sections.find("BLOCKS"); it != m_sections.end())
            readBlocks(it->second);
        if (auto it = m_sections.find("ENTITIES"); it != m_sections.end())
            readEntities(it->second, modelSpace, paperSpace);
        if (auto it = m_sections.find("OBJECTS"); it != m_sections.end())
            readObjects(it->second);
        if (m_nod == 0) {
            m_nod = newHandle();
            m_records.addDictionary({m_nod, 0, 0, {}}, false, {});
        }
        finishBlocks();
    } catch (const Failure& failure) {
        why = failure.why;
        return Acad::eBadDwgFile;
    }
    m_records.finish();
    SvDbDrawingRecords& records = m_records.records;
    records.blockTable = m_blockTable;
    records.nod = m_nod;
    records.handseed = std::max(m_handseed, m_maxHandle + 1);
    const Acad::ErrorStatus es = svDbBuildDrawing(m_db, records);
    if (es != Acad::eOk) {
        why = L"the drawing's objects do not hold together: an object refers to one the file "
              L"lacks, or ownership runs in a cycle";
        return es;
    }
    attachAnnotations();
    return Acad::eOk;
}

// Leaders take their annotations once both are in the drawing.
void Reader::attachAnnotations() {
    for (const auto& [leaderHandle, annotationHandle] : m_annotations) {
        AcDbObjectId leaderId;
        AcDbObjectId annotationId;
        if (m_db->getAcDbObjectId(leaderId, false, AcDbHandle(leaderHandle)) != Acad::eOk ||
            m_db->getAcDbObjectId(annotationId, false, AcDbHandle(annotationHandle)) != Acad::eOk)
            continue;
        auto* leader = AcDbLeader::cast(svDbResolve(leaderId));
        if (leader == nullptr)
            continue;
        SvDbFilingScope filling(leader);
        leader->attachAnnotation(annotationId);
        SvDbAccess::data(leader).modified = false;
    }
}

} // namespace

Acad::ErrorStatus svDxfRead(AcDbDatabase* db, const std::string& path, std::wstring& why) {
    SvDxfGroups groups;
    if (!svDxfReadGroups(path, groups, why))
        return Acad::eBadDwgFile;
    Reader reader(db, groups.groups);
    return reader.run(why);
}
