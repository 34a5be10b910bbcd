#pragma once

#include <memory>
#include <string>

#include "gdi/surface.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace window {

// One window of the desktop showing frames painted by us: SDL gives the window, its events and
// a streaming texture the frame's pixels are copied into.
class Display {
public:
    // Null with SDL's reason when there is no display to open a window on.
    static std::unique_ptr<Display> open(const char* title, int width, int height,
                                         std::string& error);
    ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // The window's drawable size in pixels.
    void size(int& width, int& height) const;
    void setTitle(const std::string& title);
    // Shows the surface, which has the window's size; false when it cannot be shown.
    bool show(const SvSurface* frame);
    void hide();

private:
    Display() = default;

    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    int m_textureWidth = 0, m_textureHeight = 0;
};

} // namespace window
