// The hyperlink control.
#include "dialogs/CHyperLink.h"

#include <string>

#include "comctl/tooltip.h"
#include "crt/format.h"
#include "gdi/syscolors.h"
#include "gdi/text.h"
#include "mfc/dialog.h"
#include "shell/registry.h"
#include "shell/shell.h"
#include "user/input.h"
#include "user/metrics.h"
#include "win/modules.h"

namespace {

constexpr UINT_PTR kToolId = 1;
constexpr WORD kHandCursorId = 106;
constexpr int kPathLength = 260;
// Room for a registered command line; a longer one is refused rather than cut.
constexpr int kCommandLength = 520;

struct ErrorText {
    INT_PTR code;
    const wchar_t* text;
};

constexpr ErrorText kErrorTexts[] = {
    {0, L"The operating system is out\nof memory or resources."},
    {SE_ERR_FNF, L"The specified file was not found."},
    {SE_ERR_PNF, L"The specified path was not found."},
    {SE_ERR_ACCESSDENIED, L"The operating system denied\naccess to the specified file."},
    {SE_ERR_OOM, L"There was not enough memory to complete the operation."},
    {ERROR_BAD_FORMAT, L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {SE_ERR_SHARE, L"A sharing violation occurred. "},
    {SE_ERR_ASSOCINCOMPLETE, L"The filename association is\nincomplete or invalid."},
    {SE_ERR_DDETIMEOUT,
     L"The DDE transaction could not\nbe completed because the request timed out."},
    {SE_ERR_DDEFAIL, L"The DDE transaction failed."},
    {SE_ERR_DDEBUSY, L"The DDE transaction could not\nbe completed because other DDE "
                     L"transactions\nwere being processed."},
    {SE_ERR_NOASSOC, L"There is no application associated\nwith the given filename extension."},
    {SE_ERR_DLLNOTFOUND, L"The specified dynamic-link library was not found."},
};

// The default value of root\subKey; a value that cannot be read, or that does not fit the
// working buffer, is a failed look-up.
LSTATUS readRegistryDefault(HKEY root, const CString& subKey, CString& value) {
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExW(root, subKey, 0, KEY_QUERY_VALUE, &key);
    if (status != ERROR_SUCCESS)
        return status;
    wchar_t buffer[kCommandLength + 1] = {};
    LONG size = sizeof buffer;
    status = RegQueryValueW(key, nullptr, buffer, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return status;
    value = buffer;
    return ERROR_SUCCESS;
}

// One argument of a command line as the platform splits it: quoted, with the backslashes that
// precede a quote doubled and the quotes escaped.
CString quotedArgument(LPCWSTR text) {
    CString quoted(L"\"");
    int backslashes = 0;
    for (const wchar_t* at = text; *at != L'\0'; ++at) {
        if (*at == L'\\') {
            ++backslashes;
            continue;
        }
        const int repeat = *at == L'"' ? 2 * backslashes + 1 : backslashes;
        for (int i = 0; i < repeat; ++i)
            quoted += L'\\';
        quoted += *at;
        backslashes = 0;
    }
    for (int i = 0; i < 2 * backslashes; ++i)
        quoted += L'\\';
    quoted += L'"';
    return quoted;
}

} // namespace

BEGIN_MESSAGE_MAP(CHyperLink, CStatic)
ON_CONTROL_REFLECT(STN_CLICKED, &CHyperLink::OnClicked)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_SETCURSOR()
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CHyperLink::CHyperLink()
    : m_linkColor(RGB(0, 0, 238)), m_visitedColor(RGB(85, 26, 139)),
      m_hoverColor(GetSysColor(COLOR_HIGHLIGHT)) {}

CHyperLink::~CHyperLink() {
    m_font.DeleteObject();
    if (m_toolTip.GetSafeHwnd() != nullptr)
        m_toolTip.DestroyWindow();
    if (m_linkCursor != nullptr)
        DestroyCursor(m_linkCursor);
}

void CHyperLink::setUrl(LPCWSTR url) {
    m_url = url;
    if (GetSafeHwnd() == nullptr)
        return;
    positionWindow();
    if (m_toolTip.GetSafeHwnd() != nullptr)
        m_toolTip.UpdateTipText(m_url, this, kToolId);
}

void CHyperLink::setVisited(BOOL visited) {
    m_visited = visited;
    if (GetSafeHwnd() != nullptr)
        Invalidate(TRUE);
}

void CHyperLink::PreSubclassWindow() {
    ModifyStyle(0, SS_NOTIFY);
    CString text;
    GetWindowText(text);
    if (m_url.IsEmpty())
        m_url = text;
    if (text.IsEmpty())
        SetWindowText(m_url);

    LOGFONTW font{};
    HFONT current = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (current == nullptr)
        current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    GetObjectW(current, sizeof font, &font);
    font.lfUnderline = static_cast<BYTE>(m_underline);
    m_font.CreateFontIndirect(&font);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);

    positionWindow();
    setDefaultCursor();

    if (m_toolTip.Create(this))
        m_toolTip.AddTool(this, m_url, nullptr, kToolId);
    CStatic::PreSubclassWindow();
}

void CHyperLink::positionWindow() {
    if (GetSafeHwnd() == nullptr || !m_adjustToFit)
        return;
    CRect rect;
    GetWindowRect(&rect);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&rect);
    CString text;
    GetWindowText(text);

