#include "dialogs/CDlgStyle.h"

#include "AcDbObjPtr.h"
#include "SentavellUiApp.h"
#include "db/dictionary.h"
#include "dialogs/AnsiText.h"
#include "dialogs/CDlgBlockModOptions.h"
#include "dialogs/CDlgCheck.h"
#include "resource.h"
#include "rx/class.h"
#include "rx/dictionary.h"
#include "rx/dynlinker.h"

namespace {

struct PredefinedMacro {
    UINT command;
    const wchar_t* macro;
};

constexpr PredefinedMacro kPredefinedMacros[] = {
    {ID_MACRO_THOUSANDTH, L"$(*,%PROPERTY,0.001)"},
    {ID_MACRO_MILLIONTH, L"$(*,%PROPERTY,1e-6)"},
    {ID_MACRO_MM, L"%PROPERTY mm"},
    {ID_MACRO_CM, L"%PROPERTY cm"},
    {ID_MACRO_M, L"%PROPERTY m"},
    {ID_MACRO_MM2, L"%PROPERTY mm2"},
    {ID_MACRO_CM2, L"%PROPERTY cm2"},
    {ID_MACRO_M2, L"%PROPERTY m2"},
    {ID_MACRO_SQUARE_FEET, L"$(rtos,$(/,%NPROPERTY,144),2)"},
};

AcRxDictionary* classDictionary() {
    return AcRxDictionary::cast(acrxSysRegistry()->at(L"ClassDictionary"));
}

AcRxClass* registeredClass(const wchar_t* name) {
    AcRxDictionary* classes = classDictionary();
    return classes != nullptr ? AcRxClass::cast(classes->at(name)) : nullptr;
}

// Readers name themselves in the thread's code page, modifiers in wide text.
CString displayNameOf(const AcPropertyReader& reader) {
    return widenAnsi(reader.displayName());
}

CString displayNameOf(const AcContentModifier& modifier) {
    return modifier.displayName();
}

void selectByName(CComboBox& list, const CString& name) {
    const int found = list.FindStringExact(-1, name);
    if (found != CB_ERR)
        list.SetCurSel(found);
}

} // namespace

BEGIN_MESSAGE_MAP(CDlgStyle, CAcUiDialog)
ON_BN_CLICKED(IDC_MODIFIER_OPTIONS, &CDlgStyle::OnModifierOptions)
ON_CBN_SELCHANGE(IDC_STYLE_MODIFIER, &CDlgStyle::OnSelChangeModifier)
ON_CBN_SELCHANGE(IDC_STYLE_READER, &CDlgStyle::OnSelChangeReader)
ON_BN_CLICKED(IDHELP, &CDlgStyle::OnHelp)
ON_WM_HELPINFO()
ON_BN_CLICKED(IDC_MACRO_MENU, &CDlgStyle::OnMacroMenu)
END_MESSAGE_MAP()

CDlgStyle::CDlgStyle(CWnd* parent) : CAcUiDialog(IDD_STYLE_EDITOR, parent) {
    SetRootKey(acrxProductKey());
    SetDialogName(L"Sentavell:DlgStyle");
}

CDlgStyle::~CDlgStyle() {
    delete m_pStyle;
}

void CDlgStyle::DoDataExchange(CDataExchange* dx) {
    CAcUiDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_MODIFIER_OPTIONS, m_optionsButton);
    DDX_Control(dx, IDHELP, m_helpButton);
    DDX_Control(dx, IDC_MACRO_MENU, m_macroMenuButton);
    DDX_Control(dx, IDC_STYLE_READER, m_readerList);
    DDX_Control(dx, IDC_STYLE_MODIFIER, m_modifierList);
}

BOOL CDlgStyle::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    m_optionsButton.AutoLoad();
    m_helpButton.AutoLoad();
    FillModifierList();
    FillReaderList();
    delete m_pStyle; // a dialog run again starts from scratch
    m_pStyle = new AcPropertyLinkStyle;

    if (m_styleId.isValid()) {
        LoadStoredStyle();
        return TRUE;
    }
    m_modifierList.SetCurSel(0);
    m_readerList.SetCurSel(0);
    OnSelChangeModifier();
    OnSelChangeReader();
    GotoDlgCtrl(GetDlgItem(IDC_STYLE_NAME));
    return FALSE;
}

