#include "groups.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dime/Input.h>
#include <dime/Output.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>

#include "crt/format.h"

namespace {

bool isCodeLine(const char* begin, const char* end, int& code) {
    while (begin < end && *begin == ' ')
        ++begin;
    bool negative = false;
    if (begin < end && *begin == '-') {
        negative = true;
        ++begin;
    }
    if (begin == end || end - begin > 4)
        return false;
    int value = 0;
    for (; begin < end; ++begin) {
        if (*begin < '0' || *begin > '9')
            return false;
        value = value * 10 + (*begin - '0');
    }
    // Codes run 0..1071; -1 and the like only appear in memory, never on file, except 999 notes.
    code = negative ? -value : value;
    return code >= 0 && code <= 1071;
}

// The lines of the file, checked: each group code line a code, each followed by a value line,
// none longer than the bound. Gives the line of each group's code; comments (999), which libdime
// passes over, are left out.
bool checkLines(const std::string& bytes, std::vector<std::size_t>& codeLines, std::wstring& why) {
    std::size_t line = 0;
    std::size_t pos = 0;
    std::size_t groups = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string::npos)
            end = bytes.size();
        std::size_t stop = end;
        if (stop > pos && bytes[stop - 1] == '\r')
            --stop;
        ++line;
        if (stop - pos > kSvDxfMaxLineBytes) {
            why = svDxfAt(line, L"the line is longer than a DXF line may be");
            return false;
        }
        if (std::memchr(bytes.data() + pos, '\0', stop - pos) != nullptr) {
            why = svDxfAt(line, L"the line holds a zero byte (a binary DXF is not read)");
            return false;
        }
        if (line % 2 == 1) {
            int code = 0;
            const bool blankTail = stop == pos && end == bytes.size();
            if (blankTail)
                break;
            if (!isCodeLine(bytes.data() + pos, bytes.data() + stop, code)) {
                why = svDxfAt(line, L"a group code was expected");
                return false;
            }
            ++groups;
            if (code != 999)
                codeLines.push_back(line);
        }
        pos = end + 1;
    }
    if (line % 2 == 1 && groups * 2 > line - 1) {
        why = svDxfAt(line, L"the group code has no value");
        return false;
    }
    return true;
}

bool readFile(const std::string& path, std::string& bytes, std::wstring& why) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        why = L"the file cannot be opened";
        return false;
    }
    struct stat info {};
    if (::fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
        why = L"not a regular file";
        return false;
    }
    if (static_cast<std::size_t>(info.st_size) > kSvDxfMaxFileBytes) {
        why = L"the file is larger than a drawing may be";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(info.st_size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        why = L"the file cannot be read";
        return false;
    }
    return true;
}

std::string withoutLineEnd(const char* value) {
    std::string text = value != nullptr ? value : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

} // namespace

std::wstring svDxfAt(std::size_t line, const wchar_t* what) {
    return svFormat(L"line %d: %s", static_cast<int>(line), what);
}

bool svDxfReadGroups(const std::string& path, std::vector<SvDxfGroup>& groups, std::wstring& why) {
    std::string bytes;
    if (!readFile(path, bytes, why))
        return false;
    // The binary form's sentinel ends with these bytes, 18 characters in.
    constexpr std::string_view kBinarySentinelEnd = "Binary DXF\r\n\x1a";
    if (bytes.size() > 22 && bytes.compare(8, kBinarySentinelEnd.size(), kBinarySentinelEnd) == 0) {
        why = L"a binary DXF file is not read; save it as ASCII DXF";
        return false;
    }
    std::vector<std::size_t> codeLines;
    if (!checkLines(bytes, codeLines, why))
        return false;
    groups.clear();
    const std::size_t count = codeLines.size();
    if (count == 0)
        return true;
    // libdime reads the very bytes that were checked, not the file again.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> memory(
        fmemopen(bytes.data(), bytes.size(), "r"), &std::fclose);
    dimeInput in;
    if (!memory || !in.setFileHandle(memory.get())) {
        why = L"the file cannot be read";
        return false;
    }
    groups.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        int32 code = 0;
        const std::size_t line = codeLines[i];
        if (!in.readGroupCode(code)) {
            why = svDxfAt(line, L"a group code was expected");
            return false;
        }
        const char* value = in.readStringNoSkip();
        if (value == nullptr) {
            why = svDxfAt(line + 1, L"the value cannot be read");
            return false;
        }
        groups.push_back({static_cast<int>(code), withoutLineEnd(value), line});
    }
    return true;
}

// ---------------------------------------------------------------------------------------------

SvDxfWriter::SvDxfWriter() : m_out(new dimeOutput), m_file(open_memstream(&m_buffer, &m_size)) {
    if (m_file == nullptr || !m_out->setFileHandle(m_file))
        m_failed = true;
}

SvDxfWriter::~SvDxfWriter() {
    delete m_out;
    if (m_file != nullptr)
        std::fclose(m_file);
    std::free(m_buffer);
}

void SvDxfWriter::text(int code, const std::string& value) {
    if (m_failed)
        return;
    if (!m_out->writeGroupCode(code) || !m_out->writeString(value.c_str()))
        m_failed = true;
}

void SvDxfWriter::text(int code, const std::wstring& value) {
    std::string out;
    out.reserve(value.size());
    for (wchar_t c : value) {
        // Printable ASCII and Latin-1 are the same bytes in the drawing's code page, 1252.
        if ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
        } else if (c == L'\t') {
            out += ' ';
        } else if (c < 0x20) {
            out += '^';
            out += static_cast<char>(c + 0x40); // control characters as DXF writes them
        } else {
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, "\\U+%04X",
                          static_cast<unsigned>(c) > 0xFFFF ? 0xFFFDu : static_cast<unsigned>(c));
            out += escaped;
        }
    }
    text(code, out);
}

void SvDxfWriter::integer(int code, long long value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld", value);
    text(code, std::string(buffer));
}

void SvDxfWriter::real(int code, double value) {
    // The shortest of the usual forms that reads back as the same number.
    char buffer[40];
    if (value == 0.0)
        value = 0.0;
    for (int digits : {15, 16, 17}) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
        if (std::strtod(buffer, nullptr) == value)
            break;
    }
    std::string text(buffer);
    if (text.find_first_of(".eEn") == std::string::npos)
        text += ".0";
    this->text(code, text);
}

void SvDxfWriter::handle(int code, std::uint64_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
    text(code, std::string(buffer));
}

void SvDxfWriter::point(int code, double x, double y, double z) {
    real(code, x);
    real(code + 10, y);
    real(code + 20, z);
}

void SvDxfWriter::point(int code, double x, double y) {
    real(code, x);
    real(code + 10, y);
}

bool SvDxfWriter::finish(std::vector<unsigned char>& bytes) {
    if (m_file == nullptr || std::fflush(m_file) != 0)
        m_failed = true;
    if (m_failed)
        return false;
    bytes.assign(m_buffer, m_buffer + m_size);
    return true;
}
