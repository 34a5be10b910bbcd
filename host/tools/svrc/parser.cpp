#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "preprocessor.h"
#include "rc.h"

namespace svrc {

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000, WS_POPUP = 0x80000000,
                        WS_BORDER = 0x00800000, WS_SYSMENU = 0x00080000, WS_CAPTION = 0x00C00000,
                        WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000, DS_SETFONT = 0x40;
constexpr std::uint32_t MF_GRAYED = 0x1, MF_DISABLED = 0x2, MF_CHECKED = 0x8, MF_POPUP = 0x10,
                        MF_MENUBARBREAK = 0x20, MF_MENUBREAK = 0x40, MF_END = 0x80,
                        MF_SEPARATOR = 0x800, MF_HELP = 0x4000;
constexpr std::uintmax_t kMaxEmbeddedFile = 64u << 20;

struct Value {
    std::int64_t value = 0;
    bool isLong = false;
};

// How the short control statements fill in what CONTROL spells out.
struct ControlKind {
    const char* keyword;
    const wchar_t* windowClass;
    std::uint32_t style;
    bool hasText;
};

const ControlKind kControlKinds[] = {
    {"LTEXT", L"STATIC", 0x0 | WS_GROUP, true},
    {"RTEXT", L"STATIC", 0x2 | WS_GROUP, true},
    {"CTEXT", L"STATIC", 0x1 | WS_GROUP, true},
    {"ICON", L"STATIC", 0x3, true},
    {"EDITTEXT", L"EDIT", 0x0 | WS_BORDER | WS_TABSTOP, false},
    {"PUSHBUTTON", L"BUTTON", 0x0 | WS_TABSTOP, true},
    {"DEFPUSHBUTTON", L"BUTTON", 0x1 | WS_TABSTOP, true},
    {"PUSHBOX", L"BUTTON", 0xA | WS_TABSTOP, true},
    {"GROUPBOX", L"BUTTON", 0x7, true},
    {"CHECKBOX", L"BUTTON", 0x2 | WS_TABSTOP, true},
    {"AUTOCHECKBOX", L"BUTTON", 0x3 | WS_TABSTOP, true},
    {"RADIOBUTTON", L"BUTTON", 0x4 | WS_TABSTOP, true},
    {"AUTORADIOBUTTON", L"BUTTON", 0x9 | WS_TABSTOP, true},
    {"STATE3", L"BUTTON", 0x5 | WS_TABSTOP, true},
    {"AUTO3STATE", L"BUTTON", 0x6 | WS_TABSTOP, true},
    {"COMBOBOX", L"COMBOBOX", 0x1 | WS_TABSTOP, false},
    {"LISTBOX", L"LISTBOX", 0x1 | WS_BORDER, false},
    {"SCROLLBAR", L"SCROLLBAR", 0x0, false},
    {"CONTROL", L"", 0, true},
};

bool sameWord(const std::string& a, const char* b) {
    const std::size_t n = std::strlen(b);
    if (a.size() != n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != static_cast<unsigned char>(b[i]))
            return false;
    }
    return true;
}

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return text;
}

std::string describe(const Token& t) {
    switch (t.kind) {
    case Tok::End:
    case Tok::Restart:
        return "end of file";
    case Tok::Ident:
    case Tok::Punct:
        return "'" + t.text + "'";
    case Tok::Number:
        return "number " + std::to_string(t.value);
    case Tok::String:
        return "string \"" + svToUtf8(t.str) + "\"";
    }
    return "token";
}

std::string nameText(const Name& name) {
    return name.ordinal ? std::to_string(name.id) : svToUtf8(name.text);
}

bool sameName(const Name& a, const Name& b) {
    return a.ordinal == b.ordinal && (a.ordinal ? a.id == b.id : a.text == b.text);
}

class Parser {
public:
    Parser(Preprocessor& pp, Script& out) : m_pp(pp), m_out(out) {}

