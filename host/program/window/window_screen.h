#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "command_line.h"
#include "display.h"
#include "drawing_view.h"
#include "ed/input.h"
#include "form_screen.h"
#include "user/screen.h"

union SDL_Event;

namespace window {

// The screen of `svhost --gui`: one desktop window holding the drawing view, the command line and
// the window manager's own windows over them. It is the screen dialogs wait on and the input
// source the editor reads from: typed lines, clicks that answer prompts with points, keywords
// and selections, and in dialogs the pointer and keys as the window manager's input.
class WindowScreen : public SvScreen, public SvInputSource {
public:
    // Null with the reason when no desktop window can be opened.
    static std::unique_ptr<WindowScreen> open(std::string& error);
    ~WindowScreen() override;

    bool waitForInput(HWND modalWindow) override;
    void windowShown(HWND window) override;
    void windowHidden(HWND) override { m_changed = true; }
    SIZE size() const override;

    bool readLine(std::wstring& line) override;
    bool interactive() const override { return true; }

    // A script's lines as the window shows what they do; closing the window ends them. The
    // source stays the script's, so its dialogs take their actions from it as on the form screen.
    std::unique_ptr<SvInputSource> follow(SvInputSource& script);
    // Shows what has changed and takes the events waiting, without waiting for more.
    void refresh();
    bool closed() const { return m_closed; }
    forms::FormScreen& formScreen() { return m_forms; }

private:
    WindowScreen(std::unique_ptr<Display> display);

    enum class Mode { Prompt, Dialog };
    void handle(const SDL_Event& event, Mode mode);
    void handlePromptMouse(const SDL_Event& event);
    void handlePromptKey(const SDL_Event& event);
    void handleDialogMouse(const SDL_Event& event);
    void handleDialogKey(const SDL_Event& event);
    void answer(const std::wstring& text);
    bool inView(POINT pixel) const { return pixel.y < m_view.height(); }

    void present();
    void presentNowAndThen();
    void paintFrame();
    void paintCommandLine(HDC dc);
    void paintPointer(HDC dc);
    void writeWantedFrame();

    std::unique_ptr<Display> m_display;
    SvSurface* m_frame = nullptr;
    forms::FormScreen m_forms;
    CommandLine m_commandLine;
    SvOutputSink* m_previousSink = nullptr;
    DrawingView m_view;
    bool m_closed = false;
    bool m_changed = true;
    bool m_frameWanted = false;           // F12 was pressed
    std::optional<std::wstring> m_answer; // a line the person has given, not yet read
    POINT m_pointer{-1, -1};
    bool m_pointerInside = false;
    std::optional<POINT> m_leftPress; // where the left button went down in the view
    std::optional<POINT> m_panFrom;   // the middle button drags the picture
    HWND m_moving = nullptr;          // a window dragged by its title bar
    POINT m_movingGrip{0, 0};         // where on it the pointer holds it
    struct KeywordSpot {
        RECT rect;
        std::wstring word;
    };
    std::vector<KeywordSpot> m_keywordSpots; // where the prompt's keywords were painted
    unsigned m_clock = 0;                    // SDL ticks when the window manager's clock last moved
    int m_framesWritten = 0;
    unsigned m_presentedAt = 0; // SDL ticks of the last frame shown while a script runs
};

} // namespace window
