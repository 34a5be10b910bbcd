#include "shell/registry_text.h"

#include <cstring>
#include <vector>

#include "crt/format.h"
#include "shell/registry.h"

namespace {

constexpr const char* kHeader = "svhost registry 1";
constexpr const char* kHexDigits = "0123456789abcdef";

bool needsEscape(wchar_t c) {
    const auto code = static_cast<std::uint32_t>(c);
    return code < 0x20 || code == 0x7F || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF;
}

void appendQuoted(std::string& out, const std::wstring& text) {
    out += '"';
    std::wstring plain;
    auto flush = [&] {
        out += svToUtf8(plain);
        plain.clear();
    };
    for (wchar_t c : text) {
        const char* simple = c == L'\\'   ? "\\\\"
                             : c == L'"'  ? "\\\""
                             : c == L'\n' ? "\\n"
                             : c == L'\r' ? "\\r"
                             : c == L'\t' ? "\\t"
                                          : nullptr;
        if (simple == nullptr && !needsEscape(c)) {
            plain += c;
            continue;
        }
        flush();
        if (simple != nullptr) {
            out += simple;
        } else {
            char code[24];
            std::snprintf(code, sizeof code, "\\u{%x}", static_cast<unsigned>(c));
            out += code;
        }
    }
    flush();
    out += '"';
}

// A string value with exactly one terminator, at its end.
bool asPlainString(const RegistryValue& value, std::wstring& text) {
    if (value.type != REG_SZ || value.data.size() % sizeof(wchar_t) != 0 || value.data.empty())
        return false;
    std::wstring chars(value.data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(chars.data(), value.data.data(), value.data.size());
    if (chars.back() != L'\0')
        return false;
    chars.pop_back();
    if (chars.find(L'\0') != std::wstring::npos)
        return false;
    text = std::move(chars);
    return true;
}

void appendValue(std::string& out, const RegistryValue& value) {
    out += "value ";
    appendQuoted(out, value.name);
    std::wstring text;
    if (asPlainString(value, text)) {
        out += " sz ";
        appendQuoted(out, text);
    } else if (value.type == REG_DWORD && value.data.size() == sizeof(DWORD)) {
        DWORD number = 0;
        std::memcpy(&number, value.data.data(), sizeof number);
        out += " dword " + std::to_string(number);
    } else {
        out += " hex " + std::to_string(value.type) + ":";
        for (BYTE b : value.data) {
            out += kHexDigits[b >> 4];
            out += kHexDigits[b & 0xF];
        }
    }
    out += '\n';
}

void appendKey(std::string& out, const RegistryKey& key, std::vector<const std::wstring*>& path) {
    out += "key";
    for (const std::wstring* name : path) {
        out += ' ';
        appendQuoted(out, *name);
    }
    out += '\n';
    key.forEachValue([&](const RegistryValue& value) { appendValue(out, value); });
    key.forEachChild([&](const RegistryKey& child) {
        path.push_back(&child.name());
        appendKey(out, child, path);
        path.pop_back();
    });
}

// Reads the words of one line; each method answers false with a reason on bad input.
class LineReader {
public:
    explicit LineReader(const std::string& line) : m_line(line) {}

    std::string reason;

    bool atEnd() {
        skipBlanks();
        return m_at == m_line.size();
    }

    bool word(std::string& out) {
        skipBlanks();
        const std::size_t start = m_at;
        while (m_at < m_line.size() && m_line[m_at] != ' ')
            ++m_at;
        out = m_line.substr(start, m_at - start);
        return !out.empty() || fail("a word is missing");
    }

    bool quoted(std::wstring& out) {
        skipBlanks();
        if (m_at == m_line.size() || m_line[m_at] != '"')
            return fail("a quoted text is missing");
        ++m_at;
        out.clear();
        std::string plain;
        auto flush = [&] {
            const std::wstring wide = svFromUtf8(plain);
            if (svToUtf8(wide) != plain)
                return false;
            out += wide;
            plain.clear();
            return true;
        };
        while (m_at < m_line.size() && m_line[m_at] != '"') {
            const char c = m_line[m_at++];
            if (c != '\\') {
                plain += c;
                continue;
            }
            if (!flush())
                return fail("a text is not UTF-8");
            if (m_at == m_line.size())
                return fail("a text ends in an escape");
            const char e = m_line[m_at++];
            if (e == '\\' || e == '"')
                out += static_cast<wchar_t>(e);
            else if (e == 'n')
                out += L'\n';
            else if (e == 'r')
                out += L'\r';
            else if (e == 't')
                out += L'\t';
            else if (e != 'u' || !codePoint(out))
                return fail("a text holds an unknown escape");
        }
        if (m_at == m_line.size())
            return fail("a text is not closed");
        ++m_at;
        return flush() || fail("a text is not UTF-8");
    }

private:
    void skipBlanks() {
        while (m_at < m_line.size() && m_line[m_at] == ' ')
            ++m_at;
    }

    bool fail(const char* why) {
        reason = why;
        return false;
    }

    // "{hex}" after "\u".
    bool codePoint(std::wstring& out) {
        if (m_at == m_line.size() || m_line[m_at] != '{')
            return false;
        const std::size_t close = m_line.find('}', m_at);
        if (close == std::string::npos || close == m_at + 1 || close > m_at + 9)
            return false;
        std::uint32_t code = 0;
        for (std::size_t i = m_at + 1; i < close; ++i) {
            const char* digit = std::strchr(kHexDigits, m_line[i]);
            if (digit == nullptr || m_line[i] == '\0')
                return false;
            code = code * 16 + static_cast<std::uint32_t>(digit - kHexDigits);
        }
        m_at = close + 1;
        out += static_cast<wchar_t>(code);
        return true;
    }

    const std::string& m_line;
    std::size_t m_at = 0;
};

bool parseNumber(const std::string& text, std::uint64_t limit, std::uint64_t& number) {
    if (text.empty() || text.size() > 20)
        return false;
    number = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        number = number * 10 + static_cast<std::uint64_t>(c - '0');
        if (number > limit)
            return false;
    }
    return true;
}

bool parseHex(const std::string& text, std::vector<BYTE>& bytes) {
    if (text.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const char* high = std::strchr(kHexDigits, text[i]);
        const char* low = std::strchr(kHexDigits, text[i + 1]);
        if (high == nullptr || low == nullptr || text[i] == '\0' || text[i + 1] == '\0')
            return false;
        bytes.push_back(static_cast<BYTE>((high - kHexDigits) * 16 + (low - kHexDigits)));
    }
    return true;
}

bool parseValueData(LineReader& reader, RegistryValue& value) {
    std::string kind;
    if (!reader.word(kind))
        return false;
    if (kind == "sz") {
        std::wstring text;
        if (!reader.quoted(text))
            return false;
        value = stringValue(std::move(value.name), text);
        return true;
    }
    std::string data;
    if (!reader.word(data))
        return false;
    std::uint64_t number = 0;
    if (kind == "dword") {
        if (!parseNumber(data, 0xFFFFFFFFu, number)) {
            reader.reason = "a dword is not a number";
            return false;
        }
        const auto dword = static_cast<DWORD>(number);
        value.type = REG_DWORD;
        const auto* bytes = reinterpret_cast<const BYTE*>(&dword);
        value.data.assign(bytes, bytes + sizeof dword);
        return true;
    }
    const std::size_t colon = data.find(':');
    if (kind != "hex" || colon == std::string::npos ||
        !parseNumber(data.substr(0, colon), 0xFFFFFFFFu, number) ||
        !parseHex(data.substr(colon + 1), value.data)) {
        reader.reason = "a value's data are not sz, dword or hex";
        return false;
    }
    value.type = static_cast<DWORD>(number);
    return true;
}

} // namespace

