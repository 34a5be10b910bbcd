#pragma once

#include <string>

#include "rx/print.h"

// Collects what the host prints while it lives.
class OutputCapture : public SvOutputSink {
public:
    OutputCapture() : m_previous(svSetOutputSink(this)) {}
    ~OutputCapture() override { svSetOutputSink(m_previous); }
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;

    void write(const wchar_t* text) override { m_text += text; }
    const std::wstring& text() const { return m_text; }
    void clear() { m_text.clear(); }

private:
    SvOutputSink* m_previous;
    std::wstring m_text;
};