// The lists show the stored reader and modifier without passing through the selection
// handlers: the working copy keeps the stored ones, options included.
void CDlgStyle::LoadStoredStyle() {
    AcPropertyLinkStyle* stored = nullptr;
    if (acdbOpenObject(stored, m_styleId, AcDb::kForRead) == Acad::eOk)
        m_pStyle->copyFrom(stored);

    GetDlgItem(IDC_STYLE_NAME)->EnableWindow(FALSE);
    SetDlgItemText(IDC_STYLE_NAME, svStyleName(m_styleId));
    SetDlgItemText(IDC_STYLE_DESCRIPTION, m_pStyle->description());
    SetDlgItemText(IDC_MACRO, m_pStyle->postProcessingMacro());
    if (const AcContentModifier* modifier = m_pStyle->contentModifier())
        selectByName(m_modifierList, displayNameOf(*modifier));
    if (const AcPropertyReader* reader = m_pStyle->propertyReader())
        selectByName(m_readerList, displayNameOf(*reader));

    if (stored != nullptr)
        stored->close();
}

void CDlgStyle::FillModifierList() {
    FillClassList<AcContentModifier>(m_modifierList);
}

void CDlgStyle::FillReaderList() {
    FillClassList<AcPropertyReader>(m_readerList);
}

template <class Kind>
void CDlgStyle::FillClassList(CComboBox& list) {
    list.ResetContent();
    AcRxDictionary* classes = classDictionary();
    if (classes == nullptr)
        return;
    AcRxDictionaryIterator* entries = classes->newIterator(AcRx::kDictSorted);
    for (; !entries->done(); entries->next()) {
        const CString key = entries->key();
        const AcRxClass* rxClass = AcRxClass::cast(classes->at(key));
        // The base class is abstract in spirit whatever its pseudo-constructor says.
        if (rxClass == nullptr || !rxClass->isDerivedFrom(Kind::desc()) ||
            key.CompareNoCase(Kind::desc()->name()) == 0)
            continue;
        AcRxObject* created = rxClass->create();
        Kind* instance = Kind::cast(created);
        if (instance == nullptr) {
            delete created;
            continue;
        }
        const int item = list.AddString(displayNameOf(*instance));
        if (item >= 0)
            list.SetItemData(item, static_cast<DWORD_PTR>(m_classNames.Add(key)));
        delete instance;
    }
    delete entries;
}

template <class Kind>
Kind* CDlgStyle::CreateChosen(const CComboBox& list, const Kind* current) const {
    const int selected = list.GetCurSel();
    if (selected == CB_ERR)
        return nullptr;
    const auto index = static_cast<INT_PTR>(list.GetItemData(selected));
    if (index < 0 || index >= m_classNames.GetSize())
        return nullptr;
    const AcRxClass* chosen = registeredClass(m_classNames.GetAt(index));
    if (chosen == nullptr)
        return nullptr;
    if (current != nullptr && CString(current->isA()->name()).CompareNoCase(chosen->name()) == 0)
        return nullptr;
    AcRxObject* created = chosen->create();
    Kind* instance = Kind::cast(created);
    if (instance == nullptr)
        delete created;
    return instance;
}

void CDlgStyle::OnSelChangeModifier() {
    AcContentModifier* modifier =
        CreateChosen(m_modifierList, m_pStyle != nullptr ? m_pStyle->contentModifier() : nullptr);
    if (modifier == nullptr)
        return;
    if (m_pStyle == nullptr) {
        delete modifier;
        return;
    }
    m_optionsButton.EnableWindow(modifier->hasOptions());
    m_pStyle->setContentModifier(modifier);
}

void CDlgStyle::OnSelChangeReader() {
    AcPropertyReader* reader =
        CreateChosen(m_readerList, m_pStyle != nullptr ? m_pStyle->propertyReader() : nullptr);
    if (reader == nullptr)
        return;
    if (m_pStyle == nullptr) {
        delete reader;
        return;
    }
    m_pStyle->setPropertyReader(reader);
}

