// LIST, the spaces, PLOT and TIME.

#include <chrono>
#include <ctime>
#include <cwctype>
#include <iterator>

#include "command_input.h"
#include "crt/crt.h"
#include "crt/format.h"
#include "db/database.h"
#include "db/dictionary.h"
#include "db/symboltable.h"
#include "ed/spaces.h"
#include "plot/painted_plot.h"
#include "plot/svg_plot.h"
#include "rx/print.h"

namespace {

using namespace cli;

const Keywords kPlotSpaces{L"Current", L"Model", L"Paper", L"Layout"};

std::wstring className(AcDbObjectId id) {
    Opened<AcDbObject> object(id, AcDb::kForRead);
    return object ? object->isA()->name() : L"(cannot be opened)";
}

// Below the line naming an object that is not an entity, what the object itself has to say.
void describe(AcDbObjectId id) {
    Opened<AcDbObject> object(id, AcDb::kForRead);
    if (object && !AcDbEntity::cast(object.get()))
        object->list();
}

// Where an object that refers to a listed one lives: for one kept in an entity's extension
// dictionary (as modules keep what they attach), that entity.
std::wstring whereKept(AcDbObjectId id) {
    Opened<AcDbObject> object(id, AcDb::kForRead);
    if (!object)
        return L"";
    Opened<AcDbDictionary> dictionary(object->ownerId(), AcDb::kForRead);
    if (!dictionary)
        return L"";
    Opened<AcDbEntity> holder(dictionary->ownerId(), AcDb::kForRead);
    if (!holder || holder->extensionDictionary() != dictionary->objectId())
        return L"";
    const AcRxClass* kind = holder->isA();
    return svFormat(L" of %s %s", kind->dxfName() != nullptr ? kind->dxfName() : kind->name(),
                    handleText(holder->objectId()).c_str());
}

// What list() leaves out: the extension dictionary's entries, the persistent reactors and the
// objects that refer to the entity.
void listAttachments(const AcDbEntity* entity, const AcDbObjectIdArray& referring) {
    if (entity->extensionDictionary().isValid()) {
        Opened<AcDbDictionary> dictionary(entity->extensionDictionary(), AcDb::kForRead);
        if (dictionary) {
            acutPrintf(L"    %-18s%u entries\n", L"Extension dict:",
                       static_cast<unsigned>(dictionary->numEntries()));
            AcDbDictionaryIterator* it = dictionary->newIterator();
            for (; !it->done(); it->next()) {
                acutPrintf(L"        %s  %s  %s\n", it->name(), handleText(it->objectId()).c_str(),
                           className(it->objectId()).c_str());
                describe(it->objectId());
            }
            delete it;
        }
    }
    const AcDbObjectIdArray reactors = entity->persistentReactors();
    for (int i = 0; i < reactors.length(); ++i) {
        acutPrintf(L"    %-18s%s  %s\n", L"Reactor:", handleText(reactors[i]).c_str(),
                   className(reactors[i]).c_str());
        Opened<AcDbObject> reactor(reactors[i], AcDb::kForRead);
        if (reactor && reactor->ownerId() != entity->extensionDictionary())
            describe(reactors[i]); // those of the extension dictionary were described there
    }
    for (int i = 0; i < referring.length(); ++i) {
        const AcDbObjectId id = referring[i];
        if (id == entity->extensionDictionary() || entity->hasPersistentReactor(id))
            continue;
        Opened<AcDbObject> object(id, AcDb::kForRead);
        if (object && object->ownerId() == entity->objectId())
            continue; // its own parts, attributes say, point back at it
        acutPrintf(L"    %-18s%s  %s%s\n", L"Referred to by:", handleText(id).c_str(),
                   className(id).c_str(), whereKept(id).c_str());
        describe(id);
    }
}

void list() {
    AcDbDatabase* db = database();
    const std::vector<AcDbObjectId> ids = selectObjects();
    const std::vector<AcDbObjectIdArray> referring = svDbReferencesTo(db, ids);
    acutPrintf(L"\n");
    int listed = 0;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const AcDbObjectId& id = ids[i];
        Opened<AcDbEntity> entity(id, AcDb::kForRead);
        if (!entity)
            continue;
        entity->list();
        listAttachments(entity.get(), referring[i]);
        ++listed;
    }
    acutPrintf(L"%d object(s) listed.", listed);
}

void mspace() {
    AcDbDatabase* db = database();
    if (db->tilemode())
        fail(L"MSPACE works on the layout: TILEMODE is 1.");
    if (acedMspace(db) != Acad::eOk)
        fail(L"The layout has no viewport that is on: make one with MVIEW.");
    acutPrintf(L"\nWorking in model space through a viewport.");
}

