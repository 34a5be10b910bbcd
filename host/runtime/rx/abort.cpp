#include "rx/abort.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "crt/format.h"

namespace {
AcRxAbortHandler g_abortHandler = nullptr;
}

AcRxAbortHandler acrxSetAbortHandler(AcRxAbortHandler handler) {
    AcRxAbortHandler previous = g_abortHandler;
    g_abortHandler = handler;
    return previous;
}

void acrx_abort(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const std::wstring message = svFormatV(format, args);
    va_end(args);
    std::fprintf(stderr, "\nINTERNAL ERROR: %s\n", svToUtf8(message).c_str());
    std::fflush(stderr);
    if (g_abortHandler != nullptr)
        g_abortHandler(message.c_str());
    std::abort();
}
