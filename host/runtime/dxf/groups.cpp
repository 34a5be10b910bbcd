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

// How far libdime may read: it must not see a line longer than the bound (its line buffer would
// be overrun) nor one holding a zero byte (it would cut the value short there).
struct SoundLines {
    std::size_t count = 0;     // the lines from the first that are within bounds
    bool blankTail = false;    // the last of them is an empty line that ends the file
    std::size_t faultLine = 0; // the line after them, when it is at fault
    const wchar_t* fault = nullptr;
};

SoundLines checkBounds(const std::string& bytes) {
    SoundLines sound;
    // Sound files have no zero byte at all: one look finds the first, if any.
    const auto* zero = static_cast<const char*>(std::memchr(bytes.data(), '\0', bytes.size()));
    const std::size_t firstZero =
        zero != nullptr ? static_cast<std::size_t>(zero - bytes.data()) : bytes.size();
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const char* begin = bytes.data() + pos;
        const auto* newline =
            static_cast<const char*>(std::memchr(begin, '\n', bytes.size() - pos));
        const std::size_t end =
            newline != nullptr ? static_cast<std::size_t>(newline - bytes.data()) : bytes.size();
        std::size_t stop = end;
        if (stop > pos && bytes[stop - 1] == '\r')
            --stop;
        if (stop - pos > kSvDxfMaxLineBytes) {
            sound.fault = L"the line is longer than a DXF line may be";
        } else if (firstZero >= pos && firstZero < stop) {
            sound.fault = L"the line holds a zero byte (a binary DXF is not read)";
        }
        if (sound.fault != nullptr) {
            sound.faultLine = sound.count + 1;
            return sound;
        }
        ++sound.count;
        sound.blankTail = stop == pos && end == bytes.size();
        pos = end + 1;
    }
    return sound;
}

// The line libdime gave, its end taken off: one carriage return for a code, every line end for a
// value.
std::string_view codeLine(const char* line) {
    std::string_view text(line);
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    return text;
}

std::string_view valueLine(const char* line) {
    std::string_view text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
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

} // namespace

std::wstring svDxfAt(std::size_t line, const wchar_t* what) {
    return svFormat(L"line %d: %s", static_cast<int>(line), what);
}

bool svDxfReadGroups(const std::string& path, SvDxfGroups& read, std::wstring& why) {
    read.groups.clear();
    std::string bytes;
    if (!readFile(path, bytes, why))
        return false;
    // The binary form's sentinel ends with these bytes, 18 characters in.
    constexpr std::string_view kBinarySentinelEnd = "Binary DXF\r\n\x1a";
    if (bytes.size() > 22 && bytes.compare(8, kBinarySentinelEnd.size(), kBinarySentinelEnd) == 0) {
        why = L"a binary DXF file is not read; save it as ASCII DXF";
        return false;
    }
    const SoundLines sound = checkBounds(bytes);
    const auto fault = [&](std::size_t line, const wchar_t* what) {
        why = svDxfAt(line, what);
        read.groups.clear();
        return false;
    };
    // libdime reads the very bytes that were checked, not the file again.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> memory(
        bytes.empty() ? nullptr : fmemopen(bytes.data(), bytes.size(), "r"), &std::fclose);
    dimeInput in;
    if (sound.count > 0 && (!memory || !in.setFileHandle(memory.get()))) {
        why = L"the file cannot be read";
        return false;
    }
    // Every value with its zero byte fits in as many bytes as the file has, and one more for a
    // last line without its line end: the buffer is never grown, so the views stay put.
    const std::size_t room = bytes.size() + 1;
    read.text.reset(new char[room]);
    std::size_t used = 0;
    read.groups.reserve(sound.count / 2);
    for (std::size_t line = 1; line <= sound.count; line += 2) {
        const char* codeText = in.readStringNoSkip();
        if (line == sound.count && sound.blankTail)
            break;
        int code = 0;
        const std::string_view codeView = codeText != nullptr ? codeLine(codeText) : "";
        if (!isCodeLine(codeView.data(), codeView.data() + codeView.size(), code))
            return fault(line, L"a group code was expected");
        if (line == sound.count)
            return sound.fault != nullptr ? fault(sound.faultLine, sound.fault)
                                          : fault(line, L"the group code has no value");
        const char* valueText = in.readStringNoSkip();
        if (valueText == nullptr)
            return fault(line + 1, L"the value cannot be read");
        // Comments are passed over, as libdime's own reading does.
        if (code == 999)
            continue;
        const std::string_view value = valueLine(valueText);
        if (used + value.size() + 1 > room)
            return fault(line + 1, L"the value cannot be read");
        char* kept = read.text.get() + used;
        std::memcpy(kept, value.data(), value.size());
        kept[value.size()] = '\0';
        used += value.size() + 1;
        read.groups.push_back({code, static_cast<std::uint32_t>(line), {kept, value.size()}});
    }
    if (sound.fault != nullptr)
        return fault(sound.faultLine, sound.fault);
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
