#include "win/host_exports.h"

#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "win/host_exports_table.h"

namespace {

// Modules look host functions up by name on every call of some operations (a live label's
// update among them), so a name is hashed, not compared along a tree.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
        return std::hash<std::string_view>{}(name);
    }
};

using ExportTable = std::unordered_map<std::string, FARPROC, NameHash, std::equal_to<>>;

ExportTable& table() {
    static ExportTable exports;
    return exports;
}

// The last name found, by its text: a module asks for the same name on every update. Constant
// initialised, so that the table's entries made at load may already forget it.
struct LastFound {
    char name[32];
    FARPROC proc;
};
LastFound g_lastFound;

void forgetLastFound() {
    g_lastFound.name[0] = '\0';
}

} // namespace

void svHostExportAdd(const char* name, FARPROC proc) {
    if (name == nullptr)
        return;
    forgetLastFound();
    table()[name] = proc;
}

FARPROC svHostExportRemove(const char* name) {
    if (name == nullptr)
        return nullptr;
    auto found = table().find(std::string_view(name));
    if (found == table().end())
        return nullptr;
    forgetLastFound();
    FARPROC proc = found->second;
    table().erase(found);
    return proc;
}

FARPROC svHostExportFind(const char* name) {
    if (g_lastFound.name[0] != '\0' && std::strcmp(name, g_lastFound.name) == 0)
        return g_lastFound.proc;
    const std::string_view asked(name);
    auto found = table().find(asked);
    if (found == table().end())
        return nullptr;
    if (asked.size() < sizeof g_lastFound.name) {
        asked.copy(g_lastFound.name, asked.size());
        g_lastFound.name[asked.size()] = '\0';
        g_lastFound.proc = found->second;
    }
    return found->second;
}

SvHostExport::SvHostExport(const char* name, FARPROC proc) {
    svHostExportAdd(name, proc);
}
