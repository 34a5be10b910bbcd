#pragma once

#include "user/window.h"

#include <memory>
#include <string>
#include <vector>

namespace sv::user {

struct WindowClass {
    std::wstring name;
    WNDCLASSW info{}; // lpszClassName points into name
    WORD atom = 0;
    int windows = 0; // live windows of the class; a class in use cannot be unregistered
};

struct DialogData;

struct Window {
    Window();
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND handle = nullptr;
    WindowClass* windowClass = nullptr;
    WNDPROC proc = nullptr;
    HWND parent = nullptr;      // children only
    HWND owner = nullptr;       // top-level windows only
    std::vector<HWND> children; // z-order, top first
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0;
    HINSTANCE instance = nullptr;
    RECT rect{}; // in the parent's client area, or on the screen
    std::wstring text;
    LONG_PTR userData = 0;
    std::vector<unsigned char> extra; // the class's cbWndExtra
    std::vector<std::pair<std::wstring, HANDLE>> props;
    bool destroying = false;
    // Painting.
    bool needsPaint = false;
    bool needsErase = false;
    RECT updateRect{};
    std::unique_ptr<DialogData> dialog;
};

// Null for a handle that names no live window (never made, or destroyed since).
Window* findWindow(HWND window);
// Takes a new handle for the window; its generation differs from every earlier holder's.
HWND addWindow(std::unique_ptr<Window> window);
// The handle dies and the window is freed.
void removeWindow(HWND window);
// Top-level windows, topmost first.
std::vector<HWND>& topLevelWindows();

WindowClass* findClass(LPCWSTR name);
// Registers the standard controls and the system classes once.
void ensureSystemClasses();

// Rectangle of a window in screen coordinates.
RECT screenRect(const Window& window);
// True for windows with WS_CHILD.
inline bool isChild(const Window& window) {
    return (window.style & WS_CHILD) != 0;
}

} // namespace sv::user