    void script() {
        for (;;) {
            const Token t = take();
            if (t.kind == Tok::End)
                return;
            if (isWord(t, "LANGUAGE")) {
                language();
                continue;
            }
            if (isWord(t, "STRINGTABLE")) {
                stringTable(t.where);
                continue;
            }
            if (isWord(t, "BEGIN") || isWord(t, "END") || t.kind == Tok::Punct)
                throw Error(t.where, "unexpected " + describe(t));
            resource(t);
        }
    }

private:
    // ---- tokens ------------------------------------------------------------------------------
    const Token& peek() {
        if (!m_have) {
            m_next = m_pp.next();
            m_have = true;
        }
        return m_next;
    }
    Token take() {
        peek();
        m_have = false;
        return m_next;
    }
    static bool isWord(const Token& t, const char* word) {
        return t.kind == Tok::Ident && sameWord(t.text, word);
    }
    bool peekWord(const char* word) { return isWord(peek(), word); }
    bool peekPunct(const char* p) { return peek().kind == Tok::Punct && peek().text == p; }
    bool acceptPunct(const char* p) {
        if (!peekPunct(p))
            return false;
        take();
        return true;
    }
    void expectComma(const char* what) {
        if (!acceptPunct(","))
            throw Error(peek().where,
                        std::string("expected ',' before ") + what + ", found " + describe(peek()));
    }
    void expectBegin(const char* what) {
        const Token t = take();
        if (!isWord(t, "BEGIN") && !(t.kind == Tok::Punct && t.text == "{"))
            throw Error(t.where,
                        std::string("expected BEGIN of ") + what + ", found " + describe(t));
    }
    // True (and consumed) at END; an error at the end of the file.
    bool atEnd(const Location& opened, const char* what) {
        const Token& t = peek();
        if (t.kind == Tok::End)
            throw Error(opened, std::string(what) + " has no END");
        if (isWord(t, "END") || (t.kind == Tok::Punct && t.text == "}")) {
            take();
            return true;
        }
        return false;
    }

    // ---- values ------------------------------------------------------------------------------
    Value primary() {
        const Token t = take();
        if (t.kind == Tok::Number)
            return {t.value, t.isLong};
        if (t.kind == Tok::Punct && t.text == "(") {
            const Value v = expression();
            if (!acceptPunct(")"))
                throw Error(peek().where, "expected ')', found " + describe(peek()));
            return v;
        }
        if (t.kind == Tok::Punct && (t.text == "-" || t.text == "~" || t.text == "+")) {
            Value v = primary();
            v.value = t.text == "-" ? -v.value : t.text == "~" ? ~v.value : v.value;
            return v;
        }
        if (t.kind == Tok::Ident) {
            if (const auto builtin = builtinConstant(t.text))
                return {*builtin, false};
            throw Error(t.where, "unknown name '" + t.text + "'");
        }
        throw Error(t.where, "expected a number, found " + describe(t));
    }
    Value binary(int level) {
        static const char* const levels[][3] = {
            {"|", nullptr, nullptr}, {"&", nullptr, nullptr}, {"+", "-", nullptr}, {"*", "/", "%"}};
        if (level == 4)
            return primary();
        Value left = binary(level + 1);
        for (;;) {
            const char* op = nullptr;
            for (const char* candidate : levels[level]) {
                if (candidate != nullptr && peekPunct(candidate))
                    op = candidate;
            }
            if (op == nullptr)
                return left;
            const Location where = take().where;
            const Value right = binary(level + 1);
            const std::string o = op;
            if ((o == "/" || o == "%") && right.value == 0)
                throw Error(where, "division by zero");
            left.value = o == "|"   ? left.value | right.value
                         : o == "&" ? left.value & right.value
                         : o == "+" ? left.value + right.value
                         : o == "-" ? left.value - right.value
                         : o == "*" ? left.value * right.value
                         : o == "/" ? left.value / right.value
                                    : left.value % right.value;
            left.value = static_cast<std::int32_t>(static_cast<std::uint32_t>(left.value));
            left.isLong = left.isLong || right.isLong;
        }
    }
    Value expression() { return binary(0); }

    std::int64_t ranged(std::int64_t lo, std::int64_t hi, const char* what) {
        const Location where = peek().where;
        const std::int64_t v = expression().value;
        if (v < lo || v > hi)
            throw Error(where, std::string(what) + " " + std::to_string(v) + " is out of range (" +
                                   std::to_string(lo) + " to " + std::to_string(hi) + ")");
        return v;
    }
    std::uint32_t dword(const char* what) {
        return static_cast<std::uint32_t>(ranged(INT32_MIN, UINT32_MAX, what));
    }
    std::uint16_t word(const char* what) {
        return static_cast<std::uint16_t>(ranged(0, 0xFFFF, what));
    }
    std::int16_t coordinate(const char* what) {
        return static_cast<std::int16_t>(ranged(INT16_MIN, INT16_MAX, what));
    }

