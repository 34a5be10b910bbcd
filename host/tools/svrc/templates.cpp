// Dialog and menu templates in the platform's binary layout: little-endian, UTF-16 texts,
// dialog items on DWORD boundaries.
#include <cwctype>

#include "rc.h"

namespace svrc {

namespace {

constexpr std::uint32_t DS_SETFONT = 0x40;
constexpr std::uint32_t MF_POPUP = 0x10, MF_SEPARATOR = 0x800;

class Writer {
public:
    void word(std::uint32_t v) {
        m_bytes.push_back(static_cast<std::uint8_t>(v));
        m_bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void dword(std::uint32_t v) {
        word(v & 0xFFFF);
        word(v >> 16);
    }
    void text(const std::wstring& text) {
        for (wchar_t c : text) {
            const auto u = static_cast<std::uint32_t>(c);
            if (u >= 0x10000) {
                word(0xD800 + ((u - 0x10000) >> 10));
                word(0xDC00 + ((u - 0x10000) & 0x3FF));
            } else {
                word(u);
            }
        }
        word(0);
    }
    void nameOrOrdinal(const std::optional<Name>& name) {
        if (!name) {
            word(0);
        } else if (name->ordinal) {
            word(0xFFFF);
            word(name->id);
        } else {
            text(name->text);
        }
    }
    void align() {
        while (m_bytes.size() % 4 != 0)
            m_bytes.push_back(0);
    }
    std::vector<std::uint8_t> take() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

void coordinates(Writer& out, std::int16_t x, std::int16_t y, std::int16_t cx, std::int16_t cy) {
    for (std::int16_t v : {x, y, cx, cy})
        out.word(static_cast<std::uint16_t>(v));
}

// The standard control classes travel as ordinals, whatever case the script spelled them in.
std::optional<Name> controlClass(const std::wstring& windowClass) {
    static const wchar_t* const predefined[] = {L"BUTTON",  L"EDIT",      L"STATIC",
                                                L"LISTBOX", L"SCROLLBAR", L"COMBOBOX"};
    std::wstring key = windowClass;
    for (wchar_t& c : key)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    for (std::uint16_t i = 0; i < std::size(predefined); ++i) {
        if (key == predefined[i])
            return Name{true, static_cast<std::uint16_t>(0x80 + i), L""};
    }
    return Name{false, 0, windowClass};
}

} // namespace

std::vector<std::uint8_t> dialogTemplate(const Dialog& d) {
    Writer out;
    if (d.extended) {
        out.word(1);
        out.word(0xFFFF);
        out.dword(d.helpId);
        out.dword(d.exStyle);
        out.dword(d.style);
    } else {
        out.dword(d.style);
        out.dword(d.exStyle);
    }
    out.word(static_cast<std::uint32_t>(d.controls.size()));
    coordinates(out, d.x, d.y, d.cx, d.cy);
    out.nameOrOrdinal(d.menu);
    out.nameOrOrdinal(d.windowClass.empty() ? std::nullopt
                                            : std::optional<Name>(Name{false, 0, d.windowClass}));
    out.text(d.caption);
    if ((d.style & DS_SETFONT) != 0) {
        out.word(d.fontPointSize);
        if (d.extended) {
            out.word(d.fontWeight);
            out.word(static_cast<std::uint32_t>(d.fontItalic | (d.fontCharset << 8)));
        }
        out.text(d.fontFace);
    }
    for (const Control& c : d.controls) {
        out.align();
        if (d.extended) {
            out.dword(c.helpId);
            out.dword(c.exStyle);
            out.dword(c.style);
            coordinates(out, c.x, c.y, c.cx, c.cy);
            out.dword(static_cast<std::uint32_t>(c.id));
        } else {
            out.dword(c.style);
            out.dword(c.exStyle);
            coordinates(out, c.x, c.y, c.cx, c.cy);
            out.word(static_cast<std::uint32_t>(c.id) & 0xFFFF);
        }
        out.nameOrOrdinal(controlClass(c.windowClass));
        out.nameOrOrdinal(c.hasText ? Name{false, 0, c.text} : Name{true, c.textOrdinal, L""});
        out.word(0); // no creation data
    }
    return out.take();
}

std::vector<std::uint8_t> menuTemplate(const Menu& m) {
    Writer out;
    out.word(0); // version
    out.word(0); // header size past these two words
    for (const MenuItem& item : m.items) {
        // A separator is written as the compiler of the platform writes it: no text, no command.
        out.word(item.flags & ~MF_SEPARATOR);
        if ((item.flags & MF_POPUP) == 0)
            out.word(item.id);
        out.text(item.text);
    }
    return out.take();
}

} // namespace svrc
