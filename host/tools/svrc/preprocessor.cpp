#include "preprocessor.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace svrc {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxIncludeDepth = 32;
constexpr int kMaxMacroDepth = 64;
constexpr std::uintmax_t kMaxScriptSize = 16u << 20;

// Platform headers whose constants svrc knows itself, and the framework's own resource scripts
// that the original toolchain would pull in; including them does nothing.
bool isPlatformFile(const std::string& name) {
    std::string base = fs::path(name).filename().string();
    std::transform(base.begin(), base.end(), base.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static const std::set<std::string> known = {
        "windows.h", "winres.h",    "winresrc.h",  "afxres.h",    "winuser.h", "winver.h",
        "verrsrc.h", "commctrl.h",  "richedit.h",  "dlgs.h",      "ntverp.h",  "winnt.h",
        "afxres.rc", "afxprint.rc", "afxolecl.rc", "afxolesv.rc", "afxdb.rc",  "afxctl.rc"};
    return known.count(base) != 0;
}

bool headerOnly(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".h" || ext == ".hh" || ext == ".hpp" || ext == ".hxx" || ext == ".c";
}

bool identStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool identChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// Scripts saved by the original toolchain are often UTF-16 with a byte-order mark.
std::string decodeFile(const std::string& bytes) {
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return bytes.substr(3);
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::wstring text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            std::uint32_t c = static_cast<unsigned char>(bytes[i]) |
                              (static_cast<unsigned char>(bytes[i + 1]) << 8);
            if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
                const std::uint32_t low = static_cast<unsigned char>(bytes[i + 2]) |
                                          (static_cast<unsigned char>(bytes[i + 3]) << 8);
                if (low >= 0xDC00 && low < 0xE000) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    i += 2;
                }
            }
            text += static_cast<wchar_t>(c);
        }
        return svToUtf8(text);
    }
    return bytes;
}

} // namespace

std::string readFileText(const std::string& path, const Location& from) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec || fs::is_directory(path))
        throw Error(from, "cannot open '" + path + "'");
    if (size > kMaxScriptSize)
        throw Error(from, "'" + path + "' is too large for a resource script");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error(from, "cannot open '" + path + "'");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return decodeFile(bytes.str());
}

struct Preprocessor::Source {
    std::string path;
    std::string text;
    std::size_t pos = 0;
    int line = 1;
    bool atLineStart = true;
    bool directivesOnly = false;
    std::size_t conditionBase = 0;

    bool more(std::size_t ahead = 0) const { return pos + ahead < text.size(); }
    char at(std::size_t ahead = 0) const { return more(ahead) ? text[pos + ahead] : '\0'; }
    Location here() const { return {path, line}; }
};

Preprocessor::Preprocessor(const Options& options) : m_options(options) {
    m_macros["RC_INVOKED"] = {Token{Tok::Number, "", 1, false, L"", false, false, {}}};
    m_macros["_WIN32"] = {Token{Tok::Number, "", 1, false, L"", false, false, {}}};
    for (const auto& [name, value] : options.defines) {
        std::vector<Token> tokens = lexLine(value, Location{"<command line>", 1});
        if (tokens.empty())
            tokens.push_back(Token{Tok::Number, "", 1, false, L"", false, false, {}});
        m_macros[name] = tokens;
    }
}

Preprocessor::~Preprocessor() = default;

void Preprocessor::push(std::string path, std::string text, bool directivesOnly) {
    auto source = std::make_unique<Source>();
    source->path = std::move(path);
    source->text = std::move(text);
    source->directivesOnly = directivesOnly;
    source->conditionBase = m_conditions.size();
    m_sources.push_back(std::move(source));
}

void Preprocessor::openFile(const std::string& path) {
    const std::string text = readFileText(path, Location{path, 0});
    m_dependencies.insert(fs::absolute(path).lexically_normal().string());
    push(path, text, headerOnly(path));
}

void Preprocessor::openText(const std::string& text, const std::string& name) {
    push(name, text, false);
}

