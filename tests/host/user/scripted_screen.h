#pragma once

#include "user/user.h"

#include <deque>
#include <functional>
#include <utility>
#include <vector>

// A screen that answers each wait of a modal loop with the next step of a script; a step gets
// the window whose loop waits and queues input. Out of steps, no more input comes.
class ScriptedScreen : public SvScreen {
public:
    using Step = std::function<void(HWND modal)>;

    ScriptedScreen() { m_previous = svSetScreen(this); }
    ~ScriptedScreen() override { svSetScreen(m_previous); }

    void then(Step step) { m_steps.push_back(std::move(step)); }

    bool waitForInput(HWND modal) override {
        waits.push_back(modal);
        if (m_steps.empty())
            return false;
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        step(modal);
        return true;
    }

    void windowShown(HWND window) override { shown.push_back(window); }

    bool finished() const { return m_steps.empty(); }

    std::vector<HWND> waits;
    std::vector<HWND> shown;

private:
    std::deque<Step> m_steps;
    SvScreen* m_previous = nullptr;
};

// Dispatches what is queued without waiting, as an idle loop would.
inline void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

inline void registerTestClass(const wchar_t* name, WNDPROC proc, HCURSOR cursor = nullptr) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.lpszClassName = name;
    windowClass.hCursor = cursor;
    RegisterClassW(&windowClass);
}

// A control template line.
inline SvResDialogItem item(const wchar_t* windowClass, const wchar_t* text, LONG id, DWORD style,
                            short x, short y, short cx, short cy) {
    SvResDialogItem made;
    made.windowClass = windowClass;
    made.title.text = text;
    made.id = id;
    made.style = WS_CHILD | WS_VISIBLE | style;
    made.x = x;
    made.y = y;
    made.cx = cx;
    made.cy = cy;
    return made;
}

inline SvResDialog dialogTemplate(const wchar_t* caption, short cx, short cy,
                                  std::vector<SvResDialogItem> items) {
    SvResDialog made;
    made.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    made.caption = caption;
    made.hasFont = true;
    made.fontPointSize = 8;
    made.fontWeight = 400;
    made.fontFace = L"MS Shell Dlg";
    made.x = 10;
    made.y = 10;
    made.cx = cx;
    made.cy = cy;
    made.items = std::move(items);
    return made;
}
