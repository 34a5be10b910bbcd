#include "options.h"

#include <string_view>

#include "crt/format.h"

HostOptions parseHostOptions(int argc, char** argv) {
    HostOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.showHelp = true;
        } else if (arg == "--version") {
            options.showVersion = true;
        } else if (arg == "--gui") {
            options.gui = true;
        } else if (arg == "--load" || arg == "-l") {
            if (i + 1 >= argc) {
                options.error = "--load needs a module file";
                return options;
            }
            options.modules.push_back(svFromUtf8(argv[++i]));
        } else if (arg.size() > 1 && arg[0] == '-') {
            options.error = "unknown option " + std::string(arg);
            return options;
        } else if (options.file.empty()) {
            options.file = svFromUtf8(argv[i]);
        } else {
            options.error = "only one drawing or script may be given";
            return options;
        }
    }
    return options;
}

const char* hostUsage() {
    return "usage: svhost [options] [drawing | script]\n"
           "\n"
           "A command-line drafting host. It reads commands from standard input, after opening\n"
           "the drawing when one is given; a script's lines run as commands up to the first\n"
           "error. Ctrl-C cancels the command, QUIT ends the session.\n"
           "\n"
           "options:\n"
           "      --gui           work in a desktop window: the drawing, the command line, the\n"
           "                      dialogs under the pointer (F12 writes the window to "
           "frame-N.png)\n"
           "  -l, --load MODULE   load a module before anything else (may be repeated)\n"
           "  -h, --help          show this text\n"
           "      --version       show the version of the host and of the modules it loads\n"
           "\n"
           "exit status: 0 success, 1 a command failed in a script or piped input, or the\n"
           "drawing cannot be opened, 2 bad command line or no display for --gui\n";
}