std::string Preprocessor::resolve(const std::string& name, const std::string& besideFile) const {
    std::error_code ec;
    const fs::path given(name);
    if (given.is_absolute())
        return fs::is_regular_file(given, ec) ? given.string() : std::string();
    std::vector<std::string> folders;
    if (!besideFile.empty()) {
        const fs::path parent = fs::path(besideFile).parent_path();
        folders.push_back(parent.empty() ? std::string(".") : parent.string());
    }
    folders.insert(folders.end(), m_options.includeDirs.begin(), m_options.includeDirs.end());
    for (const std::string& folder : folders) {
        const fs::path candidate = fs::path(folder) / given;
        if (fs::is_regular_file(candidate, ec))
            return candidate.lexically_normal().string();
    }
    return std::string();
}

Token Preprocessor::lexString(Source& s, bool wide) {
    Token t;
    t.kind = Tok::String;
    t.wide = wide;
    t.where = s.here();
    ++s.pos; // the opening quote
    std::string utf8;
    auto flush = [&] {
        t.str += svFromUtf8(utf8);
        utf8.clear();
    };
    for (;;) {
        if (!s.more() || s.at() == '\n' || (s.at() == '\r' && s.at(1) == '\n'))
            throw Error(t.where, "unterminated string");
        const char c = s.at();
        if (c == '"') {
            if (s.at(1) == '"') {
                utf8 += '"';
                s.pos += 2;
                continue;
            }
            ++s.pos;
            break;
        }
        if (c != '\\') {
            utf8 += c;
            ++s.pos;
            continue;
        }
        const char e = s.at(1);
        s.pos += 2;
        switch (e) {
        case 'n':
            utf8 += '\n';
            break;
        case 't':
            utf8 += '\t';
            break;
        case 'r':
            utf8 += '\r';
            break;
        case 'a':
            utf8 += '\a';
            break;
        case '\\':
            utf8 += '\\';
            break;
        case '"':
            utf8 += '"';
            break;
        case 'x':
        case 'X': {
            std::uint32_t code = 0;
            int digits = 0;
            while (digits < (wide ? 4 : 2) && std::isxdigit(static_cast<unsigned char>(s.at()))) {
                const char h = static_cast<char>(std::tolower(static_cast<unsigned char>(s.at())));
                code = code * 16 + static_cast<std::uint32_t>(h <= '9' ? h - '0' : h - 'a' + 10);
                ++s.pos;
                ++digits;
            }
            if (digits == 0)
                throw Error(s.here(), "\\x without hexadecimal digits in a string");
            flush();
            t.str += static_cast<wchar_t>(code);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                std::uint32_t code = static_cast<std::uint32_t>(e - '0');
                for (int digits = 1; digits < 3 && s.at() >= '0' && s.at() <= '7'; ++digits) {
                    code = code * 8 + static_cast<std::uint32_t>(s.at() - '0');
                    ++s.pos;
                }
                flush();
                t.str += static_cast<wchar_t>(code);
            } else if (e == '\n' || e == '\0' || e == '\r') {
                throw Error(t.where, "unterminated string");
            } else {
                // The original compiler keeps an unknown escape as written.
                utf8 += '\\';
                utf8 += e;
            }
        }
    }
    flush();
    return t;
}

Token Preprocessor::lexNumber(Source& s) {
    Token t;
    t.kind = Tok::Number;
    t.where = s.here();
    const std::size_t start = s.pos;
    std::uint64_t value = 0;
    bool overflow = false;
    auto addDigit = [&](unsigned base, unsigned digit) {
        value = value * base + digit;
        if (value > 0xFFFFFFFFull)
            overflow = true;
    };
    if (s.at() == '0' && (s.at(1) == 'x' || s.at(1) == 'X')) {
        s.pos += 2;
        if (!std::isxdigit(static_cast<unsigned char>(s.at())))
            throw Error(t.where, "bad number '" + s.text.substr(start, s.pos - start) + "'");
        while (std::isxdigit(static_cast<unsigned char>(s.at()))) {
            const char h = static_cast<char>(std::tolower(static_cast<unsigned char>(s.at())));
            addDigit(16, static_cast<unsigned>(h <= '9' ? h - '0' : h - 'a' + 10));
            ++s.pos;
        }
    } else {
        while (std::isdigit(static_cast<unsigned char>(s.at()))) {
            addDigit(10, static_cast<unsigned>(s.at() - '0'));
            ++s.pos;
        }
    }
    while (s.at() == 'L' || s.at() == 'l' || s.at() == 'U' || s.at() == 'u') {
        if (s.at() == 'L' || s.at() == 'l')
            t.isLong = true;
        ++s.pos;
    }
    if (identChar(s.at())) {
        std::size_t end = s.pos;
        while (end < s.text.size() && identChar(s.text[end]))
            ++end;
        throw Error(t.where, "bad number '" + s.text.substr(start, end - start) + "'");
    }
    if (overflow)
        throw Error(t.where,
                    "number " + s.text.substr(start, s.pos - start) + " does not fit in 32 bits");
    t.value = static_cast<std::int64_t>(value);
    return t;
}