    // Styles add to a default; NOT takes a style away, as the original compiler does.
    std::uint32_t style(std::uint32_t initial) {
        std::uint32_t value = initial;
        do {
            if (peekWord("NOT")) {
                take();
                value &= ~static_cast<std::uint32_t>(binary(1).value);
            } else {
                value |= static_cast<std::uint32_t>(binary(1).value);
            }
        } while (acceptPunct("|"));
        return value;
    }

    // Adjacent literals join.
    std::wstring stringLiteral(const char* what) {
        if (peek().kind != Tok::String)
            throw Error(peek().where,
                        std::string("expected ") + what + " in quotes, found " + describe(peek()));
        std::wstring text;
        while (peek().kind == Tok::String)
            text += take().str;
        return text;
    }

    Name resourceName(const Token& t) {
        Name name;
        if (t.kind == Tok::Number) {
            if (t.value < 0 || t.value > 0xFFFF)
                throw Error(t.where, "resource id " + std::to_string(t.value) +
                                         " is out of range (0 to 65535)");
            name.id = static_cast<std::uint16_t>(t.value);
        } else if (t.kind == Tok::Ident) {
            name.ordinal = false;
            name.text = upper(svFromUtf8(t.text));
        } else if (t.kind == Tok::String) {
            if (t.str.empty())
                throw Error(t.where, "empty resource name");
            name.ordinal = false;
            name.text = upper(t.str);
        } else {
            throw Error(t.where, "expected a resource name, found " + describe(t));
        }
        return name;
    }

    void skipMemoryFlags() {
        static const char* const flags[] = {"PRELOAD",  "LOADONCALL",  "FIXED",
                                            "MOVEABLE", "DISCARDABLE", "PURE",
                                            "IMPURE",   "SHARED",      "NONSHARED"};
        while (peek().kind == Tok::Ident &&
               std::any_of(std::begin(flags), std::end(flags),
                           [&](const char* f) { return sameWord(peek().text, f); }))
            take();
    }

    void language() {
        word("language");
        expectComma("the sublanguage");
        word("sublanguage");
    }

    // The statements any resource may carry before BEGIN; true when one was taken.
    bool commonOption() {
        if (peekWord("LANGUAGE")) {
            take();
            language();
            return true;
        }
        if (peekWord("CHARACTERISTICS") || peekWord("VERSION")) {
            take();
            dword("value");
            return true;
        }
        return false;
    }

    void checkUnique(const Name& type, const Name& name, const Location& where) {
        auto clash = [&](const Name& t, const Name& n) {
            return sameName(t, type) && sameName(n, name);
        };
        bool duplicate = false;
        for (const Dialog& d : m_out.dialogs)
            duplicate = duplicate || clash(Name{true, 5, L""}, d.name);
        for (const Menu& m : m_out.menus)
            duplicate = duplicate || clash(Name{true, 4, L""}, m.name);
        for (const RawResource& r : m_out.raws)
            duplicate = duplicate || clash(r.type, r.name);
        if (duplicate)
            throw Error(where, "resource " + nameText(name) + " of this type is defined twice");
    }

    // ---- statements --------------------------------------------------------------------------
    void resource(const Token& nameToken) {
        const Name name = resourceName(nameToken);
        const Token type = take();
        if (type.kind == Tok::End)
            throw Error(nameToken.where, "unexpected end of file after " + describe(nameToken));
        if (isWord(type, "BEGIN") || isWord(type, "END") || type.kind == Tok::Punct)
            throw Error(nameToken.where, "unknown statement " + describe(nameToken));
        static const char* const unsupported[] = {
            "MENUEX", "ACCELERATORS", "TOOLBAR", "MESSAGETABLE", "FONT", "FONTDIR", "DESIGNINFO"};
        for (const char* word : unsupported) {
            if (isWord(type, word))
                throw Error(type.where, std::string(word) + " resources are not supported");
        }
        skipMemoryFlags();
        if (isWord(type, "STRINGTABLE"))
            throw Error(nameToken.where, "STRINGTABLE takes no name");
        if (isWord(type, "DIALOG") || isWord(type, "DIALOGEX")) {
            checkUnique(Name{true, 5, L""}, name, nameToken.where);
            dialog(name, isWord(type, "DIALOGEX"), type.where);
        } else if (isWord(type, "MENU")) {
            checkUnique(Name{true, 4, L""}, name, nameToken.where);
            menu(name, type.where);
        } else if (isWord(type, "VERSIONINFO")) {
            versionInfo(name, type.where);
        } else {
            Name typeName;
            if (isWord(type, "BITMAP"))
                typeName.id = 2;
            else if (isWord(type, "CURSOR"))
                typeName.id = 12; // the group; its images become RT_CURSOR resources

            else if (isWord(type, "ICON"))
                typeName.id = 3;
            else if (isWord(type, "RCDATA"))
                typeName.id = 10;
            else if (isWord(type, "HTML"))
                typeName.id = 23;
            else
                typeName = resourceName(type);
            checkUnique(typeName, name, nameToken.where);
            data(typeName, name, type);
        }
    }

