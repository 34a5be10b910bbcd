// Readers and modifiers of a module other than the database module, as a third party registers
// them: the style editor must offer those that derive from the bases and can be made, under their
// own names, and no class named like a base in any letter case.
#include <cwctype>

#include "AcContentModifier.h"
#include "AcPropertyReader.h"
#include "StArxApp.h"
#include "rx/class.h"
#include "win/export.h"
#include "win/modules.h"

// Outside an anonymous namespace: the class system reaches every member through its class.
class SvTestHalfLengthReader : public AcLengthReader {
    SV_RX_DECLARE_MEMBERS(SvTestHalfLengthReader);

    // UTF-8, as every narrow text of this host.
    const char* displayName() const override { return "Half length (\xC2\xBD)"; }
    double readPropertyAsNumber(const AcDbEntity* entity) const override {
        return AcLengthReader::readPropertyAsNumber(entity) / 2.0;
    }
};

class SvTestCapitalsModifier : public AcTextModifier {
    SV_RX_DECLARE_MEMBERS(SvTestCapitalsModifier);

    const wchar_t* displayName() const override { return L"Text in capitals"; }
    void updateContent(AcDbEntity* label, const wchar_t* text) override {
        std::wstring upper(text != nullptr ? text : L"");
        for (wchar_t& c : upper)
            c = static_cast<wchar_t>(std::towupper(c));
        AcTextModifier::updateContent(label, upper.c_str());
    }
};

// Registered under their C++ names, which differ from the bases' only in letter case.
class acpropertyreader : public AcPropertyReader {
    SV_RX_DECLARE_MEMBERS(acpropertyreader);

    const char* displayName() const override { return "Named like the reader base"; }
};

class ACCONTENTMODIFIER : public AcContentModifier {
    SV_RX_DECLARE_MEMBERS(ACCONTENTMODIFIER);

    const wchar_t* displayName() const override { return L"Named like the modifier base"; }
};

// Registered without a pseudo-constructor: it cannot be made, so it cannot be offered.
class SvTestAbstractModifier : public AcContentModifier {
    SV_RX_DECLARE_MEMBERS(SvTestAbstractModifier);
};

SV_RX_DEFINE_SHORT_MEMBERS(SvTestHalfLengthReader, AcLengthReader, 0)
SV_RX_DEFINE_SHORT_MEMBERS(SvTestCapitalsModifier, AcTextModifier, 0)
SV_RX_DEFINE_SHORT_MEMBERS(acpropertyreader, AcPropertyReader, 0)
SV_RX_DEFINE_SHORT_MEMBERS(ACCONTENTMODIFIER, AcContentModifier, 0)
SV_RX_DEFINE_MEMBERS(SvTestAbstractModifier,
                     newAcRxClass(L"SvTestAbstractModifier", L"AcContentModifier"))

namespace {

class CStyleClassesApp : public CStArxApp {
public:
    void RegisterClasses() override {
        SvTestHalfLengthReader::rxInit();
        SvTestCapitalsModifier::rxInit();
        acpropertyreader::rxInit();
        ACCONTENTMODIFIER::rxInit();
        SvTestAbstractModifier::rxInit();
    }
    void UnregisterClasses() override {
        deleteAcRxClass(SvTestAbstractModifier::desc());
        deleteAcRxClass(ACCONTENTMODIFIER::desc());
        deleteAcRxClass(acpropertyreader::desc());
        deleteAcRxClass(SvTestCapitalsModifier::desc());
        deleteAcRxClass(SvTestHalfLengthReader::desc());
    }
};

CStyleClassesApp theApp;

} // namespace

extern "C" DLLEXPORT BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        theApp.m_hInstance = instance;
    return TRUE;
}

extern "C" DLLEXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
    return CStArxApp::GetApp()->EntryPoint(msg, pkt);
}