Token Preprocessor::lex(Source& s, bool lineMode) {
    for (;;) {
        if (!s.more()) {
            Token end;
            end.where = s.here();
            return end;
        }
        const char c = s.at();
        if (c == '\n') {
            ++s.line;
            ++s.pos;
            s.atLineStart = true;
            if (lineMode) {
                Token end;
                end.where = s.here();
                return end;
            }
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            ++s.pos;
            continue;
        }
        if (c == '\\' && lineMode && (s.at(1) == '\n' || (s.at(1) == '\r' && s.at(2) == '\n'))) {
            s.pos += s.at(1) == '\n' ? 2 : 3;
            ++s.line;
            continue;
        }
        if (c == '/' && s.at(1) == '/') {
            while (s.more() && s.at() != '\n')
                ++s.pos;
            continue;
        }
        if (c == '/' && s.at(1) == '*') {
            const Location start = s.here();
            const std::size_t close = s.text.find("*/", s.pos + 2);
            if (close == std::string::npos)
                throw Error(start, "unterminated comment");
            s.line += static_cast<int>(
                std::count(s.text.begin() + static_cast<std::ptrdiff_t>(s.pos),
                           s.text.begin() + static_cast<std::ptrdiff_t>(close), '\n'));
            s.pos = close + 2;
            continue;
        }
        if (c == '#' && s.atLineStart && !lineMode) {
            ++s.pos;
            const std::size_t depth = m_sources.size();
            directive(s);
            if (m_sources.size() != depth) {
                // An #include: its text comes before the rest of this file.
                Token restart;
                restart.kind = Tok::Restart;
                return restart;
            }
            continue;
        }
        if (!lineMode && (skipping() || s.directivesOnly)) {
            s.atLineStart = false;
            ++s.pos;
            continue;
        }
        s.atLineStart = false;
        if (c == '"')
            return lexString(s, false);
        if ((c == 'L' || c == 'l') && s.at(1) == '"') {
            ++s.pos;
            return lexString(s, true);
        }
        if (std::isdigit(static_cast<unsigned char>(c)))
            return lexNumber(s);
        Token t;
        t.where = s.here();
        if (identStart(c)) {
            t.kind = Tok::Ident;
            const std::size_t start = s.pos;
            while (identChar(s.at()))
                ++s.pos;
            t.text = s.text.substr(start, s.pos - start);
            t.parenFollows = s.at() == '(';
            return t;
        }
        static const char* const pairs[] = {"||", "&&", "==", "!=", "<=", ">=", "<<", ">>"};
        for (const char* pair : pairs) {
            if (c == pair[0] && s.at(1) == pair[1]) {
                t.kind = Tok::Punct;
                t.text = pair;
                s.pos += 2;
                return t;
            }
        }
        if (std::string(",|&+-*/%~()!{}<>=^").find(c) != std::string::npos) {
            t.kind = Tok::Punct;
            t.text = std::string(1, c);
            ++s.pos;
            return t;
        }
        const unsigned char u = static_cast<unsigned char>(c);
        throw Error(t.where, u >= 0x20 && u < 0x7F ? std::string("unexpected character '") + c + "'"
                                                   : "unexpected byte " + std::to_string(u));
    }
}

