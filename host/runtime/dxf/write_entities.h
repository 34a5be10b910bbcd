#pragma once

// Host entities as their DXF counterparts.

#include <cstdint>
#include <functional>
#include <string>

#include "db/objectid.h"
#include "groups.h"

class AcDbEntity;
class AcDbObject;

struct SvDxfEntityContext {
    // The handle an object is written under, 0 for none.
    std::function<std::uint64_t(const AcDbObjectId&)> handleOf;
    // A fresh handle for a record the host has no object for (an insertion's end of attributes).
    std::function<std::uint64_t()> newHandle;
    // The image definition written for a raster image's file.
    std::function<std::uint64_t(const AcDbEntity*)> imageDefinitionOf;
    // The name of the block that holds a dimension's picture, as DXF wants one for each.
    std::function<std::wstring(const AcDbEntity*)> dimensionBlockOf;
    // The name of the record of the table ("STYLE" or "DIMSTYLE") a style id refers to, the
    // standard style's for none.
    std::function<std::wstring(const AcDbObjectId&, const wchar_t*)> styleNameOf;
    bool paperSpace = false;
};

// The common head of every record: type, handle, extension dictionary, reactors and owner.
void svDxfWriteHead(SvDxfWriter& out, const char* type, const AcDbObject* obj,
                    const SvDxfEntityContext& context);

// Writes the entity (and what follows it on file, such as an insertion's attributes) and answers
// true, or answers false for a kind without a DXF counterpart here.
bool svDxfWriteEntity(SvDxfWriter& out, const AcDbEntity* entity,
                      const SvDxfEntityContext& context);
