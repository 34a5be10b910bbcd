#include <cstdio>
#include <map>
#include <sstream>

#include "preprocessor.h"
#include "rc.h"

namespace svrc {

namespace {

// ---- the version block -----------------------------------------------------------------------
// The platform's layout (length, value length, type, key, value, children, each on a 4-byte
// boundary) with our wide characters and 32-bit header fields, so that the texts VerQueryValueW
// hands out point straight into the block.

void putDword(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int k = 0; k < 4; ++k)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
}

void putText(std::vector<std::uint8_t>& out, const std::wstring& text) {
    for (wchar_t c : text) {
        const auto u = static_cast<std::uint32_t>(c);
        for (int k = 0; k < static_cast<int>(sizeof(wchar_t)); ++k)
            out.push_back(static_cast<std::uint8_t>(u >> (8 * k)));
    }
    for (std::size_t k = 0; k < sizeof(wchar_t); ++k)
        out.push_back(0);
}

void align(std::vector<std::uint8_t>& out) {
    while (out.size() % 4 != 0)
        out.push_back(0);
}

void setDword(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k)
        out[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v >> (8 * k));
}

void node(std::vector<std::uint8_t>& out, const std::wstring& key, bool text,
          const std::vector<std::uint8_t>& value, std::uint32_t valueLength,
          const std::vector<VersionNode>& children) {
    align(out);
    const std::size_t start = out.size();
    putDword(out, 0);
    putDword(out, valueLength);
    putDword(out, text ? 1 : 0);
    putText(out, key);
    align(out);
    out.insert(out.end(), value.begin(), value.end());
    for (const VersionNode& child : children) {
        std::vector<std::uint8_t> bytes;
        std::uint32_t length = 0;
        if (child.block) {
            // no value
        } else if (child.text) {
            putText(bytes, child.textValue);
            length = static_cast<std::uint32_t>(child.textValue.size() + 1);
        } else {
            bytes = child.bytes;
            length = static_cast<std::uint32_t>(bytes.size());
        }
        node(out, child.key, child.block || child.text, bytes, length, child.children);
    }
    setDword(out, start, static_cast<std::uint32_t>(out.size() - start));
}

// ---- C++ text --------------------------------------------------------------------------------

std::string wideLiteral(const std::wstring& text) {
    std::string out = "L\"";
    bool afterHex = false;
    for (wchar_t c : text) {
        const auto u = static_cast<std::uint32_t>(c);
        const bool hexDigit =
            (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
        if (afterHex && hexDigit)
            out += "\" L\"";
        afterHex = false;
        if (c == L'"' || c == L'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (u >= 0x20 && u < 0x7F && c != L'?') {
            out += static_cast<char>(c);
        } else {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "\\x%X", u);
            out += buffer;
            afterHex = true;
        }
    }
    return out + "\"";
}

template <typename T>
void byteArray(std::ostringstream& out, const std::vector<T>& bytes) {
    out << "{";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out << (i % 16 == 0 ? "\n    " : " ") << "0x" << std::hex
            << static_cast<std::uint64_t>(bytes[i]) << std::dec << ",";
    }
    out << "\n}";
}

std::string nameFields(const Name& name) {
    return name.ordinal ? "nullptr, " + std::to_string(name.id) : wideLiteral(name.text) + ", 0";
}

std::string typeFields(std::uint16_t id) {
    return "nullptr, " + std::to_string(id);
}

} // namespace

std::vector<std::uint8_t> versionBlock(const VersionInfo& v) {
    std::vector<std::uint8_t> fixed;
    for (std::uint32_t word : {0xFEEF04BDu, 0x00010000u, v.fileVersion[0], v.fileVersion[1],
                               v.productVersion[0], v.productVersion[1], v.fileFlagsMask,
                               v.fileFlags, v.fileOs, v.fileType, v.fileSubtype, 0u, 0u})
        putDword(fixed, word);
    std::vector<std::uint8_t> out;
    node(out, L"VS_VERSION_INFO", false, fixed, static_cast<std::uint32_t>(fixed.size()),
         v.children);
    return out;
}

