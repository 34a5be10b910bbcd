#include <cstdarg>
#include <string>
#include <vector>

#include "acad/adscodes.h"
#include "crt/format.h"
#include "ed/commands.h"
#include "ed/input.h"

namespace {

// The answers of an acedCommand call as the lines a script would hold; false when malformed.
bool collectAnswers(int rtype, va_list args, std::vector<std::wstring>& lines) {
    for (int type = rtype; type != 0; type = va_arg(args, int)) {
        switch (type) {
        case RTSTR: {
            const wchar_t* text = va_arg(args, const wchar_t*);
            if (text == nullptr)
                return false;
            lines.emplace_back(text);
            break;
        }
        case RTSHORT:
        case RTLONG:
            lines.push_back(std::to_wstring(va_arg(args, int)));
            break;
        case RTREAL:
            lines.push_back(svFormat(L"%.17g", va_arg(args, double)));
            break;
        case RTPOINT: {
            const double* p = va_arg(args, const double*);
            if (p == nullptr)
                return false;
            lines.push_back(svFormat(L"%.17g,%.17g,%.17g", p[0], p[1], p[2]));
            break;
        }
        case RTNONE:
            lines.emplace_back();
            break;
        default:
            return false;
        }
    }
    return !lines.empty();
}

// A quoted word keeps blanks inside one answer.
std::wstring quotedIfNeeded(const std::wstring& text) {
    return text.find_first_of(L" \t") == std::wstring::npos ? text : L"\"" + text + L"\"";
}

} // namespace

int acedCommand(int rtype, ...) {
    std::vector<std::wstring> lines;
    va_list args;
    va_start(args, rtype);
    const bool wellFormed = collectAnswers(rtype, args, lines);
    va_end(args);
    if (!wellFormed)
        return RTERROR;
    const std::wstring command = lines.front();
    lines.erase(lines.begin());
    for (std::wstring& line : lines)
        line = quotedIfNeeded(line);
    SvScriptedInput answers(std::move(lines));
    svPushInputSource(&answers);
    const bool ran = svRunCommand(command.c_str());
    svPopInputSource();
    return ran ? RTNORM : RTERROR;
}