void pspace() {
    AcDbDatabase* db = database();
    if (db->tilemode())
        fail(L"PSPACE works on the layout: TILEMODE is 1.");
    check(acedPspace(db), L"Cannot switch to paper space");
    acutPrintf(L"\nWorking on the layout's paper.");
}

void tilemode() {
    AcDbDatabase* db = database();
    std::wstring answer;
    for (;;) {
        answer = askWord(std::wstring(L"\nNew value for TILEMODE <") +
                         (db->tilemode() ? L"1" : L"0") + L">: ");
        if (answer.empty())
            return;
        if (answer == L"0" || answer == L"1")
            break;
        refuse(L"TILEMODE is 0 (the layout) or 1 (model space).");
    }
    check(db->setTilemode(answer == L"1"), L"TILEMODE keeps its value");
    acutPrintf(answer == L"1" ? L"\nModel space." : L"\nThe layout.");
}

// Model, the layout or any block; the options are matched as keywords are, so a block whose
// name is one of their abbreviations is plotted by its full name only when that is no option.
AcDbObjectId spaceToPlot(AcDbDatabase* db, const std::wstring& name) {
    const std::wstring option = name.empty() ? L"Current" : kPlotSpaces.match(name);
    if (option == L"Current")
        return db->currentSpaceId();
    if (option == L"Model")
        return db->modelSpaceId();
    if (option == L"Paper" || option == L"Layout" || _wcsicmp(name.c_str(), L"Layout1") == 0)
        return db->paperSpaceId();
    Opened<AcDbBlockTable> table(db->blockTableId(), AcDb::kForRead);
    AcDbObjectId id;
    if (!table || table->getAt(name.c_str(), id) != Acad::eOk)
        fail(L"There is no layout or block " + name.substr(0, 60) + L".");
    return id;
}

// The kind of file by its extension; one the host cannot write is refused, never written as
// another kind under that name.
bool plotToFile(AcDbDatabase* db, AcDbObjectId space, const std::wstring& path,
                std::wstring& error) {
    const std::size_t dot = path.rfind(L'.');
    const std::size_t slash = path.find_last_of(L"/\\");
    std::wstring extension =
        dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)
            ? L""
            : path.substr(dot);
    for (wchar_t& c : extension)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    if (extension == L".svg")
        return svPlotToSvgFile(db, space, path, error);
    if (extension == L".png")
        return svPlotPainted(db, space, path, SvPaintedPlot::Png, error);
    if (extension == L".pdf")
        return svPlotPainted(db, space, path, SvPaintedPlot::Pdf, error);
    error = L"PLOT writes .svg, .png and .pdf files; \"" + shown(path) + L"\" is none of them.";
    return false;
}

void plot() {
    AcDbDatabase* db = database();
    const AcDbObjectId space =
        spaceToPlot(db, askWord(L"\nLayout to plot [Current/Model/Paper or a block] <Current>: "));
    const std::wstring path = askLine(L"\nPlot file (.svg, .png or .pdf): ");
    if (path.empty())
        fail(L"A file name is required.");
    std::wstring error;
    if (!plotToFile(db, space, path, error))
        fail(error);
    acutPrintf(L"\nPlotted to %s.", path.c_str());
}

// Taken as the program starts, before any module or drawing is loaded.
const std::chrono::steady_clock::time_point kSessionStart = std::chrono::steady_clock::now();

// The clock, and how long this session has run: a script can time its steps with it.
void showTime() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    wchar_t clock[64];
    std::wcsftime(clock, std::size(clock), L"%a %d %b %Y %H:%M:%S", &local);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    const double inSession =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - kSessionStart).count();
    acutPrintf(L"\nCurrent time:    %s.%03d", clock, static_cast<int>(millis));
    acutPrintf(L"\nTime in session: %.6f s", inSession);
}

const HostCommand kCommands[] = {
    {L"LIST", L"selection",
     L"lists properties, extension dictionary entries and persistent reactors", &command<list>},
    {L"MSPACE", L"", L"works in model space through the layout's viewport", &command<mspace>},
    {L"PSPACE", L"", L"works on the layout's paper", &command<pspace>},
    {L"TILEMODE", L"0|1", L"1 shows model space, 0 the layout", &command<tilemode>},
    {L"PLOT", L"Current|Model|Paper|block file.svg|.png|.pdf",
     L"writes the space, the layout or a block to an SVG, PNG or PDF file", &command<plot>},
    {L"TIME", L"", L"shows the clock and how long the session has run", &command<showTime>},
};

} // namespace

std::span<const HostCommand> inspectCommands() {
    return kCommands;
}