std::vector<Token> Preprocessor::restOfLine(Source& s) {
    std::vector<Token> tokens;
    for (Token t = lex(s, true); t.kind != Tok::End; t = lex(s, true))
        tokens.push_back(t);
    s.atLineStart = true;
    return tokens;
}

std::string Preprocessor::rawRestOfLine(Source& s) {
    std::string text;
    while (s.more() && s.at() != '\n') {
        if (s.at() == '\\' && s.at(1) == '\n') {
            s.pos += 2;
            ++s.line;
            continue;
        }
        text += s.at();
        ++s.pos;
    }
    if (s.more()) {
        ++s.pos;
        ++s.line;
    }
    s.atLineStart = true;
    return text;
}

void Preprocessor::directive(Source& s) {
    const Location where = s.here();
    while (s.at() == ' ' || s.at() == '\t')
        ++s.pos;
    std::string name;
    while (identChar(s.at()))
        name += s.at(), ++s.pos;

    if (name == "if" || name == "ifdef" || name == "ifndef") {
        const bool parentActive = !skipping();
        bool active = false;
        if (name == "if") {
            const std::vector<Token> line = restOfLine(s);
            active = parentActive && evaluate(line, where, 0) != 0;
        } else if (parentActive) {
            const std::vector<Token> line = restOfLine(s);
            if (line.empty() || line[0].kind != Tok::Ident)
                throw Error(where, "#" + name + " needs a name");
            const bool defined =
                m_macros.count(line[0].text) != 0 || m_unusable.count(line[0].text) != 0;
            active = defined == (name == "ifdef");
        } else {
            rawRestOfLine(s);
        }
        m_conditions.push_back({parentActive, active, active, false, where});
        return;
    }
    if (name == "elif" || name == "else" || name == "endif") {
        if (m_conditions.size() <= s.conditionBase)
            throw Error(where, "#" + name + " without #if");
        Condition& c = m_conditions.back();
        if (name == "endif") {
            rawRestOfLine(s);
            m_conditions.pop_back();
            return;
        }
        if (c.sawElse)
            throw Error(where, "#" + name + " after #else");
        if (name == "else") {
            rawRestOfLine(s);
            c.sawElse = true;
            c.active = c.parentActive && !c.taken;
        } else {
            const std::vector<Token> line = restOfLine(s);
            c.active = c.parentActive && !c.taken && evaluate(line, where, 0) != 0;
        }
        c.taken = c.taken || c.active;
        return;
    }
    if (skipping()) {
        rawRestOfLine(s);
        return;
    }
    if (name.empty()) {
        if (s.more() && s.at() != '\n' && s.at() != '\r')
            throw Error(where, "bad preprocessor directive");
        rawRestOfLine(s);
        return;
    }
    if (name == "include") {
        include(s, rawRestOfLine(s), where);
    } else if (name == "define") {
        define(s, where);
    } else if (name == "undef") {
        const std::vector<Token> line = restOfLine(s);
        if (line.empty() || line[0].kind != Tok::Ident)
            throw Error(where, "#undef needs a name");
        m_macros.erase(line[0].text);
        m_unusable.erase(line[0].text);
    } else if (name == "pragma" || name == "line") {
        rawRestOfLine(s);
    } else if (name == "error") {
        throw Error(where, "#error" + rawRestOfLine(s));
    } else {
        throw Error(where, "unknown preprocessor directive #" + name);
    }
}

void Preprocessor::include(Source& s, const std::string& rest, const Location& where) {
    std::size_t i = rest.find_first_not_of(" \t");
    if (i == std::string::npos || (rest[i] != '"' && rest[i] != '<'))
        throw Error(where, "#include needs a \"file\" or <file>");
    const char close = rest[i] == '"' ? '"' : '>';
    const std::size_t end = rest.find(close, i + 1);
    if (end == std::string::npos)
        throw Error(where, "unterminated file name in #include");
    const std::string name = rest.substr(i + 1, end - i - 1);
    std::string path = resolve(name, close == '"' ? s.path : std::string());
    if (path.empty()) {
        if (isPlatformFile(name))
            return;
        throw Error(where, "cannot open include file '" + name + "'");
    }
    if (m_sources.size() >= kMaxIncludeDepth)
        throw Error(where, "#include nested too deeply (is a file including itself?)");
    const std::string text = readFileText(path, where);
    m_dependencies.insert(fs::absolute(path).lexically_normal().string());
    push(path, text, headerOnly(path));
}

