#pragma once

// What the window screen's parts share: the window's first size and how the command line takes
// the bottom of it.

#include "ap/docman.h"
#include "db/database.h"

namespace window {

constexpr int kStartWidth = 1024, kStartHeight = 768;
constexpr int kHistoryRows = 6;
constexpr int kRowHeight = 17;
constexpr int kCommandLineHeight = (kHistoryRows + 1) * kRowHeight + 8;

inline AcDbDatabase* currentDatabase() {
    AcApDocument* document = acDocManager->curDocument();
    return document != nullptr ? document->database() : nullptr;
}

} // namespace window
