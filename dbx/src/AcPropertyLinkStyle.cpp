#include "AcPropertyLinkStyle.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <memory>
#include <string>

#include "MacroExpansion.h"
#include "ReaderText.h"
#include "SentavellProduct.h"
#include "UnreadableClassReport.h"
#include "acad/adscodes.h"
#include "db/acutbuffer.h"
#include "rx/dictionary.h"
#include "rx/print.h"
#include "win/modules.h"

SV_RX_DEFINE_FILED_MEMBERS(AcPropertyLinkStyle, AcDbObject, 27, 1, 0, L"ACPROPERTYLINKSTYLE",
                           SENTAVELL_PROXY_APP_NAME)
SV_RX_DEFINE_VERSION(AcPropertyLinkStyle, 2);

namespace {

constexpr std::size_t kWorkingChars = AcPropertyLinkStyle::kLabelChars;
static_assert(SV_MAX_INPUT <= kWorkingChars, "acedGetInput must fit the working buffer");

constexpr wchar_t kUnknownValue[] = L"UNKNOWN PROPERTY VALUE";

using GetInputFunction = int (*)(wchar_t* result);
using MenuCmdFunction = int (*)(const wchar_t* command);

// Found by name in the host, not linked: an older host lacks them, and the macro is then skipped.
// One not found is looked for again next time.
GetInputFunction g_getInput = nullptr;
MenuCmdFunction g_menuCmd = nullptr;

void lookUpHostFunctions() {
    if (g_getInput != nullptr && g_menuCmd != nullptr)
        return;
    HMODULE host = GetModuleHandleW(nullptr);
    if (g_getInput == nullptr)
        g_getInput = reinterpret_cast<GetInputFunction>(GetProcAddress(host, "acedGetInput"));
    if (g_menuCmd == nullptr)
        g_menuCmd = reinterpret_cast<MenuCmdFunction>(GetProcAddress(host, "acedMenuCmd"));
}

// A longer text is cut: a reader may answer far more than a label can hold.
void copyText(wchar_t (&buffer)[kWorkingChars], const wchar_t* text) {
    const std::size_t n = wcsnlen(text, kWorkingChars - 1);
    std::copy(text, text + n, buffer);
    buffer[n] = L'\0';
}

constexpr wchar_t kUnregisteredOut[] =
    L"writeObject() attempts to write class, that hasn't been registered via rxInit()!";

void writeObject(AcDbDwgFiler* filer, const AcDbObject* object) {
    if (object == nullptr) {
        filer->writeBoolean(false);
        return;
    }
    filer->writeBoolean(true);
    const AcRxClass* cls = object->isA();
    if (cls == nullptr)
        acrx_abort(kUnregisteredOut);
    filer->writeString(cls->name());
    object->dwgOutFields(filer);
}

const AcRxClass* registeredClass(const wchar_t* name) {
    AcRxDictionary* classes = AcRxDictionary::cast(acrxSysRegistry()->at(L"ClassDictionary"));
    return classes != nullptr ? AcRxClass::cast(classes->at(name)) : nullptr;
}

// Fills `field` with the embedded object the record names. A class that is not registered, or
// not of the field's family, cannot be read past (its data has no length): the style then asks
// to be kept as a proxy, with the field empty, rather than misread the rest or end the host. A
// class that is not registered at all is said on the command line.
template <class Family>
Acad::ErrorStatus readObject(const AcDbObject* style, AcDbDwgFiler* filer, Family*& field) {
    field = nullptr;
    Adesk::Boolean present = false;
    filer->readBoolean(&present);
    if (filer->filerStatus() != Acad::eOk || !present)
        return filer->filerStatus();
    wchar_t* name = nullptr;
    filer->readString(&name);
    const AcRxClass* cls = filer->filerStatus() == Acad::eOk ? registeredClass(name) : nullptr;
    if (filer->filerStatus() == Acad::eOk && cls == nullptr)
        svReportUnregisteredClass(style, name);
    acutDelBuffer(name);
    if (filer->filerStatus() != Acad::eOk)
        return filer->filerStatus();
    if (cls == nullptr || !cls->isDerivedFrom(Family::desc()))
        return Acad::eMakeMeProxy;
    AcRxObject* created = cls->create();
    Family* object = Family::cast(created);
    if (object == nullptr) {
        delete created;
        return Acad::eMakeMeProxy;
    }
    // A newer embedded record leaves its data unread, so the rest of the style is unreadable too.
    if (object->dwgInFields(filer) == Acad::eMakeMeProxy) {
        delete object;
        return Acad::eMakeMeProxy;
    }
    field = object;
    return Acad::eOk;
}

// Keeps a clone only when it is of the family the field holds.
template <class Family>
Family* cloneOf(const Family* original) {
    if (original == nullptr)
        return nullptr;
    AcRxObject* copy = original->clone();
    Family* kept = Family::cast(copy);
    if (kept == nullptr)
        delete copy;
    return kept;
}

// What the reader gives for the source. The module's own number readers are read once, and their
// text is formatted only where it is used, as their string form formats it: the same label
// without a second reading, an allocation, or a text that a macro of the number alone never shows.
class ReaderValue {
public:
    // False when the source cannot be read.
    bool read(const AcPropertyReader& reader, const AcDbEntity* source) {
        if (svReadsOnlyItsNumber(reader)) {
            if (source == nullptr || !source->isReadEnabled())
                return false;
            m_number = reader.readPropertyAsNumber(source);
            return true;
        }
        m_allocated.reset(reader.readPropertyAsString(source));
        if (m_allocated == nullptr)
            return false;
        m_text = m_allocated.get();
        m_number = reader.readPropertyAsNumber(source);
        return true;
    }

