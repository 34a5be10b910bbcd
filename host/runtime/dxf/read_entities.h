#pragma once

// DXF entities as host entities.

#include <span>
#include <string>
#include <string_view>

#include "groups.h"

class AcDbEntity;

struct SvDxfText {
    bool utf8 = false; // drawings of 2007 and later; before, single-byte text and \U+XXXX
};

std::wstring svDxfDecode(std::string_view value, const SvDxfText& text);

// The value of a group as a number; false when it is not one.
bool svDxfReal(const SvDxfGroup& group, double& value);
bool svDxfInteger(const SvDxfGroup& group, long long& value);
bool svDxfHandle(std::string_view value, std::uint64_t& handle);

// A non-resident host entity made from the groups of one DXF record (its type first), or null
// for a kind the host lacks. A fault in a value gives null with `why` set.
AcDbEntity* svDxfMakeEntity(std::span<const SvDxfGroup> groups, const SvDxfText& text,
                            std::wstring& why);

// The vertices of an old-style polyline (its VERTEX records, bulges and widths) added to a
// polyline made from the POLYLINE record.
bool svDxfAddVertex(AcDbEntity* polyline, std::span<const SvDxfGroup> vertex, std::wstring& why);
