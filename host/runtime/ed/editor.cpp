#include "ed/editor.h"

#include "builtin_commands.h"
#include "ed/commands.h"
#include "rx/builtin_classes.h"
#include "rx/dictionary.h"
#include "rx/reactor_list.h"

struct AcEditor::Data {
    SvReactorList<AcEditorReactor> reactors;
};

SV_RX_DEFINE_MEMBERS(AcRxEventReactor, newAcRxClass(L"AcRxEventReactor", L"AcRxObject"))
SV_RX_DEFINE_MEMBERS(AcEditorReactor, newAcRxClass(L"AcEditorReactor", L"AcRxEventReactor"))
SV_RX_DEFINE_MEMBERS(AcEditor, newAcRxClass(L"AcEditor", L"AcRxObject"))

AcEditor::AcEditor() : m_data(new Data) {}

AcEditor::~AcEditor() {
    delete m_data;
}

void AcEditor::addReactor(AcEditorReactor* reactor) {
    m_data->reactors.add(reactor);
}

void AcEditor::removeReactor(AcEditorReactor* reactor) {
    m_data->reactors.remove(reactor);
}

void AcEditor::notify(const std::function<void(AcEditorReactor*)>& notifyOne) {
    m_data->reactors.notify(notifyOne);
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
