// zelta16: the command line of the preprocessor, as the compiler starts it:
//   zelta16 <source> /i<include dir> /n /s /p /u<header>
// Exit status 0 on success, 1 when the source had errors, 2 for a bad
// command line.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "preprocessor.h"

namespace {

const char kUsage[] =
    "Usage: zelta16 <source> [/i<dir>] [/p] [/u[<header>]] [/n] [/s]\n"
    "Preprocesses a Zelta source: directives, #define and the command rules.\n"
    "  /i<dir>     add an include directory (may repeat; ';' separates several);\n"
    "              the INCLUDE environment variable adds more (';' or ':')\n"
    "  /p          write the result to <source dir>/<name>.ppo (else to standard output)\n"
    "  /u<header>  process <header> first as the standard header (/u alone: ezelta.ch)\n"
    "  /n, /s      accepted for compatibility; they change nothing here\n"
    "  --help      show this text\n"
    "Errors are written as \"file(line) Error: message\" on standard error.\n";

void addDirs(std::vector<std::string>& dirs, const std::string& list, const char* separators) {
    size_t k = 0;
    while (k <= list.size()) {
        size_t end = list.find_first_of(separators, k);
        if (end == std::string::npos) end = list.size();
        if (end > k) dirs.push_back(list.substr(k, end - k));
        k = end + 1;
    }
}

std::string ppoPath(const std::string& source) {
    size_t slash = source.find_last_of('/');
    size_t dot = source.find_last_of('.');
    std::string stem =
        dot != std::string::npos && (slash == std::string::npos || dot > slash) ? source.substr(0, dot) : source;
    return stem + ".ppo";
}

bool isFile(const std::string& path) {
    std::ifstream in(path);
    return static_cast<bool>(in);
}

// A switch is /x or -x with x one of i, n, p, s, u. An absolute source path
// may look like one (/usr/...), so an existing file wins while no source is
// known yet.
bool isSwitch(const std::string& arg, bool haveSource) {
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return false;
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(arg[1])));
    if (c != 'i' && c != 'n' && c != 'p' && c != 's' && c != 'u') return false;
    if ((c == 'n' || c == 'p' || c == 's') && arg.size() != 2) return false;
    return arg[0] == '-' || haveSource || !isFile(arg);
}

}  // namespace

int main(int argc, char** argv) {
    pp::Options options;
    std::string source;
    bool toFile = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h" || arg == "/?") {
            std::cout << kUsage;
            return 0;
        }
        if (!isSwitch(arg, !source.empty())) {
            if (!source.empty()) {
                std::cerr << "zelta16: Error: more than one source given ('" << source << "', '" << arg << "')\n"
                          << kUsage;
                return 2;
            }
            source = arg;
            continue;
        }
        switch (std::tolower(static_cast<unsigned char>(arg[1]))) {
            case 'i': addDirs(options.includeDirs, arg.substr(2), ";"); break;
            case 'u': options.header = arg.size() > 2 ? arg.substr(2) : "ezelta.ch"; break;
            case 'p': toFile = true; break;
            default:  // /n and /s
                break;
        }
    }
    if (source.empty()) {
        std::cerr << "zelta16: Error: no source given\n" << kUsage;
        return 2;
    }
    if (const char* env = std::getenv("INCLUDE")) addDirs(options.includeDirs, env, ";:");

    pp::Preprocessor pre(options);
    std::string out;
    bool ok = pre.run(source, out);
    for (const std::string& e : pre.errors()) std::cerr << e << '\n';
    if (!toFile) {
        if (ok) std::cout << out;
        return ok ? 0 : 1;
    }
    const std::string target = ppoPath(source);
    if (!ok) {
        // A stale .ppo from an earlier run must not be compiled in its place.
        std::remove(target.c_str());
        return 1;
    }
    std::ofstream file(target, std::ios::binary | std::ios::trunc);
    file << out;
    file.close();
    if (!file) {
        std::cerr << target << "(0) Error: Cannot write the preprocessed file\n";
        std::remove(target.c_str());
        return 1;
    }
    return 0;
}
