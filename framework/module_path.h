#pragma once

// In-place surgery on a module's path. Both the backslash of the original platform and '/' are
// separators. Each answers the path, or null when it has no separator.

// "C:\x\y.arx" becomes "\y.arx".
wchar_t* MoveFileNameToFront(wchar_t* path);
// "C:\x\y.arx" becomes "C:\x".
wchar_t* CutAtLastSeparator(wchar_t* path);
