#include "db/rtos.h"

#include "acad/adscodes.h"
#include "db/database.h"
#include <algorithm>
#include <string>

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
    std::wstring text = svFormatLinear(value, unit, precision);
    // Enormous values would not fit a caller's buffer in decimal notation.
    if (text.size() >= static_cast<std::size_t>(kSvRToSMaxChars))
        text = svFormatLinear(value, kSvUnitScientific, precision);
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(kSvRToSMaxChars - 1));
    text.copy(result, n);
    result[n] = L'\0';
    return RTNORM;
}

namespace {

const SvHostExport exportRToS("acdbRToS", reinterpret_cast<FARPROC>(&acdbRToS));

} // namespace
