#include "mfc/dc.h"

#include "mfc/gdi_maps.h"
#include "mfc/handle_map.h"
#include "mfc/wnd.h"

namespace {

template <typename Wrapper>
Wrapper* selectInto(HDC dc, Wrapper* object) {
    if (object == nullptr)
        return nullptr;
    return gdiWrapper<Wrapper>(::SelectObject(dc, object->m_hObject));
}

} // namespace

CDC::~CDC() {
    DeleteDC();
}

CDC* CDC::FromHandle(HDC dc) {
    static auto* const map =
        new HandleMap<HDC, CDC>([](HDC handle) { return GetObjectType(handle) != 0; },
                                [](CDC& wrapper, HDC handle) { wrapper.m_hDC = handle; },
                                [](CDC& wrapper) { wrapper.m_hDC = nullptr; });
    return map->fromHandle(dc);
}

BOOL CDC::Attach(HDC dc) {
    if (m_hDC != nullptr || dc == nullptr)
        return FALSE;
    m_hDC = dc;
    return TRUE;
}

HDC CDC::Detach() {
    const HDC dc = m_hDC;
    m_hDC = nullptr;
    return dc;
}

BOOL CDC::CreateCompatibleDC(CDC* model) {
    return Attach(::CreateCompatibleDC(model != nullptr ? model->m_hDC : nullptr));
}

BOOL CDC::DeleteDC() {
    if (m_hDC == nullptr)
        return FALSE;
    return ::DeleteDC(Detach());
}

CPen* CDC::SelectObject(CPen* pen) {
    return selectInto(m_hDC, pen);
}

CBrush* CDC::SelectObject(CBrush* brush) {
    return selectInto(m_hDC, brush);
}

CFont* CDC::SelectObject(CFont* font) {
    return selectInto(m_hDC, font);
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    return selectInto(m_hDC, bitmap);
}

CGdiObject* CDC::SelectStockObject(int index) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, GetStockObject(index)));
}

int CDC::SaveDC() {
    return ::SaveDC(m_hDC);
}

BOOL CDC::RestoreDC(int saved) {
    return ::RestoreDC(m_hDC, saved);
}

COLORREF CDC::SetTextColor(COLORREF color) {
    return ::SetTextColor(m_hDC, color);
}

COLORREF CDC::GetTextColor() const {
    return ::GetTextColor(m_hDC);
}

COLORREF CDC::SetBkColor(COLORREF color) {
    return ::SetBkColor(m_hDC, color);
}

COLORREF CDC::GetBkColor() const {
    return ::GetBkColor(m_hDC);
}

int CDC::SetBkMode(int mode) {
    return ::SetBkMode(m_hDC, mode);
}

int CDC::GetBkMode() const {
    return ::GetBkMode(m_hDC);
}

CPoint CDC::MoveTo(int x, int y) {
    POINT previous{0, 0};
    MoveToEx(m_hDC, x, y, &previous);
    return previous;
}

BOOL CDC::LineTo(int x, int y) {
    return ::LineTo(m_hDC, x, y);
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom) {
    return ::Rectangle(m_hDC, left, top, right, bottom);
}

BOOL CDC::Rectangle(LPCRECT rect) {
    return Rectangle(rect->left, rect->top, rect->right, rect->bottom);
}

void CDC::FillRect(LPCRECT rect, CBrush* brush) {
    ::FillRect(m_hDC, rect, brush != nullptr ? static_cast<HBRUSH>(*brush) : nullptr);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    const COLORREF previous = ::SetBkColor(m_hDC, color);
    ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

void CDC::FrameRect(LPCRECT rect, CBrush* brush) {
    ::FrameRect(m_hDC, rect, brush != nullptr ? static_cast<HBRUSH>(*brush) : nullptr);
}

void CDC::DrawFocusRect(LPCRECT rect) {
    ::DrawFocusRect(m_hDC, rect);
}

BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags) {
    return ::DrawEdge(m_hDC, rect, edge, flags);
}

BOOL CDC::DrawFrameControl(LPRECT rect, UINT type, UINT state) {
    return ::DrawFrameControl(m_hDC, rect, type, state);
}

COLORREF CDC::GetPixel(int x, int y) const {
    return ::GetPixel(m_hDC, x, y);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    return ::SetPixel(m_hDC, x, y, color);
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                 DWORD rop) {
    return ::BitBlt(m_hDC, x, y, width, height, source != nullptr ? source->m_hDC : nullptr,
                    sourceX, sourceY, rop);
}

BOOL CDC::TransparentBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                         int sourceWidth, int sourceHeight, UINT transparent) {
    return ::TransparentBlt(m_hDC, x, y, width, height, source != nullptr ? source->m_hDC : nullptr,
                            sourceX, sourceY, sourceWidth, sourceHeight, transparent);
}

BOOL CDC::TextOut(int x, int y, const CString& text) {
    return TextOutW(m_hDC, x, y, text, text.GetLength());
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
    return DrawTextW(m_hDC, text, text.GetLength(), rect, format);
}

CSize CDC::GetTextExtent(const CString& text) const {
    SIZE size{0, 0};
    GetTextExtentPoint32W(m_hDC, text, text.GetLength(), &size);
    return size;
}

BOOL CDC::GetTextMetrics(LPTEXTMETRICW metrics) const {
    return GetTextMetricsW(m_hDC, metrics);
}

CClientDC::CClientDC(CWnd* window) : m_hWnd(window != nullptr ? window->m_hWnd : nullptr) {
    Attach(GetDC(m_hWnd));
}

CClientDC::~CClientDC() {
    ReleaseDC(m_hWnd, Detach());
}

CPaintDC::CPaintDC(CWnd* window) : m_ps{}, m_hWnd(window != nullptr ? window->m_hWnd : nullptr) {
    Attach(BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    Detach();
    EndPaint(m_hWnd, &m_ps);
}