    double number() const { return m_number; }

    const wchar_t* text() {
        if (m_text == nullptr) {
            svFormatReaderNumber(m_number, m_formatted);
            m_text = m_formatted;
        }
        return m_text;
    }

private:
    wchar_t m_formatted[kReaderTextChars];
    std::unique_ptr<wchar_t[]> m_allocated;
    const wchar_t* m_text = nullptr;
    double m_number = 0.0;
};

// The text the label gets: the reader's, or the macro's value over it. False, with the label's
// fallback left in place, when the source cannot be read.
bool computeLabel(const AcPropertyReader& reader, const CString& macro, const AcDbEntity* source,
                  wchar_t (&label)[kWorkingChars]) {
    lookUpHostFunctions();
    ReaderValue value;
    // An unreadable source is not given to the macro: the label says so instead.
    if (!value.read(reader, source))
        return false;
    if (macro.IsEmpty() || g_getInput == nullptr || g_menuCmd == nullptr) {
        copyText(label, value.text());
        return true;
    }
    const std::wstring_view macroText(macro.GetString(), macro.GetLength());
    wchar_t numberText[kNumberTextChars];
    const std::size_t numberSize = svNumberPlaceholderText(value.number(), numberText);
    // Kept from one update to the next, so that its room is reused. Nothing that runs between
    // building the command and the host's reading it can come back here. It begins with "M=" for
    // good: every update cuts it back to that, and expansions only append.
    static std::wstring command(L"M=");
    command.resize(2);
    const std::wstring_view number(numberText, numberSize);
    // The reader's text is formatted only for a macro that shows it.
    const SvNumberOnly expanded = svAppendNumberOnlyMacro(macroText, number, command);
    if (expanded == SvNumberOnly::Refused ||
        (expanded == SvNumberOnly::General &&
         !svAppendExpandedMacro(macroText, value.text(), number, command)))
        return true;
    if (g_menuCmd(command.c_str()) == RTKWORD)
        g_getInput(label);
    else
        copyText(label, value.text());
    return true;
}

CString readCString(AcDbDwgFiler* filer) {
    wchar_t* text = nullptr;
    filer->readString(&text);
    CString kept(text);
    acutDelBuffer(text);
    return kept;
}

} // namespace

AcPropertyLinkStyle::AcPropertyLinkStyle() = default;

AcPropertyLinkStyle::~AcPropertyLinkStyle() {
    delete m_modifier;
    delete m_reader;
}

const wchar_t* AcPropertyLinkStyle::description() const {
    assertReadEnabled();
    return m_description;
}

Acad::ErrorStatus AcPropertyLinkStyle::setDescription(const wchar_t* description) {
    assertWriteEnabled();
    m_description = description;
    return Acad::eOk;
}

const wchar_t* AcPropertyLinkStyle::postProcessingMacro() const {
    assertReadEnabled();
    return m_macro;
}

Acad::ErrorStatus AcPropertyLinkStyle::setPostProcessingMacro(const wchar_t* macro) {
    assertWriteEnabled();
    m_macro = macro;
    return Acad::eOk;
}

AcPropertyReader* AcPropertyLinkStyle::propertyReader() const {
    assertReadEnabled();
    return m_reader;
}

Acad::ErrorStatus AcPropertyLinkStyle::setPropertyReader(AcPropertyReader* reader) {
    assertWriteEnabled();
    // Handing back the reader already held must not free it.
    if (reader != m_reader) {
        delete m_reader;
        m_reader = reader;
    }
    return Acad::eOk;
}

AcContentModifier* AcPropertyLinkStyle::contentModifier() const {
    assertReadEnabled();
    return m_modifier;
}

