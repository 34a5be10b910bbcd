#pragma once

// Runs `svhost --gui` on a virtual X server of the test's own and drives it as a person would:
// the pointer and the keys through xdotool, the window's frames written by its own F12 key.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <cairo.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/bin_dir.h"
#include "support/run_program.h"

namespace guitest {

// Over the command line of the 1024 by 768 window.
constexpr int kCommandLineX = 500, kCommandLineY = 740;

// Quoted for the shell, an apostrophe too; built piece by piece, clear of g++ 12's false
// -Wrestrict at -O3.
inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    quoted += "'";
    return quoted;
}

inline std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Polls until the condition holds or the time is up. The bounds only catch a hang, so they are
// wide: a sanitizer build on a busy machine starts a session many times slower.
template <class Condition>
bool waitUntil(Condition condition, double seconds = 30.0) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// An X server in memory, on the display number it finds free.
class VirtualDisplay {
public:
    VirtualDisplay() {
        int fds[2];
        if (pipe(fds) != 0)
            throw std::runtime_error("pipe");
        m_pid = fork();
        if (m_pid == 0) {
            dup2(fds[1], 9);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execlp("Xvfb", "Xvfb", "-displayfd", "9", "-screen", "0", "1280x1024x24", "-nolisten",
                   "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        pollfd ready{fds[0], POLLIN, 0};
        std::string number;
        char c = 0;
        while (poll(&ready, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty())
            throw std::runtime_error("Xvfb did not start");
        m_name = ":" + number;
    }
    ~VirtualDisplay() {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;
    const std::string& name() const { return m_name; }

private:
    pid_t m_pid = -1;
    std::string m_name;
};

// A frame of the window as PNG, decoded.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;

    static Picture load(const std::string& path) {
        Picture picture;
        cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
        if (cairo_surface_status(png) == CAIRO_STATUS_SUCCESS) {
            picture.width = cairo_image_surface_get_width(png);
            picture.height = cairo_image_surface_get_height(png);
            const int stride = cairo_image_surface_get_stride(png);
            const unsigned char* data = cairo_image_surface_get_data(png);
            for (int y = 0; y < picture.height; ++y)
                for (int x = 0; x < picture.width; ++x)
                    picture.pixels.push_back(
                        reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xFFFFFF);
        }
        cairo_surface_destroy(png);
        return picture;
    }
    // 0xRRGGBB; white outside.
    std::uint32_t at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return 0xFFFFFF;
        return pixels[static_cast<std::size_t>(y) * width + x];
    }
    static bool dark(std::uint32_t rgb) {
        return ((rgb >> 16) & 0xFF) < 100 && ((rgb >> 8) & 0xFF) < 100 && (rgb & 0xFF) < 100;
    }
    // How many pixels of the rectangle differ from the other picture's.
    int differences(const Picture& other, int left, int top, int right, int bottom) const {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                count += at(x, y) != other.at(x, y) ? 1 : 0;
        return count;
    }
};

// One run of `svhost --gui ARGUMENTS` in a folder of its own.
class GuiSession {
public:
    GuiSession(const VirtualDisplay& display, const std::string& folder,
               const std::string& arguments)
        : m_display(display.name()), m_folder(folder) {
        runCommand("rm -rf '" + folder + "' && mkdir -p '" + folder + "'");
        const std::string command =
            "exec '" + binDir() + "/svhost' --gui " + arguments + " >out.txt 2>err.txt";
        m_pid = fork();
        if (m_pid == 0) {
            if (chdir(folder.c_str()) != 0)
                _exit(127);
            setenv("DISPLAY", m_display.c_str(), 1);
            setenv("SVHOST_CONFIG_DIR", folder.c_str(), 1);
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("SDL_VIDEODRIVER");
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        const ProgramRun found =
            xdotool("search --sync --onlyvisible --pid " + std::to_string(m_pid));
        m_window = found.output.substr(0, found.output.find('\n'));
    }
    ~GuiSession() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

    bool started() const { return !m_window.empty(); }
    const std::string& window() const { return m_window; }
    // Started, done with what it was given, at its command prompt, the pointer resting over the
    // command line (out of the view, so no crosshair is in the frames).
    bool ready(double seconds = 60.0) const {
        if (!started() || !waitFor("\nCommand: ", 1, seconds))
            return false;
        moveTo(kCommandLineX, kCommandLineY);
        return true;
    }
    std::string output() const { return readWhole(m_folder + "/out.txt"); }
    const std::string& folder() const { return m_folder; }
    // Waits until the transcript holds the text `times` times.
    bool waitFor(const std::string& text, std::size_t times = 1, double seconds = 30.0) const {
        return waitUntil([&] { return countOf(output(), text) >= times; }, seconds);
    }

    ProgramRun xdotool(const std::string& arguments) const {
        return runCommand("DISPLAY=" + m_display + " timeout 20 xdotool " + arguments);
    }
    // Window coordinates.
    void moveTo(int x, int y) const {
        xdotool("mousemove --window " + m_window + " " + std::to_string(x) + " " +
                std::to_string(y));
    }
    void click(int x, int y, int button = 1) const {
        moveTo(x, y);
        xdotool("click " + std::to_string(button));
    }
    void drag(int x0, int y0, int x1, int y1) const {
        moveTo(x0, y0);
        xdotool("mousedown 1");
        moveTo((x0 + x1) / 2, (y0 + y1) / 2);
        moveTo(x1, y1);
        xdotool("mouseup 1");
    }
    // Typed with the pointer resting over the command line, where keys go.
    void type(const std::string& text) const { xdotool("type --delay 5 " + shellQuoted(text)); }
    void key(const std::string& name) const { xdotool("key " + name); }
    void enter(const std::string& line) const {
        type(line);
        key("Return");
    }

    // The window's frame as it stands, written by the program itself.
    Picture frame() {
        const std::string name = "frame-" + std::to_string(++m_frames) + ".png";
        key("F12");
        const bool written = waitUntil([&] {
            return readWhole(m_folder + "/err.txt").find(name + " written") != std::string::npos;
        });
        return written ? Picture::load(m_folder + "/" + name) : Picture{};
    }

    std::string lastFramePath() const {
        return m_folder + "/frame-" + std::to_string(m_frames) + ".png";
    }

    // As a desktop's window manager closes a window: it asks, with WM_DELETE_WINDOW.
    void closeWindow() const {
        Display* x = XOpenDisplay(m_display.c_str());
        if (x == nullptr)
            return;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = std::stoul(m_window);
        event.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(x, event.xclient.window, False, NoEventMask, &event);
        XFlush(x);
        XCloseDisplay(x);
    }

    // The exit status once the program has ended by itself; -1 when it is still running after
    // the time or ended by a signal.
    int exitStatus(double seconds = 30.0) {
        int raw = 0;
        const bool ended =
            waitUntil([&] { return waitpid(m_pid, &raw, WNOHANG) == m_pid; }, seconds);
        if (!ended)
            return -1;
        m_pid = -1;
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

private:
    std::string m_display;
    std::string m_folder;
    pid_t m_pid = -1;
    std::string m_window;
    int m_frames = 0;
};

} // namespace guitest
