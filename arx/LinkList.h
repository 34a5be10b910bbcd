#pragma once

// Body of "sv_linklist", run inside the command transaction.
bool listLinksCommand();
// Says in one line how many labels of the working drawing are stale; nothing when none is.
void reportStaleLabels();
