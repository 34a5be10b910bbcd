#include "window_screen.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ap/docman.h"
#include "crt/format.h"
#include "db/database.h"
#include "desktop.h"
#include "ed/spaces.h"
#include "gdi/dc.h"
#include "gdi/draw.h"
#include "gdi/objects.h"
#include "gdi/rect.h"
#include "gdi/text.h"
#include "plot/plot_geometry.h"
#include "pointer_answer.h"
#include "user/input.h"
#include "user/window.h"

namespace window {

namespace {

constexpr int kStartWidth = 1024, kStartHeight = 768;
constexpr int kHistoryRows = 6;
constexpr int kRowHeight = 17;
constexpr int kCommandLineHeight = (kHistoryRows + 1) * kRowHeight + 8;
// A press that moves less than this is a click, not a drag.
constexpr int kDragSlack = 4;
constexpr double kWheelZoom = 1.25;
// The dialogs' clock moves at least this often while they wait, so tooltips come due.
constexpr int kDialogTickMilliseconds = 50;
constexpr int kPromptWaitMilliseconds = 100;

AcDbDatabase* currentDatabase() {
    AcApDocument* document = acDocManager->curDocument();
    return document != nullptr ? document->database() : nullptr;
}

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
class FollowedScript : public SvInputSource {
public:
    FollowedScript(WindowScreen& screen, SvInputSource& script)
        : m_screen(screen), m_script(script) {}
    bool readLine(std::wstring& line) override {
        m_screen.refresh();
        return !m_screen.closed() && m_script.readLine(line);
    }
    bool interactive() const override { return m_script.interactive(); }

private:
    WindowScreen& m_screen;
    SvInputSource& m_script;
};

} // namespace

std::unique_ptr<WindowScreen> WindowScreen::open(std::string& error) {
    std::unique_ptr<Display> display = Display::open("svhost", kStartWidth, kStartHeight, error);
    if (display == nullptr)
        return nullptr;
    return std::unique_ptr<WindowScreen>(new WindowScreen(std::move(display)));
}

WindowScreen::WindowScreen(std::unique_ptr<Display> display) : m_display(std::move(display)) {
    m_clock = SDL_GetTicks();
    m_previousSink = svSetOutputSink(&m_commandLine);
}

WindowScreen::~WindowScreen() {
    svSetOutputSink(m_previousSink);
    svDestroySurface(m_frame);
}

void WindowScreen::windowShown(HWND window) {
    m_changed = true;
    keepTitleBarInSight(window);
}

SIZE WindowScreen::size() const {
    int width = kStartWidth, height = kStartHeight;
    m_display->size(width, height);
    return {width, height};
}

std::unique_ptr<SvInputSource> WindowScreen::follow(SvInputSource& script) {
    return std::make_unique<FollowedScript>(*this, script);
}

void WindowScreen::refresh() {
    m_changed = true; // a command may have run since
    SDL_Event event;
    while (!m_closed && SDL_PollEvent(&event) != 0)
        handle(event, Mode::Dialog);
    // Input meant for dialogs that are not there is nobody's.
    svDiscardInput();
    present();
}

bool WindowScreen::readLine(std::wstring& line) {
    m_changed = true; // the prompt is new, and the command before may have changed the drawing
    while (!m_closed && !m_answer) {
        present();
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, kPromptWaitMilliseconds) == 0)
            continue;
        do
            handle(event, Mode::Prompt);
        while (!m_closed && !m_answer && SDL_PollEvent(&event) != 0);
    }
    if (m_closed)
        return false;
    line = *m_answer;
    m_answer.reset();
    return true;
}

bool WindowScreen::waitForInput(HWND modalWindow) {
    if (m_closed)
        return false;
    if (!svInputIsInteractive()) {
        // A script answers its dialogs; the window shows them as it goes.
        m_changed = true;
        present();
        return m_forms.waitForInput(modalWindow);
    }
    m_changed = true; // the last input has been worked off and may have changed what is shown
    for (;;) {
        present();
        SDL_Event event;
        const bool got = SDL_WaitEventTimeout(&event, kDialogTickMilliseconds) != 0;
        if (got) {
            do
                handle(event, Mode::Dialog);
            while (!m_closed && SDL_PollEvent(&event) != 0);
        }
        if (m_closed)
            return false;
        const unsigned now = SDL_GetTicks();
        const unsigned elapsed = now - m_clock;
        m_clock = now;
        svAdvanceClock(elapsed);
        if (svHasPendingInput() || elapsed > 0)
            return true;
    }
}

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
            writeFrame();
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
    const double unit = m_view.unitsPerPixel();
    const bool dragged =
        std::abs(at.x - from.x) > kDragSlack || std::abs(at.y - from.y) > kDragSlack;
    if (dragged && wants == PromptWants::Selection)
        answer(selectionDragAnswer(m_view.toDrawing(from), m_view.toDrawing(at), unit));
    else
        answer(pointAnswer(m_view.toDrawing(from), unit));
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
    if (event.type == SDL_MOUSEWHEEL)
        return; // the window manager's controls do not scroll by wheel
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
    const AcDbObjectId space = db != nullptr ? svPickSpaceId(db) : AcDbObjectId::kNull;
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
        const int half = std::clamp(static_cast<int>(aperture / m_view.unitsPerPixel()), 3, 40);
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
void WindowScreen::writeFrame() {
    m_changed = true;
    present();
    const std::string name = "frame-" + std::to_string(++m_framesWritten) + ".png";
    if (m_frame != nullptr && svWriteSurfacePng(m_frame, name.c_str()))
        std::fprintf(stderr, "svhost: %s written\n", name.c_str());
    else
        std::fprintf(stderr, "svhost: cannot write %s\n", name.c_str());
}

} // namespace window
