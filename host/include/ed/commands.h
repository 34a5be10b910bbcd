#pragma once

#include <string>
#include <vector>

#include "rx/members.h"
#include "win/types.h"

#pragma GCC visibility push(default)

using AcRxFunctionPtr = void (*)();

#define ACRX_CMD_MODAL 0x00000000
#define ACRX_CMD_TRANSPARENT 0x00000001

class AcEdUIContext;

class AcEdCommand : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(AcEdCommand);

    const wchar_t* globalName() const;
    const wchar_t* localName() const;
    const wchar_t* groupName() const;
    int commandFlags() const;
    AcRxFunctionPtr functionAddr() const;
    int functionCode() const;
    HINSTANCE resourceHandle() const;

private:
    friend class AcEdCommandStack;
    AcEdCommand() = default;
    std::wstring m_global, m_local, m_group;
    int m_flags = 0;
    AcRxFunctionPtr m_function = nullptr;
    int m_functionCode = -1;
    HINSTANCE m_resource = nullptr;
};

// The registered commands, in groups; a group added later is searched first.
class AcEdCommandStack : public AcRxObject {
    SV_RX_DECLARE_MEMBERS(AcEdCommandStack);

    AcEdCommandStack();
    ~AcEdCommandStack() override;

    // eDuplicateKey when the group already holds the global or local name; eInvalidInput for a
    // missing name or function.
    Acad::ErrorStatus addCommand(const wchar_t* groupName, const wchar_t* globalName,
                                 const wchar_t* localName, int flags, AcRxFunctionPtr function,
                                 AcEdUIContext* uiContext = nullptr, int functionCode = -1,
                                 HINSTANCE resourceHandle = nullptr,
                                 AcEdCommand** commandOut = nullptr);
    Acad::ErrorStatus removeCmd(const wchar_t* groupName, const wchar_t* globalName);
    Acad::ErrorStatus removeGroup(const wchar_t* groupName);
    // By global or local name, without regard to case.
    AcEdCommand* lookupCmd(const wchar_t* name) const;
    AcEdCommand* lookupGlobalCmd(const wchar_t* globalName) const;
    AcEdCommand* lookupLocalCmd(const wchar_t* localName) const;
    // The commands of a group in the order they were added; empty for an unknown group.
    std::vector<AcEdCommand*> groupCommands(const wchar_t* groupName) const;
    // Every group in the order of its first command.
    std::vector<std::wstring> groupNames() const;

private:
    struct Data;
    Data* m_data;
};

// The command stack under "ACAD_REGISTERED_COMMANDS" in the system registry.
AcEdCommandStack* acedRegisteredCommands();
#define acedRegCmds (acedRegisteredCommands())

// A command reports that it could not do its work: the script running it stops.
void svSetCommandFailed();

// A command name without the "_" (global name), "-" (no dialog) and "." (built-in) prefixes.
std::wstring svBareCommandName(const wchar_t* name);

// Runs one command by name as the command line does (the "_", "-" and "." prefixes accepted; a
// name that is no command may be an alias of one):
// editor reactors hear that it starts and how it ends. All it changes in the current drawing is one
// undo step; when it fails, nothing of it is kept. False when there is no such command, it was
// cancelled, or it reported failure.
bool svRunCommand(const wchar_t* name);

// Runs a host command with its answers given as pairs of a type and a value, ended by 0:
// RTSTR (wide string), RTSHORT (int), RTREAL (double), RTPOINT (ads_point), RTNONE (an empty
// answer, no value). The command must take all its input from the call: once the answers are
// used up its prompts read the end of the input and it is cancelled. RTNORM when the command ran,
// RTERROR for an unknown command, a malformed list, or a command that failed or was cancelled.
int acedCommand(int rtype, ...);

#pragma GCC visibility pop
