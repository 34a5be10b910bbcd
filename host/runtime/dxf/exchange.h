#pragma once

#include <string>
#include <vector>

#include "acad/status.h"

class AcDbDatabase;

// Reads an ASCII DXF file into an empty database; a fault leaves it empty and `why` says where.
Acad::ErrorStatus svDxfRead(AcDbDatabase* db, const std::string& path, std::wstring& why);
// The drawing as an ASCII DXF file of release 2000 (AC1015).
Acad::ErrorStatus svDxfWrite(AcDbDatabase* db, std::vector<unsigned char>& bytes,
                             std::wstring& why);
