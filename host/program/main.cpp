#include <cstdio>

#include "options.h"
#include "session.h"
#include "versions.h"

int main(int argc, char** argv) {
    const HostOptions options = parseHostOptions(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "svhost: %s\n%s", options.error.c_str(), hostUsage());
        return 2;
    }
    if (options.showHelp) {
        std::fputs(hostUsage(), stdout);
        return 0;
    }
    if (options.showVersion)
        return printVersions(options);
    return runSession(options);
}
