#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#pragma GCC visibility push(default)

// Limits of one evaluation. Macro text comes from drawings and must never crash or stall the
// host, so each of these ends an evaluation instead of letting it grow.
//
// Longest macro text evaluated; longer text is refused.
inline constexpr std::size_t kSvDieselMaxExpression = std::size_t{1} << 21;
// Longest value, intermediate or final. Reaching it truncates the result and appends "$(++)".
inline constexpr std::size_t kSvDieselMaxText = std::size_t{1} << 21;
// Deepest nesting of $( ) calls, each $(eval) adding a level; deeper text is refused.
inline constexpr int kSvDieselMaxDepth = 128;
// Characters scanned, copied and produced over the whole evaluation; past it, refused.
inline constexpr std::size_t kSvDieselMaxWork = std::size_t{1} << 25;

// What an evaluation may ask of its host. The defaults know no variables, read the system clock
// and format with the host's unit routines.
class SvDieselEnvironment {
public:
    virtual ~SvDieselEnvironment();

    // A system variable's value as text; false when there is no such variable.
    virtual bool getVar(const std::wstring& name, std::wstring& value);
    // A host environment setting; false when it is not set. The process environment is not
    // consulted: drawings must not be able to read it.
    virtual bool getEnv(const std::wstring& name, std::wstring& value);
    // Now, as the DATE variable holds it: Julian day number plus the fraction of the local day.
    virtual double currentDate();
    // rtos and angtos, appended to `out`, whose text before must stay. A mode or precision of -1
    // means "the drawing's current one"; the defaults take decimal with 4 places and degrees with
    // 0 places.
    virtual void formatLinear(double value, int unit, int precision, std::wstring& out);
    virtual void formatAngle(double radians, int unit, int precision, std::wstring& out);
};

// Evaluates DIESEL macro text (without the "M=" of a menu command). Text outside $( ) calls is
// copied, quoted text loses its quotes ("" stands for one quote), calls are replaced by their
// values, and mistakes are reported in the value as the language does: "$?" for a call without
// its closing parenthesis, "$(name)??" for an unknown function, "$(name,??)" for wrong
// arguments (more than 10 parameters, division by zero, a number out of range), "$(++)" for a
// value cut at kSvDieselMaxText. Numbers are written with up to 8 decimals, trailing zeros
// dropped. Answers false, with an empty result, for text the host refuses: longer than
// kSvDieselMaxExpression, nested deeper than kSvDieselMaxDepth or costing more than
// kSvDieselMaxWork. The value is built in `result`, so a string kept for it is reused.
bool svEvaluateDiesel(std::wstring_view expression, SvDieselEnvironment& environment,
                      std::wstring& result);

// The same with the default environment.
bool svEvaluateDiesel(std::wstring_view expression, std::wstring& result);

#pragma GCC visibility pop
