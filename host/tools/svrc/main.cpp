// svrc [-I folder]... [-D NAME[=value]]... -o out.cpp [-d out.d] script.rc
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "rc.h"

namespace {

int usage() {
    std::cerr << "usage: svrc [-I folder]... [-D NAME[=value]]... -o out.cpp [-d depfile] "
                 "script.rc\n";
    return 2;
}

std::string escapeForMake(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == ' ' || c == '#')
            out += '\\';
        if (c == '$')
            out += '$';
        out += c;
    }
    return out;
}

// Written beside and renamed, so a failed run never leaves half a source for the build to use.
bool writeFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out || !(out << text) || !out.flush())
            return false;
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    return !ec;
}

} // namespace

int main(int argc, char** argv) {
    svrc::Options options;
    std::string output, depfile;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::size_t prefix) -> std::string {
            if (arg.size() > prefix)
                return arg.substr(prefix);
            if (i + 1 < argc)
                return argv[++i];
            return std::string();
        };
        if (arg.rfind("-I", 0) == 0) {
            options.includeDirs.push_back(value(2));
        } else if (arg.rfind("-D", 0) == 0) {
            const std::string define = value(2);
            const std::size_t eq = define.find('=');
            options.defines[define.substr(0, eq)] =
                eq == std::string::npos ? std::string("1") : define.substr(eq + 1);
        } else if (arg == "-o") {
            output = value(2);
        } else if (arg == "-d") {
            depfile = value(2);
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else if (options.input.empty()) {
            options.input = arg;
        } else {
            return usage();
        }
    }
    if (options.input.empty() || output.empty())
        return usage();

    try {
        const svrc::Script script = svrc::compile(options);
        if (!writeFile(output, svrc::emitSource(script, options.input))) {
            std::cerr << "svrc: error: cannot write '" << output << "'\n";
            return 1;
        }
        if (!depfile.empty()) {
            std::string rule = escapeForMake(output) + ":";
            for (const std::string& dependency : script.dependencies)
                rule += " \\\n  " + escapeForMake(dependency);
            if (!writeFile(depfile, rule + "\n")) {
                std::cerr << "svrc: error: cannot write '" << depfile << "'\n";
                return 1;
            }
        }
    } catch (const svrc::Error& error) {
        std::cerr << error.what() << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "svrc: error: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
