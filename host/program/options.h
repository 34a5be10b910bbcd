#pragma once

#include <string>
#include <vector>

// What the host program was asked to do on its command line.
struct HostOptions {
    bool showHelp = false;
    bool showVersion = false;
    bool gui = false;                  // a desktop window instead of the terminal
    std::vector<std::wstring> modules; // loaded before anything else, in this order
    std::wstring file; // a drawing to open or a script to run; empty: commands from standard input
    std::string error; // set when the command line is not understood
};

HostOptions parseHostOptions(int argc, char** argv);
const char* hostUsage();
