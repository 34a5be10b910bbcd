#pragma once

// What the window tests read off the window's frames, and the scripts and saved drawings they
// compare.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "gui_session.h"

namespace guitest {

constexpr int kViewHeight = 641; // the window is 768 high; the command line takes the rest
constexpr std::uint32_t kTitleBar = 0x284682;

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool empty() const { return right < left; }
    int centreX() const { return (left + right) / 2; }
    int centreY() const { return (top + bottom) / 2; }
};

// The extent of the pixels of the rectangle that the test wants.
template <class Wanted>
Box boxOf(const Picture& frame, Wanted wanted, int left, int top, int right, int bottom) {
    Box box;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (wanted(frame.at(x, y))) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

inline Box darkBox(const Picture& frame, int top, int bottom) {
    return boxOf(frame, Picture::dark, 0, top, frame.width, bottom);
}

// The row of the view with the most dark pixels: where a horizontal line is drawn.
inline int darkestRow(const Picture& frame) {
    int best = -1, bestCount = 0;
    for (int y = 0; y < kViewHeight; ++y) {
        int count = 0;
        for (int x = 0; x < frame.width; ++x)
            count += Picture::dark(frame.at(x, y)) ? 1 : 0;
        if (count > bestCount) {
            bestCount = count;
            best = y;
        }
    }
    return best;
}

// The extent of the pixels of one colour in the rectangle.
inline Box colourBox(const Picture& frame, std::uint32_t colour, int left, int top, int right,
                     int bottom) {
    return boxOf(
        frame, [colour](std::uint32_t rgb) { return rgb == colour; }, left, top, right, bottom);
}

// The columns holding the colour in the rows, grouped where they lie apart: words in a line.
inline std::vector<Box> colourWords(const Picture& frame, bool (*wanted)(std::uint32_t), int top,
                                    int bottom) {
    std::vector<Box> words;
    int lastColumn = -100;
    for (int x = 0; x < frame.width; ++x) {
        int first = -1, last = -1;
        for (int y = top; y < bottom; ++y) {
            if (wanted(frame.at(x, y))) {
                first = first < 0 ? y : first;
                last = y;
            }
        }
        if (first < 0)
            continue;
        if (x - lastColumn > 5)
            words.push_back(Box{x, first, x, last});
        Box& word = words.back();
        word.right = x;
        word.top = std::min(word.top, first);
        word.bottom = std::max(word.bottom, last);
        lastColumn = x;
    }
    return words;
}

// Keywords are written in blue, smoothed at their edges.
inline bool keywordBlue(std::uint32_t rgb) {
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return b > r + 80 && b > g + 60;
}

inline bool selectionBlue(std::uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) < 60 && (rgb & 0xFF) > 150;
}

// A new length style's editor filled in by the style manager's script form, still open.
inline const std::string kLengthStyleForm = R"(rclick 2000
click 32771
type 2003 Length
type 2006 "Length of a line into a text"
choose 2008 Length
choose 2007 "Text modifier"
type 2009 "$(rtos,%PROPERTY,2,2) m"
)";
// The new length style made; the manager stays open.
inline const std::string kNewLengthStyle = kLengthStyleForm + "click OK\n";

inline std::string writeScript(const std::string& name, const std::string& text) {
    const std::string path = testing::TempDir() + name;
    std::ofstream(path) << text;
    return path;
}

// Lists every object of a saved drawing, in model space and on the layout, as LIST shows it
// with the module loaded.
inline std::string listedDrawing(const std::string& path) {
    const std::string listing = writeScript(
        "gui_list.scr", "ARXLOAD SentavellUi17.arx\nLIST ALL\n\nTILEMODE 0\nLIST ALL\n\n");
    const ProgramRun run = runProgram("svhost", "'" + path + "' <'" + listing + "'");
    // From the module's line to the last listing's end: the lines before and after name the
    // drawing.
    const std::size_t loaded = run.output.find("SentavellUi17.arx loaded.");
    const std::string listed = "object(s) listed.";
    const std::size_t end = run.output.rfind(listed);
    if (loaded == std::string::npos || end == std::string::npos || end < loaded)
        return run.output;
    return run.output.substr(loaded, end + listed.size() - loaded);
}

} // namespace guitest
