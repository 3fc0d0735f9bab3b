// The argument pass. Each option is recognised by a case-blind comparison of
// a fixed count of leading characters; the first table entry that matches
// wins, which is why "-dontclean" is tried before "-d" and "-dirty".
#include "command_line.h"

#include "messages.h"

#include <strings.h>

namespace {

bool startsWith(const std::string& text, const char* prefix, std::size_t count)
{
    return strncasecmp(text.c_str(), prefix, count) == 0;
}

bool readTarget(const std::string& value, tBuildSettings& settings)
{
    // clang-format off
    static const struct { const char* name; std::size_t length; tTarget target; } kTargets[] = {
        {"PALMOS", 6, tTarget::PALMOS},     {"POCKETPC", 8, tTarget::POCKETPC},
        {"DOTNET", 6, tTarget::DOTNET},     {"WIN32DLL", 8, tTarget::WIN32DLL},
        {"WIN32EXE", 8, tTarget::WIN32EXE},
    };
    // clang-format on
    for (const auto& t : kTargets) {
        if (startsWith(value, t.name, t.length)) {
            settings.target = t.target;
            return true;
        }
    }
    return false;
}

bool readCpu(const std::string& value, tBuildSettings& settings)
{
    // Longer names first: "ARMV4I..." must not stop at "ARMV4" or "ARM".
    // clang-format off
    static const struct { const char* name; std::size_t length; tCpu cpu; } kCpus[] = {
        {"SH3", 3, tCpu::SH3},             {"ARMV4IPPC", 9, tCpu::ARMV4IPPC}, {"ARMV4ISRT", 9, tCpu::ARMV4ISRT},
        {"ARMV4ISTD", 9, tCpu::ARMV4ISTD}, {"ARMV4IPRO", 9, tCpu::ARMV4IPRO}, {"ARMV4", 5, tCpu::ARMV4},
        {"ARM", 3, tCpu::ARM},             {"MIPS", 4, tCpu::MIPS},           {"x86", 3, tCpu::x86},
    };
    // clang-format on
    for (const auto& c : kCpus) {
        if (startsWith(value, c.name, c.length)) {
            settings.cpu = c.cpu;
            return true;
        }
    }
    return false;
}

// A source is kept once, and only when the three characters after its first
// '.' name a source extension; anything else is dropped without a word.
void addSource(const std::string& arg, tBuildSettings& settings)
{
    for (auto it = settings.sources.rbegin(); it != settings.sources.rend(); ++it)
        if (*it == arg)
            return;
    std::size_t dot = arg.find('.');
    if (dot == std::string::npos)
        return;
    std::string ext = arg.substr(dot + 1);
    if (startsWith(ext, "prg", 3) || startsWith(ext, "prw", 3) || startsWith(ext, "ttl", 3))
        settings.sources.push_back(arg);
}

tArgsResult usageAfter(std::ostream& out, const std::string& text)
{
    out << text;
    printUsage(out);
    return tArgsResult::usage;
}

tArgsResult readOne(const std::string& arg, tBuildSettings& settings, std::ostream& out)
{
    auto rest = [&](std::size_t n) { return arg.substr(n); };
    if (startsWith(arg, "-target=", 8)) {
        if (!readTarget(rest(8), settings))
            return usageAfter(out, message(tMessage::invalidTarget));
    } else if (startsWith(arg, "-dontclean", 10)) {
        settings.keepGeneratedC = true;
    } else if (startsWith(arg, "-cpu=", 5)) {
        if (!readCpu(rest(5), settings))
            return usageAfter(out, message(tMessage::invalidCpu));
    } else if (startsWith(arg, "-genlib", 7)) {
        settings.libraryMode = tLibraryMode::generate;
    } else if (startsWith(arg, "-implib=", 8)) {
        settings.libraryMode = tLibraryMode::import;
        settings.importName = rest(8);
        settings.headerName = "zeltape.h";
    } else if (startsWith(arg, "-category=", 10)) {
        settings.category = rest(10);
    } else if (startsWith(arg, "-sdk=", 5)) {
        settings.sdk = startsWith(rest(5), "3.5", 3) ? tSdk::PALM35 : tSdk::PALM5;
    } else if (startsWith(arg, "-bmp=", 5)) {
        settings.bitmapListFile = rest(5);
    } else if (startsWith(arg, "-icon=", 6)) {
        settings.iconFile = rest(6);
    } else if (startsWith(arg, "-id=", 4)) {
        settings.creatorId = rest(4);
    } else if (startsWith(arg, "-version=", 9)) {
        // The link step copies the version into a fixed buffer.
        if (rest(9).size() > kMaxVersionLength)
            return usageAfter(out, message(tMessage::versionTooLong, static_cast<int>(kMaxVersionLength), rest(9)));
        settings.version = rest(9);
    } else if (startsWith(arg, "-name=", 6)) {
        settings.appName = rest(6);
    } else if (startsWith(arg, "-dirty", 6)) {
        settings.clean = false;
    } else if (startsWith(arg, "-d", 2)) {
        settings.defines.push_back(rest(2));
    } else if (startsWith(arg, "-g", 2)) {
        settings.debug = true;
        if (startsWith(arg, "-gFULL", 6)) {
            settings.fullDebug = true;
            settings.target = tTarget::GCCDEBUG;
        }
    } else if (startsWith(arg, "-scanner", 8)) {
        // Accepted for old build scripts; the scanner library is always linked.
    } else if (!arg.empty() && arg[0] == '-') {
        return usageAfter(out, message(tMessage::unknownArgument, arg));
    } else {
        addSource(arg, settings);
    }
    return tArgsResult::ok;
}

}  // namespace

void printBanner(std::ostream& out)
{
    out << message(tMessage::bannerTitle) << message(tMessage::bannerVersion, "4.40.00", "Feb 19 2010", "17:39:09")
        << message(tMessage::bannerMaker);
}

void printUsage(std::ostream& out) { out << message(tMessage::usage); }

tArgsResult readArguments(const std::vector<std::string>& args, tBuildSettings& settings, std::ostream& out)
{
    if (args.size() < 1)
        return usageAfter(out, "");
    for (const std::string& arg : args)
        if (readOne(arg, settings, out) == tArgsResult::usage)
            return tArgsResult::usage;
    if (settings.sources.empty())
        return usageAfter(out, "");
    return tArgsResult::ok;
}
