#include "ed/getinput.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <optional>
#include <string>
#include <utility>

#include "ed/input.h"
#include "ed/keywords.h"
#include "ed/parse.h"
#include "getinput_state.h"
#include "rx/print.h"

namespace {

struct PendingInitGet {
    int flags = 0;
    SvKeywordList keywords;
};

PendingInitGet g_initGet;
std::optional<std::wstring> g_lastInput;
bool g_cancelSeen = false;

void copyOut(const std::wstring& text, wchar_t* result, std::size_t size) {
    if (result == nullptr || size == 0)
        return;
    const std::size_t n = std::min(text.size(), size - 1);
    text.copy(result, n);
    result[n] = L'\0';
}

enum class Parsed { Value, Invalid };

// The shared loop of every input call: read, recognise cancel, empty answers and keywords, and
// let `parse` take the rest; invalid answers are asked again.
template <class Parse>
int getInput(const wchar_t* prompt, SvAnswer kind, Parse parse) {
    const PendingInitGet initGet = std::exchange(g_initGet, PendingInitGet{});
    for (;;) {
        std::wstring answer;
        if (!svReadAnswer(prompt, answer, kind) || answer == kSvCancelWord) {
            g_cancelSeen = true;
            acutPrintf(L"*Cancel*");
            return RTCAN;
        }
        if (answer.empty() && kind == SvAnswer::Word) {
            if (!(initGet.flags & RSG_NONULL))
                return RTNONE;
            acutPrintf(L"\nA value is required.");
            if (!svInputIsInteractive())
                return RTERROR;
            continue;
        }
        const std::wstring keyword = initGet.keywords.match(answer);
        if (!keyword.empty()) {
            g_lastInput = keyword;
            return RTKWORD;
        }
        if (parse(answer, initGet.flags) == Parsed::Value)
            return RTNORM;
        if (initGet.flags & RSG_OTHER) {
            g_lastInput = answer;
            return RTKWORD;
        }
        acutPrintf(initGet.keywords.empty() ? L"\nInvalid input." : L"\nInvalid option keyword.");
        if (!svInputIsInteractive())
            return RTERROR;
    }
}

bool checkSign(double value, int flags) {
    if ((flags & RSG_NOZERO) && value == 0.0)
        return false;
    return !((flags & RSG_NONEG) && value < 0.0);
}

} // namespace

void svSetLastInput(const std::wstring& text) {
    g_lastInput = text;
}

void svClearLastInput() {
    g_lastInput.reset();
}

bool svTakeCancelSeen() {
    return std::exchange(g_cancelSeen, false);
}

int svGetAnswer(const wchar_t* prompt, std::wstring& answer) {
    return getInput(prompt, SvAnswer::Word, [&answer](const std::wstring& text, int) {
        answer = text;
        return Parsed::Value;
    });
}

int acedInitGet(int flags, const wchar_t* keywordList) {
    g_initGet.flags = flags;
    g_initGet.keywords = SvKeywordList(keywordList != nullptr ? keywordList : L"");
    return RTNORM;
}

int acedGetKword(const wchar_t* prompt, wchar_t* result) {
    const int status =
        getInput(prompt, SvAnswer::Word, [](const std::wstring&, int) { return Parsed::Invalid; });
    if (status == RTKWORD) {
        copyOut(*g_lastInput, result, SV_MAX_INPUT);
        return RTNORM;
    }
    return status;
}

int acedGetString(int crOnly, const wchar_t* prompt, wchar_t* result, std::size_t size) {
    std::wstring value;
    g_initGet = PendingInitGet{}; // keywords do not apply to free text
    if (!svReadAnswer(prompt, value, crOnly ? SvAnswer::Line : SvAnswer::Word) ||
        value == kSvCancelWord) {
        g_cancelSeen = true;
        acutPrintf(L"*Cancel*");
        return RTCAN;
    }
    copyOut(value, result, size);
    return RTNORM;
}

int acedGetString(int crOnly, const wchar_t* prompt, wchar_t* result) {
    return acedGetString(crOnly, prompt, result, SV_MAX_INPUT);
}

int acedGetInt(const wchar_t* prompt, int* result) {
    return getInput(prompt, SvAnswer::Word, [result](const std::wstring& text, int flags) {
        double value = 0;
        if (!svParseReal(text, value) || value != static_cast<double>(static_cast<int>(value)) ||
            value < -32768 || value > 32767 || !checkSign(value, flags))
            return Parsed::Invalid;
        if (result != nullptr)
            *result = static_cast<int>(value);
        return Parsed::Value;
    });
}

int acedGetReal(const wchar_t* prompt, ads_real* result) {
    return getInput(prompt, SvAnswer::Word, [result](const std::wstring& text, int flags) {
        double value = 0;
        if (!svParseReal(text, value) || !checkSign(value, flags))
            return Parsed::Invalid;
        if (result != nullptr)
            *result = value;
        return Parsed::Value;
    });
}

int acedGetPoint(const ads_point basePoint, const wchar_t* prompt, ads_point result) {
    return getInput(prompt, SvAnswer::Word, [basePoint, result](const std::wstring& text, int) {
        AcGePoint3d base;
        if (basePoint != nullptr)
            base = AcGePoint3d(basePoint[0], basePoint[1], basePoint[2]);
        AcGePoint3d point;
        if (!svParsePoint(text, basePoint != nullptr ? &base : nullptr, point))
            return Parsed::Invalid;
        result[0] = point.x;
        result[1] = point.y;
        result[2] = point.z;
        return Parsed::Value;
    });
}

int acedGetInput(wchar_t* result) {
    if (!g_lastInput)
        return RTERROR;
    copyOut(*g_lastInput, result, SV_MAX_INPUT);
    return RTNORM;
}
