#pragma once

#include <string>

// What the host remembers between input calls.
void svSetLastInput(const std::wstring& text);
void svClearLastInput();
// Whether an input call was cancelled since the flag was last taken (commands end as cancelled).
bool svTakeCancelSeen();
