#include "display.h"

#include <SDL.h>

#include <cstdlib>

namespace window {

namespace {

// SDL falls back to drivers that draw nowhere; a window nobody can see is no window. The desktop
// named by the environment is tried, or the driver asked for by name.
bool startVideo(std::string& error) {
    if (std::getenv("SDL_VIDEODRIVER") != nullptr) {
        if (SDL_Init(SDL_INIT_VIDEO) == 0)
            return true;
        error = SDL_GetError();
        return false;
    }
    for (const char* driver : {"wayland", "x11"}) {
        const bool named = std::getenv(driver[0] == 'w' ? "WAYLAND_DISPLAY" : "DISPLAY") != nullptr;
        if (!named)
            continue;
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
        if (SDL_Init(SDL_INIT_VIDEO) == 0)
            return true;
        error = SDL_GetError();
    }
    if (error.empty())
        error = "neither DISPLAY nor WAYLAND_DISPLAY is set";
    return false;
}

} // namespace

std::unique_ptr<Display> Display::open(const char* title, int width, int height,
                                       std::string& error) {
    if (!startVideo(error))
        return nullptr;
    std::unique_ptr<Display> display(new Display);
    display->m_window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                         width, height, SDL_WINDOW_RESIZABLE);
    // Our frames are painted in memory: the software renderer is enough and found everywhere.
    if (display->m_window != nullptr)
        display->m_renderer = SDL_CreateRenderer(display->m_window, -1, SDL_RENDERER_SOFTWARE);
    if (display->m_renderer == nullptr) {
        error = SDL_GetError();
        return nullptr;
    }
    SDL_StartTextInput();
    return display;
}

Display::~Display() {
    if (m_texture != nullptr)
        SDL_DestroyTexture(m_texture);
    if (m_renderer != nullptr)
        SDL_DestroyRenderer(m_renderer);
    if (m_window != nullptr)
        SDL_DestroyWindow(m_window);
    // No SDL_Quit: it would unload the display libraries SDL opened, leaving what they keep for
    // the process's life unnamed in a leak report. The display is closed once, at the end.
}

void Display::size(int& width, int& height) const {
    SDL_GetRendererOutputSize(m_renderer, &width, &height);
}

void Display::setTitle(const std::string& title) {
    SDL_SetWindowTitle(m_window, title.c_str());
}

bool Display::show(const SvSurface* frame) {
    const int width = svSurfaceWidth(frame), height = svSurfaceHeight(frame);
    if (m_texture == nullptr || width != m_textureWidth || height != m_textureHeight) {
        if (m_texture != nullptr)
            SDL_DestroyTexture(m_texture);
        // The painting layer's pixels are 32-bit 0x00RRGGBB words.
        m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888,
                                      SDL_TEXTUREACCESS_STREAMING, width, height);
        m_textureWidth = width;
        m_textureHeight = height;
    }
    int stride = 0;
    const unsigned char* rows = svSurfaceRows(frame, &stride);
    if (m_texture == nullptr || rows == nullptr ||
        SDL_UpdateTexture(m_texture, nullptr, rows, stride) != 0)
        return false;
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    SDL_RenderPresent(m_renderer);
    return true;
}

void Display::hide() {
    SDL_HideWindow(m_window);
}

} // namespace window
