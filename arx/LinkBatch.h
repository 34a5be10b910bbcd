#pragma once

// Body of "sv_linkbatch", run inside the command transaction: one step for UNDO however many
// links it makes.
bool linkBatchCommand();
