#include "mfc/gdiobj.h"

#include "gdi/syscolors.h"
#include "mfc/gdi_maps.h"

CGdiObject::~CGdiObject() {
    DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) {
    return gdiWrapper<CGdiObject>(object);
}

BOOL CGdiObject::Attach(HGDIOBJ object) {
    if (m_hObject != nullptr || object == nullptr)
        return FALSE;
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    const HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr || !::DeleteObject(m_hObject))
        return FALSE;
    m_hObject = nullptr;
    return TRUE;
}

int CGdiObject::GetObject(int size, LPVOID buffer) const {
    return GetObjectW(m_hObject, size, buffer);
}

CPen* CPen::FromHandle(HPEN pen) {
    return gdiWrapper<CPen>(pen);
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
    return Attach(::CreatePen(style, width, color));
}

int CPen::GetLogPen(LOGPEN* pen) const {
    return GetObject(sizeof(LOGPEN), pen);
}

CBrush* CBrush::FromHandle(HBRUSH brush) {
    return gdiWrapper<CBrush>(brush);
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    return Attach(::CreateSolidBrush(color));
}

BOOL CBrush::CreateSysColorBrush(int index) {
    return Attach(GetSysColorBrush(index));
}

CFont* CFont::FromHandle(HFONT font) {
    return gdiWrapper<CFont>(font);
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* font) {
    return Attach(CreateFontIndirectW(font));
}

int CFont::GetLogFont(LOGFONTW* font) const {
    return GetObject(sizeof(LOGFONTW), font);
}

CBitmap* CBitmap::FromHandle(HBITMAP bitmap) {
    return gdiWrapper<CBitmap>(bitmap);
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel,
                           const void* bits) {
    return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

int CBitmap::GetBitmap(BITMAP* bitmap) const {
    return GetObject(sizeof(BITMAP), bitmap);
}

CSize CBitmap::GetSize() const {
    BITMAP info{};
    if (GetBitmap(&info) == 0)
        return CSize();
    return CSize(info.bmWidth, info.bmHeight);
}
