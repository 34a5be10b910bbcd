#include "AcPropertyReader.h"

#include <cwchar>
#include <typeinfo>

#include "LevelFiling.h"
#include "ReaderText.h"
#include "win/modules.h"

SV_RX_DEFINE_SHORT_MEMBERS(AcPropertyReader, AcDbObject, 1)
SV_RX_DEFINE_SHORT_MEMBERS(AcAreaReader, AcPropertyReader, 1)
SV_RX_DEFINE_SHORT_MEMBERS(AcLengthReader, AcPropertyReader, 1)
SV_RX_DEFINE_SHORT_MEMBERS(AcTextReader, AcPropertyReader, 1)
SV_RX_DEFINE_SHORT_MEMBERS(AcXCoordReader, AcPropertyReader, 1)
SV_RX_DEFINE_SHORT_MEMBERS(AcYCoordReader, AcPropertyReader, 1)
SV_RX_DEFINE_SHORT_MEMBERS(AcZCoordReader, AcPropertyReader, 1)

SV_RX_DEFINE_VERSION(AcPropertyReader, 1);
SV_RX_DEFINE_VERSION(AcAreaReader, 1);
SV_RX_DEFINE_VERSION(AcLengthReader, 1);
SV_RX_DEFINE_VERSION(AcTextReader, 1);
SV_RX_DEFINE_VERSION(AcXCoordReader, 1);
SV_RX_DEFINE_VERSION(AcYCoordReader, 1);
SV_RX_DEFINE_VERSION(AcZCoordReader, 1);

namespace {

using RToSFunction = int (*)(double value, int unit, int precision, wchar_t* result);

// Not linked: an older host may lack it, and then the module still gives a plain number.
RToSFunction hostRToS() {
    HMODULE host = GetModuleHandleW(nullptr);
    if (host == nullptr)
        return nullptr;
    return reinterpret_cast<RToSFunction>(GetProcAddress(host, "acdbRToS"));
}

} // namespace

void svFormatReaderNumber(double value, wchar_t* text) {
    // -1 and -1: the drawing's own LUNITS and LUPREC.
    if (RToSFunction rtos = hostRToS())
        rtos(value, -1, -1, text);
    else
        std::swprintf(text, kReaderTextChars, L"%g", value);
}

// Exact classes: a subclass may read with side effects, or give another text.
bool svReadsOnlyItsNumber(const AcPropertyReader& reader) {
    const std::type_info& kind = typeid(reader);
    return kind == typeid(AcAreaReader) || kind == typeid(AcLengthReader) ||
           kind == typeid(AcXCoordReader) || kind == typeid(AcYCoordReader) ||
           kind == typeid(AcZCoordReader) || kind == typeid(AcPropertyReader);
}

const char* AcPropertyReader::displayName() const {
    return "Generic reader";
}

double AcPropertyReader::readPropertyAsNumber(const AcDbEntity*) const {
    return 0.0;
}

wchar_t* AcPropertyReader::readPropertyAsString(const AcDbEntity* entity) const {
    if (entity == nullptr || !entity->isReadEnabled())
        return nullptr;
    auto* text = new wchar_t[kReaderTextChars];
    svFormatReaderNumber(readPropertyAsNumber(entity), text);
    return text;
}

Acad::ErrorStatus AcPropertyReader::dwgOutFields(AcDbDwgFiler* filer) const {
    return svDwgOutLevel<AcDbObject>(this, filer, m_versionAcPropertyReader);
}

Acad::ErrorStatus AcPropertyReader::dwgInFields(AcDbDwgFiler* filer) {
    return svDwgInLevel<AcDbObject>(this, filer, m_versionAcPropertyReader);
}

// Readers are filed only inside a style, and styles never go to DXF.
Acad::ErrorStatus AcPropertyReader::dxfOutFields(AcDbDxfFiler*) const {
    assertReadEnabled();
    return Acad::eNotImplementedYet;
}

Acad::ErrorStatus AcPropertyReader::dxfInFields(AcDbDxfFiler*) {
    assertWriteEnabled();
    return Acad::eNotImplementedYet;
}

const char* AcAreaReader::displayName() const {
    return "Area";
}

const char* AcLengthReader::displayName() const {
    return "Length";
}

const char* AcTextReader::displayName() const {
    return "Text";
}

const char* AcXCoordReader::displayName() const {
    return "X coordinate";
}

const char* AcYCoordReader::displayName() const {
    return "Y coordinate";
}

const char* AcZCoordReader::displayName() const {
    return "Z coordinate";
}

#define SV_READER_FILING(CLASS)                                                                    \
    Acad::ErrorStatus CLASS::dwgOutFields(AcDbDwgFiler* filer) const {                             \
        return svDwgOutLevel<AcPropertyReader>(this, filer, m_version##CLASS);                     \
    }                                                                                              \
    Acad::ErrorStatus CLASS::dwgInFields(AcDbDwgFiler* filer) {                                    \
        return svDwgInLevel<AcPropertyReader>(this, filer, m_version##CLASS);                      \
    }

SV_READER_FILING(AcAreaReader)
SV_READER_FILING(AcLengthReader)
SV_READER_FILING(AcTextReader)
SV_READER_FILING(AcXCoordReader)
SV_READER_FILING(AcYCoordReader)
SV_READER_FILING(AcZCoordReader)
