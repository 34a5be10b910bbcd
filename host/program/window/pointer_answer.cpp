#include "pointer_answer.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>

#include "crt/format.h"

namespace window {

namespace {

constexpr int kMaxDecimals = 8;

std::string number(double value, int decimals) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::fixed << std::setprecision(decimals) << value;
    std::string text = out.str();
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

int decimalsFor(double unitsPerPixel) {
    if (!(unitsPerPixel > 0.0) || !std::isfinite(unitsPerPixel))
        return kMaxDecimals;
    const double digits = std::ceil(-std::log10(unitsPerPixel));
    return static_cast<int>(std::clamp(digits, 0.0, static_cast<double>(kMaxDecimals)));
}

} // namespace

std::wstring pointAnswer(ViewPoint point, double unitsPerPixel) {
    const int decimals = decimalsFor(unitsPerPixel);
    std::string text = number(point.x, decimals);
    text += ',';
    text += number(point.y, decimals);
    return svFromUtf8(text);
}

std::wstring selectionDragAnswer(ViewPoint from, ViewPoint to, double unitsPerPixel) {
    std::wstring answer = to.x >= from.x ? L"W " : L"C ";
    answer += pointAnswer(from, unitsPerPixel);
    answer += L' ';
    answer += pointAnswer(to, unitsPerPixel);
    return answer;
}

} // namespace window
