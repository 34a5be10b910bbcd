#include "dialogs/CDlgStyleMgr.h"

#include <memory>

#include "AcDbObjPtr.h"
#include "AcPropertyLinkStyle.h"
#include "SentavellUiApp.h"
#include "db/database.h"
#include "db/dictionary.h"
#include "dialogs/AnsiText.h"
#include "dialogs/CDlgStyle.h"
#include "mfc/afx.h"
#include "mfc/menu.h"
#include "resource.h"
#include "rx/dynlinker.h"
#include "user/input.h"

namespace {

constexpr char kDialogName[] = "Sentavell:DlgStyleMgr";
// Shown until a row is filled, and kept by a row whose entry is not a readable style.
constexpr wchar_t kPlaceholder[] = L"NAME";
constexpr COLORREF kStyleInUse = RGB(255, 0, 0);

} // namespace

BEGIN_MESSAGE_MAP(CDlgStyleMgr, CAcUiDialog)
ON_COMMAND(ID_STYLE_NEW, &CDlgStyleMgr::OnNewStyle)
ON_COMMAND(ID_STYLE_EDIT, &CDlgStyleMgr::OnEditStyle)
ON_COMMAND(ID_STYLE_DELETE, &CDlgStyleMgr::OnDeleteStyle)
ON_NOTIFY(NM_RCLICK, IDC_STYLE_LIST, &CDlgStyleMgr::OnRClickList)
ON_NOTIFY(NM_DBLCLK, IDC_STYLE_LIST, &CDlgStyleMgr::OnDblClkList)
ON_NOTIFY(NM_CUSTOMDRAW, IDC_STYLE_LIST, &CDlgStyleMgr::OnCustomDrawList)
ON_BN_CLICKED(IDHELP, &CDlgStyleMgr::OnHelp)
ON_WM_HELPINFO()
END_MESSAGE_MAP()

CDlgStyleMgr::CDlgStyleMgr(CWnd* parent) : CAcUiDialog(IDD_STYLE_MANAGER, parent) {
    SetRootKey(acrxProductKey());
    SetDialogName(widenAnsi(kDialogName));
}

void CDlgStyleMgr::DoDataExchange(CDataExchange* dx) {
    CAcUiDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_STYLE_LIST, m_list);
    DDX_Control(dx, IDHELP, m_helpButton);
}

BOOL CDlgStyleMgr::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    m_helpButton.AutoLoad();
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    m_list.InsertColumn(0, svResString()(IDS_COLUMN_NAME), LVCFMT_LEFT);
    m_list.InsertColumn(1, svResString()(IDS_COLUMN_DESCRIPTION), LVCFMT_LEFT);
    FillList();
    m_list.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
    m_list.SetColumnWidth(1, LVSCW_AUTOSIZE_USEHEADER);
    FindUnreferencedStyles();
    if (m_list.GetItemCount() == 0)
        return TRUE;
    SelectRow(0);
    return FALSE;
}

void CDlgStyleMgr::FillList() {
    m_list.DeleteAllItems();
    AcDbObjPtr<AcDbDictionary> styles;
    styles.acquire(svWorkingStylesDictionary(AcDb::kForRead));
    if (!styles)
        return;
    std::unique_ptr<AcDbDictionaryIterator> entries(styles->newIterator());
    for (; entries != nullptr && !entries->done(); entries->next())
        SetStyleItem(AppendPlaceholderRow(), entries->objectId());
}

int CDlgStyleMgr::AppendPlaceholderRow() {
    return m_list.InsertItem(m_list.GetItemCount(), kPlaceholder);
}

bool CDlgStyleMgr::SetStyleItem(int row, AcDbObjectId id) {
    AcDbObjPtr<AcPropertyLinkStyle> style(id, AcDb::kForRead);
    if (!style)
        return false;
    m_list.SetItemText(row, 0, svStyleName(id));
    m_list.SetItemText(row, 1, style->description());
    m_list.SetItemData(row, static_cast<DWORD_PTR>(id.asOldId()));
    return true;
}

AcDbObjectId CDlgStyleMgr::RowStyleId(int row) const {
    AcDbObjectId id;
    if (row >= 0)
        id.setFromOldId(static_cast<Adesk::IntDbId>(m_list.GetItemData(row)));
    return id;
}

void CDlgStyleMgr::FindUnreferencedStyles() {
    m_unreferencedStyles.removeAll();
    AcDbObjectIdArray listed;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const AcDbObjectId id = RowStyleId(row);
        if (id.isValid())
            listed.append(id);
    }
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (listed.isEmpty() || db == nullptr)
        return;
    std::unique_ptr<Adesk::UInt32[]> counts(new Adesk::UInt32[listed.length()]());
    if (db->countHardReferences(listed, counts.get()) != Acad::eOk)
        return;
    for (int i = 0; i < listed.length(); ++i) {
        if (counts[i] == 0)
            m_unreferencedStyles.append(listed[i]);
    }
}

