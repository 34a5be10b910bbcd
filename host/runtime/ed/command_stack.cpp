#include <algorithm>
#include <memory>
#include <vector>

#include "crt/crt.h"
#include "ed/commands.h"
#include "rx/dictionary.h"

struct AcEdCommandStack::Data {
    struct Group {
        std::wstring name;
        std::vector<std::unique_ptr<AcEdCommand>> commands;
    };
    std::vector<Group> groups; // in order of first registration

    Group* find(const wchar_t* name) {
        auto found = std::find_if(groups.begin(), groups.end(), [name](const Group& group) {
            return _wcsicmp(group.name.c_str(), name) == 0;
        });
        return found == groups.end() ? nullptr : &*found;
    }

    template <class Matches>
    AcEdCommand* lookup(Matches matches) const {
        for (auto group = groups.rbegin(); group != groups.rend(); ++group) {
            for (const auto& command : group->commands) {
                if (matches(*command))
                    return command.get();
            }
        }
        return nullptr;
    }
};

SV_RX_DEFINE_MEMBERS(AcEdCommand, newAcRxClass(L"AcEdCommand", L"AcRxObject"))
SV_RX_DEFINE_MEMBERS(AcEdCommandStack, newAcRxClass(L"AcEdCommandStack", L"AcRxObject"))

const wchar_t* AcEdCommand::globalName() const {
    return m_global.c_str();
}
const wchar_t* AcEdCommand::localName() const {
    return m_local.c_str();
}
const wchar_t* AcEdCommand::groupName() const {
    return m_group.c_str();
}
int AcEdCommand::commandFlags() const {
    return m_flags;
}
AcRxFunctionPtr AcEdCommand::functionAddr() const {
    return m_function;
}
int AcEdCommand::functionCode() const {
    return m_functionCode;
}
HINSTANCE AcEdCommand::resourceHandle() const {
    return m_resource;
}

AcEdCommandStack::AcEdCommandStack() : m_data(new Data) {}

AcEdCommandStack::~AcEdCommandStack() {
    delete m_data;
}

Acad::ErrorStatus AcEdCommandStack::addCommand(const wchar_t* groupName, const wchar_t* globalName,
                                               const wchar_t* localName, int flags,
                                               AcRxFunctionPtr function, AcEdUIContext*,
                                               int functionCode, HINSTANCE resourceHandle,
                                               AcEdCommand** commandOut) {
    if (groupName == nullptr || globalName == nullptr || *globalName == L'\0' ||
        function == nullptr)
        return Acad::eInvalidInput;
    if (localName == nullptr || *localName == L'\0')
        localName = globalName;
    Data::Group* group = m_data->find(groupName);
    if (group == nullptr) {
        m_data->groups.push_back(Data::Group{groupName, {}});
        group = &m_data->groups.back();
    }
    for (const auto& existing : group->commands) {
        if (_wcsicmp(existing->globalName(), globalName) == 0 ||
            _wcsicmp(existing->localName(), localName) == 0)
            return Acad::eDuplicateKey;
    }
    auto command = std::unique_ptr<AcEdCommand>(new AcEdCommand);
    command->m_global = globalName;
    command->m_local = localName;
    command->m_group = group->name;
    command->m_flags = flags;
    command->m_function = function;
    command->m_functionCode = functionCode;
    command->m_resource = resourceHandle;
    if (commandOut != nullptr)
        *commandOut = command.get();
    group->commands.push_back(std::move(command));
    return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const wchar_t* groupName, const wchar_t* globalName) {
    Data::Group* group = groupName != nullptr ? m_data->find(groupName) : nullptr;
    if (group == nullptr || globalName == nullptr)
        return Acad::eKeyNotFound;
    auto& commands = group->commands;
    auto found = std::find_if(commands.begin(), commands.end(), [globalName](const auto& command) {
        return _wcsicmp(command->globalName(), globalName) == 0;
    });
    if (found == commands.end())
        return Acad::eKeyNotFound;
    commands.erase(found);
    return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const wchar_t* groupName) {
    if (groupName == nullptr || m_data->find(groupName) == nullptr)
        return Acad::eKeyNotFound;
    auto& groups = m_data->groups;
    groups.erase(std::remove_if(groups.begin(), groups.end(),
                                [groupName](const Data::Group& group) {
                                    return _wcsicmp(group.name.c_str(), groupName) == 0;
                                }),
                 groups.end());
    return Acad::eOk;
}

AcEdCommand* AcEdCommandStack::lookupCmd(const wchar_t* name) const {
    AcEdCommand* command = lookupGlobalCmd(name);
    return command != nullptr ? command : lookupLocalCmd(name);
}

AcEdCommand* AcEdCommandStack::lookupGlobalCmd(const wchar_t* globalName) const {
    if (globalName == nullptr)
        return nullptr;
    return m_data->lookup([globalName](const AcEdCommand& command) {
        return _wcsicmp(command.globalName(), globalName) == 0;
    });
}

AcEdCommand* AcEdCommandStack::lookupLocalCmd(const wchar_t* localName) const {
    if (localName == nullptr)
        return nullptr;
    return m_data->lookup([localName](const AcEdCommand& command) {
        return _wcsicmp(command.localName(), localName) == 0;
    });
}

std::vector<AcEdCommand*> AcEdCommandStack::groupCommands(const wchar_t* groupName) const {
    std::vector<AcEdCommand*> out;
    if (Data::Group* group = groupName != nullptr ? m_data->find(groupName) : nullptr) {
        for (const auto& command : group->commands)
            out.push_back(command.get());
    }
    return out;
}

std::vector<std::wstring> AcEdCommandStack::groupNames() const {
    std::vector<std::wstring> out;
    for (const Data::Group& group : m_data->groups)
        out.push_back(group.name);
    return out;
}

AcEdCommandStack* acedRegisteredCommands() {
    return static_cast<AcEdCommandStack*>(acrxSysRegistry()->at(L"ACAD_REGISTERED_COMMANDS"));
}
