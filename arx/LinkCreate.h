#pragma once

// Body of "sv_linkcreate", run inside the command transaction: true, keeping the command's work,
// when a link was made or the user confirmed changes in the style manager on the way.
bool createLinkCommand();