    void stringTable(const Location& opened) {
        skipMemoryFlags();
        while (commonOption()) {
        }
        expectBegin("STRINGTABLE");
        while (!atEnd(opened, "STRINGTABLE")) {
            const Location where = peek().where;
            const std::uint32_t id = static_cast<std::uint32_t>(ranged(0, 0xFFFF, "string id"));
            acceptPunct(",");
            if (peek().kind != Tok::String)
                throw Error(peek().where, "expected the text of string " + std::to_string(id) +
                                              " in quotes, found " + describe(peek()));
            std::wstring text = stringLiteral("text");
            for (const StringEntry& e : m_out.strings) {
                if (e.id == id)
                    throw Error(where, "string id " + std::to_string(id) +
                                           " is defined twice (first at " + e.where.file + ":" +
                                           std::to_string(e.where.line) + ")");
            }
            m_out.strings.push_back({id, std::move(text), where});
        }
    }

    void versionNumbers(std::uint32_t (&parts)[2]) {
        std::uint32_t words[4] = {0, 0, 0, 0};
        for (int i = 0; i < 4; ++i) {
            words[i] = word("version part");
            if (!acceptPunct(","))
                break;
        }
        parts[0] = (words[0] << 16) | words[1];
        parts[1] = (words[2] << 16) | words[3];
    }

    void versionInfo(const Name& name, const Location& opened) {
        if (m_out.version)
            throw Error(opened, "more than one VERSIONINFO");
        VersionInfo info;
        for (;;) {
            const Token t = peek();
            if (isWord(t, "BEGIN") || (t.kind == Tok::Punct && t.text == "{"))
                break;
            take();
            if (isWord(t, "FILEVERSION"))
                versionNumbers(info.fileVersion);
            else if (isWord(t, "PRODUCTVERSION"))
                versionNumbers(info.productVersion);
            else if (isWord(t, "FILEFLAGSMASK"))
                info.fileFlagsMask = dword("FILEFLAGSMASK");
            else if (isWord(t, "FILEFLAGS"))
                info.fileFlags = dword("FILEFLAGS");
            else if (isWord(t, "FILEOS"))
                info.fileOs = dword("FILEOS");
            else if (isWord(t, "FILETYPE"))
                info.fileType = dword("FILETYPE");
            else if (isWord(t, "FILESUBTYPE"))
                info.fileSubtype = dword("FILESUBTYPE");
            else
                throw Error(t.where, "unknown VERSIONINFO statement " + describe(t));
        }
        expectBegin("VERSIONINFO");
        info.children = versionBlock(opened, "VERSIONINFO");
        m_out.version = std::move(info);
        m_out.versionName = name;
    }

