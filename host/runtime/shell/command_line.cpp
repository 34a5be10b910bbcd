#include "shell/command_line.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isShellBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool escapableInDoubleQuotes(char c) {
    return c == '"' || c == '\\' || c == '$' || c == '`';
}

std::size_t skipBlanks(const std::string& line, std::size_t at) {
    while (at < line.size() && isBlank(line[at]))
        ++at;
    return at;
}

std::size_t readProgram(const std::string& line, std::size_t at, std::string& program) {
    bool quoted = false;
    for (; at < line.size() && (quoted || !isBlank(line[at])); ++at) {
        if (line[at] == '"')
            quoted = !quoted;
        else
            program += line[at];
    }
    return at;
}

std::size_t readArgument(const std::string& line, std::size_t at, std::string& word) {
    bool quoted = false;
    while (at < line.size() && (quoted || !isBlank(line[at]))) {
        if (line[at] == '\\') {
            const std::size_t start = at;
            while (at < line.size() && line[at] == '\\')
                ++at;
            const std::size_t backslashes = at - start;
            if (at == line.size() || line[at] != '"') {
                word.append(backslashes, '\\');
                continue;
            }
            word.append(backslashes / 2, '\\');
            if (backslashes % 2 == 1) {
                word += '"';
                ++at;
            }
        } else if (line[at] == '"') {
            if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
                word += '"';
                ++at;
            } else {
                quoted = !quoted;
            }
            ++at;
        } else {
            word += line[at++];
        }
    }
    return at;
}

} // namespace

std::vector<std::string> splitCommandLine(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = skipBlanks(line, 0);
    if (at == line.size())
        return words;
    words.emplace_back();
    at = readProgram(line, at, words.back());
    while ((at = skipBlanks(line, at)) < line.size()) {
        words.emplace_back();
        at = readArgument(line, at, words.back());
    }
    return words;
}

std::string quoteArgument(const std::string& word) {
    if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos)
        return word;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

bool splitShellWords(const std::string& text, std::vector<std::string>& words) {
    words.clear();
    std::size_t at = 0;
    while (true) {
        while (at < text.size() && isShellBlank(text[at]))
            ++at;
        if (at == text.size())
            return true;
        std::string word;
        while (at < text.size() && !isShellBlank(text[at])) {
            const char c = text[at++];
            if (c == '\'') {
                const std::size_t close = text.find('\'', at);
                if (close == std::string::npos)
                    return false;
                word.append(text, at, close - at);
                at = close + 1;
            } else if (c == '"') {
                for (;;) {
                    if (at == text.size())
                        return false;
                    const char d = text[at++];
                    if (d == '"')
                        break;
                    if (d == '\\' && at < text.size() && escapableInDoubleQuotes(text[at]))
                        word += text[at++];
                    else
                        word += d;
                }
            } else if (c == '\\' && at < text.size()) {
                word += text[at++];
            } else {
                word += c;
            }
        }
        words.push_back(std::move(word));
    }
}
