#include "ed/editor.h"

#include <algorithm>
#include <vector>

#include "builtin_commands.h"
#include "ed/commands.h"
#include "rx/builtin_classes.h"
#include "rx/dictionary.h"

struct AcEditor::Data {
    std::vector<AcEditorReactor*> reactors;
};

SV_RX_DEFINE_MEMBERS(AcRxEventReactor, newAcRxClass(L"AcRxEventReactor", L"AcRxObject"))
SV_RX_DEFINE_MEMBERS(AcEditorReactor, newAcRxClass(L"AcEditorReactor", L"AcRxEventReactor"))
SV_RX_DEFINE_MEMBERS(AcEditor, newAcRxClass(L"AcEditor", L"AcRxObject"))

AcEditor::AcEditor() : m_data(new Data) {}

AcEditor::~AcEditor() {
    delete m_data;
}

void AcEditor::addReactor(AcEditorReactor* reactor) {
    auto& reactors = m_data->reactors;
    if (reactor != nullptr &&
        std::find(reactors.begin(), reactors.end(), reactor) == reactors.end())
        reactors.push_back(reactor);
}

void AcEditor::removeReactor(AcEditorReactor* reactor) {
    auto& reactors = m_data->reactors;
    reactors.erase(std::remove(reactors.begin(), reactors.end(), reactor), reactors.end());
}

void AcEditor::notify(const std::function<void(AcEditorReactor*)>& notifyOne) {
    const std::vector<AcEditorReactor*> snapshot = m_data->reactors;
    for (AcEditorReactor* reactor : snapshot) {
        const auto& now = m_data->reactors;
        if (std::find(now.begin(), now.end(), reactor) != now.end())
            notifyOne(reactor);
    }
}

AcEditor* acedEditorObject() {
    return static_cast<AcEditor*>(acrxSysRegistry()->at(L"AcEditor"));
}

namespace {

void registerEditorArea() {
    AcRxEventReactor::rxInit();
    AcEditorReactor::rxInit();
    AcEditor::rxInit();
    AcEdCommand::rxInit();
    AcEdCommandStack::rxInit();
    acrxSysRegistry()->atPut(L"AcEditor", new AcEditor);
    acrxSysRegistry()->atPut(L"ACAD_REGISTERED_COMMANDS", new AcEdCommandStack);
    svRegisterBuiltinCommands();
}

const SvBuiltinClasses editorArea(&registerEditorArea);

} // namespace
