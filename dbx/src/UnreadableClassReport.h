#pragma once

#include <string>

#include "db/object.h"

// Says on the command line that a style names a class of reader or modifier that is not
// registered (a drawing of a newer or another add-on), so its labels no longer follow their
// sources. Said once a class in each drawing read; the style is named by its key, or by its
// handle while its dictionary is not read yet.
void svReportUnregisteredClass(const AcDbObject* style, const wchar_t* className);

// A style as messages name it: its key in quotes, or its handle while its dictionary is not read.
std::wstring svStyleNameOf(const AcDbObject* style);
