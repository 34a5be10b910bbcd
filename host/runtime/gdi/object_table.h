#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include <cairo.h>

#include "gdi/dc.h"
#include "gdi/objects.h"

struct SvSurface {
    cairo_surface_t* pixels; // RGB24, one reference owned
};

namespace svgdi {

class FontFace;

// Every painting object lives in the table under a handle that is never reused, so a stale or
// made-up handle is found missing rather than followed.
struct Object {
    explicit Object(DWORD objectType) : type(objectType) {}
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    DWORD type; // OBJ_*
    bool stock = false;
    int uses = 0; // selections holding it, current or saved
    HGDIOBJ handle = nullptr;
};

struct Pen : Object {
    explicit Pen(const LOGPEN& description) : Object(OBJ_PEN), log(description) {}
    LOGPEN log;
};

struct Brush : Object {
    explicit Brush(const LOGBRUSH& description) : Object(OBJ_BRUSH), log(description) {}
    LOGBRUSH log;
};

struct Font : Object {
    explicit Font(const LOGFONTW& description);
    ~Font() override;
    const FontFace& face() const; // resolved on first use
    LOGFONTW log;

private:
    mutable std::unique_ptr<FontFace> resolved_;
};

struct Bitmap : Object {
    explicit Bitmap(cairo_surface_t* surface) : Object(OBJ_BITMAP), pixels(surface) {}
    ~Bitmap() override { cairo_surface_destroy(pixels); }
    cairo_surface_t* pixels;    // RGB24, owned
    HDC selectedInto = nullptr; // the one DC holding it
};

// A selection: keeps its object from being deleted while a DC state holds it.
template <class T>
class Held {
public:
    Held() = default;
    explicit Held(T* object) : object_(object) { acquire(); }
    Held(const Held& other) : object_(other.object_) { acquire(); }
    Held& operator=(const Held& other) {
        if (this != &other) {
            release();
            object_ = other.object_;
            acquire();
        }
        return *this;
    }
    ~Held() { release(); }
    T* get() const { return object_; }
    T* operator->() const { return object_; }

private:
    void acquire() {
        if (object_ != nullptr)
            ++object_->uses;
    }
    void release() {
        if (object_ == nullptr)
            return;
        --object_->uses;
        if constexpr (requires { object_->selectedInto; }) {
            if (object_->uses == 0)
                object_->selectedInto = nullptr;
        }
    }
    T* object_ = nullptr;
};

struct DcState {
    Held<Pen> pen;
    Held<Brush> brush;
    Held<Font> font;
    Held<Bitmap> bitmap; // memory DCs only
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    POINT position = {0, 0};
    POINT viewport = {0, 0};
    RECT clip; // device pixels
};

struct Dc : Object {
    Dc(DWORD objectType, cairo_surface_t* surface, POINT deviceOrigin, RECT deviceClip);
    ~Dc() override;

    // The pixels painted: the surface, or the bitmap of a memory DC.
    cairo_surface_t* target() const;
    // Logical to device pixels, held well inside the int range so that sizes can be added.
    POINT toDevice(int x, int y) const;
    // The clip cut to the target, in device pixels.
    RECT effectiveClip() const;

    cairo_surface_t* surface; // a reference owned, null for a memory DC
    POINT origin;
    DcState state;
    std::vector<DcState> saved;
};

// The handle of a new object, which the table then owns.
HGDIOBJ add(std::unique_ptr<Object> object);
// The live object of a handle, null for anything else.
Object* find(HGDIOBJ handle);
void remove(HGDIOBJ handle);

template <class T>
T* findAs(HGDIOBJ handle, DWORD type) {
    Object* object = find(handle);
    return object != nullptr && object->type == type ? static_cast<T*>(object) : nullptr;
}
inline Pen* findPen(HGDIOBJ handle) {
    return findAs<Pen>(handle, OBJ_PEN);
}
inline Brush* findBrush(HGDIOBJ handle) {
    return findAs<Brush>(handle, OBJ_BRUSH);
}
inline Font* findFont(HGDIOBJ handle) {
    return findAs<Font>(handle, OBJ_FONT);
}
inline Bitmap* findBitmap(HGDIOBJ handle) {
    return findAs<Bitmap>(handle, OBJ_BITMAP);
}
Dc* findDc(HDC handle);

// A DC state value replaced (answering the old one) or read; `failed` for a dead DC, and a
// null previous/out pointer where the functions take one.
template <class T>
T exchangeState(HDC handle, T DcState::*slot, T value, T failed) {
    Dc* dc = findDc(handle);
    return dc == nullptr ? failed : std::exchange(dc->state.*slot, value);
}
template <class T>
T readState(HDC handle, T DcState::*slot, T failed) {
    const Dc* dc = findDc(handle);
    return dc == nullptr ? failed : dc->state.*slot;
}
BOOL exchangePoint(HDC handle, POINT DcState::*slot, POINT value, LPPOINT previous);
BOOL readPoint(HDC handle, POINT DcState::*slot, LPPOINT out);

// The colour a brush fills with: a solid brush's, or a system colour's for (HBRUSH)(index + 1);
// false for a null brush or a dead handle.
bool brushColor(HBRUSH brush, COLORREF* color);

// A stock object by its GetStockObject index; the table makes them all at start.
Object* stock(int index);
// The 1x1 bitmap every new memory DC holds.
Bitmap* defaultBitmap();

} // namespace svgdi
