#include "win/host_exports.h"

#include <map>
#include <string>

#include "win/host_exports_table.h"

namespace {
std::map<std::string, FARPROC, std::less<>>& table() {
    static std::map<std::string, FARPROC, std::less<>> exports;
    return exports;
}
} // namespace

void svHostExportAdd(const char* name, FARPROC proc) {
    if (name != nullptr)
        table()[name] = proc;
}

FARPROC svHostExportRemove(const char* name) {
    if (name == nullptr)
        return nullptr;
    auto found = table().find(std::string_view(name));
    if (found == table().end())
        return nullptr;
    FARPROC proc = found->second;
    table().erase(found);
    return proc;
}

FARPROC svHostExportFind(const char* name) {
    auto found = table().find(std::string_view(name));
    return found == table().end() ? nullptr : found->second;
}

SvHostExport::SvHostExport(const char* name, FARPROC proc) {
    svHostExportAdd(name, proc);
}
