#pragma once

#include <string>

// What the host remembers between input calls, copied into the room of what it held before.
void svSetLastInput(const std::wstring& text);
void svClearLastInput();
// Whether an input call was cancelled since the flag was last taken (commands end as cancelled).
bool svTakeCancelSeen();
// One answer under the pending acedInitGet: RTKWORD for a keyword, RTNORM with any other text,
// RTNONE for an empty one (unless RSG_NONULL asks again), RTCAN.
int svGetAnswer(const wchar_t* prompt, std::wstring& answer);