    std::vector<VersionNode> versionBlock(const Location& opened, const char* what) {
        std::vector<VersionNode> nodes;
        while (!atEnd(opened, what)) {
            const Token t = take();
            VersionNode node;
            if (isWord(t, "BLOCK")) {
                node.block = true;
                node.key = stringLiteral("the BLOCK name");
                expectBegin("BLOCK");
                node.children = versionBlock(t.where, "BLOCK");
            } else if (isWord(t, "VALUE")) {
                node.key = stringLiteral("the VALUE name");
                bool sawText = false, sawNumber = false;
                if (acceptPunct(",")) {
                    for (;;) {
                        const Token& p = peek();
                        if (p.kind == Tok::End || isWord(p, "BLOCK") || isWord(p, "VALUE") ||
                            isWord(p, "END") || (p.kind == Tok::Punct && p.text == "}"))
                            break;
                        if (p.kind == Tok::String) {
                            sawText = true;
                            node.textValue += take().str;
                        } else {
                            sawNumber = true;
                            const Location where = peek().where;
                            const Value v = expression();
                            const std::int64_t hi = v.isLong ? UINT32_MAX : 0xFFFF;
                            if (v.value < (v.isLong ? INT32_MIN : INT16_MIN) || v.value > hi)
                                throw Error(where, "value " + std::to_string(v.value) +
                                                       " does not fit (an L suffix makes a "
                                                       "double word)");
                            const std::uint32_t u = static_cast<std::uint32_t>(v.value);
                            node.bytes.push_back(static_cast<std::uint8_t>(u));
                            node.bytes.push_back(static_cast<std::uint8_t>(u >> 8));
                            if (v.isLong) {
                                node.bytes.push_back(static_cast<std::uint8_t>(u >> 16));
                                node.bytes.push_back(static_cast<std::uint8_t>(u >> 24));
                            }
                        }
                        acceptPunct(",");
                    }
                }
                if (sawText && sawNumber)
                    throw Error(t.where,
                                "VALUE \"" + svToUtf8(node.key) + "\" mixes text and numbers");
                node.text = !sawNumber;
            } else {
                throw Error(t.where, "expected BLOCK or VALUE, found " + describe(t));
            }
            nodes.push_back(std::move(node));
        }
        return nodes;
    }

    void dialog(const Name& name, bool extended, const Location& opened) {
        Dialog d;
        d.name = name;
        d.extended = extended;
        d.x = coordinate("x");
        expectComma("y");
        d.y = coordinate("y");
        expectComma("the width");
        d.cx = coordinate("width");
        expectComma("the height");
        d.cy = coordinate("height");
        if (extended && acceptPunct(","))
            d.helpId = dword("help id");
        bool styled = false, captioned = false, font = false;
        std::uint32_t styleValue = 0;
        for (;;) {
            const Token t = peek();
            if (isWord(t, "BEGIN") || (t.kind == Tok::Punct && t.text == "{"))
                break;
            if (commonOption())
                continue;
            take();
            if (isWord(t, "CAPTION")) {
                d.caption = stringLiteral("the caption");
                captioned = true;
            } else if (isWord(t, "STYLE")) {
                styleValue = style(0);
                styled = true;
            } else if (isWord(t, "EXSTYLE")) {
                d.exStyle = style(0);
            } else if (isWord(t, "FONT")) {
                font = true;
                d.fontPointSize = word("font size");
                expectComma("the typeface");
                d.fontFace = stringLiteral("the typeface");
                if (acceptPunct(",")) {
                    d.fontWeight = word("font weight");
                    if (acceptPunct(",")) {
                        d.fontItalic = static_cast<std::uint8_t>(ranged(0, 1, "italic flag"));
                        if (acceptPunct(","))
                            d.fontCharset = static_cast<std::uint8_t>(ranged(0, 255, "charset"));
                    }
                }
            } else if (isWord(t, "MENU")) {
                d.menu = resourceName(take());
            } else if (isWord(t, "CLASS")) {
                d.windowClass = stringLiteral("the window class");
            } else {
                throw Error(t.where, "unknown dialog statement " + describe(t));
            }
        }
        d.style = styled ? styleValue : (WS_POPUP | WS_BORDER | WS_SYSMENU);
        if (captioned)
            d.style |= WS_CAPTION;
        if (font)
            d.style |= DS_SETFONT;
        expectBegin("the dialog");
        while (!atEnd(opened, "dialog")) {
            // The template counts its controls in a word.
            if (d.controls.size() == 0xFFFF)
                throw Error(peek().where, "a dialog holds at most 65535 controls");
            d.controls.push_back(control(d.extended));
        }
        m_out.dialogs.push_back(std::move(d));
    }

