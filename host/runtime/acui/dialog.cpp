#include "acui/dialog.h"

#include "acui/placement.h"
#include "rx/dynlinker.h"
#include "user/metrics.h"

CAdUiBaseDialog::CAdUiBaseDialog(UINT templateId, CWnd* parent, HINSTANCE resource)
    : CDialog(templateId, parent), m_hResource(resource) {}

HINSTANCE CAdUiBaseDialog::TemplateInstance() const {
    return m_hResource != nullptr ? m_hResource : CDialog::TemplateInstance();
}

BOOL CAdUiBaseDialog::OnInitDialog() {
    return CDialog::OnInitDialog();
}

BOOL CAdUiBaseDialog::ValidateData() {
    return UpdateData(TRUE);
}

BEGIN_MESSAGE_MAP(CAdUiDialog, CAdUiBaseDialog)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CAdUiDialog::CAdUiDialog(UINT templateId, CWnd* parent, HINSTANCE resource)
    : CAdUiBaseDialog(templateId, parent, resource) {}

void CAdUiDialog::SetDialogName(LPCWSTR name) {
    m_dialogName = name;
}

void CAdUiDialog::SetRootKey(LPCWSTR key) {
    m_rootKey = key;
}

namespace {

CString keyOf(const CString& root, const CString& name) {
    return placementKey(root.IsEmpty() ? CString(acrxProductKey()) : root, name);
}

} // namespace

BOOL CAdUiDialog::OnInitDialog() {
    const BOOL result = CAdUiBaseDialog::OnInitDialog();
    if (m_hWnd == nullptr || m_dialogName.IsEmpty())
        return result;
    const auto saved = loadPlacement(keyOf(m_rootKey, m_dialogName));
    if (!saved)
        return result;
    CRect rect;
    GetWindowRect(rect);
    const RECT placed = placeOnScreen(
        *saved, rect.Size(), SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
        (GetStyle() & WS_THICKFRAME) != 0);
    SetWindowPos(nullptr, placed.left, placed.top, placed.right - placed.left,
                 placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return result;
}

void CAdUiDialog::OnDestroy() {
    if (!m_dialogName.IsEmpty()) {
        CRect rect;
        GetWindowRect(rect);
        savePlacement(keyOf(m_rootKey, m_dialogName),
                      DialogPlacement{rect.left, rect.top, rect.Width(), rect.Height()});
    }
    CAdUiBaseDialog::OnDestroy();
}

CAcUiDialog::CAcUiDialog(UINT templateId, CWnd* parent, HINSTANCE resource)
    : CAdUiDialog(templateId, parent, resource) {}
