#pragma once

// Reads the command aliases shipped beside the program, then the user's own from the
// configuration folder; problems with either are shown, a missing file is none.
void loadAliasFiles();