bool CDlgStyleMgr::IsUnreferenced(AcDbObjectId id) const {
    return id.isValid() && m_unreferencedStyles.contains(id);
}

void CDlgStyleMgr::SelectRow(int row) {
    m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    GotoDlgCtrl(&m_list);
}

int CDlgStyleMgr::SelectedRow() const {
    return m_list.GetNextItem(-1, LVNI_SELECTED);
}

void CDlgStyleMgr::OnCustomDrawList(NMHDR* header, LRESULT* result) {
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    *result = CDRF_DODEFAULT;
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
    case CDDS_ITEMPREPAINT:
        *result = CDRF_NOTIFYSUBITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        draw->clrText = IsUnreferenced(RowStyleId(static_cast<int>(draw->nmcd.dwItemSpec)))
                            ? GetSysColor(COLOR_WINDOWTEXT)
                            : kStyleInUse;
        break;
    default:
        break;
    }
}

void CDlgStyleMgr::OnRClickList(NMHDR*, LRESULT* result) {
    *result = 0;
    CMenu menu; // destroyed on every way out
    if (!menu.LoadMenu(IDR_STYLE_LIST_MENU))
        return;
    CMenu* popup = menu.GetSubMenu(0);
    if (popup == nullptr)
        return;
    const int row = SelectedRow();
    if (row < 0) {
        popup->EnableMenuItem(ID_STYLE_EDIT, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
        popup->EnableMenuItem(ID_STYLE_DELETE, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
    } else if (!IsUnreferenced(RowStyleId(row))) {
        popup->EnableMenuItem(ID_STYLE_DELETE, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
    }
    POINT at{};
    GetCursorPos(&at);
    popup->TrackPopupMenu(0, at.x, at.y, this);
}

void CDlgStyleMgr::OnDblClkList(NMHDR*, LRESULT* result) {
    *result = 0;
    OnEditStyle();
}

void CDlgStyleMgr::OnNewStyle() {
    CModuleResourceScope resources;
    CDlgStyle editor(this);
    if (editor.DoModal() != IDOK)
        return;
    const AcDbObjectId id = editor.styleId();
    if (!id.isValid())
        MessageBox(svResString()(IDS_NO_STYLE_ID_TEXT), svResString()(IDS_NO_STYLE_ID_CAPTION),
                   MB_ICONERROR);
    const int row = AppendPlaceholderRow();
    SetStyleItem(row, id);
    FindUnreferencedStyles();
    SelectRow(row);
}

void CDlgStyleMgr::OnEditStyle() {
    CModuleResourceScope resources;
    const int row = SelectedRow();
    const AcDbObjectId id = RowStyleId(row);
    if (!id.isValid())
        return;
    CDlgStyle editor(this);
    editor.setStyleId(id);
    if (editor.DoModal() == IDOK)
        SetStyleItem(row, id);
}

void CDlgStyleMgr::OnDeleteStyle() {
    const int row = SelectedRow();
    const AcDbObjectId id = RowStyleId(row);
    if (!id.isValid())
        return;
    CString question;
    question.Format(svResString()(IDS_DELETE_STYLE_TEXT), svStyleName(id).GetString());
    if (MessageBox(question, svResString()(IDS_DELETE_STYLE_CAPTION),
                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    AcDbObjPtr<AcDbDictionary> styles;
    styles.acquire(svWorkingStylesDictionary(AcDb::kForWrite));
    if (!styles)
        return;
    // Opened before its entry goes, so that a style that cannot be erased keeps its entry and
    // is not left unreachable in the drawing.
    AcPropertyLinkStyle* style = nullptr;
    if (acdbOpenObject(style, id, AcDb::kForWrite, true) != Acad::eOk)
        return;
    if (styles->remove(id) == Acad::eOk) {
        style->erase(true);
        m_list.DeleteItem(row);
    }
    style->close();
}

void CDlgStyleMgr::OnOK() {
    if (!m_bSelectStyle) {
        CAcUiDialog::OnOK();
        return;
    }
    const int row = SelectedRow();
    if (row < 0) {
        MessageBox(svResString()(IDS_SELECT_ROW_TEXT), svResString()(IDS_SELECT_ROW_CAPTION),
                   MB_ICONINFORMATION);
        return;
    }
    m_selectedStyleId = RowStyleId(row);
    if (m_selectedStyleId.isValid()) {
        CAcUiDialog::OnOK();
        return;
    }
    MessageBox(svResString()(IDS_ROW_WITHOUT_STYLE_TEXT),
               svResString()(IDS_ROW_WITHOUT_STYLE_CAPTION), MB_ICONERROR);
}

void CDlgStyleMgr::OnHelp() {
    CSentavellUiApp::Get()->ShowHelp(IDH_STYLE_MANAGER);
}

BOOL CDlgStyleMgr::OnHelpInfo(HELPINFO*) {
    OnHelp();
    return TRUE;
}