std::string formatRegistry(const RegistryKey& root) {
    std::string out = std::string(kHeader) + "\n";
    std::vector<const std::wstring*> path;
    appendKey(out, root, path);
    return out + "end\n";
}

bool parseRegistry(const std::string& text, RegistryKey& root, std::string& error) {
    std::size_t at = 0;
    int lineNumber = 0;
    RegistryKey* key = nullptr;
    bool ended = false;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(lineNumber) + ": " + why;
        return false;
    };
    while (at < text.size()) {
        std::size_t newline = text.find('\n', at);
        if (newline == std::string::npos)
            return fail("the last line is cut off");
        const std::string line = text.substr(at, newline - at);
        at = newline + 1;
        ++lineNumber;
        if (ended)
            return fail("text after the end");
        if (lineNumber == 1) {
            if (line != kHeader)
                return fail("not a registry file");
            continue;
        }
        if (line == "end") {
            ended = true;
            continue;
        }
        LineReader reader(line);
        std::string word;
        if (!reader.word(word))
            return fail(reader.reason);
        if (word == "key") {
            std::vector<std::wstring> path;
            std::wstring name;
            while (!reader.atEnd()) {
                if (!reader.quoted(name))
                    return fail(reader.reason);
                path.push_back(name);
            }
            for (const std::wstring& part : path) {
                if (!validKeyName(part))
                    return fail("a key name is empty, too long or holds a backslash");
            }
            bool created = false;
            key = &root.create(path, created);
            if (!created && !path.empty())
                return fail("a key is listed twice");
        } else if (word == "value") {
            RegistryValue value;
            if (key == nullptr)
                return fail("a value before the first key");
            if (!reader.quoted(value.name) || !parseValueData(reader, value))
                return fail(reader.reason);
            if (!reader.atEnd())
                return fail("more after a value's data");
            if (key->value(value.name) != nullptr)
                return fail("a value is listed twice");
            key->setValue(std::move(value));
        } else {
            return fail("unknown line \"" + word + "\"");
        }
    }
    if (!ended)
        return fail("the file ends before its end line");
    return true;
}