    Control control(bool extended) {
        const Token keyword = take();
        const ControlKind* kind = nullptr;
        for (const ControlKind& k : kControlKinds) {
            if (isWord(keyword, k.keyword))
                kind = &k;
        }
        if (kind == nullptr)
            throw Error(keyword.where, "unknown control statement " + describe(keyword));
        const bool generic = std::strcmp(kind->keyword, "CONTROL") == 0;
        const bool icon = std::strcmp(kind->keyword, "ICON") == 0;
        Control c;
        c.windowClass = kind->windowClass;
        if (kind->hasText) {
            if (peek().kind == Tok::String) {
                c.text = stringLiteral("the text");
            } else {
                c.hasText = false;
                c.textOrdinal = word("resource ordinal");
            }
            expectComma("the control id");
        }
        c.id = static_cast<std::int32_t>(extended ? ranged(INT32_MIN, UINT32_MAX, "control id")
                                                  : ranged(-1, 0xFFFF, "control id"));
        if (!extended && c.id == 0xFFFF)
            c.id = -1;
        std::uint32_t initial = kind->style | WS_CHILD | WS_VISIBLE;
        bool styled = false;
        if (generic) {
            expectComma("the window class");
            const Token cls = peek();
            if (cls.kind == Tok::String) {
                c.windowClass = stringLiteral("the window class");
            } else if (cls.kind == Tok::Ident) {
                take();
                c.windowClass = upper(svFromUtf8(cls.text));
            } else {
                throw Error(cls.where, "expected a window class, found " + describe(cls));
            }
            expectComma("the style");
            c.style = style(WS_CHILD | WS_VISIBLE);
            styled = true;
        }
        expectComma("x");
        c.x = coordinate("x");
        expectComma("y");
        c.y = coordinate("y");
        if (!icon || peekPunct(",")) {
            expectComma("the width");
            c.cx = coordinate("width");
            expectComma("the height");
            c.cy = coordinate("height");
        }
        if (!generic && acceptPunct(",")) {
            c.style = style(initial);
            styled = true;
        }
        if (!styled)
            c.style = initial;
        if ((generic || styled) && acceptPunct(",")) {
            c.exStyle = style(0);
            if (acceptPunct(",")) {
                if (!extended)
                    throw Error(peek().where, "a help id needs DIALOGEX");
                c.helpId = dword("help id");
            }
        }
        if (extended && (peekWord("BEGIN") || peekPunct("{"))) {
            // Control creation data: nothing we show uses it.
            take();
            while (!atEnd(keyword.where, "control data"))
                take();
        }
        return c;
    }

    void menu(const Name& name, const Location& opened) {
        while (commonOption()) {
        }
        Menu m;
        m.name = name;
        expectBegin("the menu");
        menuItems(m.items, 0, opened);
        m_out.menus.push_back(std::move(m));
    }

    std::uint32_t menuOptions() {
        static const std::pair<const char*, std::uint32_t> options[] = {
            {"CHECKED", MF_CHECKED},
            {"GRAYED", MF_GRAYED},
            {"HELP", MF_HELP},
            {"INACTIVE", MF_DISABLED},
            {"MENUBARBREAK", MF_MENUBARBREAK},
            {"MENUBREAK", MF_MENUBREAK}};
        std::uint32_t flags = 0;
        for (;;) {
            const bool comma = acceptPunct(",");
            bool found = false;
            for (const auto& [word, flag] : options) {
                if (peekWord(word)) {
                    take();
                    flags |= flag;
                    found = true;
                }
            }
            if (!found) {
                if (comma)
                    throw Error(peek().where, "expected a menu option, found " + describe(peek()));
                return flags;
            }
        }
    }

    void menuItems(std::vector<MenuItem>& items, std::uint32_t depth, const Location& opened) {
        if (depth > 64)
            throw Error(opened, "menus nested too deeply");
        std::size_t last = SIZE_MAX;
        while (!atEnd(opened, depth == 0 ? "MENU" : "POPUP")) {
            const Token t = take();
            MenuItem item;
            item.depth = depth;
            if (isWord(t, "MENUITEM")) {
                if (peekWord("SEPARATOR")) {
                    take();
                    item.flags = MF_SEPARATOR;
                } else {
                    item.text = stringLiteral("the item text");
                    expectComma("the command id");
                    item.id = word("command id");
                    item.flags = menuOptions();
                }
                last = items.size();
                items.push_back(item);
            } else if (isWord(t, "POPUP")) {
                item.text = stringLiteral("the popup text");
                item.flags = MF_POPUP | menuOptions();
                last = items.size();
                items.push_back(item);
                expectBegin("POPUP");
                menuItems(items, depth + 1, t.where);
            } else {
                throw Error(t.where, "expected MENUITEM or POPUP, found " + describe(t));
            }
        }
        // An empty level would make the loader read the next level's items as its own.
        if (last == SIZE_MAX)
            throw Error(opened, depth == 0 ? "MENU has no items" : "POPUP has no items");
        items[last].flags |= MF_END;
    }

