#include "host_commands.h"

#include <iterator>

#include "ed/print.h"
#include "rx/dynlinker.h"
#include "session.h"
#include "win/crt.h"

namespace {

bool arxLoad(CommandInput& input) {
    std::wstring path;
    if (!input.answer(L"\nModule file to load: ", path))
        return false;
    return acrxLoadModule(path.c_str(), true);
}

bool arxUnload(CommandInput& input) {
    std::wstring name;
    if (!input.answer(L"\nModule to unload: ", name))
        return false;
    return acrxUnloadModule(name.c_str(), true);
}

bool help(CommandInput&);

const HostCommand kCommands[] = {
    {L"ARXLOAD", L"load a module", &arxLoad},
    {L"ARXUNLOAD", L"unload a module", &arxUnload},
    {L"HELP", L"list the host's commands", &help},
    {L"QUIT", L"unload every module and end the session", nullptr},
};

bool help(CommandInput&) {
    acutPrintf(L"\nCommands of the host:");
    for (const HostCommand& command : kCommands)
        acutPrintf(L"\n  %-12s %s", command.name, command.summary);
    acutPrintf(L"\n");
    return true;
}

std::wstring withoutPrefixes(const std::wstring& name) {
    std::size_t start = 0;
    while (start < name.size() &&
           (name[start] == L'_' || name[start] == L'-' || name[start] == L'.'))
        ++start;
    return name.substr(start);
}

} // namespace

const HostCommand* findHostCommand(const std::wstring& name) {
    const std::wstring bare = withoutPrefixes(name);
    for (const HostCommand& command : kCommands) {
        if (command.run != nullptr && _wcsicmp(command.name, bare.c_str()) == 0)
            return &command;
    }
    return nullptr;
}

bool isQuitCommand(const std::wstring& name) {
    const std::wstring bare = withoutPrefixes(name);
    return _wcsicmp(bare.c_str(), L"QUIT") == 0 || _wcsicmp(bare.c_str(), L"EXIT") == 0;
}
