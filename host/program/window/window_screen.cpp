#include "window_screen.h"

#include <SDL.h>

#include "desktop.h"
#include "user/input.h"
#include "window_layout.h"

namespace window {

namespace {

// The dialogs' clock moves at least this often while they wait, so tooltips come due.
constexpr int kDialogTickMilliseconds = 50;
constexpr int kPromptWaitMilliseconds = 100;
constexpr unsigned kScriptFrameMilliseconds = 100;

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
    presentNowAndThen();
    if (m_frameWanted) {
        present();
        writeWantedFrame();
    }
}

// A script's lines come faster than anyone can see: painting every one would only slow it.
void WindowScreen::presentNowAndThen() {
    const unsigned now = SDL_GetTicks();
    if (now - m_presentedAt < kScriptFrameMilliseconds)
        return;
    m_presentedAt = now;
    present();
}

bool WindowScreen::readLine(std::wstring& line) {
    m_changed = true; // the prompt is new, and the command before may have changed the drawing
    while (!m_closed && !m_answer) {
        present();
        writeWantedFrame();
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, kPromptWaitMilliseconds) == 0)
            continue;
        do
            handle(event, Mode::Prompt);
        while (!m_closed && !m_answer && !m_frameWanted && SDL_PollEvent(&event) != 0);
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
        presentNowAndThen();
        return m_forms.waitForInput(modalWindow);
    }
    m_changed = true; // the last input has been worked off and may have changed what is shown
    for (;;) {
        present();
        writeWantedFrame();
        SDL_Event event;
        const bool got = SDL_WaitEventTimeout(&event, kDialogTickMilliseconds) != 0;
        if (got) {
            do
                handle(event, Mode::Dialog);
            while (!m_closed && !m_frameWanted && SDL_PollEvent(&event) != 0);
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

} // namespace window
