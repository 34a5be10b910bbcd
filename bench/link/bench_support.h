#pragma once

// What the link benchmarks share: the modules beside the program, opening by id, a room outline.
#include <unistd.h>

#include <climits>
#include <string>

#include "AcPropertyLink.h"
#include "db/dictionary.h"
#include "db/object.h"
#include "db/polyline.h"

namespace benchsupport {

inline std::wstring besideMe(const wchar_t* file) {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string dir(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    dir = dir.substr(0, dir.rfind('/'));
    return std::wstring(dir.begin(), dir.end()) + L"/" + file;
}

template <class T>
T* openAs(AcDbObjectId id, AcDb::OpenMode mode) {
    AcDbObject* obj = nullptr;
    acdbOpenAcDbObject(obj, id, mode);
    return T::cast(obj);
}

// A closed 2 by 2 outline with its lower left corner at (x, 0).
inline AcDbPolyline* square(double x) {
    auto* outline = new AcDbPolyline;
    outline->addVertexAt(0, AcGePoint2d(x, 0.0));
    outline->addVertexAt(1, AcGePoint2d(x + 2.0, 0.0));
    outline->addVertexAt(2, AcGePoint2d(x + 2.0, 2.0));
    outline->addVertexAt(3, AcGePoint2d(x, 2.0));
    outline->setClosed(true);
    return outline;
}

// A link from source to label (null: a self-link) through style, stored as link creation stores
// it: under "*U" in the source's extension dictionary and among its persistent reactors.
inline AcDbObjectId linkSource(AcDbObjectId source, AcDbObjectId style, AcDbObjectId label) {
    AcDbObject* owner = nullptr;
    acdbOpenAcDbObject(owner, source, AcDb::kForWrite);
    owner->createExtensionDictionary();
    auto* xdict = openAs<AcDbDictionary>(owner->extensionDictionary(), AcDb::kForWrite);
    auto* link = new AcPropertyLink;
    link->setStyle(style);
    link->setLinkedObj(label);
    AcDbObjectId linkId;
    xdict->setAt(L"*U", link, linkId);
    link->close();
    xdict->close();
    owner->addPersistentReactor(linkId);
    owner->close();
    return linkId;
}

} // namespace benchsupport
