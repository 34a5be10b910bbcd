#include "ed/menucmd.h"

#include <cwchar>
#include <string>

#include "acad/adscodes.h"
#include "crt/format.h"
#include "db/database.h"
#include "db/rtos.h"
#include "ed/diesel.h"
#include "ed/getinput.h"
#include "getinput_state.h"
#include "units/units.h"
#include "win/host_exports_table.h"

namespace {

// Macros see the working drawing: its system variables and its units.
class DrawingEnvironment : public SvDieselEnvironment {
public:
    bool getVar(const std::wstring& name, std::wstring& value) override {
        AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
        AcDbSysVar var;
        if (db == nullptr || db->getSysVar(name.c_str(), var) != Acad::eOk)
            return false;
        switch (var.type) {
        case AcDbSysVar::kInt16:
        case AcDbSysVar::kInt32:
            value = std::to_wstring(var.intValue);
            return true;
        case AcDbSysVar::kReal:
            value = svFormat(L"%.8g", var.realValue);
            return true;
        case AcDbSysVar::kString:
            value = var.stringValue;
            return true;
        default:
            return false;
        }
    }

    void formatLinear(double value, int unit, int precision, std::wstring& out) override {
        wchar_t text[kSvRToSMaxChars];
        acdbRToS(value, unit, precision, text);
        out += text;
    }
};

} // namespace

int acedMenuCmd(const wchar_t* command) {
    if (command == nullptr || (command[0] != L'M' && command[0] != L'm') || command[1] != L'=')
        return RTERROR;
    DrawingEnvironment environment;
    // Live labels evaluate on every change of their source: the value's room is kept, and the
    // answer's too, so an evaluation allocates nothing once both have grown.
    static std::wstring value;
    if (!svEvaluateDiesel(command + 2, environment, value))
        return RTERROR;
    svSetLastInput(value);
    return RTKWORD;
}

namespace {

// Modules find these by name in the host program.
const SvHostExport exportMenuCmd("acedMenuCmd", reinterpret_cast<FARPROC>(&acedMenuCmd));
const SvHostExport exportGetInput("acedGetInput", reinterpret_cast<FARPROC>(&acedGetInput));

} // namespace
