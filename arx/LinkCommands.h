#pragma once

// Bodies of "sv_linkremove" and "sv_update", run inside the command transaction.
bool removeLinks();
bool updateLinks();
