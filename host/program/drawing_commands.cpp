#include "drawing_commands.h"

#include <sys/stat.h>

#include <string>

#include "acad/adscodes.h"
#include "ap/docman.h"
#include "crt/crt.h"
#include "crt/format.h"
#include "db/acutbuffer.h"
#include "db/database.h"
#include "ed/commands.h"
#include "ed/getinput.h"
#include "ed/sysvars.h"
#include "host_commands.h"
#include "rx/print.h"
#include "saving.h"

namespace {

AcApDocument* currentOrComplain() {
    AcApDocument* document = acDocManager->curDocument();
    if (document == nullptr) {
        acutPrintf(L"\nNo drawing is open.");
        svSetCommandFailed();
    }
    return document;
}

void newDrawing() {
    AcApDocument* document = nullptr;
    acDocManager->newDocument(document);
    acutPrintf(L"\n%s is the current drawing.", document->docTitle());
}

// The open drawing kept in the file `path` names, whatever name reached it.
AcApDocument* documentOfFile(const std::wstring& path) {
    struct stat wanted {};
    if (::stat(svToUtf8(path).c_str(), &wanted) != 0)
        return nullptr;
    for (AcApDocument* document : acDocManager->documents()) {
        struct stat open {};
        if (document->isNamedDrawing() &&
            ::stat(svToUtf8(document->fileName()).c_str(), &open) == 0 &&
            open.st_dev == wanted.st_dev && open.st_ino == wanted.st_ino)
            return document;
    }
    return nullptr;
}

// A drawing that cannot be read fails the command; the drawings open before stay as they were.
// A file that is open already is not read twice: two copies would overwrite each other's work.
void openDrawing() {
    std::wstring path;
    if (!askHostText(L"\nDrawing file to open: ", path)) {
        svSetCommandFailed();
        return;
    }
    AcApDocument* document = documentOfFile(path);
    if (document != nullptr) {
        acDocManager->activateDocument(document);
        acutPrintf(L"\n%s is open already; it is the current drawing.", document->fileName());
        return;
    }
    const Acad::ErrorStatus es = acDocManager->openDocument(path.c_str(), document);
    if (es != Acad::eOk) {
        const wchar_t* why = svDbReadError();
        acutPrintf(L"\nCannot open %s: %s.", path.c_str(),
                   *why != L'\0' ? why : acadErrorStatusText(es));
        svSetCommandFailed();
        return;
    }
    acutPrintf(L"\n%s is the current drawing.", document->docTitle());
}

void saveAsDrawing() {
    AcApDocument* document = currentOrComplain();
    std::wstring path;
    if (document == nullptr)
        return;
    if (!askHostText(L"\nSave drawing as: ", path) || !saveDrawingTo(document, path))
        svSetCommandFailed();
}

void saveDrawing() {
    AcApDocument* document = currentOrComplain();
    if (document != nullptr && !saveDrawingAsked(document))
        svSetCommandFailed();
}

// Cancel keeps the drawing open; so does the end of a script, which leaves its changes unsaved.
void closeDrawing() {
    AcApDocument* document = currentOrComplain();
    if (document == nullptr)
        return;
    switch (askToSaveChanges(document)) {
    case SaveAnswer::Go:
        acDocManager->closeDocument(document);
        break;
    case SaveAnswer::Stay:
    case SaveAnswer::InputEnd:
        acutPrintf(L"\n%s stays open.", document->docTitle());
        break;
    case SaveAnswer::Refused:
        svSetCommandFailed();
        break;
    }
}

void listDrawings() {
    int number = 1;
    for (AcApDocument* document : acDocManager->documents()) {
        acutPrintf(L"\n%c %d %s", document == acDocManager->curDocument() ? L'*' : L' ', number++,
                   document->fileName());
    }
    if (number == 1)
        acutPrintf(L"\nNo drawing is open.");
}

// By its number in DRAWINGS or by its title.
void switchDrawing() {
    std::wstring which;
    if (!askHostText(L"\nDrawing number or name: ", which)) {
        svSetCommandFailed();
        return;
    }
    const auto documents = acDocManager->documents();
    const int number = _wtoi(which.c_str());
    for (std::size_t i = 0; i < documents.size(); ++i) {
        if (number == static_cast<int>(i + 1) ||
            _wcsicmp(documents[i]->docTitle(), which.c_str()) == 0) {
            acDocManager->activateDocument(documents[i]);
            return;
        }
    }
    acutPrintf(L"\nNo open drawing %s.", which.c_str());
    svSetCommandFailed();
}

std::wstring valueText(const resbuf& value) {
    switch (value.restype) {
    case RTSHORT:
        return std::to_wstring(value.resval.rint);
    case RTLONG:
        return std::to_wstring(value.resval.rlong);
    case RTREAL:
        return svFormat(L"%.8g", value.resval.rreal);
    case RTSTR:
        return svFormat(L"\"%s\"", value.resval.rstring);
    default:
        return L"?";
    }
}

void getVariable() {
    std::wstring name;
    resbuf value{};
    if (!askHostText(L"\nVariable name: ", name, false) ||
        acedGetVar(name.c_str(), &value) != RTNORM) {
        acutPrintf(L"\nUnknown variable %s.", name.c_str());
        svSetCommandFailed();
        return;
    }
    acutPrintf(L"\n%s = %s", name.c_str(), valueText(value).c_str());
    if (value.restype == RTSTR)
        acutDelBuffer(value.resval.rstring);
}

// The new value is read as the variable's own type.
void setVariable() {
    std::wstring name;
    resbuf current{};
    if (!askHostText(L"\nVariable name: ", name, false) ||
        acedGetVar(name.c_str(), &current) != RTNORM) {
        acutPrintf(L"\nUnknown variable %s.", name.c_str());
        svSetCommandFailed();
        return;
    }
    resbuf value{nullptr, current.restype, {}};
    int status = RTERROR;
    const std::wstring prompt = L"\nNew value for " + name + L" <" + valueText(current) + L">: ";
    std::wstring text;
    switch (current.restype) {
    case RTSHORT:
    case RTLONG: {
        int number = 0;
        status = acedGetInt(prompt.c_str(), &number);
        value.restype = RTSHORT;
        value.resval.rint = static_cast<short>(number);
        break;
    }
    case RTREAL:
        status = acedGetReal(prompt.c_str(), &value.resval.rreal);
        break;
    case RTSTR:
        acutDelBuffer(current.resval.rstring);
        if (askHostText(prompt.c_str(), text)) {
            value.resval.rstring = text.data();
            status = RTNORM;
        }
        break;
    default:
        break;
    }
    if (status == RTNONE)
        return;
    if (status != RTNORM || acedSetVar(name.c_str(), &value) != RTNORM) {
        acutPrintf(L"\n%s keeps its value.", name.c_str());
        svSetCommandFailed();
    }
}

} // namespace

void registerDrawingCommands(const wchar_t* group) {
    struct Entry {
        const wchar_t* name;
        AcRxFunctionPtr function;
    };
    const Entry commands[] = {
        {L"NEW", &newDrawing},       {L"OPEN", &openDrawing},   {L"SAVE", &saveDrawing},
        {L"SAVEAS", &saveAsDrawing}, {L"CLOSE", &closeDrawing}, {L"DRAWINGS", &listDrawings},
        {L"SWITCH", &switchDrawing}, {L"GETVAR", &getVariable}, {L"SETVAR", &setVariable},
    };
    for (const Entry& command : commands)
        acedRegCmds->addCommand(group, command.name, command.name, ACRX_CMD_MODAL,
                                command.function);
}
