#include "gdi/object_table.h"

#include <algorithm>
#include <cwchar>
#include <unordered_map>

#include "gdi/font_face.h"
#include "gdi/syscolors.h"

namespace svgdi {

namespace {

LOGFONTW stockFont(LONG height, LONG weight, const wchar_t* face) {
    LOGFONTW font = {};
    font.lfHeight = height;
    font.lfWeight = weight;
    std::wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

class Table {
public:
    Table() {
        const auto solidBrush = [](COLORREF color) {
            return std::make_unique<Brush>(LOGBRUSH{BS_SOLID, color, 0});
        };
        const auto solidPen = [](UINT style, COLORREF color) {
            return std::make_unique<Pen>(LOGPEN{style, {0, 0}, color});
        };
        addStock(WHITE_BRUSH, solidBrush(RGB(255, 255, 255)));
        addStock(LTGRAY_BRUSH, solidBrush(RGB(192, 192, 192)));
        addStock(GRAY_BRUSH, solidBrush(RGB(128, 128, 128)));
        addStock(DKGRAY_BRUSH, solidBrush(RGB(64, 64, 64)));
        addStock(BLACK_BRUSH, solidBrush(RGB(0, 0, 0)));
        addStock(NULL_BRUSH, std::make_unique<Brush>(LOGBRUSH{BS_NULL, 0, 0}));
        addStock(WHITE_PEN, solidPen(PS_SOLID, RGB(255, 255, 255)));
        addStock(BLACK_PEN, solidPen(PS_SOLID, RGB(0, 0, 0)));
        addStock(NULL_PEN, solidPen(PS_NULL, RGB(0, 0, 0)));
        addStock(OEM_FIXED_FONT, std::make_unique<Font>(stockFont(12, FW_NORMAL, L"Terminal")));
        addStock(ANSI_FIXED_FONT, std::make_unique<Font>(stockFont(12, FW_NORMAL, L"Courier")));
        addStock(ANSI_VAR_FONT, std::make_unique<Font>(stockFont(12, FW_NORMAL, L"MS Sans Serif")));
        addStock(SYSTEM_FONT, std::make_unique<Font>(stockFont(16, FW_BOLD, L"System")));
        addStock(DEVICE_DEFAULT_FONT, std::make_unique<Font>(stockFont(16, FW_BOLD, L"System")));
        addStock(SYSTEM_FIXED_FONT, std::make_unique<Font>(stockFont(15, FW_NORMAL, L"Fixedsys")));
        addStock(DEFAULT_GUI_FONT,
                 std::make_unique<Font>(stockFont(-11, FW_NORMAL, L"MS Shell Dlg")));
        auto bitmap =
            std::make_unique<Bitmap>(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1));
        bitmap->stock = true;
        defaultBitmap_ = bitmap.get();
        add(std::move(bitmap));
    }

    HGDIOBJ add(std::unique_ptr<Object> object) {
        // Handles start above the small numbers that stand for system colour brushes.
        const auto handle = reinterpret_cast<HGDIOBJ>(next_);
        next_ += 4;
        object->handle = handle;
        objects_.emplace(handle, std::move(object));
        return handle;
    }

    Object* find(HGDIOBJ handle) const {
        const auto found = objects_.find(handle);
        return found == objects_.end() ? nullptr : found->second.get();
    }

    void remove(HGDIOBJ handle) { objects_.erase(handle); }

    Object* stock(int index) const {
        return index >= 0 && index < static_cast<int>(std::size(stock_)) ? stock_[index] : nullptr;
    }

    Bitmap* defaultBitmap() const { return defaultBitmap_; }

private:
    void addStock(int index, std::unique_ptr<Object> object) {
        object->stock = true;
        stock_[index] = object.get();
        add(std::move(object));
    }

    std::unordered_map<HGDIOBJ, std::unique_ptr<Object>> objects_;
    std::uintptr_t next_ = 0x10000;
    Object* stock_[DEFAULT_GUI_FONT + 1] = {};
    Bitmap* defaultBitmap_ = nullptr;
};

Table& table() {
    static Table instance;
    return instance;
}

} // namespace

Font::Font(const LOGFONTW& description) : Object(OBJ_FONT), log(description) {
    log.lfFaceName[LF_FACESIZE - 1] = L'\0';
}

Font::~Font() = default;

const FontFace& Font::face() const {
    if (!resolved_)
        resolved_ = std::make_unique<FontFace>(log);
    return *resolved_;
}

Dc::Dc(DWORD objectType, cairo_surface_t* target, POINT deviceOrigin, RECT deviceClip)
    : Object(objectType), surface(target), origin(deviceOrigin) {
    if (surface != nullptr)
        cairo_surface_reference(surface);
    state.pen = Held<Pen>(static_cast<Pen*>(table().stock(BLACK_PEN)));
    state.brush = Held<Brush>(static_cast<Brush*>(table().stock(WHITE_BRUSH)));
    state.font = Held<Font>(static_cast<Font*>(table().stock(SYSTEM_FONT)));
    state.clip = deviceClip;
}

Dc::~Dc() {
    if (surface != nullptr)
        cairo_surface_destroy(surface);
}

POINT Dc::toDevice(int x, int y) const {
    constexpr long long limit = 0x3FFFFFFF;
    const auto place = [&](long long logical, long long offset, long long viewportOffset) {
        return static_cast<LONG>(std::clamp(logical + offset + viewportOffset, -limit, limit));
    };
    return {place(x, origin.x, state.viewport.x), place(y, origin.y, state.viewport.y)};
}

cairo_surface_t* Dc::target() const {
    return surface != nullptr ? surface : state.bitmap->pixels;
}

RECT Dc::effectiveClip() const {
    cairo_surface_t* pixels = target();
    return {std::max<LONG>(state.clip.left, 0), std::max<LONG>(state.clip.top, 0),
            std::min<LONG>(state.clip.right, cairo_image_surface_get_width(pixels)),
            std::min<LONG>(state.clip.bottom, cairo_image_surface_get_height(pixels))};
}

HGDIOBJ add(std::unique_ptr<Object> object) {
    return table().add(std::move(object));
}

Object* find(HGDIOBJ handle) {
    return table().find(handle);
}

void remove(HGDIOBJ handle) {
    table().remove(handle);
}

Dc* findDc(HDC handle) {
    Object* object = find(handle);
    return object != nullptr && (object->type == OBJ_DC || object->type == OBJ_MEMDC)
               ? static_cast<Dc*>(object)
               : nullptr;
}

bool brushColor(HBRUSH brush, COLORREF* color) {
    const auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value >= 1 && value <= COLOR_MENUBAR + 1) {
        if (GetSysColorBrush(static_cast<int>(value - 1)) == nullptr)
            return false;
        *color = GetSysColor(static_cast<int>(value - 1));
        return true;
    }
    const Brush* found = findBrush(brush);
    if (found == nullptr || found->log.lbStyle != BS_SOLID)
        return false;
    *color = found->log.lbColor;
    return true;
}

BOOL exchangePoint(HDC handle, POINT DcState::*slot, POINT value, LPPOINT previous) {
    Dc* dc = findDc(handle);
    if (dc == nullptr)
        return FALSE;
    const POINT old = std::exchange(dc->state.*slot, value);
    if (previous != nullptr)
        *previous = old;
    return TRUE;
}

BOOL readPoint(HDC handle, POINT DcState::*slot, LPPOINT out) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr || out == nullptr)
        return FALSE;
    *out = dc->state.*slot;
    return TRUE;
}

Object* stock(int index) {
    return table().stock(index);
}

Bitmap* defaultBitmap() {
    return table().defaultBitmap();
}

} // namespace svgdi
