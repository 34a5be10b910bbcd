#include "gdi/surface.h"

#include <cairo-pdf.h>

#include <memory>

#include "gdi/object_table.h"
#include "gdi/pixels.h"
#include "gdi/rect.h"

SvSurface* svCreateSurface(int width, int height) {
    if (width < 1 || height < 1 || width > 32767 || height > 32767)
        return nullptr;
    cairo_surface_t* pixels = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(pixels) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(pixels);
        return nullptr;
    }
    return new SvSurface{pixels};
}

void svDestroySurface(SvSurface* surface) {
    if (surface == nullptr)
        return;
    cairo_surface_destroy(surface->pixels);
    delete surface;
}

int svSurfaceWidth(const SvSurface* surface) {
    return surface == nullptr ? 0 : cairo_image_surface_get_width(surface->pixels);
}

int svSurfaceHeight(const SvSurface* surface) {
    return surface == nullptr ? 0 : cairo_image_surface_get_height(surface->pixels);
}

COLORREF svSurfacePixel(const SvSurface* surface, int x, int y) {
    if (surface == nullptr || x < 0 || y < 0 || x >= svSurfaceWidth(surface) ||
        y >= svSurfaceHeight(surface))
        return CLR_INVALID;
    svgdi::PixelAccess pixels(surface->pixels, {x, y, x + 1, y + 1});
    return svgdi::toColor(pixels.at(x, y) & 0x00FFFFFF);
}

const unsigned char* svSurfaceRows(const SvSurface* surface, int* stride) {
    if (surface == nullptr)
        return nullptr;
    cairo_surface_flush(surface->pixels);
    if (stride != nullptr)
        *stride = cairo_image_surface_get_stride(surface->pixels);
    return cairo_image_surface_get_data(surface->pixels);
}

bool svWriteSurfacePng(const SvSurface* surface, const char* path) {
    if (surface == nullptr || path == nullptr)
        return false;
    return cairo_surface_write_to_png(surface->pixels, path) == CAIRO_STATUS_SUCCESS;
}

bool svWriteSurfacePdf(const SvSurface* surface, const char* path) {
    if (surface == nullptr || path == nullptr)
        return false;
    constexpr double kPointsPerPixel = 72.0 / 96.0;
    cairo_surface_t* document =
        cairo_pdf_surface_create(path, svSurfaceWidth(surface) * kPointsPerPixel,
                                 svSurfaceHeight(surface) * kPointsPerPixel);
    cairo_t* page = cairo_create(document);
    cairo_scale(page, kPointsPerPixel, kPointsPerPixel);
    cairo_set_source_surface(page, surface->pixels, 0, 0);
    cairo_paint(page);
    cairo_destroy(page);
    cairo_surface_finish(document);
    const bool written = cairo_surface_status(document) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(document);
    return written;
}

HDC svCreateSurfaceDC(SvSurface* surface, POINT origin, RECT clip) {
    if (surface == nullptr)
        return nullptr;
    return static_cast<HDC>(
        svgdi::add(std::make_unique<svgdi::Dc>(OBJ_DC, surface->pixels, origin, clip)));
}
