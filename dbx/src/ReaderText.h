#pragma once

#include <cstddef>

class AcPropertyReader;

// The room of a reader's text: what the base string form allocates.
inline constexpr std::size_t kReaderTextChars = 1024;

// What the base string form writes for the number, into room of kReaderTextChars characters.
void svFormatReaderNumber(double value, wchar_t* text);

// True for the module's own number readers, subclasses from elsewhere excluded: their string form
// is the base one, and reading the number has no effect but its value, so that one reading gives
// both forms.
bool svReadsOnlyItsNumber(const AcPropertyReader& reader);
