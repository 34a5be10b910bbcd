#include "ed/diesel.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cwctype>
#include <iterator>
#include <limits>
#include <string_view>
#include <system_error>

#include "ed/diesel/diesel_time.h"

namespace {

constexpr std::size_t kMaxParameters = 10; // the function name included
constexpr std::wstring_view kSyntaxError = L"$?";
constexpr std::wstring_view kTruncated = L"$(++)";
// Split so that the marker is not read as a trigraph.
constexpr std::wstring_view kBadArgumentsEnd = L",?"
                                               L"?)";
constexpr std::wstring_view kUnknownEnd = L")??";

bool isBlank(wchar_t c) {
    return c <= L' ' && (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n');
}

bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

[[gnu::always_inline]] inline std::wstring_view trimmed(std::wstring_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// Reads a leading decimal number the way atof does: blanks skipped, whatever follows the number
// ignored, no number at all reading as zero. Hex, "inf" and "nan" are not numbers here.
[[gnu::noinline]] double parseNumberExactly(std::wstring_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isBlank(text[i])) {
        ++i;
    }
    std::string chars;
    if (i < n && (text[i] == L'+' || text[i] == L'-')) {
        if (text[i] == L'-') {
            chars += '-';
        }
        ++i;
    }
    std::size_t significant = 0;   // integer digits after leading zeros
    std::size_t fractionZeros = 0; // zeros after the point before the first other digit
    bool anyDigit = false;
    bool nonZeroSeen = false;
    while (i < n && isDigit(text[i])) {
        nonZeroSeen = nonZeroSeen || text[i] != L'0';
        significant += nonZeroSeen ? 1 : 0;
        anyDigit = true;
        chars += static_cast<char>(text[i++]);
    }
    if (i < n && text[i] == L'.') {
        chars += '.';
        ++i;
        while (i < n && isDigit(text[i])) {
            if (!nonZeroSeen && text[i] == L'0') {
                ++fractionZeros;
            }
            nonZeroSeen = nonZeroSeen || text[i] != L'0';
            anyDigit = true;
            chars += static_cast<char>(text[i++]);
        }
    }
    if (!anyDigit) {
        return 0.0;
    }
    long exponent = 0;
    if (i < n && (text[i] == L'e' || text[i] == L'E')) {
        std::size_t j = i + 1;
        bool negative = false;
        if (j < n && (text[j] == L'+' || text[j] == L'-')) {
            negative = text[j] == L'-';
            ++j;
        }
        if (j < n && isDigit(text[j])) {
            chars += negative ? "e-" : "e";
            while (j < n && isDigit(text[j])) {
                if (exponent < 100000) {
                    exponent = exponent * 10 + (text[j] - L'0');
                }
                chars += static_cast<char>(text[j++]);
            }
            exponent = negative ? -exponent : exponent;
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(chars.data(), chars.data() + chars.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow by the decimal magnitude.
        const long magnitude = significant > 0 ? static_cast<long>(significant) + exponent
                                               : exponent - static_cast<long>(fractionZeros);
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        if (!chars.empty() && chars[0] == '-') {
            value = -value;
        }
    }
    return value;
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The numbers macros hold (a few digits, a point, no exponent) read without a detour: up to 15
// digits are an exact integer, and dividing it by an exact power of ten rounds just as the long
// way does. Anything else goes the long way.
[[gnu::always_inline]] inline double parseNumber(std::wstring_view text) {
    const wchar_t* at = text.data();
    const wchar_t* const end = at + text.size();
    while (at < end && isBlank(*at)) {
        ++at;
    }
    bool negative = false;
    if (at < end && (*at == L'+' || *at == L'-')) {
        negative = *at == L'-';
        ++at;
    }
    // Leading zeros are counted too: numbers that have many go the long way, which reads them
    // the same. Too many digits only wrap `digits` before the count sends them there.
    std::uint64_t digits = 0;
    const wchar_t* const first = at;
    while (at < end && isDigit(*at)) {
        digits = digits * 10 + static_cast<std::uint64_t>(*at++ - L'0');
    }
    std::size_t count = static_cast<std::size_t>(at - first);
    std::size_t fraction = 0;
    if (at < end && *at == L'.') {
        const wchar_t* const point = ++at;
        while (at < end && isDigit(*at)) {
            digits = digits * 10 + static_cast<std::uint64_t>(*at++ - L'0');
        }
        fraction = static_cast<std::size_t>(at - point);
        count += fraction;
    }
    if (count == 0) {
        return 0.0;
    }
    if (count > 15 || (at < end && (*at == L'e' || *at == L'E'))) {
        return parseNumberExactly(text);
    }
    const double value = static_cast<double>(digits) / kExactPowersOfTen[fraction];
    return negative ? -value : value;
}

// Narrow digits and signs, widened onto the end of `out`.
void appendNarrow(std::wstring& out, std::string_view text) {
    const std::size_t at = out.size();
    out.resize(at + text.size());
    std::copy(text.begin(), text.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
}

// Reals are written with at most 8 decimals and without trailing zeros: 3, 0.5, 0.33333333.
void appendNumber(std::wstring& out, double value) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 8);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    if (text.find('.') != std::string_view::npos) {
        while (text.back() == '0') {
            text.remove_suffix(1);
        }
        if (text.back() == '.') {
            text.remove_suffix(1);
        }
    }
    if (text == "-0") {
        text = "0";
    }
    appendNarrow(out, text);
}

void appendInteger(std::wstring& out, std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    appendNarrow(out, std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

enum class Halt { None, Refused, Truncated };
enum class Outcome { Done, BadArguments, Halted };

struct Span {
    std::size_t begin;
    std::size_t end;
};

// Where a value is being built: the end of a string, from `base` on. A nested call builds its
// value on the same string, past its caller's, and what the caller only reads is cut away again,
// so an evaluation needs no string of its own per call.
struct Sink {
    std::wstring& text;
    std::size_t base;

    std::size_t size() const { return text.size() - base; }
};

// One $( ) call: where its parameters lie in the text it was found in.
struct Call {
    Call(std::wstring_view in, int level) : text(in), depth(level) {}

    std::wstring_view text;
    int depth;
    std::array<Span, kMaxParameters + 1> parameters; // the first ones, kept; filled by scanCall
    std::size_t kept = 0;
    std::size_t count = 0;      // all of them
    std::uint32_t computed = 0; // by bit, the kept parameters holding a "$" or a quote
};

class Evaluator;
// Appends the call's value to the string; whatever a function leaves there when it does not
// finish is cut away.
using Function = Outcome (Evaluator::*)(const Call&, wchar_t, std::wstring&);

struct FunctionEntry {
    std::wstring_view name;
    std::size_t minParameters; // the name included
    std::size_t maxParameters;
    Function function;
    wchar_t variant;
};

class Evaluator {
public:
    explicit Evaluator(SvDieselEnvironment& environment) : environment_(environment) {}

    Halt halt() const { return halt_; }

    // Appends the value of text[span] to out. False once the evaluation has to stop.
    bool run(std::wstring_view text, Span span, int depth, Sink out);

private:
    enum class Scan { Closed, Unclosed, TooDeep };

    bool charge(std::size_t amount) {
        work_ += amount;
        if (work_ > kSvDieselMaxWork) {
            halt_ = Halt::Refused;
            return false;
        }
        return true;
    }

    bool emit(Sink out, std::wstring_view text) {
        if (!charge(text.size())) {
            return false;
        }
        if (out.size() + text.size() > kSvDieselMaxText) {
            out.text.append(text.substr(0, kSvDieselMaxText - out.size()));
            halt_ = Halt::Truncated;
            return false;
        }
        out.text.append(text);
        return true;
    }

    Scan scanCall(std::wstring_view text, std::size_t at, std::size_t end, Call& call,
                  std::size_t& close);
    bool dispatch(const Call& call, Sink out);
    static const FunctionEntry* find(std::wstring_view name);

    // Each of these reads a parameter at the end of the string given, which the caller cuts back.
    [[gnu::noinline]] bool parameter(const Call& call, std::size_t index, std::wstring& value);
    [[gnu::always_inline]] inline bool parameterText(const Call& call, std::size_t index,
                                                     std::wstring& storage,
                                                     std::wstring_view& value);
    [[gnu::always_inline]] inline Outcome number(const Call& call, std::size_t index,
                                                 std::wstring& scratch, double& value);
    [[gnu::always_inline]] inline Outcome integer(const Call& call, std::size_t index, double limit,
                                                  std::wstring& scratch, std::int64_t& value);
    [[gnu::always_inline]] inline Outcome mode(const Call& call, int lowest, int highest,
                                               std::wstring& scratch, int& unit, int& precision);

    Outcome arithmetic(const Call& call, wchar_t op, std::wstring& value);
    Outcome compare(const Call& call, wchar_t op, std::wstring& value);
    Outcome bitwise(const Call& call, wchar_t op, std::wstring& value);
    Outcome angtos(const Call& call, wchar_t, std::wstring& value);
    Outcome edtime(const Call& call, wchar_t, std::wstring& value);
    Outcome eq(const Call& call, wchar_t, std::wstring& value);
    Outcome eval(const Call& call, wchar_t, std::wstring& value);
    Outcome fix(const Call& call, wchar_t, std::wstring& value);
    Outcome getenv(const Call& call, wchar_t, std::wstring& value);
    Outcome getvar(const Call& call, wchar_t, std::wstring& value);
    Outcome choose(const Call& call, wchar_t, std::wstring& value);
    Outcome index(const Call& call, wchar_t, std::wstring& value);
    Outcome nth(const Call& call, wchar_t, std::wstring& value);
    Outcome rtos(const Call& call, wchar_t, std::wstring& value);
    Outcome strlen(const Call& call, wchar_t, std::wstring& value);
    Outcome substr(const Call& call, wchar_t, std::wstring& value);
    Outcome upper(const Call& call, wchar_t, std::wstring& value);

    static const FunctionEntry kFunctions[];

    SvDieselEnvironment& environment_;
    Halt halt_ = Halt::None;
    std::size_t work_ = 0;
    double now_ = 0.0; // taken once, so every $(edtime,0,...) of one macro shows the same time
    bool haveNow_ = false;
};

const FunctionEntry Evaluator::kFunctions[] = {
    {L"+", 2, 10, &Evaluator::arithmetic, L'+'}, {L"-", 2, 10, &Evaluator::arithmetic, L'-'},
    {L"*", 2, 10, &Evaluator::arithmetic, L'*'}, {L"/", 2, 10, &Evaluator::arithmetic, L'/'},
    {L"=", 3, 3, &Evaluator::compare, L'='},     {L"<", 3, 3, &Evaluator::compare, L'<'},
    {L">", 3, 3, &Evaluator::compare, L'>'},     {L"!=", 3, 3, &Evaluator::compare, L'!'},
    {L"<=", 3, 3, &Evaluator::compare, L'l'},    {L">=", 3, 3, &Evaluator::compare, L'g'},
    {L"and", 2, 10, &Evaluator::bitwise, L'&'},  {L"or", 2, 10, &Evaluator::bitwise, L'|'},
    {L"xor", 2, 10, &Evaluator::bitwise, L'^'},  {L"angtos", 2, 4, &Evaluator::angtos, 0},
    {L"edtime", 3, 3, &Evaluator::edtime, 0},    {L"eq", 3, 3, &Evaluator::eq, 0},
    {L"eval", 2, 2, &Evaluator::eval, 0},        {L"fix", 2, 2, &Evaluator::fix, 0},
    {L"getenv", 2, 2, &Evaluator::getenv, 0},    {L"getvar", 2, 2, &Evaluator::getvar, 0},
    {L"if", 3, 4, &Evaluator::choose, 0},        {L"index", 3, 3, &Evaluator::index, 0},
    {L"nth", 3, 10, &Evaluator::nth, 0},         {L"rtos", 2, 4, &Evaluator::rtos, 0},
    {L"strlen", 2, 2, &Evaluator::strlen, 0},    {L"substr", 3, 4, &Evaluator::substr, 0},
    {L"upper", 2, 2, &Evaluator::upper, 0},
};

wchar_t folded(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// The functions by the first letter of their name; no letter begins more than a few of them.
struct FunctionIndex {
    static constexpr std::size_t kPerLetter = 4;
    std::array<std::array<const FunctionEntry*, kPerLetter>, 128> byFirst{};

    template <std::size_t N>
    explicit FunctionIndex(const FunctionEntry (&functions)[N]) {
        for (const FunctionEntry& entry : functions) {
            for (const FunctionEntry*& slot : byFirst[static_cast<std::size_t>(entry.name[0])]) {
                if (slot == nullptr) {
                    slot = &entry;
                    break;
                }
            }
        }
    }
};

const FunctionEntry* Evaluator::find(std::wstring_view name) {
    static const FunctionIndex index(kFunctions);
    if (name.empty()) {
        return nullptr;
    }
    const wchar_t first = folded(name[0]);
    if (first < 0 || static_cast<std::size_t>(first) >= index.byFirst.size()) {
        return nullptr;
    }
    for (const FunctionEntry* entry : index.byFirst[static_cast<std::size_t>(first)]) {
        if (entry == nullptr) {
            break;
        }
        if (entry->name.size() != name.size()) {
            continue;
        }
        std::size_t i = 1;
        while (i < name.size() && folded(name[i]) == entry->name[i]) {
            ++i;
        }
        if (i == name.size()) {
            return entry;
        }
    }
    return nullptr;
}

bool Evaluator::run(std::wstring_view text, Span span, int depth, Sink out) {
    std::size_t i = span.begin;
    while (i < span.end) {
        const wchar_t c = text[i];
        if (c == L'$' && i + 1 < span.end && text[i + 1] == L'(') {
            Call call(text, depth + 1);
            std::size_t close = 0;
            const Scan scan = call.depth > kSvDieselMaxDepth
                                  ? Scan::TooDeep
                                  : scanCall(text, i, span.end, call, close);
            if (scan == Scan::TooDeep) {
                halt_ = Halt::Refused;
                return false;
            }
            if (halt_ != Halt::None) {
                return false;
            }
            if (scan == Scan::Unclosed) {
                // Everything from here on belongs to the unfinished call.
                return emit(out, kSyntaxError);
            }
            if (!dispatch(call, out)) {
                return false;
            }
            i = close + 1;
        } else if (c == L'"') {
            std::size_t close = i + 1;
            while (close < span.end) {
                if (text[close] == L'"') {
                    if (close + 1 < span.end && text[close + 1] == L'"') {
                        ++close;
                    } else {
                        break;
                    }
                }
                ++close;
            }
            if (close >= span.end) {
                // A lone quote outside any call: an inch mark, say. Kept as written.
                return emit(out, text.substr(i, span.end - i));
            }
            std::size_t piece = i + 1;
            for (std::size_t q = piece; q < close; ++q) {
                if (text[q] == L'"') {
                    // The first of a doubled quote: keep it, skip its twin.
                    if (!emit(out, text.substr(piece, q + 1 - piece))) {
                        return false;
                    }
                    piece = ++q + 1;
                }
            }
            if (!emit(out, text.substr(piece, close - piece))) {
                return false;
            }
            i = close + 1;
        } else {
            std::size_t next = i + 1;
            while (next < span.end && text[next] != L'$' && text[next] != L'"') {
                ++next;
            }
            if (!emit(out, text.substr(i, next - i))) {
                return false;
            }
            i = next;
        }
    }
    return true;
}

// Finds the parameters and the closing parenthesis of the call at `at` in one pass, counting
// nested calls instead of descending into them, so hostile nesting costs no stack.
Evaluator::Scan Evaluator::scanCall(std::wstring_view text, std::size_t at, std::size_t end,
                                    Call& call, std::size_t& close) {
    const wchar_t* const first = text.data();
    const wchar_t* const last = first + end;
    std::size_t begin = at + 2;
    int nesting = 0;
    bool computed = false;
    // Kept here and stored once the call closes; nothing reads them before.
    std::size_t kept = 0;
    std::size_t count = 0;
    std::uint32_t computedMask = 0;
    const auto addParameter = [&](std::size_t stop) {
        if (kept < call.parameters.size()) {
            computedMask |= computed ? std::uint32_t{1} << kept : 0;
            call.parameters[kept++] = {begin, stop};
        }
        ++count;
        begin = stop + 1;
        computed = false;
    };
    for (const wchar_t* p = first + begin; p != last; ++p) {
        // Quotes, "$", parentheses and commas all come before the letters and digits that make up
        // most of a macro, so those are passed over at once.
        while (*p > L',') {
            if (++p == last) {
                charge(end - at);
                return Scan::Unclosed;
            }
        }
        const wchar_t c = *p;
        const auto i = static_cast<std::size_t>(p - first);
        if (c == L'"') {
            computed = true;
            // Quoted text ends at a quote that is not doubled.
            for (++p; p != last; ++p) {
                if (*p == L'"') {
                    if (p + 1 == last || p[1] != L'"') {
                        break;
                    }
                    ++p;
                }
            }
            if (p == last) {
                break;
            }
        } else if (c == L'$') {
            computed = true;
            if (p + 1 != last && p[1] == L'(') {
                ++nesting;
                if (call.depth + nesting > kSvDieselMaxDepth) {
                    charge(i - at);
                    return Scan::TooDeep;
                }
                ++p;
            }
        } else if (c == L')') {
            if (nesting == 0) {
                addParameter(i);
                call.kept = kept;
                call.count = count;
                call.computed = computedMask;
                close = i;
                charge(i + 1 - at);
                return Scan::Closed;
            }
            --nesting;
        } else if (c == L',' && nesting == 0) {
            addParameter(i);
        }
    }
    charge(end - at);
    return Scan::Unclosed;
}

namespace {

[[gnu::always_inline]] inline Span unblanked(const Call& call, std::size_t index) {
    Span span = call.parameters[index];
    while (span.begin < span.end && isBlank(call.text[span.begin])) {
        ++span.begin;
    }
    return span;
}

std::wstring_view from(const std::wstring& text, std::size_t at) {
    return std::wstring_view(text).substr(at);
}

} // namespace

bool Evaluator::parameter(const Call& call, std::size_t index, std::wstring& value) {
    return run(call.text, unblanked(call, index), call.depth, Sink{value, value.size()});
}

// A parameter with no call and no quote in it is its own value: read in place, charged as run
// would charge it, which is where the time of a macro's names and numbers went.
bool Evaluator::parameterText(const Call& call, std::size_t index, std::wstring& storage,
                              std::wstring_view& value) {
    const Span span = unblanked(call, index);
    const std::size_t size = span.end - span.begin;
    if (size > kSvDieselMaxText || (call.computed & (std::uint32_t{1} << index)) != 0) {
        const std::size_t at = storage.size();
        if (!parameter(call, index, storage)) {
            return false;
        }
        value = from(storage, at);
        return true;
    }
    if (size != 0 && !charge(size)) {
        return false;
    }
    value = call.text.substr(span.begin, size);
    return true;
}

bool Evaluator::dispatch(const Call& call, Sink out) {
    std::wstring evaluated;
    std::wstring_view name;
    if (!parameterText(call, 0, evaluated, name)) {
        return false;
    }
    name = trimmed(name);
    const FunctionEntry* entry = find(name);
    if (entry == nullptr) {
        return emit(out, L"$(") && emit(out, name) && emit(out, kUnknownEnd);
    }
    const std::size_t mark = out.text.size();
    Outcome outcome = Outcome::BadArguments;
    if (call.count >= entry->minParameters && call.count <= entry->maxParameters) {
        outcome = (this->*entry->function)(call, entry->variant, out.text);
    }
    if (outcome != Outcome::Done) {
        out.text.resize(mark);
        return outcome == Outcome::BadArguments && emit(out, L"$(") && emit(out, name) &&
               emit(out, kBadArgumentsEnd);
    }
    // The value is in place already: charged and cut as copying it there would be.
    const std::size_t produced = out.text.size() - mark;
    if (!charge(produced)) {
        out.text.resize(mark);
        return false;
    }
    if (mark - out.base + produced > kSvDieselMaxText) {
        out.text.resize(out.base + kSvDieselMaxText);
        halt_ = Halt::Truncated;
        return false;
    }
    return true;
}

Outcome Evaluator::number(const Call& call, std::size_t index, std::wstring& scratch,
                          double& value) {
    const std::size_t at = scratch.size();
    std::wstring_view text;
    if (!parameterText(call, index, scratch, text)) {
        return Outcome::Halted;
    }
    value = parseNumber(text);
    scratch.resize(at);
    return std::isfinite(value) ? Outcome::Done : Outcome::BadArguments;
}

Outcome Evaluator::integer(const Call& call, std::size_t index, double limit, std::wstring& scratch,
                           std::int64_t& value) {
    double real = 0.0;
    const Outcome outcome = number(call, index, scratch, real);
    if (outcome != Outcome::Done) {
        return outcome;
    }
    real = std::trunc(real);
    if (std::fabs(real) > limit) {
        return Outcome::BadArguments;
    }
    value = static_cast<std::int64_t>(real);
    return Outcome::Done;
}

// The optional mode and precision of rtos and angtos; -1 where they are left out.
Outcome Evaluator::mode(const Call& call, int lowest, int highest, std::wstring& scratch, int& unit,
                        int& precision) {
    unit = -1;
    precision = -1;
    std::int64_t read = 0;
    if (call.count > 2) {
        const Outcome outcome = integer(call, 2, 1e9, scratch, read);
        if (outcome != Outcome::Done) {
            return outcome;
        }
        if (read < lowest || read > highest) {
            return Outcome::BadArguments;
        }
        unit = static_cast<int>(read);
    }
    if (call.count > 3) {
        const Outcome outcome = integer(call, 3, 1e9, scratch, read);
        if (outcome != Outcome::Done) {
            return outcome;
        }
        if (read < 0 || read > 8) {
            return Outcome::BadArguments;
        }
        precision = static_cast<int>(read);
    }
    return Outcome::Done;
}

Outcome Evaluator::arithmetic(const Call& call, wchar_t op, std::wstring& value) {
    double result = 0.0;
    Outcome outcome = number(call, 1, value, result);
    for (std::size_t i = 2; i < call.count && outcome == Outcome::Done; ++i) {
        double operand = 0.0;
        outcome = number(call, i, value, operand);
        if (outcome != Outcome::Done) {
            break;
        }
        switch (op) {
        case L'+':
            result += operand;
            break;
        case L'-':
            result -= operand;
            break;
        case L'*':
            result *= operand;
            break;
        default:
            if (operand == 0.0) {
                return Outcome::BadArguments;
            }
            result /= operand;
            break;
        }
    }
    if (outcome != Outcome::Done) {
        return outcome;
    }
    if (!std::isfinite(result)) {
        return Outcome::BadArguments;
    }
    appendNumber(value, result);
    return Outcome::Done;
}

Outcome Evaluator::compare(const Call& call, wchar_t op, std::wstring& value) {
    double left = 0.0;
    double right = 0.0;
    Outcome outcome = number(call, 1, value, left);
    if (outcome == Outcome::Done) {
        outcome = number(call, 2, value, right);
    }
    if (outcome != Outcome::Done) {
        return outcome;
    }
    bool holds = false;
    switch (op) {
    case L'=':
        holds = left == right;
        break;
    case L'<':
        holds = left < right;
        break;
    case L'>':
        holds = left > right;
        break;
    case L'!':
        holds = left != right;
        break;
    case L'l':
        holds = left <= right;
        break;
    default:
        holds = left >= right;
        break;
    }
    value += holds ? L'1' : L'0';
    return Outcome::Done;
}

Outcome Evaluator::bitwise(const Call& call, wchar_t op, std::wstring& value) {
    constexpr double kLimit = 9.2e18; // inside the 64-bit range
    std::int64_t result = 0;
    for (std::size_t i = 1; i < call.count; ++i) {
        std::int64_t operand = 0;
        const Outcome outcome = integer(call, i, kLimit, value, operand);
        if (outcome != Outcome::Done) {
            return outcome;
        }
        if (i == 1) {
            result = operand;
        } else if (op == L'&') {
            result &= operand;
        } else if (op == L'|') {
            result |= operand;
        } else {
            result ^= operand;
        }
    }
    appendInteger(value, result);
    return Outcome::Done;
}

Outcome Evaluator::angtos(const Call& call, wchar_t, std::wstring& value) {
    double angle = 0.0;
    int unit = -1;
    int precision = -1;
    Outcome outcome = number(call, 1, value, angle);
    if (outcome == Outcome::Done) {
        outcome = mode(call, 0, 4, value, unit, precision);
    }
    if (outcome == Outcome::Done) {
        environment_.formatAngle(angle, unit, precision, value);
    }
    return outcome;
}

Outcome Evaluator::rtos(const Call& call, wchar_t, std::wstring& value) {
    double real = 0.0;
    int unit = -1;
    int precision = -1;
    Outcome outcome = number(call, 1, value, real);
    if (outcome == Outcome::Done) {
        outcome = mode(call, 1, 5, value, unit, precision);
    }
    if (outcome == Outcome::Done) {
        environment_.formatLinear(real, unit, precision, value);
    }
    return outcome;
}

Outcome Evaluator::edtime(const Call& call, wchar_t, std::wstring& value) {
    double date = 0.0;
    const Outcome outcome = number(call, 1, value, date);
    if (outcome != Outcome::Done) {
        return outcome;
    }
    std::wstring picture;
    if (!parameter(call, 2, picture)) {
        return Outcome::Halted;
    }
    if (date == 0.0) {
        if (!haveNow_) {
            now_ = environment_.currentDate();
            haveNow_ = true;
        }
        date = now_;
    }
    SvCivilTime time;
    if (!svCivilFromJulian(date, time)) {
        return Outcome::BadArguments;
    }
    if (!charge(picture.size())) {
        return Outcome::Halted;
    }
    value += svEditTime(time, picture);
    return Outcome::Done;
}

Outcome Evaluator::eq(const Call& call, wchar_t, std::wstring& value) {
    const std::size_t left = value.size();
    if (!parameter(call, 1, value)) {
        return Outcome::Halted;
    }
    const std::size_t right = value.size();
    if (!parameter(call, 2, value)) {
        return Outcome::Halted;
    }
    const bool same = from(value, left).substr(0, right - left) == from(value, right);
    value.resize(left);
    value += same ? L'1' : L'0';
    return Outcome::Done;
}

Outcome Evaluator::eval(const Call& call, wchar_t, std::wstring& value) {
    // Read while the value grows, so kept apart from it.
    std::wstring text;
    if (!parameter(call, 1, text)) {
        return Outcome::Halted;
    }
    return run(text, {0, text.size()}, call.depth, Sink{value, value.size()}) ? Outcome::Done
                                                                              : Outcome::Halted;
}

Outcome Evaluator::fix(const Call& call, wchar_t, std::wstring& value) {
    double real = 0.0;
    const Outcome outcome = number(call, 1, value, real);
    if (outcome == Outcome::Done) {
        appendNumber(value, std::trunc(real));
    }
    return outcome;
}

Outcome Evaluator::getenv(const Call& call, wchar_t, std::wstring& value) {
    const std::size_t at = value.size();
    if (!parameter(call, 1, value)) {
        return Outcome::Halted;
    }
    const std::wstring name(trimmed(from(value, at)));
    value.resize(at);
    std::wstring setting;
    if (environment_.getEnv(name, setting)) {
        value += setting;
    }
    return Outcome::Done;
}

Outcome Evaluator::getvar(const Call& call, wchar_t, std::wstring& value) {
    const std::size_t at = value.size();
    if (!parameter(call, 1, value)) {
        return Outcome::Halted;
    }
    const std::wstring name(trimmed(from(value, at)));
    value.resize(at);
    std::wstring variable;
    if (!environment_.getVar(name, variable)) {
        return Outcome::BadArguments;
    }
    value += variable;
    return Outcome::Done;
}

// $(if): only the branch taken is evaluated.
Outcome Evaluator::choose(const Call& call, wchar_t, std::wstring& value) {
    const std::size_t at = value.size();
    std::wstring_view condition;
    if (!parameterText(call, 1, value, condition)) {
        return Outcome::Halted;
    }
    const std::size_t branch = parseNumber(condition) != 0.0 ? 2 : 3;
    value.resize(at);
    if (branch < call.count && !parameter(call, branch, value)) {
        return Outcome::Halted;
    }
    return Outcome::Done;
}

Outcome Evaluator::index(const Call& call, wchar_t, std::wstring& value) {
    std::int64_t which = 0;
    const Outcome outcome = integer(call, 1, 1e15, value, which);
    if (outcome != Outcome::Done) {
        return outcome;
    }
    const std::size_t at = value.size();
    if (!parameter(call, 2, value)) {
        return Outcome::Halted;
    }
    if (which < 0) {
        return Outcome::BadArguments;
    }
    std::size_t begin = at;
    for (std::int64_t item = 0; item < which; ++item) {
        begin = value.find(L',', begin);
        if (begin == std::wstring::npos) {
            value.resize(at); // fewer items: nothing
            return Outcome::Done;
        }
        ++begin;
    }
    const std::size_t end = value.find(L',', begin);
    if (end != std::wstring::npos) {
        value.resize(end);
    }
    value.erase(at, begin - at);
    return Outcome::Done;
}

// $(nth): only the argument chosen is evaluated.
Outcome Evaluator::nth(const Call& call, wchar_t, std::wstring& value) {
    std::int64_t which = 0;
    const Outcome outcome = integer(call, 1, 1e15, value, which);
    if (outcome != Outcome::Done) {
        return outcome;
    }
    if (which < 0) {
        return Outcome::BadArguments;
    }
    const std::size_t chosen = static_cast<std::size_t>(which) + 2;
    if (chosen < call.count && !parameter(call, chosen, value)) {
        return Outcome::Halted;
    }
    return Outcome::Done;
}

Outcome Evaluator::strlen(const Call& call, wchar_t, std::wstring& value) {
    const std::size_t at = value.size();
    if (!parameter(call, 1, value)) {
        return Outcome::Halted;
    }
    const std::size_t length = value.size() - at;
    value.resize(at);
    appendInteger(value, static_cast<std::int64_t>(length));
    return Outcome::Done;
}

// Characters count from 1; a missing length takes the rest.
Outcome Evaluator::substr(const Call& call, wchar_t, std::wstring& value) {
    const std::size_t at = value.size();
    if (!parameter(call, 1, value)) {
        return Outcome::Halted;
    }
    const std::size_t size = value.size() - at;
    std::int64_t start = 0;
    std::int64_t length = -1;
    Outcome outcome = integer(call, 2, 1e15, value, start);
    if (outcome == Outcome::Done && call.count > 3) {
        outcome = integer(call, 3, 1e15, value, length);
        if (outcome == Outcome::Done && length < 0) {
            outcome = Outcome::BadArguments;
        }
    }
    if (outcome != Outcome::Done) {
        return outcome;
    }
    if (start < 1) {
        return Outcome::BadArguments;
    }
    const auto first = static_cast<std::size_t>(start - 1);
    if (first >= size) {
        value.resize(at);
        return Outcome::Done;
    }
    const std::size_t rest = size - first;
    const std::size_t taken = length < 0 ? rest : std::min(rest, static_cast<std::size_t>(length));
    value.resize(at + first + taken);
    value.erase(at, first);
    return Outcome::Done;
}

Outcome Evaluator::upper(const Call& call, wchar_t, std::wstring& value) {
    const std::size_t at = value.size();
    if (!parameter(call, 1, value)) {
        return Outcome::Halted;
    }
    for (auto c = value.begin() + static_cast<std::ptrdiff_t>(at); c != value.end(); ++c) {
        *c = static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(*c)));
    }
    return charge(value.size() - at) ? Outcome::Done : Outcome::Halted;
}

} // namespace

bool svEvaluateDiesel(std::wstring_view expression, SvDieselEnvironment& environment,
                      std::wstring& result) {
    result.clear();
    if (expression.size() > kSvDieselMaxExpression) {
        return false;
    }
    try {
        Evaluator evaluator(environment);
        evaluator.run(expression, {0, expression.size()}, 0, Sink{result, 0});
        switch (evaluator.halt()) {
        case Halt::Refused:
            result.clear();
            return false;
        case Halt::Truncated:
            result.resize(std::min(result.size(), kSvDieselMaxText - kTruncated.size()));
            result += kTruncated;
            break;
        case Halt::None:
            break;
        }
        // The values of nested calls were built past the result; a kept string is not left
        // holding room that no result needs.
        if (result.capacity() > 2 * kSvDieselMaxText) {
            result.shrink_to_fit();
        }
        return true;
    } catch (...) {
        // Out of memory, or an environment that threw: refuse rather than take the host down.
        result.clear();
        return false;
    }
}

bool svEvaluateDiesel(std::wstring_view expression, std::wstring& result) {
    SvDieselEnvironment environment;
    return svEvaluateDiesel(expression, environment, result);
}