std::string emitSource(const Script& script, const std::string& inputName) {
    std::ostringstream out;
    // Each entry's fields; the braces come when it is written. A literal brace before an entry
    // built in place would be `const char* + std::string&&`, which g++ 12 at -O3 flags with a false
    // -Wrestrict.
    std::vector<std::string> entries;
    out << "// Made by svrc from " << inputName << "; changes belong in the script.\n"
        << "#include \"win/resources.h\"\n\nnamespace {\n\n";

    if (!script.strings.empty()) {
        out << "const SvResString svStrings[] = {\n";
        for (const StringEntry& s : script.strings)
            out << "    {" << s.id << ", " << wideLiteral(s.text) << ", " << s.text.size()
                << "},\n";
        out << "};\n\n";
        // The string blocks FindResourceW serves: 16 ids each, block n holding ids 16(n-1)...
        std::map<std::uint32_t, std::vector<std::uint32_t>> blocks;
        for (const StringEntry& s : script.strings) {
            std::vector<std::uint32_t>& block = blocks[s.id / 16 + 1];
            if (block.empty())
                block.assign(16, 0);
            block[s.id % 16] = static_cast<std::uint32_t>(&s - script.strings.data()) + 1;
        }
        for (const auto& [blockId, slots] : blocks) {
            std::vector<std::uint32_t> chars;
            for (std::uint32_t slot : slots) {
                if (slot == 0) {
                    chars.push_back(0);
                    continue;
                }
                const std::wstring& text = script.strings[slot - 1].text;
                chars.push_back(static_cast<std::uint32_t>(text.size()));
                for (wchar_t c : text)
                    chars.push_back(static_cast<std::uint32_t>(c));
            }
            out << "const wchar_t svStringBlock" << blockId << "[] = ";
            byteArray(out, chars);
            out << ";\n";
            entries.push_back(typeFields(6) + ", nullptr, " + std::to_string(blockId) +
                              ", svStringBlock" + std::to_string(blockId) +
                              ", sizeof svStringBlock" + std::to_string(blockId));
        }
        out << "\n";
    }

    if (script.version) {
        // In a section of its own, so GetFileVersionInfoW can read it from the file as data.
        out << "[[gnu::section(\".sv_version\"), gnu::used]] alignas(8) const unsigned char "
               "svVersion[] = ";
        byteArray(out, versionBlock(*script.version));
        out << ";\n\n";
        entries.push_back(typeFields(16) + ", " + nameFields(script.versionName) +
                          ", svVersion, sizeof svVersion");
    }

    // Templates and data, each an aligned array FindResourceW hands out as it is.
    std::size_t arrays = 0;
    auto data = [&](const Name& type, const Name& name, const std::vector<std::uint8_t>& bytes) {
        const std::string id = "svData" + std::to_string(arrays++);
        if (!bytes.empty()) {
            out << "alignas(8) const unsigned char " << id << "[] = ";
            byteArray(out, bytes);
            out << ";\n";
        }
        entries.push_back(nameFields(type) + ", " + nameFields(name) + ", " +
                          (bytes.empty() ? "nullptr, 0" : id + ", sizeof " + id));
    };
    for (const Dialog& d : script.dialogs)
        data(Name{true, 5, L""}, d.name, dialogTemplate(d));
    for (const Menu& m : script.menus)
        data(Name{true, 4, L""}, m.name, menuTemplate(m));
    for (const RawResource& r : script.raws)
        data(r.type, r.name, r.bytes);

    if (!entries.empty()) {
        out << "\nconst SvResEntry svEntries[] = {\n";
        for (const std::string& e : entries)
            out << "    {" << e << "},\n";
        out << "};\n";
    }
    out << "\nconst SvResourceTable svTable = {SV_RESOURCE_TABLE_VERSION, "
        << (entries.empty() ? "nullptr" : "svEntries") << ", " << entries.size() << ", "
        << (script.strings.empty() ? "nullptr" : "svStrings") << ", " << script.strings.size()
        << "};\n\n} // namespace\n\n"
        << "extern \"C\" DLLEXPORT const SvResourceTable* SvResources() {\n"
        << "    return &svTable;\n}\n";
    return out.str();
}

} // namespace svrc