std::vector<Token> Preprocessor::lexLine(const std::string& text, const Location& where) {
    Source source;
    source.path = where.file;
    source.line = where.line;
    source.text = text;
    std::vector<Token> tokens;
    for (Token t = lex(source, true); t.kind != Tok::End; t = lex(source, true))
        tokens.push_back(t);
    return tokens;
}

void Preprocessor::define(Source& s, const Location& where) {
    const std::string line = rawRestOfLine(s);
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || !identStart(line[at]))
        throw Error(where, "#define needs a name");
    const std::size_t nameEnd =
        std::find_if_not(line.begin() + static_cast<std::ptrdiff_t>(at), line.end(), identChar) -
        line.begin();
    const std::string name = line.substr(at, nameEnd - at);
    m_macros.erase(name);
    m_unusable.erase(name);
    // Macros with parameters, or with C in their body, come from headers written for C; they
    // only matter if a script uses them.
    if (nameEnd < line.size() && line[nameEnd] == '(') {
        m_unusable[name] = "macros with parameters are not supported";
        return;
    }
    std::vector<Token> body;
    try {
        body = lexLine(line.substr(nameEnd), where);
    } catch (const Error& error) {
        m_unusable[name] = error.what();
        return;
    }
    if (body.empty())
        body.push_back(Token{Tok::Number, "", 1, false, L"", false, false, where});
    m_macros[name] = body;
}

void Preprocessor::expand(const Token& use, std::vector<Token>& out, std::set<std::string>& active,
                          int depth) {
    if (use.kind == Tok::Ident && m_unusable.count(use.text) != 0)
        throw Error(use.where, "macro " + use.text + " cannot be used in a script (" +
                                   m_unusable.at(use.text) + ")");
    const auto found = m_macros.find(use.text);
    if (use.kind != Tok::Ident || found == m_macros.end() || active.count(use.text) != 0) {
        out.push_back(use);
        return;
    }
    if (depth > kMaxMacroDepth)
        throw Error(use.where, "macro " + use.text + " expands too deeply");
    active.insert(use.text);
    for (Token t : found->second) {
        t.where = use.where;
        expand(t, out, active, depth + 1);
    }
    active.erase(use.text);
}

Token Preprocessor::next() {
    if (!m_pending.empty()) {
        Token t = m_pending.back();
        m_pending.pop_back();
        return t;
    }
    while (!m_sources.empty()) {
        Source& s = *m_sources.back();
        Token t = lex(s, false);
        if (t.kind == Tok::Restart)
            continue;
        if (t.kind == Tok::End) {
            if (m_conditions.size() > s.conditionBase)
                throw Error(m_conditions.back().where, "#if without #endif");
            m_last = t.where;
            m_sources.pop_back();
            continue;
        }
        if (t.kind == Tok::Ident &&
            (m_macros.count(t.text) != 0 || m_unusable.count(t.text) != 0)) {
            std::vector<Token> expanded;
            std::set<std::string> active;
            expand(t, expanded, active, 0);
            m_pending.assign(expanded.rbegin(), expanded.rend());
            return next();
        }
        return t;
    }
    Token end;
    end.where = m_last;
    return end;
}

