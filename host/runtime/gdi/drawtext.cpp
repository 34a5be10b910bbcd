#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "gdi/font_face.h"
#include "gdi/text.h"
#include "gdi/text_paint.h"

using namespace svgdi;

namespace {

// '&' marks the next character and "&&" stands for one '&'; a trailing '&' is dropped.
TextLine stripPrefixes(const std::wstring& raw) {
    TextLine line;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != L'&') {
            line.text += raw[i];
            continue;
        }
        if (i + 1 < raw.size() && raw[i + 1] != L'&')
            line.marked.push_back(line.text.size());
        else if (i + 1 < raw.size())
            line.text += raw[++i];
    }
    return line;
}

TextLine slice(const TextLine& line, std::size_t from, std::size_t to) {
    TextLine part{line.text.substr(from, to - from), {}};
    for (std::size_t index : line.marked) {
        if (index >= from && index < to)
            part.marked.push_back(index - from);
    }
    return part;
}

bool isLineBreak(wchar_t c) {
    return c == L'\n' || c == L'\r';
}

// Paragraphs at line feeds (CR, LF or both), or the whole text without its line breaks.
std::vector<TextLine> paragraphs(const TextLine& text, bool singleLine) {
    std::vector<TextLine> found;
    std::size_t start = 0;
    TextLine joined;
    for (std::size_t i = 0; i <= text.text.size(); ++i) {
        if (i < text.text.size() && !isLineBreak(text.text[i]))
            continue;
        TextLine part = slice(text, start, i);
        if (singleLine) {
            for (std::size_t index : part.marked)
                joined.marked.push_back(index + joined.text.size());
            joined.text += part.text;
        } else {
            found.push_back(std::move(part));
        }
        if (i + 1 < text.text.size() && text.text[i] == L'\r' && text.text[i + 1] == L'\n')
            ++i;
        start = i + 1;
    }
    if (singleLine)
        found.push_back(std::move(joined));
    return found;
}

// Greedy breaks at spaces; a word wider than the width keeps a line of its own.
void wrap(const TextLine& paragraph, int width, const FontFace& face,
          std::vector<TextLine>& lines) {
    const std::wstring& text = paragraph.text;
    std::size_t start = 0;
    do {
        std::size_t fit = std::wstring::npos;
        for (std::size_t end = start + 1; end <= text.size(); ++end) {
            const bool wordEnds =
                end == text.size() || (text[end] == L' ' && text[end - 1] != L' ');
            if (!wordEnds)
                continue;
            if (fit != std::wstring::npos && face.width(text.substr(start, end - start)) > width)
                break;
            fit = end;
        }
        if (fit == std::wstring::npos)
            fit = text.size();
        lines.push_back(slice(paragraph, start, fit));
        start = fit;
        while (start < text.size() && text[start] == L' ')
            ++start;
    } while (start < text.size());
}

// Keeps the longest beginning that fits with the ellipsis after it (widths grow with the
// beginning, so a binary search finds it).
void endWithEllipsis(TextLine& line, int width, const FontFace& face) {
    if (face.width(line.text) <= width)
        return;
    std::size_t fits = 0;
    std::size_t tooLong = line.text.size();
    while (tooLong - fits > 1) {
        const std::size_t middle = fits + (tooLong - fits) / 2;
        if (face.width(line.text.substr(0, middle) + L"...") <= width)
            fits = middle;
        else
            tooLong = middle;
    }
    line = slice(line, 0, fits);
    line.text += L"...";
}

} // namespace

int DrawTextW(HDC handle, LPCWSTR text, int count, LPRECT rect, UINT format) {
    const Dc* dc = findDc(handle);
    if (dc == nullptr || text == nullptr || rect == nullptr || count < -1)
        return 0;
    const std::wstring raw(text, count == -1 ? std::wcslen(text) : static_cast<std::size_t>(count));
    TextLine prepared = (format & DT_NOPREFIX) ? TextLine{raw, {}} : stripPrefixes(raw);
    if (format & DT_HIDEPREFIX)
        prepared.marked.clear();
    const FontFace& face = faceOf(*dc);
    const int width = rect->right - rect->left;
    const bool singleLine = format & DT_SINGLELINE;
    std::vector<TextLine> lines;
    for (const TextLine& paragraph : paragraphs(prepared, singleLine)) {
        if ((format & DT_WORDBREAK) && !singleLine)
            wrap(paragraph, width, face, lines);
        else
            lines.push_back(paragraph);
    }
    if (format & DT_END_ELLIPSIS) {
        for (TextLine& line : lines)
            endWithEllipsis(line, width, face);
    }

    const int lineHeight = face.height();
    const int height = lineHeight * static_cast<int>(lines.size());
    int top = rect->top;
    if (singleLine && (format & DT_VCENTER))
        top = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
    else if (singleLine && (format & DT_BOTTOM))
        top = rect->bottom - lineHeight;
    const int answer =
        singleLine && (format & (DT_VCENTER | DT_BOTTOM)) ? top - rect->top + lineHeight : height;

    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const TextLine& line : lines)
            widest = std::max(widest, face.width(line.text));
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return answer;
    }
    const LineParts parts = (format & DT_PREFIXONLY) ? LineParts::MarksOnly : LineParts::All;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lineWidth = face.width(lines[i].text);
        int left = rect->left;
        if (format & DT_CENTER)
            left = rect->left + (width - lineWidth) / 2;
        else if (format & DT_RIGHT)
            left = rect->right - lineWidth;
        paintLine(*dc, left, top + static_cast<int>(i) * lineHeight, lines[i],
                  (format & DT_NOCLIP) ? nullptr : rect, parts);
    }
    return answer;
}
