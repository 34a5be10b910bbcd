#include "win/version.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "crt/format.h"

namespace {

constexpr std::size_t kMaxBlock = 1u << 20;
constexpr std::size_t kHeader = 12; // length, value length, type

class File {
public:
    explicit File(const std::string& path) : m_fd(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~File() {
        if (m_fd >= 0)
            close(m_fd);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    std::uint64_t size() const {
        struct stat st {};
        return m_fd >= 0 && fstat(m_fd, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    }
    bool read(std::uint64_t offset, void* into, std::size_t count) const {
        if (m_fd < 0)
            return false;
        auto* out = static_cast<char*>(into);
        while (count > 0) {
            const ssize_t n = pread(m_fd, out, count, static_cast<off_t>(offset));
            if (n <= 0)
                return false;
            out += n;
            offset += static_cast<std::uint64_t>(n);
            count -= static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    int m_fd;
};

bool within(std::uint64_t offset, std::uint64_t count, std::uint64_t size) {
    return offset <= size && count <= size - offset;
}

std::uint32_t dwordAt(const unsigned char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::size_t alignUp(std::size_t offset) {
    return (offset + 3) & ~static_cast<std::size_t>(3);
}

struct Node {
    std::size_t start = 0, end = 0;
    std::uint32_t valueLength = 0, type = 0;
    std::size_t keyAt = 0, keyLength = 0;
    std::size_t valueAt = 0, valueBytes = 0;
    std::size_t childrenAt = 0;
};

// A node of the block at offset start, inside [start, limit); false when it does not fit.
bool readNode(const unsigned char* block, std::size_t start, std::size_t limit, Node& node) {
    if (start > limit || limit - start < kHeader)
        return false;
    const std::uint32_t length = dwordAt(block + start);
    if (length < kHeader || length > limit - start)
        return false;
    node.start = start;
    node.end = start + length;
    node.valueLength = dwordAt(block + start + 4);
    node.type = dwordAt(block + start + 8);
    node.keyAt = start + kHeader;
    std::size_t at = node.keyAt;
    for (;;) {
        if (node.end - at < sizeof(wchar_t))
            return false;
        wchar_t c;
        std::memcpy(&c, block + at, sizeof c);
        at += sizeof(wchar_t);
        if (c == L'\0')
            break;
        ++node.keyLength;
    }
    node.valueAt = alignUp(at);
    node.valueBytes = node.type == 1 ? std::size_t{node.valueLength} * sizeof(wchar_t)
                                     : std::size_t{node.valueLength};
    if (node.valueAt > node.end || node.valueBytes > node.end - node.valueAt)
        return false;
    node.childrenAt = alignUp(node.valueAt + node.valueBytes);
    return true;
}

bool keyIs(const unsigned char* block, const Node& node, const std::wstring& wanted) {
    if (node.keyLength != wanted.size())
        return false;
    for (std::size_t i = 0; i < node.keyLength; ++i) {
        wchar_t c;
        std::memcpy(&c, block + node.keyAt + i * sizeof(wchar_t), sizeof c);
        if (std::towlower(static_cast<wint_t>(c)) != std::towlower(static_cast<wint_t>(wanted[i])))
            return false;
    }
    return true;
}

bool validBlock(const std::vector<unsigned char>& block) {
    Node root;
    return readNode(block.data(), 0, block.size(), root) &&
           keyIs(block.data(), root, L"VS_VERSION_INFO");
}

// The version block svrc put into the file's ".sv_version" section, read without loading it.
std::vector<unsigned char> versionSection(LPCWSTR fileName) {
    if (fileName == nullptr || *fileName == L'\0')
        return {};
    std::wstring path = fileName;
    std::replace(path.begin(), path.end(), L'\\', L'/');
    const File file(svToUtf8(path));
    const std::uint64_t size = file.size();
    Elf64_Ehdr header;
    if (!file.read(0, &header, sizeof header) ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr) ||
        header.e_shnum == 0 || header.e_shstrndx >= header.e_shnum ||
        !within(header.e_shoff, std::uint64_t{header.e_shnum} * sizeof(Elf64_Shdr), size))
        return {};
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    if (!file.read(header.e_shoff, sections.data(), sections.size() * sizeof(Elf64_Shdr)))
        return {};
    const Elf64_Shdr& names = sections[header.e_shstrndx];
    if (names.sh_size > kMaxBlock || !within(names.sh_offset, names.sh_size, size))
        return {};
    std::vector<char> nameTable(names.sh_size);
    if (!file.read(names.sh_offset, nameTable.data(), nameTable.size()))
        return {};
    static const char wanted[] = ".sv_version";
    for (const Elf64_Shdr& section : sections) {
        if (section.sh_name >= nameTable.size() ||
            nameTable.size() - section.sh_name < sizeof wanted ||
            std::memcmp(nameTable.data() + section.sh_name, wanted, sizeof wanted) != 0)
            continue;
        if (section.sh_type == SHT_NOBITS || section.sh_size > kMaxBlock ||
            !within(section.sh_offset, section.sh_size, size))
            return {};
        std::vector<unsigned char> block(section.sh_size);
        if (!file.read(section.sh_offset, block.data(), block.size()) || !validBlock(block))
            return {};
        // The section may be padded; the block's own length is what callers get.
        block.resize(dwordAt(block.data()));
        return block;
    }
    return {};
}

} // namespace

DWORD GetFileVersionInfoSizeW(LPCWSTR fileName, DWORD* handle) {
    if (handle != nullptr)
        *handle = 0;
    return static_cast<DWORD>(versionSection(fileName).size());
}

BOOL GetFileVersionInfoW(LPCWSTR fileName, DWORD, DWORD size, LPVOID data) {
    if (data == nullptr)
        return FALSE;
    const std::vector<unsigned char> block = versionSection(fileName);
    if (block.empty() || size < block.size())
        return FALSE;
    std::memcpy(data, block.data(), block.size());
    return TRUE;
}

BOOL VerQueryValueW(const void* block, LPCWSTR subBlock, LPVOID* buffer, UINT* length) {
    if (length != nullptr)
        *length = 0;
    if (block == nullptr || subBlock == nullptr || buffer == nullptr)
        return FALSE;
    *buffer = nullptr;
    const auto* bytes = static_cast<const unsigned char*>(block);
    const std::uint32_t total = dwordAt(bytes);
    Node node;
    if (total > kMaxBlock || !readNode(bytes, 0, total, node) ||
        !keyIs(bytes, node, L"VS_VERSION_INFO"))
        return FALSE;
    const std::wstring path = subBlock;
    std::size_t from = 0;
    while (from <= path.size()) {
        std::size_t to = path.find(L'\\', from);
        if (to == std::wstring::npos)
            to = path.size();
        const std::wstring part = path.substr(from, to - from);
        from = to + 1;
        if (part.empty())
            continue;
        bool found = false;
        for (std::size_t at = node.childrenAt; at < node.end;) {
            Node child;
            if (!readNode(bytes, at, node.end, child))
                return FALSE;
            if (keyIs(bytes, child, part)) {
                node = child;
                found = true;
                break;
            }
            at = alignUp(child.end);
        }
        if (!found)
            return FALSE;
    }
    if (node.valueLength == 0)
        return FALSE;
    *buffer = const_cast<unsigned char*>(bytes + node.valueAt);
    if (length != nullptr)
        *length = node.valueLength;
    return TRUE;
}
