#include "shell/desktop_browser.h"

#include <cstdlib>
#include <fstream>

#include "crt/format.h"
#include "shell/command_line.h"
#include "shell/process.h"

namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon - start));
        if (colon == std::string::npos)
            return parts;
        start = colon + 1;
    }
}

// The words with their program found, or nothing.
std::vector<std::string> runnable(std::vector<std::string> words) {
    if (words.empty())
        return {};
    words[0] = findProgram(words[0]);
    return words[0].empty() ? std::vector<std::string>{} : words;
}

std::string firstLine(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
        line.pop_back();
    return line;
}

// The desktop entry id of the default browser, as the desktop's own tools name it.
std::string defaultBrowserId() {
    const std::vector<std::vector<std::string>> queries = {
        {"xdg-settings", "get", "default-web-browser"},
        {"xdg-mime", "query", "default", "x-scheme-handler/http"}};
    for (const std::vector<std::string>& query : queries) {
        std::vector<std::string> command = runnable(query);
        std::string output;
        if (command.empty() || !programOutput(command, output))
            continue;
        const std::string id = firstLine(output);
        const std::string suffix = ".desktop";
        if (id.size() > suffix.size() && id.find('/') == std::string::npos &&
            id.compare(id.size() - suffix.size(), suffix.size(), suffix) == 0)
            return id;
    }
    return "";
}

std::vector<std::string> applicationFolders() {
    std::string home = variable("XDG_DATA_HOME");
    if (home.empty() || home.front() != '/')
        home = variable("HOME").empty() ? "" : variable("HOME") + "/.local/share";
    std::string dirs = variable("XDG_DATA_DIRS");
    if (dirs.empty())
        dirs = "/usr/local/share:/usr/share";
    std::vector<std::string> folders;
    if (!home.empty())
        folders.push_back(home + "/applications");
    for (const std::string& dir : splitList(dirs)) {
        if (!dir.empty() && dir.front() == '/')
            folders.push_back(dir + "/applications");
    }
    return folders;
}

// The Exec line of the entry's main group; empty when there is none.
std::string execLine(const std::string& file) {
    std::ifstream in(file);
    std::string line;
    bool mainGroup = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.front() == '[') {
            mainGroup = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!mainGroup || equals == std::string::npos)
            continue;
        std::string key = line.substr(0, equals);
        while (!key.empty() && key.back() == ' ')
            key.pop_back();
        if (key == "Exec") {
            const std::size_t start = line.find_first_not_of(' ', equals + 1);
            return start == std::string::npos ? "" : line.substr(start);
        }
    }
    return "";
}

// The text with each lead character and the one after it replaced by what translate makes of
// the second.
template <typename Translate>
std::string translated(const std::string& text, char lead, Translate translate) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == lead && i + 1 < text.size())
            out += translate(text[++i]);
        else
            out += text[i];
    }
    return out;
}

// Exec words with the address's field codes as "%s", "%%" as "%" and the other codes left out;
// the value's own escapes go before its words are split.
std::vector<std::string> execWords(const std::string& exec) {
    const std::string unescaped = translated(exec, '\\', [](char e) {
        return std::string(1, e == 's'   ? ' '
                              : e == 'n' ? '\n'
                              : e == 't' ? '\t'
                              : e == 'r' ? '\r'
                                         : e);
    });
    std::vector<std::string> words;
    if (!splitShellWords(unescaped, words))
        return {};
    std::vector<std::string> kept;
    for (const std::string& word : words) {
        const std::string out = translated(word, '%', [](char code) {
            if (code == '%')
                return std::string("%");
            const bool address = code == 'u' || code == 'U' || code == 'f' || code == 'F';
            return std::string(address ? "%s" : "");
        });
        if (!out.empty() || word.empty())
            kept.push_back(out);
    }
    return kept;
}

std::vector<std::string> browserFromDesktop() {
    const std::string id = defaultBrowserId();
    if (id.empty())
        return {};
    for (const std::string& folder : applicationFolders()) {
        const std::string exec = execLine(folder + "/" + id);
        if (!exec.empty())
            return runnable(execWords(exec));
    }
    return {};
}

// A registered command line: the program in quotes, and the address as "%1" in quotes, appended
// when no word places it.
std::string registeredCommand(const std::vector<std::string>& words) {
    std::string line = "\"" + words[0] + "\"";
    bool placed = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        std::string word = words[i];
        const std::size_t at = word.find("%s");
        if (at != std::string::npos) {
            word.replace(at, 2, "%1");
            placed = true;
        }
        // Not `" " + (...)`, which g++ 12 at -O3 flags with a false -Wrestrict.
        line += ' ';
        line += (word == "%1" ? "\"%1\"" : quoteArgument(word));
    }
    return placed ? line : line + " \"%1\"";
}

} // namespace

std::optional<std::vector<std::string>> browserFromEnvironment() {
    const std::string browser = variable("BROWSER");
    if (browser.empty())
        return std::nullopt;
    for (const std::string& entry : splitList(browser)) {
        std::vector<std::string> words;
        if (splitShellWords(entry, words)) {
            if (std::vector<std::string> found = runnable(words); !found.empty())
                return found;
        }
    }
    return std::vector<std::string>{};
}

void addBrowserAssociations(RegistryKey& classesRoot) {
    const std::optional<std::vector<std::string>> chosen = browserFromEnvironment();
    const std::vector<std::string> browser = chosen ? *chosen : browserFromDesktop();
    if (browser.empty())
        return;
    bool created = false;
    for (const wchar_t* extension : {L".htm", L".html"})
        classesRoot.create({extension}, created).setValue(stringValue(L"", L"htmlfile"));
    classesRoot.create({L"htmlfile", L"shell", L"open", L"command"}, created)
        .setValue(stringValue(L"", svFromUtf8(registeredCommand(browser))));
}
