#pragma once

#pragma GCC visibility push(default)

// Where the command line's text goes: the terminal by default, a captured log in tests.
class SvOutputSink {
public:
    virtual ~SvOutputSink();
    virtual void write(const wchar_t* text) = 0;
};

// Installs a sink (null: standard output again) and answers the one installed before.
SvOutputSink* svSetOutputSink(SvOutputSink* sink);

// Prints to the command line; the format follows svFormat. Answers the characters printed.
int acutPrintf(const wchar_t* format, ...);

#pragma GCC visibility pop
