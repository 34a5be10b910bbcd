// "sv_linkcreate": the source, then the label, of one new link in the document's current style.
#include "LinkCreate.h"

#include "AcDbObjPtr.h"
#include "AcPropertyLink.h"
#include "AcPropertyLinkStyle.h"
#include "SentavellEditorReactor.h"
#include "SentavellUiApp.h"
#include "acad/adscodes.h"
#include "crt/crt.h"
#include "db/database.h"
#include "db/dictionary.h"
#include "db/viewport.h"
#include "dialogs/CDlgStyleMgr.h"
#include "ed/frame.h"
#include "ed/getinput.h"
#include "ed/selection.h"
#include "ed/spaces.h"
#include "mfc/wnd.h"
#include "resource.h"
#include "rx/print.h"
#include "user/msgbox.h"
#include "win/modules.h"

namespace {

using SpaceSwitch = Acad::ErrorStatus (*)(AcDbDatabase*);

constexpr char kMspaceExport[] = "?acedMspace@@YA?AW4ErrorStatus@Acad@@PAVAcDbDatabase@@@Z";
constexpr char kPspaceExport[] = "?acedPspace@@YA?AW4ErrorStatus@Acad@@PAVAcDbDatabase@@@Z";

void print(UINT id) {
    acutPrintf(L"%s", svResString()(id).GetString());
}

bool layoutActive() {
    return svShortVar(L"tilemode") == 0;
}

bool isKeyword(const wchar_t* input, const wchar_t* keyword) {
    return _wcsicmp(input, keyword) == 0;
}

// Looked up in the host program when needed: a host without them simply stays where it is.
void switchSpace(const char* exportName) {
    auto function =
        reinterpret_cast<SpaceSwitch>(GetProcAddress(GetModuleHandleW(nullptr), exportName));
    if (function != nullptr)
        function(acdbHostApplicationServices()->workingDatabase());
}

void switchToModelSpace() {
    switchSpace(kMspaceExport);
}

void switchToPaperSpace() {
    switchSpace(kPspaceExport);
}

// The picked viewport, open in mode, for the caller to close; null when nothing usable was
// picked.
AcDbViewport* selectViewport(const wchar_t* prompt, AcDb::OpenMode mode) {
    ads_name picked = {0, 0};
    ads_point point = {0, 0, 0};
    for (;;) {
        AcDbObjectId id;
        if (acedEntSel(prompt, picked, point) != RTNORM || acdbGetObjectId(id, picked) != Acad::eOk)
            return nullptr;
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, mode) != Acad::eOk) {
            acutPrintf(
                svResString()(IDS_CANNOT_OPEN_PICKED),
                svResString()(mode == AcDb::kForRead ? IDS_OPEN_FOR_READ : IDS_OPEN_FOR_WRITE)
                    .GetString());
            return nullptr;
        }
        if (AcDbViewport* viewport = AcDbViewport::cast(entity))
            return viewport;
        entity->close();
        print(IDS_NOT_A_VIEWPORT);
    }
}

// False when no viewport was picked: the command then ends.
bool enterModelSpace() {
    AcDbViewport* viewport = selectViewport(svResString()(IDS_VIEWPORT_PROMPT), AcDb::kForRead);
    if (viewport == nullptr)
        return false;
    switchToModelSpace();
    acedSetCurrentVPort(viewport);
    viewport->close();
    return true;
}

void makeCurrent(AcDbObjectId styleId) {
    svCurDocStyle().current() = styleId;
}

// The style manager in selection mode, for a style to work with; null when the user gave none.
// Confirmed with OK, what the user did in it must outlive a command that makes no link.
AcDbObjectId chooseStyle(bool& stylesConfirmed) {
    CDlgStyleMgr manager(acedGetAcadFrame());
    if (manager.DoModal() != IDOK)
        return AcDbObjectId();
    stylesConfirmed = true;
    return manager.selectedStyleId();
}

} // namespace

