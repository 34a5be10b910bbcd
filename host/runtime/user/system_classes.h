#pragma once

#include "user/types.h"

namespace sv::user {

// Window procedures of the classes the window manager registers itself.
LRESULT buttonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT staticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT comboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT comboListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT popupMenuProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

inline constexpr const wchar_t* kDialogClass = L"#32770";
inline constexpr const wchar_t* kPopupMenuClass = L"#32768";

} // namespace sv::user
