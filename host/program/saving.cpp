#include "saving.h"

#include <cstdint>
#include <map>

#include "acad/adscodes.h"
#include "ap/docman.h"
#include "crt/format.h"
#include "db/database.h"
#include "db/undo.h"
#include "ed/getinput.h"
#include "ed/input.h"
#include "ed/keywords.h"
#include "rx/print.h"

namespace {

constexpr const wchar_t* kDrawingExtension = L".svd";

// The change count each drawing had when it was last saved; a drawing missing here was not saved
// since it was opened or made, which is where its count starts.
class SavedCounts : public AcApDocManagerReactor {
public:
    SavedCounts() { acDocManager->addReactor(this); }

    void documentToBeDestroyed(AcApDocument* document) override { m_counts.erase(document); }
    std::uint64_t& at(AcApDocument* document) { return m_counts[document]; }

private:
    std::map<AcApDocument*, std::uint64_t> m_counts;
};

// Never destroyed: the document manager may call it until the host ends.
SavedCounts& savedCounts() {
    static auto* counts = new SavedCounts;
    return *counts;
}

bool hasExtension(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"/\\");
    const std::size_t dot = path.rfind(L'.');
    return dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash + 1);
}

} // namespace

bool drawingModified(AcApDocument* document) {
    return document != nullptr &&
           svDbChangeCount(document->database()) != savedCounts().at(document);
}

bool saveDrawingTo(AcApDocument* document, std::wstring path) {
    if (!hasExtension(path))
        path += kDrawingExtension;
    const Acad::ErrorStatus es = document->database()->saveAs(path.c_str());
    if (es != Acad::eOk) {
        const wchar_t* why = svDbFileError(document->database());
        acutPrintf(L"\nCannot save %s: %s.", path.c_str(),
                   *why != L'\0' ? why : acadErrorStatusText(es));
        return false;
    }
    acDocManager->setFileName(document, path.c_str());
    savedCounts().at(document) = svDbChangeCount(document->database());
    acutPrintf(L"\nSaved %s.", path.c_str());
    return true;
}

bool saveDrawingAsked(AcApDocument* document) {
    if (document->isNamedDrawing())
        return saveDrawingTo(document, document->fileName());
    const std::wstring prompt = svFormat(L"\nSave drawing as <%s>: ", document->docTitle());
    wchar_t answer[4096];
    if (acedGetString(1, prompt.c_str(), answer, 4096) != RTNORM)
        return false;
    std::wstring path = answer;
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
        path = path.substr(1, path.size() - 2);
    return saveDrawingTo(document, path.empty() ? document->docTitle() : path);
}

// Read here rather than through acedGetKword: the end of a script at this question leaves the
// changes unsaved, as the script's end says, and is no cancelled command.
SaveAnswer askToSaveChanges(AcApDocument* document) {
    if (!drawingModified(document))
        return SaveAnswer::Go;
    const std::wstring prompt =
        svFormat(L"\nSave changes to %s? [Yes/No/Cancel] <Yes>: ", document->docTitle());
    const SvKeywordList answers(L"Yes No Cancel");
    for (;;) {
        std::wstring answer;
        if (!svReadAnswer(prompt.c_str(), answer))
            return SaveAnswer::InputEnd;
        if (answer == kSvCancelWord) {
            acutPrintf(L"*Cancel*");
            return SaveAnswer::Stay;
        }
        const std::wstring keyword = answer.empty() ? L"Yes" : answers.match(answer);
        if (keyword == L"Yes")
            return saveDrawingAsked(document) ? SaveAnswer::Go : SaveAnswer::Stay;
        if (keyword == L"No")
            return SaveAnswer::Go;
        if (keyword == L"Cancel")
            return SaveAnswer::Stay;
        acutPrintf(L"\nYes, No or Cancel is expected.");
        if (!svInputIsInteractive())
            return SaveAnswer::Refused;
    }
}

void reportUnsavedDrawings() {
    for (AcApDocument* document : acDocManager->documents()) {
        if (drawingModified(document))
            acutPrintf(L"\nThe changes to %s are not saved.", document->docTitle());
    }
}
