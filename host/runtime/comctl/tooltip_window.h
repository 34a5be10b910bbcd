#pragma once

#include <string>
#include <vector>

#include "comctl/tooltip.h"

namespace sv::comctl {

// A tooltip window: its tools, the timers that show a tip once the pointer rests on a tool and
// hide it again, and its painting.
class Tooltip {
public:
    static constexpr std::size_t kMaxTools = 1024;

    explicit Tooltip(HWND window);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Tool {
        UINT flags = 0;
        HWND window = nullptr;
        UINT_PTR id = 0;
        RECT rect{};
        std::wstring text;
        LPARAM data = 0;
    };

    Tool* find(const TOOLINFOW* info);
    Tool* find(HWND window, UINT_PTR id);
    BOOL addTool(const TOOLINFOW* info);
    void deleteTool(const TOOLINFOW* info);
    BOOL setToolInfo(const TOOLINFOW* info);
    BOOL getToolInfo(TOOLINFOW* info);
    void fillInfo(const Tool& tool, TOOLINFOW* info) const;
    void setDelay(WPARAM which, int milliseconds);

    void relay(const MSG* msg);
    // The tool of window under a point of its client area; null when none.
    Tool* toolAt(HWND window, POINT point);
    bool pointerOn(const Tool& tool) const;
    void timer(UINT_PTR id);
    void show();
    void hide();
    void fitToText(POINT at);
    void notifyTool(const Tool& tool, UINT code);

    void paint(HDC dc);

    HWND window_;
    std::vector<Tool> tools_;
    HFONT font_ = nullptr;
    bool active_ = true;
    bool shown_ = false;
    // The tool under the pointer, which a tip is shown or waited for; a click or the autopop
    // delay spends it until the pointer moves to another tool.
    HWND hotWindow_ = nullptr;
    UINT_PTR hotId_ = 0;
    bool hotSpent_ = false;
    UINT initialDelay_ = 500;
    UINT autopopDelay_ = 5000;
    UINT reshowDelay_ = 100;
};

} // namespace sv::comctl
