#pragma once

#include <optional>
#include <string>
#include <vector>

#include "shell/registry_tree.h"

// The first entry of $BROWSER (entries separated by ':') whose program exists, split into words
// as a shell would split them, the program found; "%s" in a word stands for the address. Empty
// when no entry names a program that exists; nothing when $BROWSER is not set.
std::optional<std::vector<std::string>> browserFromEnvironment();

// Enters the desktop's web browser as the handler of web pages (".htm", ".html" and their class
// "htmlfile" with its shell\open\command), from $BROWSER when it is set, else the desktop's
// default browser (xdg-settings, else xdg-mime) and its desktop entry. Enters nothing when no
// browser is known.
void addBrowserAssociations(RegistryKey& classesRoot);
