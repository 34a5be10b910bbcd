#include "win/dialog_template.h"

#include "win/resource_reader.h"

namespace {

constexpr DWORD DS_SETFONT = 0x40;
// The fixed part of the smallest item: coordinates, styles, id, then empty class, title and
// creation data.
constexpr std::size_t kMinItemEx = 24 + 6;
constexpr std::size_t kMinItem = 18 + 6;

const wchar_t* predefinedClass(WORD ordinal) {
    switch (ordinal) {
    case SV_CLASS_BUTTON:
        return L"Button";
    case SV_CLASS_EDIT:
        return L"Edit";
    case SV_CLASS_STATIC:
        return L"Static";
    case SV_CLASS_LISTBOX:
        return L"ListBox";
    case SV_CLASS_SCROLLBAR:
        return L"ScrollBar";
    case SV_CLASS_COMBOBOX:
        return L"ComboBox";
    default:
        return nullptr;
    }
}

bool readCoordinates(SvResourceReader& in, short& x, short& y, short& cx, short& cy) {
    return in.read(x) && in.read(y) && in.read(cx) && in.read(cy);
}

SvResStatus readItem(SvResourceReader& in, bool extended, SvResDialogItem& item) {
    if (!in.alignTo(4))
        return SvResStatus::Truncated;
    bool fixed = false;
    if (extended) {
        DWORD id = 0;
        fixed = in.read(item.helpId) && in.read(item.exStyle) && in.read(item.style) &&
                readCoordinates(in, item.x, item.y, item.cx, item.cy) && in.read(id);
        item.id = static_cast<LONG>(id);
    } else {
        WORD id = 0;
        fixed = in.read(item.style) && in.read(item.exStyle) &&
                readCoordinates(in, item.x, item.y, item.cx, item.cy) && in.read(id);
        // Sixteen-bit ids widen as the platform's do, so IDC_STATIC stays -1.
        item.id = static_cast<std::int16_t>(id);
    }
    if (!fixed)
        return SvResStatus::Truncated;
    SvResName windowClass;
    if (const SvResStatus s = in.nameOrOrdinal(windowClass); s != SvResStatus::Ok)
        return s;
    if (windowClass.isOrdinal) {
        const wchar_t* name = predefinedClass(windowClass.ordinal);
        if (name == nullptr)
            return SvResStatus::BadValue;
        item.windowClass = name;
    } else if (windowClass.text.empty()) {
        return SvResStatus::BadValue;
    } else {
        item.windowClass = std::move(windowClass.text);
    }
    if (const SvResStatus s = in.nameOrOrdinal(item.title); s != SvResStatus::Ok)
        return s;
    WORD extra = 0;
    if (!in.read(extra))
        return SvResStatus::Truncated;
    // The classic layout counts its own size word in the creation data; the extended one does not.
    std::size_t bytes = extra;
    if (!extended && extra != 0) {
        if (extra < 2)
            return SvResStatus::BadValue;
        bytes -= 2;
    }
    if (bytes > in.remaining())
        return SvResStatus::Truncated;
    item.creationData.assign(in.here(), in.here() + bytes);
    in.skip(bytes);
    return SvResStatus::Ok;
}

SvResStatus readHeader(SvResourceReader& in, SvResDialog& dialog, WORD& count) {
    WORD version = 0, signature = 0;
    if (!in.peek(version) || in.remaining() < 4)
        return SvResStatus::Truncated;
    std::memcpy(&signature, in.here() + 2, 2);
    dialog.extended = signature == 0xFFFF;
    bool fixed = false;
    if (dialog.extended) {
        if (version != 1)
            return SvResStatus::BadHeader;
        in.skip(4);
        fixed = in.read(dialog.helpId) && in.read(dialog.exStyle) && in.read(dialog.style);
    } else {
        fixed = in.read(dialog.style) && in.read(dialog.exStyle);
    }
    if (!fixed || !in.read(count) || !readCoordinates(in, dialog.x, dialog.y, dialog.cx, dialog.cy))
        return SvResStatus::Truncated;
    for (SvResName* field : {&dialog.menu, &dialog.windowClass}) {
        if (const SvResStatus s = in.nameOrOrdinal(*field); s != SvResStatus::Ok)
            return s;
    }
    if (const SvResStatus s = in.text(dialog.caption); s != SvResStatus::Ok)
        return s;
    dialog.hasFont = (dialog.style & DS_SETFONT) != 0;
    if (!dialog.hasFont)
        return SvResStatus::Ok;
    if (!in.read(dialog.fontPointSize))
        return SvResStatus::Truncated;
    if (dialog.extended &&
        !(in.read(dialog.fontWeight) && in.read(dialog.fontItalic) && in.read(dialog.fontCharset)))
        return SvResStatus::Truncated;
    return in.text(dialog.fontFace);
}

SvResStatus parse(const void* data, std::size_t size, SvResDialog& dialog) {
    if (const SvResStatus s = svCheckStart(data, 4); s != SvResStatus::Ok)
        return s;
    SvResourceReader in(data, size);
    WORD count = 0;
    if (const SvResStatus s = readHeader(in, dialog, count); s != SvResStatus::Ok)
        return s;
    // A count the rest cannot hold is refused before anything is allocated for it.
    const std::size_t smallest = dialog.extended ? kMinItemEx : kMinItem;
    if (count != 0 && (in.remaining() + 3) / smallest < count)
        return SvResStatus::TooManyItems;
    dialog.items.resize(count);
    for (SvResDialogItem& item : dialog.items) {
        if (const SvResStatus s = readItem(in, dialog.extended, item); s != SvResStatus::Ok)
            return s;
    }
    return SvResStatus::Ok;
}

} // namespace

SvResStatus svParseDialogTemplate(const void* data, std::size_t size, SvResDialog& dialog) {
    return svReadWhole(data, size, dialog, parse);
}
