#include "db/rtos.h"

#include "acad/adscodes.h"
#include "db/database.h"
#include <algorithm>

#include "units/units.h"
#include "win/host_exports_table.h"

int acdbRToS(double value, int unit, int precision, wchar_t* result) {
    if (result == nullptr)
        return RTERROR;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (unit == -1)
        unit = db != nullptr ? db->lunits() : static_cast<int>(kSvUnitDecimal);
    if (precision == -1)
        precision = db != nullptr ? db->luprec() : 4;
    // One more than a caller's buffer holds tells a value that would not fit.
    wchar_t text[kSvRToSMaxChars + 1];
    std::size_t n = svFormatLinearTo(value, unit, precision, text, kSvRToSMaxChars + 1);
    // Enormous values would not fit a caller's buffer in decimal notation.
    if (n >= static_cast<std::size_t>(kSvRToSMaxChars))
        n = svFormatLinearTo(value, kSvUnitScientific, precision, text, kSvRToSMaxChars);
    std::copy(text, text + n, result);
    result[n] = L'\0';
    return RTNORM;
}

namespace {

const SvHostExport exportRToS("acdbRToS", reinterpret_cast<FARPROC>(&acdbRToS));

} // namespace
