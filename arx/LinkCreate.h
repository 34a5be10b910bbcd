#pragma once

// Body of "sv_linkcreate", run inside the command transaction: true when a link was made.
bool createLinkCommand();
