#include "CDlgAttLookup.h"

#include "SentavellUiApp.h"
#include "db/acutbuffer.h"
#include "db/attribute.h"
#include "db/database.h"
#include "db/symboltable.h"
#include "resource.h"
#include "rx/dynlinker.h"

namespace {

constexpr int kBlockImage = 0;
constexpr int kAttributeImage = 1;
constexpr int kImageWidth = 14;
constexpr COLORREF kImageMask = RGB(0, 255, 0);

} // namespace

BEGIN_MESSAGE_MAP(CDlgAttLookup, CAcUiDialog)
ON_BN_CLICKED(IDHELP, &CDlgAttLookup::OnHelp)
ON_WM_HELPINFO()
END_MESSAGE_MAP()

CDlgAttLookup::CDlgAttLookup(CWnd* parent) : CAcUiDialog(IDD_ATTRIBUTE_LOOKUP, parent) {
    SetRootKey(acrxProductKey());
    SetDialogName(L"Sentavell:DlgAttLookup");
}

void CDlgAttLookup::DoDataExchange(CDataExchange* dx) {
    CAcUiDialog::DoDataExchange(dx);
    DDX_Control(dx, IDHELP, m_helpButton);
    DDX_Control(dx, IDC_ATTRIBUTE_TREE, m_tree);
}

BOOL CDlgAttLookup::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    m_helpButton.AutoLoad();
    if (m_imageList.Create(IDB_ATTRIBUTE_TREE, kImageWidth, 0, kImageMask))
        m_tree.SetImageList(&m_imageList, TVSIL_NORMAL);
    FillTree();
    return TRUE;
}

void CDlgAttLookup::FillTree() {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    AcDbBlockTable* table = nullptr;
    if (db == nullptr || db->getSymbolTable(table, AcDb::kForRead) != Acad::eOk)
        return;
    AcDbBlockTableIterator* blocks = nullptr;
    if (table->newIterator(blocks, true, true) == Acad::eOk) {
        for (blocks->start(true, true); !blocks->done(); blocks->step(true, true)) {
            AcDbBlockTableRecord* record = nullptr;
            if (blocks->getRecord(record, AcDb::kForRead, false) != Acad::eOk)
                continue;
            const wchar_t* name = nullptr;
            AcDbBlockTableRecordIterator* entities = nullptr;
            if (record->getName(name) == Acad::eOk &&
                record->newIterator(entities, true, true) == Acad::eOk) {
                HTREEITEM blockItem = nullptr;
                for (entities->start(true, true); !entities->done(); entities->step(true, true)) {
                    AcDbObjectId id;
                    AcDbObject* object = nullptr;
                    if (entities->getEntityId(id) != Acad::eOk ||
                        acdbOpenAcDbObject(object, id, AcDb::kForRead, false,
                                           AcDbAttributeDefinition::desc()) != Acad::eOk)
                        continue;
                    auto* definition = static_cast<AcDbAttributeDefinition*>(object);
                    wchar_t* tag = definition->tag();
                    if (blockItem == nullptr)
                        blockItem =
                            m_tree.InsertItem(name, kBlockImage, kBlockImage, TVI_ROOT, TVI_SORT);
                    m_tree.InsertItem(tag, kAttributeImage, kAttributeImage, blockItem, TVI_SORT);
                    acutDelBuffer(tag);
                    definition->close();
                }
                if (blockItem != nullptr)
                    m_tree.Expand(blockItem, TVE_EXPAND);
                delete entities;
            }
            record->close();
        }
        delete blocks;
    }
    table->close();
}

void CDlgAttLookup::OnOK() {
    HTREEITEM selected = m_tree.GetNextItem(nullptr, TVGN_CARET);
    int image = -1;
    int selectedImage = -1;
    if (selected != nullptr && m_tree.GetItemImage(selected, image, selectedImage) &&
        image == kAttributeImage) {
        m_selectedTag = m_tree.GetItemText(selected);
        CAcUiDialog::OnOK();
        return;
    }
    MessageBox(svResString()(IDS_PICK_ATTRIBUTE_TEXT), svResString()(IDS_PICK_ATTRIBUTE_CAPTION),
               MB_ICONINFORMATION);
}

void CDlgAttLookup::OnHelp() {
    CSentavellUiApp::Get()->ShowHelp(IDH_ATTRIBUTE_LOOKUP);
}

BOOL CDlgAttLookup::OnHelpInfo(HELPINFO*) {
    OnHelp();
    return TRUE;
}
