#include <algorithm>
#include <cstdio>

#include "crt/format.h"
#include "desktop.h"
#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/objects.h"
#include "gdi/text.h"
#include "plot/plot_geometry.h"
#include "pointer_answer.h"
#include "user/screen.h"
#include "view_space.h"
#include "window_layout.h"
#include "window_screen.h"

// The frame the window shows: the drawing view with the crosshair, the command line, and the
// window manager's windows over them.

namespace window {

namespace {

HFONT commandLineFont() {
    LOGFONTW font{};
    font.lfHeight = -13;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    return CreateFontIndirectW(&font);
}

int textWidth(HDC dc, const std::wstring& text) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

// Reads on from the script, showing what it does between its lines.
} // namespace

void WindowScreen::present() {
    if (!m_changed || m_closed)
        return;
    m_changed = false;
    paintFrame();
    m_display->show(m_frame);
}

void WindowScreen::paintFrame() {
    const SIZE screen = size();
    if (m_frame == nullptr || svSurfaceWidth(m_frame) != screen.cx ||
        svSurfaceHeight(m_frame) != screen.cy) {
        svDestroySurface(m_frame);
        m_frame = svCreateSurface(std::max<int>(1, screen.cx), std::max<int>(1, screen.cy));
    }
    const int width = svSurfaceWidth(m_frame), height = svSurfaceHeight(m_frame);
    m_view.resize(width, std::max(1, height - kCommandLineHeight));

    AcDbDatabase* db = currentDatabase();
    const AcDbObjectId space = viewSpaceOf(db).shown;
    if (m_view.followsExtents() && db != nullptr)
        m_view.zoomExtents(plotFrame(space));
    HDC viewDc = svCreateSurfaceDC(m_frame, {0, 0}, {0, 0, width, m_view.height()});
    const RECT viewRect{0, 0, width, m_view.height()};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(viewDc, &viewRect, white);
    DeleteObject(white);
    if (db != nullptr)
        m_view.paint(db, space, viewDc);
    paintPointer(viewDc);
    DeleteDC(viewDc);

    HDC dc = svCreateSurfaceDC(m_frame, {0, 0}, {0, 0, width, height});
    paintCommandLine(dc);
    paintTopLevelWindows(dc);
    DeleteDC(dc);

    AcApDocument* document = acDocManager->curDocument();
    std::string title = "svhost";
    if (document != nullptr) {
        title += " - ";
        title += svToUtf8(document->docTitle());
    }
    m_display->setTitle(title);
}

// The crosshair with the pick box at its centre, or the band of a selection being dragged.
void WindowScreen::paintPointer(HDC dc) {
    if (!m_pointerInside || !inView(m_pointer) || svModalDepth() > 0)
        return;
    const PromptWants wants = promptWants(m_commandLine.prompt());
    if (m_leftPress && wants == PromptWants::Selection) {
        const bool window = m_pointer.x >= m_leftPress->x;
        HPEN pen =
            CreatePen(window ? PS_SOLID : PS_DASH, 1, window ? RGB(0, 90, 200) : RGB(0, 150, 60));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, m_leftPress->x, m_leftPress->y, m_pointer.x, m_pointer.y);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
        return;
    }
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(90, 90, 90));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, 0, m_pointer.y, nullptr);
    LineTo(dc, m_view.width(), m_pointer.y);
    MoveToEx(dc, m_pointer.x, 0, nullptr);
    LineTo(dc, m_pointer.x, m_view.height());
    if (wants != PromptWants::Command) {
        double aperture = 3.0;
        AcDbDatabase* db = currentDatabase();
        AcDbSysVar value;
        if (db != nullptr && db->getSysVar(L"PICKBOX", value) == Acad::eOk)
            aperture = value.intValue;
        const double unit = m_view.unitsPerPixel() * viewSpaceOf(db).pickedPerShown;
        const int half = std::clamp(static_cast<int>(aperture / unit), 3, 40);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, m_pointer.x - half, m_pointer.y - half, m_pointer.x + half + 1,
                  m_pointer.y + half + 1);
        SelectObject(dc, oldBrush);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void WindowScreen::paintCommandLine(HDC dc) {
    const int width = svSurfaceWidth(m_frame);
    const int top = m_view.height();
    const RECT area{0, top, width, svSurfaceHeight(m_frame)};
    HBRUSH back = CreateSolidBrush(RGB(236, 236, 236));
    FillRect(dc, &area, back);
    DeleteObject(back);
    HPEN rule = CreatePen(PS_SOLID, 1, RGB(150, 150, 150));
    HGDIOBJ oldPen = SelectObject(dc, rule);
    MoveToEx(dc, 0, top, nullptr);
    LineTo(dc, width, top);
    SelectObject(dc, oldPen);
    DeleteObject(rule);

    HFONT font = commandLineFont();
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    // Blank lines carry nothing; the rows show the last lines that say something.
    std::vector<std::wstring> rows;
    for (const std::wstring& line : m_commandLine.history(4 * kHistoryRows))
        if (!line.empty())
            rows.push_back(line);
    if (rows.size() > kHistoryRows)
        rows.erase(rows.begin(), rows.end() - kHistoryRows);
    int y = top + 4;
    SetTextColor(dc, RGB(70, 70, 70));
    for (const std::wstring& row : rows) {
        TextOutW(dc, 6, y, row.c_str(), static_cast<int>(row.size()));
        y += kRowHeight;
    }
    y = top + 4 + kHistoryRows * kRowHeight;

    const std::wstring& prompt = m_commandLine.prompt();
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, 6, y, prompt.c_str(), static_cast<int>(prompt.size()));
    m_keywordSpots.clear();
    SetTextColor(dc, RGB(0, 70, 190));
    for (const PromptKeyword& keyword : promptKeywords(prompt)) {
        const int x = 6 + textWidth(dc, prompt.substr(0, keyword.start));
        TextOutW(dc, x, y, keyword.word.c_str(), static_cast<int>(keyword.word.size()));
        m_keywordSpots.push_back(
            {{x, y, x + textWidth(dc, keyword.word), y + kRowHeight}, keyword.word});
    }
    const std::wstring typed = m_commandLine.typed() + L"_";
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, 6 + textWidth(dc, prompt), y, typed.c_str(), static_cast<int>(typed.size()));

    if (m_pointerInside && inView(m_pointer)) {
        const ViewPoint at = m_view.toDrawing(m_pointer);
        const std::wstring where = pointAnswer(at, m_view.unitsPerPixel());
        SetTextColor(dc, RGB(70, 70, 70));
        TextOutW(dc, width - 10 - textWidth(dc, where), top + 4, where.c_str(),
                 static_cast<int>(where.size()));
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

// F12: the frame as shown, into the session's folder, numbered in turn.
void WindowScreen::writeWantedFrame() {
    if (!m_frameWanted)
        return;
    m_frameWanted = false;
    m_changed = true;
    present();
    const std::string name = "frame-" + std::to_string(++m_framesWritten) + ".png";
    if (m_frame != nullptr && svWriteSurfacePng(m_frame, name.c_str()))
        std::fprintf(stderr, "svhost: %s written\n", name.c_str());
    else
        std::fprintf(stderr, "svhost: cannot write %s\n", name.c_str());
}

} // namespace window
