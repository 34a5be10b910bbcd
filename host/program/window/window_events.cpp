#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "crt/format.h"
#include "desktop.h"
#include "gdi/rect.h"
#include "pointer_answer.h"
#include "user/input.h"
#include "user/window.h"
#include "view_space.h"
#include "window_layout.h"
#include "window_screen.h"

// How the person's pointer and keys reach the window: at a prompt they type, pan, zoom and answer;
// in a dialog they become the window manager's input.

namespace window {

namespace {

// A press that moves less than this is a click, not a drag.
constexpr int kDragSlack = 4;
constexpr double kWheelZoom = 1.25;

POINT eventPoint(int x, int y) {
    return POINT{x, y};
}

UINT virtualKey(SDL_Keycode key) {
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_END:
        return VK_END;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_F1:
        return VK_F1;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    default:
        return 0;
    }
}

} // namespace

void WindowScreen::handle(const SDL_Event& event, Mode mode) {
    switch (event.type) {
    case SDL_QUIT:
        m_closed = true;
        m_display->hide();
        return;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
            m_closed = true;
            m_display->hide();
        } else if (event.window.event == SDL_WINDOWEVENT_LEAVE) {
            m_pointerInside = false;
        }
        m_changed = true;
        return;
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_F12) {
            // Written once the input before it has been worked off, as the person saw it.
            m_frameWanted = true;
            return;
        }
        [[fallthrough]];
    case SDL_KEYUP:
    case SDL_TEXTINPUT:
        m_changed = true;
        mode == Mode::Prompt ? handlePromptKey(event) : handleDialogKey(event);
        return;
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
        m_changed = true;
        if (event.type == SDL_MOUSEMOTION) {
            m_pointer = eventPoint(event.motion.x, event.motion.y);
            m_pointerInside = true;
        }
        mode == Mode::Prompt ? handlePromptMouse(event) : handleDialogMouse(event);
        return;
    default:
        return;
    }
}

void WindowScreen::answer(const std::wstring& text) {
    m_commandLine.echo(text);
    m_answer = text;
}

void WindowScreen::handlePromptKey(const SDL_Event& event) {
    if (event.type == SDL_TEXTINPUT) {
        m_commandLine.type(svFromUtf8(event.text.text));
        return;
    }
    if (event.type != SDL_KEYDOWN)
        return;
    const int step = std::max(1, m_view.height() / 8);
    switch (event.key.keysym.sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        m_answer = m_commandLine.take();
        return;
    case SDLK_ESCAPE:
        m_commandLine.take();
        m_answer = kSvCancelWord;
        return;
    case SDLK_BACKSPACE:
        m_commandLine.erase();
        return;
    case SDLK_HOME:
        m_view.followExtents();
        return;
    case SDLK_LEFT:
        m_view.pan(step, 0);
        return;
    case SDLK_RIGHT:
        m_view.pan(-step, 0);
        return;
    case SDLK_UP:
        m_view.pan(0, step);
        return;
    case SDLK_DOWN:
        m_view.pan(0, -step);
        return;
    default:
        return;
    }
}

void WindowScreen::handlePromptMouse(const SDL_Event& event) {
    if (event.type == SDL_MOUSEWHEEL) {
        if (inView(m_pointer) && event.wheel.y != 0)
            m_view.zoomAbout(m_pointer, std::pow(kWheelZoom, event.wheel.y));
        return;
    }
    if (event.type == SDL_MOUSEMOTION) {
        if (m_panFrom) {
            m_view.pan(m_pointer.x - m_panFrom->x, m_pointer.y - m_panFrom->y);
            m_panFrom = m_pointer;
        }
        return;
    }
    const POINT at = eventPoint(event.button.x, event.button.y);
    const bool down = event.type == SDL_MOUSEBUTTONDOWN;
    if (event.button.button == SDL_BUTTON_MIDDLE) {
        m_panFrom = down ? std::optional<POINT>(at) : std::nullopt;
        return;
    }
    if (event.button.button != SDL_BUTTON_LEFT)
        return;
    if (down) {
        for (const KeywordSpot& spot : m_keywordSpots) {
            if (PtInRect(&spot.rect, at)) {
                answer(spot.word);
                return;
            }
        }
        if (inView(at))
            m_leftPress = at;
        return;
    }
    if (!m_leftPress)
        return;
    const POINT from = *m_leftPress;
    m_leftPress.reset();
    const PromptWants wants = promptWants(m_commandLine.prompt());
    if (wants == PromptWants::Command)
        return;
    const ViewSpace space = viewSpaceOf(currentDatabase());
    const double unit = m_view.unitsPerPixel() * space.pickedPerShown;
    const bool dragged =
        std::abs(at.x - from.x) > kDragSlack || std::abs(at.y - from.y) > kDragSlack;
    if (dragged && wants == PromptWants::Selection)
        answer(selectionDragAnswer(space.picked(m_view.toDrawing(from)),
                                   space.picked(m_view.toDrawing(at)), unit));
    else
        answer(pointAnswer(space.picked(m_view.toDrawing(from)), unit));
}

void WindowScreen::handleDialogKey(const SDL_Event& event) {
    if (event.type == SDL_TEXTINPUT) {
        const std::wstring text = svFromUtf8(event.text.text);
        svInputText(text.c_str());
        return;
    }
    const UINT key = virtualKey(event.key.keysym.sym);
    if (key == 0)
        return;
    const bool down = event.type == SDL_KEYDOWN;
    svInputKey(key, down);
    // An edit control takes the erasing key as the character it stands for.
    if (key == VK_BACK && down)
        svInputChar(L'\b');
}

void WindowScreen::handleDialogMouse(const SDL_Event& event) {
    if (event.type == SDL_MOUSEWHEEL) {
        // To the control under the pointer, which scrolls or passes it to its dialog.
        const int notches =
            event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        if (notches != 0)
            svInputMouseWheel(notches * WHEEL_DELTA, m_pointer);
        return;
    }
    if (event.type == SDL_MOUSEMOTION) {
        if (m_moving != nullptr)
            moveTopLevelWindow(m_moving,
                               {m_pointer.x - m_movingGrip.x, m_pointer.y - m_movingGrip.y});
        else
            svInputMouseMove(m_pointer);
        return;
    }
    const POINT at = eventPoint(event.button.x, event.button.y);
    const bool down = event.type == SDL_MOUSEBUTTONDOWN;
    if (event.button.button == SDL_BUTTON_LEFT && down) {
        if (HWND bar = titleBarAt(at)) {
            RECT rect{};
            GetWindowRect(bar, &rect);
            m_moving = bar;
            m_movingGrip = {at.x - rect.left, at.y - rect.top};
            return;
        }
    }
    if (event.button.button == SDL_BUTTON_LEFT && !down && m_moving != nullptr) {
        m_moving = nullptr;
        return;
    }
    if (event.button.button != SDL_BUTTON_LEFT && event.button.button != SDL_BUTTON_RIGHT)
        return;
    const SvMouseButton button =
        event.button.button == SDL_BUTTON_LEFT ? SvMouseButton::left : SvMouseButton::right;
    if (down && event.button.clicks == 2)
        svInputMouseDoubleClick(button, at);
    else
        svInputMouseButton(button, down, at);
}

} // namespace window
