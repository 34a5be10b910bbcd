#pragma once

#include <string>

// The folder of the host's own settings: $SVHOST_CONFIG_DIR, else $XDG_CONFIG_HOME/sentavell-host
// (an absolute one), else $HOME/.config/sentavell-host; empty when none can be named.
std::string configurationFolder();

enum class FileRead { Missing, Read, Failed };

// The whole file, unless it is larger than any registry file we write.
FileRead readWholeFile(const std::string& path, std::string& text, std::string& error);

// Writes a temporary file beside path and renames it over path, so that a reader sees the old
// text or the new one, never a part. Makes the folder when it is missing.
bool replaceFileAtomically(const std::string& path, const std::string& text, std::string& error);
