#pragma once

#include "shell/errors.h"
#include "win/types.h"

#pragma GCC visibility push(default)

// Show commands. Programs started here have no windows of ours to show; the value is accepted
// and passed over.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5

// Failure codes of ShellExecuteW beyond the system error codes it shares with WinExec. Any answer
// above 32 is success.
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_SHARE 26
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_DDETIMEOUT 28
#define SE_ERR_DDEFAIL 29
#define SE_ERR_DDEBUSY 30
#define SE_ERR_NOASSOC 31
#define SE_ERR_DLLNOTFOUND 32

// Opens a document or an address (verb "open" or null) with the desktop's opener: the first
// program of $BROWSER that exists (a list separated by ':', each entry a program and its
// arguments, "%s" standing for the address), else xdg-open when a desktop session is running.
// The opener gets the address as one argument and runs on without being waited for. Answers a
// code above 32 once it started; SE_ERR_NOASSOC when there is no opener or the verb is another;
// ERROR_FILE_NOT_FOUND when $BROWSER names no program that exists. Parameters, as for any
// document, are not used.
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                        LPCWSTR directory, int showCommand);

// Starts a program without a shell: the command line is split by the platform's rules (blanks
// separate; quotes group; backslashes are literal except before a quote, 2n of them give n and
// the quote groups, 2n + 1 give n and a literal quote; "" inside quotes is a quote). The first
// word is the program, a path ('\\' or '/' separated) or a name looked up on PATH. Answers a value
// above 31 once it started, else ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND (its folder is
// missing), SE_ERR_ACCESSDENIED, ERROR_BAD_FORMAT or 0 (out of resources).
UINT WinExec(LPCSTR commandLine, UINT showCommand);

// The host's Windows folder: "windows" beside the host runtime, holding winhlp32.exe and its hand
// cursor. Copies the path and a terminator and answers its length; when size is too small, answers
// the size needed (terminator included) and copies nothing.
UINT GetWindowsDirectoryW(LPWSTR buffer, UINT size);

#pragma GCC visibility pop
