// The help viewer the application loads as "hhctrl.ocx": it opens a topic of a help file packed
// by pack_help.cmake, in the user's browser when there is one, else on the command line.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "crt/format.h"
#include "mfc/wnd.h"
#include "rx/print.h"
#include "win/modules.h"

extern char** environ;

namespace {

constexpr UINT kHelpContext = 15;

struct Topic {
    std::string name;
    std::string page;
};

bool findTopic(const std::string& file, unsigned long contextId, Topic& topic) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line != "SVHELP 1")
        return false;
    while (std::getline(in, line)) {
        std::istringstream header(line);
        std::string word, name;
        unsigned long id = 0;
        std::size_t size = 0;
        if (!(header >> word >> id >> name >> size) || word != "topic")
            return false;
        // A damaged file must not make us allocate what its header claims.
        if (size > (std::size_t{16} << 20))
            return false;
        std::string page(size, '\0');
        if (!in.read(page.data(), static_cast<std::streamsize>(size)))
            return false;
        if (id == contextId) {
            topic = Topic{name, page};
            return true;
        }
    }
    return false;
}

bool onPath(const char* program) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

// The program a browser command starts, its first word, can be run: found on PATH, or named by
// its path. The shell starts it in the background, so this is the one chance to tell.
bool canStart(const std::string& command) {
    const std::size_t begin = command.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return false;
    const std::string program = command.substr(begin, command.find_first_of(" \t", begin) - begin);
    if (program.find('/') != std::string::npos)
        return access(program.c_str(), X_OK) == 0;
    return onPath(program.c_str());
}

// $BROWSER when set; xdg-open when a desktop session could show what it opens.
std::string browserCommand() {
    if (const char* browser = std::getenv("BROWSER"); browser != nullptr && *browser != '\0')
        return browser;
    const bool desktop =
        std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
    return desktop && onPath("xdg-open") ? "xdg-open" : "";
}

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// A folder of this process alone, made when there is none: nobody else can have put anything
// into it.
const std::string& privateFolder() {
    static std::string folder;
    struct stat info {};
    if (!folder.empty() && lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == getuid())
        return folder;
    const char* tmp = std::getenv("TMPDIR");
    folder = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/sentavell-help-XXXXXX";
    if (mkdtemp(folder.data()) == nullptr)
        folder.clear();
    return folder;
}

// Created afresh, never through a link, readable by the user alone.
bool writePage(const std::string& file, const std::string& page) {
    unlink(file.c_str());
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < page.size();) {
        const ssize_t n = write(fd, page.data() + done, page.size() - done);
        ok = n > 0 || (n < 0 && errno == EINTR);
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    return close(fd) == 0 && ok;
}

bool openInBrowser(const std::string& browser, const Topic& topic) {
    const std::string& folder = privateFolder();
    // The topic's name comes from the help file: it may only name a file in the folder.
    if (folder.empty() || topic.name.empty() || topic.name[0] == '.' ||
        topic.name.find('/') != std::string::npos)
        return false;
    const std::string file = folder + "/" + topic.name;
    if (!writePage(file, topic.page))
        return false;
    // The browser may stay open; the shell leaves it running on its own and returns at once.
    std::string command = browser;
    const std::size_t placeholder = command.find("%s");
    if (placeholder != std::string::npos) {
        command.replace(placeholder, 2, shellQuoted(file));
    } else {
        command += ' ';
        command += shellQuoted(file);
    }
    command += " </dev/null >/dev/null 2>&1 &";
    const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return false;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Enough of HTML for our own pages: headings and paragraphs on lines of their own, list items
// marked, the title left out, the common entities.
std::string pageText(const std::string& html) {
    std::string text;
    bool skipping = false;
    auto newline = [&text] {
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        if (!text.empty() && text.back() != '\n')
            text += '\n';
    };
    for (std::size_t i = 0; i < html.size();) {
        const char c = html[i];
        if (c == '<') {
            const std::size_t end = html.find('>', i);
            if (end == std::string::npos)
                break;
            std::string tag = lowered(html.substr(i + 1, end - i - 1));
            tag = tag.substr(0, tag.find(' '));
            i = end + 1;
            if (tag == "title")
                skipping = true;
            else if (tag == "/title")
                skipping = false;
            else if (tag == "li") {
                newline();
                text += "  - ";
            } else if (tag == "p" || tag == "br" || tag == "ul" || tag == "/ul" || tag[0] == 'h' ||
                       tag == "/p" || (tag.size() == 3 && tag[0] == '/' && tag[1] == 'h')) {
                newline();
                if (tag == "/h1" || tag == "/h2")
                    text += '\n';
            }
            continue;
        }
        ++i;
        if (skipping)
            continue;
        if (c == '&') {
            const std::size_t end = html.find(';', i);
            const std::string entity = end != std::string::npos ? html.substr(i, end - i) : "";
            const char* plain = entity == "amp"    ? "&"
                                : entity == "lt"   ? "<"
                                : entity == "gt"   ? ">"
                                : entity == "quot" ? "\""
                                : entity == "nbsp" ? " "
                                                   : nullptr;
            if (plain != nullptr) {
                text += plain;
                i = end + 1;
                continue;
            }
        }
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!text.empty() && text.back() != ' ' && text.back() != '\n')
                text += ' ';
            continue;
        }
        text += c;
    }
    newline();
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

} // namespace

// Only topics by context id are offered; every other command answers no window.
HWND HtmlHelpA(HWND, LPCSTR file, UINT command, DWORD_PTR data) {
    if (file == nullptr || command != kHelpContext)
        return nullptr;
    std::string path = file;
    for (char& c : path)
        c = c == '\\' ? '/' : c;
    Topic topic;
    if (!findTopic(path, static_cast<unsigned long>(data), topic))
        return nullptr;
    const std::string browser = browserCommand();
    if (!browser.empty() && !canStart(browser))
        acutPrintf(L"\nThe help browser \"%s\" cannot be started; the page follows.",
                   svFromUtf8(browser).c_str());
    else if (!browser.empty() && openInBrowser(browser, topic))
        return nullptr;
    acutPrintf(L"\n%s\n", svFromUtf8(pageText(topic.page)).c_str());
    return nullptr;
}

SV_EXPORT_ORDINAL(14, HtmlHelpA);
