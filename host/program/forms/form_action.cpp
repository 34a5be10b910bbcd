#include "form_action.h"

#include <cwctype>
#include <vector>

#include "crt/crt.h"
#include "user/input.h"

namespace forms {

namespace {

// Answers are not the place for essays: a hostile line is refused before it is split.
constexpr std::size_t kMaxLine = 4096;

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// Words separated by blanks; a word in double quotes keeps its blanks ("" stands for a quote).
bool splitWords(const std::wstring& line, std::vector<std::wstring>& words, std::wstring& error) {
    std::size_t at = 0;
    while (true) {
        while (at < line.size() && isBlank(line[at]))
            ++at;
        if (at == line.size())
            return true;
        std::wstring word;
        if (line[at] == L'"') {
            ++at;
            bool closed = false;
            while (at < line.size()) {
                if (line[at] == L'"') {
                    if (at + 1 < line.size() && line[at + 1] == L'"') {
                        word += L'"';
                        at += 2;
                        continue;
                    }
                    ++at;
                    closed = true;
                    break;
                }
                word += line[at++];
            }
            if (!closed) {
                error = L"A quoted text has no closing quote.";
                return false;
            }
        } else {
            while (at < line.size() && !isBlank(line[at]))
                word += line[at++];
        }
        words.push_back(word);
    }
}

bool sameWord(const std::wstring& a, const wchar_t* b) {
    return _wcsicmp(a.c_str(), b) == 0;
}

bool parseNumber(const std::wstring& word, int& value) {
    if (word.empty() || word.size() > 9)
        return false;
    std::size_t at = word[0] == L'-' ? 1 : 0;
    if (at == word.size())
        return false;
    long long n = 0;
    for (; at < word.size(); ++at) {
        if (!std::iswdigit(static_cast<wint_t>(word[at])))
            return false;
        n = n * 10 + (word[at] - L'0');
    }
    value = static_cast<int>(word[0] == L'-' ? -n : n);
    return true;
}

bool parseControl(const std::wstring& word, int& id) {
    const int standard = standardControlId(word);
    if (standard != 0) {
        id = standard;
        return true;
    }
    return parseNumber(word, id);
}

struct KeyName {
    const wchar_t* name;
    unsigned key;
};

const KeyName kKeys[] = {
    {L"Enter", VK_RETURN},
    {L"Esc", VK_ESCAPE},
    {L"Escape", VK_ESCAPE},
    {L"F1", VK_F1},
    {L"F4", VK_F4},
    {L"Tab", VK_TAB},
    {L"Space", VK_SPACE},
    {L"Up", VK_UP},
    {L"Down", VK_DOWN},
    {L"Left", VK_LEFT},
    {L"Right", VK_RIGHT},
    {L"Home", VK_HOME},
    {L"End", VK_END},
    {L"Delete", VK_DELETE},
    {L"Back", VK_BACK},
    {L"Add", VK_ADD},
    {L"Subtract", VK_SUBTRACT},
};

bool parseKey(std::wstring word, FormAction& action) {
    static const std::wstring shiftPrefix = L"Shift+";
    if (word.size() > shiftPrefix.size() &&
        _wcsicmp(word.substr(0, shiftPrefix.size()).c_str(), shiftPrefix.c_str()) == 0) {
        action.shift = true;
        word = word.substr(shiftPrefix.size());
    }
    for (const KeyName& key : kKeys) {
        if (sameWord(word, key.name)) {
            action.virtualKey = key.key;
            return true;
        }
    }
    return false;
}

bool parsePoint(const std::wstring& word, int& x, int& y) {
    const std::size_t comma = word.find(L',');
    return comma != std::wstring::npos && parseNumber(word.substr(0, comma), x) &&
           parseNumber(word.substr(comma + 1), y);
}

struct Verb {
    const wchar_t* name;
    FormAction::Kind kind;
    const wchar_t* usage;
};

const Verb kVerbs[] = {
    {L"click", FormAction::Click, L"click ID"},
    {L"dblclick", FormAction::DoubleClick, L"dblclick ID [ROW]"},
    {L"rclick", FormAction::RightClick, L"rclick ID [ROW]"},
    {L"type", FormAction::Type, L"type ID TEXT"},
    {L"choose", FormAction::Choose, L"choose ID TEXT"},
    {L"select", FormAction::Select, L"select ID ROW"},
    {L"key", FormAction::Key, L"key NAME"},
    {L"hover", FormAction::Hover, L"hover ID [ROW]"},
    {L"move", FormAction::Move, L"move X,Y"},
    {L"snapshot", FormAction::Snapshot, L"snapshot FILE.png [ID]"},
    {L"show", FormAction::Show, L"show"},
};

} // namespace

const wchar_t* formActionsHelp() {
    return L"Dialogs, menus and message boxes show as forms: each control with its id, kind, text\n"
           L"and state. Answer a form with one action a line (ID is a control's number, or OK,\n"
           L"Cancel, Yes, No, Help; ROW a row's or item's number from 0, or its text; a tree item\n"
           L"also as \"parent/child\"):\n"
           L"  click ID           dblclick ID [ROW]    rclick ID [ROW]      select ID ROW\n"
           L"  type ID TEXT       choose ID TEXT       hover ID [ROW]       key NAME\n"
           L"  move X,Y           snapshot FILE.png [ID]                    show\n"
           L"Keys: Enter, Esc, F1, F4, Tab, Shift+Tab, Space, Up, Down, Left, Right, Home, End,\n"
           L"Delete, Back, Add, Subtract. ^C is Esc. The end of the input cancels the innermost\n"
           L"dialog, then the command.";
}

int standardControlId(const std::wstring& name) {
    static const struct {
        const wchar_t* name;
        int id;
    } names[] = {{L"OK", 1},     {L"Cancel", 2}, {L"Abort", 3}, {L"Retry", 4},
                 {L"Ignore", 5}, {L"Yes", 6},    {L"No", 7},    {L"Help", 9}};
    for (const auto& entry : names) {
        if (sameWord(name, entry.name))
            return entry.id;
    }
    return 0;
}

bool parseFormAction(const std::wstring& line, FormAction& action, std::wstring& error) {
    action = FormAction{};
    if (line.size() > kMaxLine) {
        error = L"The action is too long.";
        return false;
    }
    std::vector<std::wstring> words;
    if (!splitWords(line, words, error))
        return false;
    if (words.empty()) {
        error = L"No action: answer with one of click, dblclick, rclick, type, choose, select, "
                L"key, hover, move, snapshot, show.";
        return false;
    }
    const Verb* verb = nullptr;
    for (const Verb& candidate : kVerbs) {
        if (sameWord(words[0], candidate.name))
            verb = &candidate;
    }
    if (verb == nullptr) {
        error = L"Unknown action \"" + words[0].substr(0, 40) +
                L"\": one of click, dblclick, rclick, type, choose, select, key, hover, move, "
                L"snapshot, show.";
        return false;
    }
    action.kind = verb->kind;
    const auto usage = [&] {
        error = std::wstring(L"Usage: ") + verb->usage;
        return false;
    };
    const std::size_t count = words.size();
    switch (verb->kind) {
    case FormAction::Show:
        return count == 1 || usage();
    case FormAction::Key:
        if (count != 2)
            return usage();
        if (!parseKey(words[1], action)) {
            error = L"Unknown key \"" + words[1].substr(0, 40) +
                    L"\": Enter, Esc, F1, F4, Tab, Shift+Tab, Space, Up, Down, Left, Right, "
                    L"Home, End, Delete, Back, Add, Subtract.";
            return false;
        }
        return true;
    case FormAction::Move:
        return (count == 2 && parsePoint(words[1], action.x, action.y)) || usage();
    case FormAction::Snapshot:
        if (count < 2 || count > 3 || words[1].empty())
            return usage();
        action.text = words[1];
        return count == 2 || parseControl(words[2], action.control) || usage();
    case FormAction::Click:
        return (count == 2 && parseControl(words[1], action.control)) || usage();
    case FormAction::Type:
    case FormAction::Choose:
        if (count != 3 || !parseControl(words[1], action.control))
            return usage();
        action.text = words[2];
        return true;
    case FormAction::Select:
        if (count != 3 || !parseControl(words[1], action.control))
            return usage();
        action.hasItem = true;
        action.item = words[2];
        return true;
    case FormAction::DoubleClick:
    case FormAction::RightClick:
    case FormAction::Hover:
        if (count < 2 || count > 3 || !parseControl(words[1], action.control))
            return usage();
        action.hasItem = count == 3;
        if (action.hasItem)
            action.item = words[2];
        return true;
    }
    return usage();
}

} // namespace forms
