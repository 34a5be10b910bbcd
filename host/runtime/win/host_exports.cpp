#include "win/host_exports.h"

#include <array>
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

// They ask for the same few names, from the same literals, each time: the last answers are kept
// by where the asked name lies, checked against the name itself, and forgotten whenever the
// table changes.
struct RecentAnswer {
    const char* asked = nullptr;
    const std::string* name = nullptr; // the table's key, which lives as long as its entry
    FARPROC proc = nullptr;
};

struct RecentAnswers {
    std::array<RecentAnswer, 8> answers{};
    std::size_t next = 0;

    void forget() { *this = RecentAnswers(); }
};

RecentAnswers& recent() {
    static RecentAnswers kept;
    return kept;
}

} // namespace

void svHostExportAdd(const char* name, FARPROC proc) {
    if (name == nullptr)
        return;
    recent().forget();
    table()[name] = proc;
}

FARPROC svHostExportRemove(const char* name) {
    if (name == nullptr)
        return nullptr;
    auto found = table().find(std::string_view(name));
    if (found == table().end())
        return nullptr;
    FARPROC proc = found->second;
    recent().forget();
    table().erase(found);
    return proc;
}

FARPROC svHostExportFind(const char* name) {
    RecentAnswers& kept = recent();
    for (const RecentAnswer& answer : kept.answers) {
        if (answer.asked == name && answer.name != nullptr &&
            std::strcmp(answer.name->c_str(), name) == 0)
            return answer.proc;
    }
    auto found = table().find(std::string_view(name));
    if (found == table().end())
        return nullptr;
    kept.answers[kept.next] = {name, &found->first, found->second};
    kept.next = (kept.next + 1) % kept.answers.size();
    return found->second;
}

SvHostExport::SvHostExport(const char* name, FARPROC proc) {
    svHostExportAdd(name, proc);
}
