#include "win/host_exports.h"

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
