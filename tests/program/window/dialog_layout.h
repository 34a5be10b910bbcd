#pragma once

// Where a dialog's controls lie in the window: their rectangles as the dialog's resource script
// gives them in dialog units, scaled by the units the dialog measures in a frame.

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "gui_frames.h"

namespace guitest {

// Four numbers in a row, as the script writes a rectangle: x, y, width, height.
struct UnitRect {
    int x = 0, y = 0, cx = 0, cy = 0;
    bool found = false;
};

// The first four comma-separated whole numbers in a row after `from` in the text.
inline UnitRect firstRectAfter(const std::string& text, std::size_t from) {
    std::vector<int> run;
    std::size_t at = text.find(',', from);
    while (at != std::string::npos && run.size() < 4) {
        std::size_t start = text.find_first_not_of(" \t\r\n", at + 1);
        std::size_t end = start;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
            ++end;
        const std::size_t after = text.find_first_not_of(" \t\r", end);
        const bool whole =
            start != std::string::npos && end > start &&
            (after == std::string::npos || text[after] == ',' || text[after] == '\n');
        if (whole)
            run.push_back(std::stoi(text.substr(start, end - start)));
        else
            run.clear();
        at = text.find(',', at + 1);
    }
    if (run.size() < 4)
        return {};
    return {run[0], run[1], run[2], run[3], true};
}

// One dialog of a resource script: its size and its controls' rectangles, by their symbols.
class DialogTemplate {
public:
    DialogTemplate(const std::string& scriptPath, const std::string& dialog) {
        const std::string script = readWhole(scriptPath);
        const std::size_t begin = script.find(dialog + " DIALOGEX");
        if (begin == std::string::npos)
            return;
        m_body = script.substr(begin, script.find("\nEND", begin) - begin);
        // The dialog's own rectangle follows its keyword, without a comma before it.
        std::string afterKeyword = ",";
        afterKeyword += m_body.substr(m_body.find("DIALOGEX") + 8);
        m_size = firstRectAfter(afterKeyword, 0);
    }
    const UnitRect& size() const { return m_size; }
    UnitRect control(const std::string& symbol) const {
        std::size_t at = m_body.find(symbol);
        // A whole symbol: IDC_MACRO is not IDC_MACRO_MENU.
        while (at != std::string::npos && m_body[at + symbol.size()] == '_')
            at = m_body.find(symbol, at + 1);
        return at == std::string::npos ? UnitRect{} : firstRectAfter(m_body, at);
    }

private:
    std::string m_body;
    UnitRect m_size;
};

// Where an item of a popup menu of the resource script lies: how many items and separators come
// before it. Negative counts when the menu or the item is not there.
struct MenuPlace {
    int items = -1, separators = -1;
};

inline MenuPlace menuPlace(const std::string& scriptPath, const std::string& menu,
                           const std::string& item) {
    const std::string script = readWhole(scriptPath);
    const std::size_t begin = script.find(menu + " MENU");
    if (begin == std::string::npos)
        return {};
    std::istringstream lines(script.substr(begin, script.find("\nEND\n", begin) - begin));
    MenuPlace place{0, 0};
    for (std::string line; std::getline(lines, line);) {
        if (line.find("MENUITEM SEPARATOR") != std::string::npos) {
            ++place.separators;
        } else if (line.find("MENUITEM") != std::string::npos) {
            std::string symbol = line.substr(line.rfind(',') + 1);
            symbol.erase(0, symbol.find_first_not_of(" \t"));
            symbol.erase(symbol.find_last_not_of(" \t\r") + 1);
            if (symbol == item)
                return place;
            ++place.items;
        }
    }
    return {};
}

inline int unitsToPixels(int units, int pixelsPer, int unitsPer) {
    return (units * pixelsPer + unitsPer / 2) / unitsPer;
}

// A dialog shown in a frame: where its client area starts and how many pixels its units are.
struct DialogOnScreen {
    int left = 0, top = 0;
    int baseX = 0, baseY = 0; // pixels per 4 horizontal and per 8 vertical dialog units

    Box place(const UnitRect& rect) const {
        Box box;
        box.left = left + unitsToPixels(rect.x, baseX, 4);
        box.top = top + unitsToPixels(rect.y, baseY, 8);
        box.right = box.left + unitsToPixels(rect.cx, baseX, 4) - 1;
        box.bottom = box.top + unitsToPixels(rect.cy, baseY, 8) - 1;
        return box;
    }
};

// The only dialog of the frame, measured against its template: the title bar gives its left,
// top and width, the run of its face colour down its left edge its height.
inline DialogOnScreen measureDialog(const Picture& frame, const UnitRect& size) {
    const Box bar = colourBox(frame, kTitleBar, 0, 0, frame.width, kViewHeight);
    DialogOnScreen dialog;
    if (bar.empty() || size.cx <= 0 || size.cy <= 0)
        return dialog;
    dialog.left = bar.left;
    dialog.top = bar.bottom + 1;
    const std::uint32_t face = frame.at(dialog.left + 2, dialog.top + 2);
    int height = 0;
    while (dialog.top + height < frame.height &&
           frame.at(dialog.left + 2, dialog.top + height) == face)
        ++height;
    dialog.baseX = ((bar.right - bar.left + 1) * 4 + size.cx / 2) / size.cx;
    dialog.baseY = (height * 8 + size.cy / 2) / size.cy;
    return dialog;
}

} // namespace guitest
