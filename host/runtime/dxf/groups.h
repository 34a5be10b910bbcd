#pragma once

// DXF as its lines come: pairs of a group code and a value, read and written through libdime's
// group-level input and output.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct SvDxfGroup {
    int code = 0;
    std::uint32_t line = 0; // of the group code, from 1 (a drawing has fewer lines than bytes)
    std::string_view value; // as on file, the line's end taken off; a zero byte follows it
};

// The groups of a file and the one buffer their values live in, one after the other.
struct SvDxfGroups {
    std::unique_ptr<char[]> text;
    std::vector<SvDxfGroup> groups;
};

// The largest file, line and count of groups a drawing may bring: past these the file is refused
// before anything is made of it.
inline constexpr std::size_t kSvDxfMaxFileBytes = std::size_t{1} << 30;
inline constexpr std::size_t kSvDxfMaxLineBytes = 4000;

// Reads every group of an ASCII DXF file. Each line is checked to be within bounds before libdime
// reads it; libdime's lines are then taken as codes (whole numbers in the range DXF uses, each
// with a value) and values. On failure `why` names the first line at fault.
bool svDxfReadGroups(const std::string& path, SvDxfGroups& read, std::wstring& why);

// "line N: what" for messages about the file.
std::wstring svDxfAt(std::size_t line, const wchar_t* what);

class dimeOutput;

// Writes groups through libdime into memory; numbers are formatted here, so reals keep every
// digit they have.
class SvDxfWriter {
public:
    SvDxfWriter();
    ~SvDxfWriter();
    SvDxfWriter(const SvDxfWriter&) = delete;
    SvDxfWriter& operator=(const SvDxfWriter&) = delete;

    void text(int code, const std::string& value);
    void text(int code, const std::wstring& value); // code page 1252, the rest as \U+XXXX
    void integer(int code, long long value);
    void real(int code, double value);
    void handle(int code, std::uint64_t value); // hexadecimal, as handles are written
    void point(int code, double x, double y, double z);
    void point(int code, double x, double y);

    // The bytes written so far; false when the output failed.
    bool finish(std::vector<unsigned char>& bytes);

private:
    dimeOutput* m_out;
    std::FILE* m_file;
    char* m_buffer = nullptr;
    std::size_t m_size = 0;
    bool m_failed = false;
};
