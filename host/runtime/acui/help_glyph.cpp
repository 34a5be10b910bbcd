#include "acui/help_glyph.h"

namespace {

constexpr const char* kRows[kHelpGlyphSize] = {
    "................", //
    "................", //
    ".....######.....", //
    "....########....", //
    "....##....##....", //
    "..........##....", //
    ".........###....", //
    "........###.....", //
    ".......###......", //
    ".......##.......", //
    ".......##.......", //
    "................", //
    ".......##.......", //
    ".......##.......", //
    "................", //
    "................", //
};

constexpr DWORD kBackground = 0x00FF00FF; // magenta
constexpr DWORD kInk = 0x00000080;        // dark blue

} // namespace

const std::array<DWORD, kHelpGlyphSize * kHelpGlyphSize>& helpGlyphPixels() {
    static const auto pixels = [] {
        std::array<DWORD, kHelpGlyphSize * kHelpGlyphSize> p{};
        for (int y = 0; y < kHelpGlyphSize; ++y) {
            for (int x = 0; x < kHelpGlyphSize; ++x)
                p[y * kHelpGlyphSize + x] = kRows[y][x] == '#' ? kInk : kBackground;
        }
        return p;
    }();
    return pixels;
}