Acad::ErrorStatus AcPropertyLinkStyle::setContentModifier(AcContentModifier* modifier) {
    assertWriteEnabled();
    if (modifier != m_modifier) {
        delete m_modifier;
        m_modifier = modifier;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcPropertyLinkStyle::copyFrom(const AcRxObject* other) {
    const AcPropertyLinkStyle* source = AcPropertyLinkStyle::cast(other);
    // Copying onto itself would free the reader and modifier it is about to clone.
    if (source == this)
        return Acad::eOk;
    if (source != nullptr) {
        assertWriteEnabled();
        m_description = source->m_description;
        m_macro = source->m_macro;
        delete m_modifier;
        m_modifier = cloneOf(source->m_modifier);
        delete m_reader;
        m_reader = cloneOf(source->m_reader);
    }
    return AcDbObject::copyFrom(other);
}

void AcPropertyLinkStyle::list() const {
    assertReadEnabled();
    const CString reader =
        m_reader != nullptr ? CString(m_reader->displayName()) : CString(L"nothing");
    CString writer =
        m_modifier != nullptr ? CString(m_modifier->displayName()) : CString(L"nothing");
    if (const AcBlockModifier* block = AcBlockModifier::cast(m_modifier))
        writer.AppendFormat(L", attribute %s", block->attribName());
    acutPrintf(L"            reads:    %s\n", reader.GetString());
    acutPrintf(L"            writes:   %s\n", writer.GetString());
    if (m_macro.IsEmpty())
        acutPrintf(L"            macro:    none\n");
    else
        acutPrintf(L"            macro:    \"%s\"\n", m_macro.GetString());
    if (!m_description.IsEmpty())
        acutPrintf(L"            about:    %s\n", m_description.GetString());
}

Acad::ErrorStatus AcPropertyLinkStyle::fillLabelText(const AcDbEntity* source,
                                                     wchar_t (&buffer)[kWorkingChars]) const {
    static_assert(std::size(kUnknownValue) <= kWorkingChars);
    std::copy(std::begin(kUnknownValue), std::end(kUnknownValue), buffer);
    if (m_reader == nullptr || m_modifier == nullptr)
        return Acad::eNullObjectPointer;
    // Runs inside the host's notifications and closes: whatever fails here, the label gets the
    // fallback and nothing is thrown at the host.
    try {
        if (computeLabel(*m_reader, m_macro, source, buffer))
            return Acad::eOk;
    } catch (...) {
    }
    copyText(buffer, kUnknownValue);
    return Acad::eInvalidInput;
}

Acad::ErrorStatus AcPropertyLinkStyle::labelText(const AcDbEntity* source, CString& text) const {
    wchar_t buffer[kWorkingChars];
    const Acad::ErrorStatus es = fillLabelText(source, buffer);
    text = buffer;
    return es;
}

void AcPropertyLinkStyle::update(AcDbEntity* source, AcDbEntity* label) {
    wchar_t buffer[kWorkingChars];
    if (fillLabelText(source, buffer) == Acad::eNullObjectPointer)
        return;
    try {
        m_modifier->updateContent(label, buffer);
    } catch (...) {
    }
}

Acad::ErrorStatus AcPropertyLinkStyle::dwgOutFields(AcDbDwgFiler* filer) const {
    assertReadEnabled();
    const Acad::ErrorStatus es = AcDbObject::dwgOutFields(filer);
    if (es != Acad::eOk)
        return es;
    filer->writeInt16(m_versionAcPropertyLinkStyle);
    writeObject(filer, m_modifier);
    writeObject(filer, m_reader);
    filer->writeString(m_description);
    filer->writeString(m_macro);
    return filer->filerStatus();
}

Acad::ErrorStatus AcPropertyLinkStyle::dwgInFields(AcDbDwgFiler* filer) {
    assertWriteEnabled();
    Acad::ErrorStatus es = AcDbObject::dwgInFields(filer);
    if (es != Acad::eOk)
        return es;
    Adesk::Int16 version = 0;
    filer->readInt16(&version);
    if (version > m_versionAcPropertyLinkStyle)
        return Acad::eMakeMeProxy;

    delete m_modifier;
    m_modifier = nullptr;
    es = readObject(this, filer, m_modifier);
    if (es != Acad::eOk)
        return es;
    delete m_reader;
    m_reader = nullptr;
    es = readObject(this, filer, m_reader);
    if (es != Acad::eOk)
        return es;
    m_description = readCString(filer);
    // Version 1 records have no macro.
    if (version == 2)
        m_macro = readCString(filer);
    return filer->filerStatus();
}

// Styles are not filed in DXF.
Acad::ErrorStatus AcPropertyLinkStyle::dxfInFields(AcDbDxfFiler*) {
    return Acad::eNotImplementedYet;
}

Acad::ErrorStatus AcPropertyLinkStyle::dxfOutFields(AcDbDxfFiler*) const {
    return Acad::eNotImplementedYet;
}