void CDlgStyle::OnModifierOptions() {
    AcBlockModifier* block =
        m_pStyle != nullptr ? AcBlockModifier::cast(m_pStyle->contentModifier()) : nullptr;
    if (block == nullptr)
        return;
    CModuleResourceScope resources;
    CDlgBlockModOptions options(this);
    options.setAttributeTag(block->attribName());
    if (options.DoModal() == IDOK)
        block->setAttribName(options.attributeTag());
}

void CDlgStyle::OnMacroMenu() {
    const UINT command = m_macroMenuButton.ShowMenu(IDR_MACRO_MENU);
    if (command == ID_MACRO_CHECK) {
        OnCheckMacro();
        return;
    }
    for (const PredefinedMacro& predefined : kPredefinedMacros) {
        if (predefined.command == command) {
            SetDlgItemText(IDC_MACRO, predefined.macro);
            return;
        }
    }
}

void CDlgStyle::OnCheckMacro() {
    CString macro;
    GetDlgItemText(IDC_MACRO, macro);
    CDlgCheck check(this);
    check.setMacro(macro);
    if (check.DoModal() == IDOK)
        SetDlgItemText(IDC_MACRO, check.macro());
}

void CDlgStyle::OnOK() {
    CString description;
    GetDlgItemText(IDC_STYLE_DESCRIPTION, description);
    m_pStyle->setDescription(description);

    CString name; // taken as typed: what the styles dictionary accepts decides
    GetDlgItemText(IDC_STYLE_NAME, name);
    if (name.IsEmpty()) {
        MessageBox(svResString()(IDS_NAME_MISSING_TEXT), svResString()(IDS_NAME_MISSING_CAPTION),
                   MB_ICONINFORMATION);
        GotoDlgCtrl(GetDlgItem(IDC_STYLE_NAME));
        return;
    }
    const AcContentModifier* modifier = m_pStyle->contentModifier();
    if (modifier != nullptr && !modifier->hasOptionsCorrect()) {
        MessageBox(svResString()(IDS_OPTIONS_INCOMPLETE_TEXT),
                   svResString()(IDS_OPTIONS_INCOMPLETE_CAPTION), MB_ICONINFORMATION);
        GotoDlgCtrl(&m_modifierList);
        return;
    }
    CString macro; // an empty field keeps the macro the style had
    GetDlgItemText(IDC_MACRO, macro);
    if (!macro.IsEmpty())
        m_pStyle->setPostProcessingMacro(macro);

    if (StoreStyle(name))
        CAcUiDialog::OnOK();
}

// False when the dialog must stay open; the working copy is then still the dialog's.
bool CDlgStyle::StoreStyle(const CString& name) {
    AcDbObjPtr<AcDbDictionary> styles;
    styles.acquire(svWorkingStylesDictionary(AcDb::kForWrite));
    AcPropertyLinkStyle* stored = nullptr;
    if (!styles ||
        (!m_styleId.isNull() && acdbOpenObject(stored, m_styleId, AcDb::kForWrite) != Acad::eOk)) {
        MessageBox(svResString()(IDS_STYLE_NOT_STORED_TEXT),
                   svResString()(IDS_STYLE_NOT_STORED_CAPTION), MB_ICONERROR);
        return false;
    }
    if (stored != nullptr) {
        stored->copyFrom(m_pStyle);
        stored->close();
        delete m_pStyle;
        m_pStyle = nullptr;
        return true;
    }
    // A refused name leaves the dialog open without a message, to be changed and tried again.
    AcDbObjectId added;
    if (styles->setAt(name, m_pStyle, added) != Acad::eOk)
        return false;
    m_styleId = added;
    m_pStyle->close();
    m_pStyle = nullptr;
    return true;
}

void CDlgStyle::OnHelp() {
    CSentavellUiApp::Get()->ShowHelp(IDH_STYLE_EDITOR);
}

BOOL CDlgStyle::OnHelpInfo(HELPINFO*) {
    OnHelp();
    return TRUE;
}
