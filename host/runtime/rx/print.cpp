#include "rx/print.h"

#include <cstdarg>
#include <cstdio>

#include "crt/format.h"

namespace {

class StandardOutput : public SvOutputSink {
public:
    void write(const wchar_t* text) override {
        std::fputs(svToUtf8(text).c_str(), stdout);
        std::fflush(stdout);
    }
};

StandardOutput g_standardOutput;
SvOutputSink* g_sink = &g_standardOutput;

} // namespace

SvOutputSink::~SvOutputSink() = default;

SvOutputSink* svSetOutputSink(SvOutputSink* sink) {
    SvOutputSink* previous = g_sink;
    g_sink = sink != nullptr ? sink : &g_standardOutput;
    return previous == &g_standardOutput ? nullptr : previous;
}

int acutPrintf(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const std::wstring text = svFormatV(format, args);
    va_end(args);
    g_sink->write(text.c_str());
    return static_cast<int>(text.size());
}