// The expression of #if and #elif, with C's operators and defined().
std::int64_t Preprocessor::evaluate(const std::vector<Token>& line, const Location& where,
                                    int depth) {
    if (depth > kMaxMacroDepth)
        throw Error(where, "macro expands too deeply in #if");
    std::size_t i = 0;
    auto peekIs = [&](const char* p) {
        return i < line.size() && line[i].kind == Tok::Punct && line[i].text == p;
    };
    auto fail = [&](const std::string& message) -> std::int64_t { throw Error(where, message); };

    struct Parser {
        Preprocessor& pp;
        const std::vector<Token>& line;
        std::size_t& i;
        const Location& where;
        int depth;
        decltype(peekIs)& is;
        decltype(fail)& failWith;

        std::int64_t primary() {
            if (i >= line.size())
                return failWith("incomplete expression in #if");
            const Token& t = line[i++];
            if (t.kind == Tok::Number)
                return t.value;
            if (t.kind == Tok::Punct && t.text == "(") {
                const std::int64_t v = ternary();
                if (!is(")"))
                    return failWith("missing ')' in #if");
                ++i;
                return v;
            }
            if (t.kind == Tok::Punct &&
                (t.text == "!" || t.text == "-" || t.text == "~" || t.text == "+")) {
                const std::int64_t v = primary();
                return t.text == "!" ? !v : t.text == "-" ? -v : t.text == "~" ? ~v : v;
            }
            if (t.kind == Tok::Ident && t.text == "defined") {
                const bool paren = is("(");
                if (paren)
                    ++i;
                if (i >= line.size() || line[i].kind != Tok::Ident)
                    return failWith("defined needs a name");
                const std::string& name = line[i++].text;
                const bool defined = pp.m_macros.count(name) != 0 || pp.m_unusable.count(name) != 0;
                if (paren) {
                    if (!is(")"))
                        return failWith("missing ')' after defined");
                    ++i;
                }
                return defined ? 1 : 0;
            }
            if (t.kind == Tok::Ident) {
                const auto found = pp.m_macros.find(t.text);
                if (found != pp.m_macros.end())
                    return pp.evaluate(found->second, where, depth + 1);
                return pp_builtin(t.text);
            }
            return failWith("unexpected '" + (t.kind == Tok::String ? "string" : t.text) +
                            "' in #if");
        }
        static std::int64_t pp_builtin(const std::string& name) {
            return builtinConstant(name).value_or(0);
        }
        std::int64_t binary(int level) {
            static const std::vector<std::vector<std::string>> levels = {{"||"},
                                                                         {"&&"},
                                                                         {"|"},
                                                                         {"^"},
                                                                         {"&"},
                                                                         {"==", "!="},
                                                                         {"<", ">", "<=", ">="},
                                                                         {"<<", ">>"},
                                                                         {"+", "-"},
                                                                         {"*", "/", "%"}};
            if (level == static_cast<int>(levels.size()))
                return primary();
            std::int64_t left = binary(level + 1);
            for (;;) {
                std::string op;
                for (const std::string& candidate : levels[static_cast<std::size_t>(level)]) {
                    if (is(candidate.c_str()))
                        op = candidate;
                }
                if (op.empty())
                    return left;
                ++i;
                const std::int64_t right = binary(level + 1);
                if ((op == "/" || op == "%") && right == 0)
                    return failWith("division by zero in #if");
                if (op == "||")
                    left = left || right;
                else if (op == "&&")
                    left = left && right;
                else if (op == "|")
                    left |= right;
                else if (op == "^")
                    left ^= right;
                else if (op == "&")
                    left &= right;
                else if (op == "==")
                    left = left == right;
                else if (op == "!=")
                    left = left != right;
                else if (op == "<")
                    left = left < right;
                else if (op == ">")
                    left = left > right;
                else if (op == "<=")
                    left = left <= right;
                else if (op == ">=")
                    left = left >= right;
                else if (op == "<<")
                    left = right < 0 || right > 62 ? 0 : left << right;
                else if (op == ">>")
                    left = right < 0 || right > 62 ? 0 : left >> right;
                else if (op == "+")
                    left += right;
                else if (op == "-")
                    left -= right;
                else if (op == "*")
                    left *= right;
                else if (op == "/")
                    left /= right;
                else
                    left %= right;
                left = static_cast<std::int64_t>(static_cast<std::int32_t>(left));
            }
        }
        std::int64_t ternary() { return binary(0); }
    };
    Parser parser{*this, line, i, where, depth, peekIs, fail};
    if (line.empty())
        throw Error(where, "#if without an expression");
    const std::int64_t value = parser.ternary();
    if (i != line.size())
        throw Error(where, "unexpected '" + line[i].text + "' in #if");
    return value;
}

} // namespace svrc
