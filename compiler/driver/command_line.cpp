// The argument pass. Each option is recognised by a case-blind comparison of
// a fixed count of leading characters; the first row of kOptions that
// matches wins, which is why "-dontclean" is tried before "-d" and "-dirty".
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

// One row per option, tried in order: the first whose prefix matches (over
// its length, case-blind) reads the argument; `rest` is what follows the
// prefix.
struct tOption {
    const char* prefix;
    std::size_t length;
    tArgsResult (*read)(const std::string& arg, const std::string& rest, tBuildSettings& settings, std::ostream& out);
};

constexpr tArgsResult ok = tArgsResult::ok;

// clang-format off
const tOption kOptions[] = {
    {"-target=", 8, [](const std::string&, const std::string& rest, tBuildSettings& s, std::ostream& out) {
         return readTarget(rest, s) ? ok : usageAfter(out, message(tMessage::invalidTarget)); }},
    {"-dontclean", 10, [](const std::string&, const std::string&, tBuildSettings& s, std::ostream&) {
         s.keepGeneratedC = true; return ok; }},
    {"-cpu=", 5, [](const std::string&, const std::string& rest, tBuildSettings& s, std::ostream& out) {
         return readCpu(rest, s) ? ok : usageAfter(out, message(tMessage::invalidCpu)); }},
    {"-genlib", 7, [](const std::string&, const std::string&, tBuildSettings& s, std::ostream&) {
         s.libraryMode = tLibraryMode::generate; return ok; }},
    {"-implib=", 8, [](const std::string&, const std::string& rest, tBuildSettings& s, std::ostream&) {
         s.libraryMode = tLibraryMode::import; s.importName = rest; s.headerName = "zeltape.h"; return ok; }},
    {"-category=", 10, [](const std::string&, const std::string& rest, tBuildSettings& s, std::ostream&) {
         s.category = rest; return ok; }},
    {"-sdk=", 5, [](const std::string&, const std::string& rest, tBuildSettings& s, std::ostream&) {
         s.sdk = startsWith(rest, "3.5", 3) ? tSdk::PALM35 : tSdk::PALM5; return ok; }},
    {"-bmp=", 5, [](const std::string&, const std::string& rest, tBuildSettings& s, std::ostream&) {
         s.bitmapListFile = rest; return ok; }},
    {"-icon=", 6, [](const std::string&, const std::string& rest, tBuildSettings& s, std::ostream&) {
         s.iconFile = rest; return ok; }},
    {"-id=", 4, [](const std::string&, const std::string& rest, tBuildSettings& s, std::ostream&) {
         s.creatorId = rest; return ok; }},
    // The link step copies the version into a fixed buffer.
    {"-version=", 9, [](const std::string&, const std::string& rest, tBuildSettings& s, std::ostream& out) {
         if (rest.size() > kMaxVersionLength)
             return usageAfter(out, message(tMessage::versionTooLong, static_cast<int>(kMaxVersionLength), rest));
         s.version = rest; return ok; }},
    {"-name=", 6, [](const std::string&, const std::string& rest, tBuildSettings& s, std::ostream&) {
         s.appName = rest; return ok; }},
    {"-dirty", 6, [](const std::string&, const std::string&, tBuildSettings& s, std::ostream&) {
         s.clean = false; return ok; }},
    {"-d", 2, [](const std::string&, const std::string& rest, tBuildSettings& s, std::ostream&) {
         s.defines.push_back(rest); return ok; }},
    {"-g", 2, [](const std::string& arg, const std::string&, tBuildSettings& s, std::ostream&) {
         s.debug = true;
         if (startsWith(arg, "-gFULL", 6)) { s.fullDebug = true; s.target = tTarget::GCCDEBUG; }
         return ok; }},
    // Accepted for old build scripts; the scanner library is always linked.
    {"-scanner", 8, [](const std::string&, const std::string&, tBuildSettings&, std::ostream&) { return ok; }},
};
// clang-format on

tArgsResult readOne(const std::string& arg, tBuildSettings& settings, std::ostream& out)
{
    for (const tOption& option : kOptions)
        if (startsWith(arg, option.prefix, option.length))
            return option.read(arg, arg.substr(option.length), settings, out);
    if (!arg.empty() && arg[0] == '-')
        return usageAfter(out, message(tMessage::unknownArgument, arg));
    addSource(arg, settings);
    return ok;
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
