#pragma once

#include <string>

#include "shell/registry_tree.h"

// The registry file's text, UTF-8:
//   svhost registry 1
//   key "Software" "Sentavell"            a key by the names of its path
//   value "Left" dword 120                REG_DWORD
//   value "" sz "C:\\dir \"quoted\""      REG_SZ with its one terminator
//   value "Blob" hex 3:00ff10             any other type or shape, bytes in hex
//   end
// Strings escape \\ \" \n \r \t, and \u{hex} for other control characters and code points
// UTF-8 cannot carry, so that every value reads back byte for byte.
std::string formatRegistry(const RegistryKey& root);

// Fills root from the text; false, with the line and the reason in error, when the text is not
// a whole registry file.
bool parseRegistry(const std::string& text, RegistryKey& root, std::string& error);