    SIZE extent{};
    HDC dc = GetDC(m_hWnd);
    HGDIOBJ previous = SelectObject(dc, m_font.GetSafeHandle());
    GetTextExtentPoint32W(dc, text, text.GetLength(), &extent);
    SelectObject(dc, previous);
    ReleaseDC(m_hWnd, dc);

    const DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE) {
        const int margin = (rect.Height() - extent.cy) / 2;
        rect.top += margin;
        rect.bottom -= margin;
    } else {
        rect.bottom = rect.top + extent.cy;
    }
    if (style & SS_CENTER) {
        const int margin = (rect.Width() - extent.cx) / 2;
        rect.left += margin;
        rect.right -= margin;
    } else if (style & SS_RIGHT) {
        rect.left = rect.right - extent.cx;
    } else {
        rect.right = rect.left + extent.cx;
    }
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
}

void CHyperLink::setDefaultCursor() {
    if (m_linkCursor != nullptr)
        return;
    wchar_t folder[kPathLength] = {};
    const UINT length = GetWindowsDirectoryW(folder, kPathLength);
    if (length == 0 || length >= kPathLength)
        return;
    CString path(folder);
    path += L"\\winhlp32.exe";
    HMODULE module = LoadLibraryW(path);
    if (module == nullptr)
        return;
    if (HCURSOR cursor = LoadCursorW(module, MAKEINTRESOURCEW(kHandCursorId)))
        m_linkCursor = CopyIcon(cursor);
    FreeLibrary(module);
}

HBRUSH CHyperLink::CtlColor(CDC* dc, UINT) {
    if (m_overControl)
        dc->SetTextColor(m_hoverColor);
    else if (m_visited)
        dc->SetTextColor(m_visitedColor);
    else
        dc->SetTextColor(m_linkColor);
    dc->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

BOOL CHyperLink::OnSetCursor(CWnd*, UINT, UINT) {
    if (m_linkCursor == nullptr)
        return FALSE;
    ::SetCursor(m_linkCursor);
    return TRUE;
}

void CHyperLink::redraw() {
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CHyperLink::OnMouseMove(UINT, CPoint point) {
    Default();
    if (m_overControl) {
        CRect client;
        GetClientRect(&client);
        if (!client.PtInRect(point)) {
            m_overControl = FALSE;
            ReleaseCapture();
            redraw();
        }
        return;
    }
    m_overControl = TRUE;
    redraw();
    SetCapture();
}

BOOL CHyperLink::PreTranslateMessage(MSG* msg) {
    if (m_toolTip.GetSafeHwnd() != nullptr)
        m_toolTip.RelayEvent(msg);
    return CStatic::PreTranslateMessage(msg);
}

void CHyperLink::OnClicked() {
    const INT_PTR code = gotoUrl(m_url, SW_SHOW);
    m_visited = code > 32;
    if (m_visited) {
        setVisited(TRUE);
        return;
    }
    MessageBeep(MB_ICONEXCLAMATION);
    reportError(code);
}

INT_PTR CHyperLink::gotoUrl(LPCWSTR url, int showCommand) {
    const INT_PTR shellResult = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, showCommand));
    if (shellResult > 32)
        return shellResult;

    CString handler;
    if (readRegistryDefault(HKEY_CLASSES_ROOT, L".htm", handler) != ERROR_SUCCESS)
        return shellResult;
    CString registered;
    if (readRegistryDefault(HKEY_CLASSES_ROOT, handler + L"\\shell\\open\\command", registered) !=
        ERROR_SUCCESS)
        return shellResult;

    const std::string narrow = svToUtf8(handlerCommandLine(registered, url).GetString());
    return static_cast<INT_PTR>(WinExec(narrow.c_str(), static_cast<UINT>(showCommand)));
}

CString CHyperLink::handlerCommandLine(const CString& registered, LPCWSTR url) {
    CString command = registered;
    int placeholder = command.Find(L"\"%1\"");
    if (placeholder < 0)
        placeholder = command.Find(L"%1");
    if (placeholder >= 0)
        command = command.Left(placeholder);
    command += L" ";
    command += quotedArgument(url);
    return command;
}

CString CHyperLink::errorText(INT_PTR code) {
    CString text(L"Unable to open hyperlink:\n\n");
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.code == code)
            return text + entry.text;
    }
    CString unknown;
    unknown.Format(L"Unknown Error (%d) occurred.", static_cast<int>(code));
    return text + unknown;
}

void CHyperLink::reportError(INT_PTR code) {
    AfxMessageBox(errorText(code), MB_ICONEXCLAMATION);
}