bool svEnsureCurrentStyle(AcDbObjectId& styleId, bool& stylesConfirmed) {
    styleId = svCurDocStyle().current();
    if (AcDbObjPtr<AcPropertyLinkStyle>(styleId, AcDb::kForRead))
        return true;

    AcDbObjPtr<AcDbDictionary> styles;
    styles.acquire(svWorkingStylesDictionary(AcDb::kForRead));
    if (!styles)
        return false;
    AcDbDictionaryIterator* entries = styles->newIterator();
    if (entries == nullptr)
        return false;
    int count = 0;
    for (; !entries->done(); entries->next()) {
        if (count++ == 0)
            styleId = entries->objectId();
    }
    delete entries;
    styles.release();
    if (count > 0) {
        makeCurrent(styleId);
        return true;
    }

    CModuleResourceScope resources;
    CWnd* frame = acedGetAcadFrame();
    if (MessageBoxW(frame != nullptr ? frame->GetSafeHwnd() : nullptr,
                    svResString()(IDS_NO_STYLES_TEXT), svResString()(IDS_NO_STYLES_CAPTION),
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    styleId = chooseStyle(stylesConfirmed);
    if (styleId.isNull())
        return false;
    makeCurrent(styleId);
    return true;
}

namespace {

enum class Answer { Taken, Again, End };

// One round of the source prompt. On Taken, sourceId is the picked entity and style is open.
Answer askSource(AcDbObjectId& styleId, CString& styleName, AcDbObjectId& sourceId,
                 AcDbObjPtr<AcPropertyLinkStyle>& style, bool& stylesConfirmed) {
    acutPrintf(svResString()(IDS_CURRENT_STYLE), styleName.GetString());
    acedInitGet(RSG_NONULL, svResString()(IDS_SOURCE_KEYWORDS));
    ads_name picked = {0, 0};
    ads_point point = {0, 0, 0};
    const int result =
        acedEntSel(svResString()(layoutActive() ? IDS_SOURCE_PROMPT_LAYOUT : IDS_SOURCE_PROMPT),
                   picked, point);
    if (result == RTNORM) {
        if (acdbGetObjectId(sourceId, picked) != Acad::eOk ||
            style.open(styleId, AcDb::kForRead) != Acad::eOk)
            return Answer::End;
        return Answer::Taken;
    }
    if (result != RTKWORD)
        return Answer::End;
    wchar_t keyword[SV_MAX_INPUT] = {};
    if (acedGetInput(keyword) != RTNORM)
        return Answer::End;
    if (isKeyword(keyword, L"Style")) {
        const AcDbObjectId chosen = chooseStyle(stylesConfirmed);
        if (chosen.isNull())
            return Answer::End;
        styleId = chosen;
        styleName = svStyleName(styleId);
        makeCurrent(styleId);
    } else if (isKeyword(keyword, L"Model")) {
        if (!enterModelSpace())
            return Answer::End;
    } else if (isKeyword(keyword, L"Paper")) {
        switchToPaperSpace();
    } else if (isKeyword(keyword, L"eXit")) {
        return Answer::End;
    }
    return Answer::Again;
}

// One round of the label prompt. On Taken, labelId is the label, null for a self-link.
Answer askLabel(const AcPropertyLinkStyle& style, AcDbObjectId sourceId, AcDbObjectId& labelId) {
    acedInitGet(RSG_NONULL, svResString()(IDS_LABEL_KEYWORDS));
    ads_name picked = {0, 0};
    ads_point point = {0, 0, 0};
    const int result = acedEntSel(
        svResString()(layoutActive() ? IDS_LABEL_PROMPT_LAYOUT : IDS_LABEL_PROMPT), picked, point);
    if (result == RTKWORD) {
        wchar_t keyword[SV_MAX_INPUT] = {};
        if (acedGetInput(keyword) != RTNORM)
            return Answer::End;
        if (isKeyword(keyword, L"Model"))
            return enterModelSpace() ? Answer::Again : Answer::End;
        if (isKeyword(keyword, L"Paper"))
            switchToPaperSpace();
        else if (isKeyword(keyword, L"Self")) {
            labelId = AcDbObjectId::kNull;
            return Answer::Taken;
        }
        return Answer::Again;
    }
    if (result != RTNORM)
        return Answer::End;
    if (acdbGetObjectId(labelId, picked) != Acad::eOk)
        return Answer::Again;
    AcDbObjPtr<AcDbEntity> label(labelId, AcDb::kForRead);
    if (!label)
        return Answer::Again;
    const AcContentModifier* modifier = style.contentModifier();
    AcRxClass* kind = modifier != nullptr ? modifier->supportedEntityKind() : nullptr;
    if (kind != nullptr && !label->isKindOf(kind)) {
        acutPrintf(svResString()(IDS_WRONG_LABEL_KIND),
                   kind->dxfName() != nullptr ? kind->dxfName() : kind->name());
        return Answer::Again;
    }
    if (labelId == sourceId) {
        print(IDS_LABEL_IS_SOURCE);
        return Answer::Again;
    }
    return Answer::Taken;
}

} // namespace

bool svAttachLink(AcDbObjectId sourceId, AcDbObjectId labelId, AcDbObjectId styleId) {
    AcDbObjPtr<AcPropertyLink> link; // deleted unless it became resident
    link.acquire(new AcPropertyLink);
    if (link->setLinkedObj(labelId) != Acad::eOk || link->setStyle(styleId) != Acad::eOk)
        return false;
    AcDbObjPtr<AcDbEntity> source(sourceId, AcDb::kForWrite);
    if (!source) {
        print(IDS_SOURCE_NOT_WRITABLE);
        return false;
    }
    AcDbObjectId xdictId = source->extensionDictionary();
    if (!xdictId.isValid()) {
        source->createExtensionDictionary();
        xdictId = source->extensionDictionary();
    }
    if (link->setOwnerId(xdictId) != Acad::eOk)
        return false;
    AcDbObjPtr<AcDbDictionary> xdict(xdictId, AcDb::kForWrite);
    if (!xdict) {
        print(IDS_XDICT_NOT_WRITABLE);
        return false;
    }
    AcDbObjectId linkId;
    if (xdict->setAt(L"*U", link.object(), linkId) != Acad::eOk)
        return false;
    source->addPersistentReactor(linkId);
    source->recordGraphicsModified(true);
    source.release();
    xdict.release();
    link.release();
    return true;
}

namespace {

bool createLink(AcDbObjectId& styleId, bool& stylesConfirmed) {
    CModuleResourceScope resources;
    CString styleName = svStyleName(styleId);

    AcDbObjPtr<AcPropertyLinkStyle> style; // open from the source pick to the end
    AcDbObjectId sourceId;
    for (;;) {
        const Answer answer = askSource(styleId, styleName, sourceId, style, stylesConfirmed);
        if (answer == Answer::End)
            return false;
        if (answer == Answer::Taken)
            break;
    }
    AcDbObjectId labelId;
    for (;;) {
        const Answer answer = askLabel(*style.object(), sourceId, labelId);
        if (answer == Answer::End)
            return false;
        if (answer == Answer::Taken)
            break;
    }
    return svAttachLink(sourceId, labelId, styleId);
}

} // namespace

bool createLinkCommand() {
    AcDbObjectId styleId;
    bool stylesConfirmed = false;
    const bool linked =
        svEnsureCurrentStyle(styleId, stylesConfirmed) && createLink(styleId, stylesConfirmed);
    // Nothing but the style manager changes the drawing before the link is made, so keeping the
    // command's work then keeps just the styles the user confirmed.
    return linked || stylesConfirmed;
}