    std::vector<std::uint8_t> readData(const std::string& name, const Location& where) {
        const std::string path = m_pp.resolve(name, where.file);
        if (path.empty())
            throw Error(where, "cannot open '" + name + "'");
        std::error_code ec;
        if (fs::file_size(path, ec) > kMaxEmbeddedFile)
            throw Error(where, "'" + name + "' is too large to embed");
        std::ifstream in(path, std::ios::binary);
        if (!in)
            throw Error(where, "cannot open '" + name + "'");
        m_pp.addDependency(fs::absolute(path).lexically_normal().string());
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    void data(const Name& type, const Name& name, const Token& typeToken) {
        RawResource raw;
        raw.type = type;
        raw.name = name;
        while (commonOption()) {
        }
        // Image data, from a file or a block, becomes the form the platform keeps it in.
        std::string source = "the data block";
        const Location where = peek().where;
        if (peek().kind == Tok::String) {
            const std::string file = svToUtf8(stringLiteral("the file name"));
            raw.bytes = readData(file, where);
            source = "'" + file + "'";
        } else if (peekWord("BEGIN") || peekPunct("{")) {
            take();
            while (!atEnd(typeToken.where, "data block")) {
                if (peek().kind == Tok::String) {
                    const Token s = take();
                    if (s.wide) {
                        for (wchar_t c : s.str) {
                            const auto u = static_cast<std::uint32_t>(c);
                            for (int k = 0; k < static_cast<int>(sizeof(wchar_t)); ++k)
                                raw.bytes.push_back(static_cast<std::uint8_t>(u >> (8 * k)));
                        }
                    } else {
                        const std::string bytes = svToUtf8(s.str);
                        raw.bytes.insert(raw.bytes.end(), bytes.begin(), bytes.end());
                    }
                } else {
                    const Location where = peek().where;
                    const Value v = expression();
                    if (v.value < INT32_MIN || v.value > UINT32_MAX ||
                        (!v.isLong && (v.value < INT16_MIN || v.value > 0xFFFF)))
                        throw Error(where, "value " + std::to_string(v.value) + " does not fit");
                    const auto u = static_cast<std::uint32_t>(v.value);
                    for (int k = 0; k < (v.isLong ? 4 : 2); ++k)
                        raw.bytes.push_back(static_cast<std::uint8_t>(u >> (8 * k)));
                }
                acceptPunct(",");
            }
        } else {
            throw Error(typeToken.where, "expected a file name or BEGIN after " +
                                             describe(typeToken) + ", found " + describe(peek()));
        }
        if (type.ordinal && type.id == 2) {
            raw.bytes = bitmapResource(raw.bytes, source, where);
        } else if (type.ordinal && type.id == 12) {
            CursorResources cursor = cursorResources(raw.bytes, source, where, m_nextImageId);
            for (std::vector<std::uint8_t>& bytes : cursor.images) {
                const Name id{true, static_cast<std::uint16_t>(m_nextImageId++), L""};
                checkUnique(Name{true, 1, L""}, id, where);
                m_out.raws.push_back(RawResource{Name{true, 1, L""}, id, std::move(bytes)});
            }
            raw.bytes = std::move(cursor.group);
        }
        m_out.raws.push_back(std::move(raw));
    }

    Preprocessor& m_pp;
    Script& m_out;
    std::uint32_t m_nextImageId = 1; // cursor images are numbered through the script
    Token m_next;
    bool m_have = false;
};

Script run(Preprocessor& pp) {
    Script script;
    Parser(pp, script).script();
    std::stable_sort(script.strings.begin(), script.strings.end(),
                     [](const StringEntry& a, const StringEntry& b) { return a.id < b.id; });
    script.dependencies = pp.dependencies();
    return script;
}

} // namespace

Script compile(const Options& options) {
    Preprocessor pp(options);
    pp.openFile(options.input);
    return run(pp);
}

Script compileText(const std::string& text, const std::string& fileName, const Options& options) {
    Preprocessor pp(options);
    pp.openText(text, fileName);
    return run(pp);
}

} // namespace svrc
