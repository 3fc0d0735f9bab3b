// Command lines of the target toolchains. The templates are the tools' own
// syntax and are kept verbatim, blanks included: only their "%s" slots change.
// A step succeeds when its tool exits with 0; a tool that cannot be started
// counts as exit code 313.
#include "toolchains.h"

#include "messages.h"
#include "paths.h"
#include "resources.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

const char* const S = kToolSeparator;

const char kLibraryList[] =
    "comctl32.lib kernel32.lib user32.lib gdi32.lib winspool.lib comdlg32.lib advapi32.lib shell32.lib ole32.lib "
    "oleaut32.lib uuid.lib odbc32.lib odbccp32.lib wsock32.lib zeltaCE.lib zlib.lib ";

// The host C++ compiler: EZELTA_CXX, else g++.
std::string hostCompiler()
{
    const char* cxx = std::getenv("EZELTA_CXX");
    return cxx && *cxx ? cxx : "g++";
}

std::string quoted(const std::string& path) { return path.find(' ') == std::string::npos ? path : "\"" + path + "\""; }

// Generated code is calls into the run-time, so the programs run as fast at
// -O1 as at -O2, and -O2 only pays on small sources: g++ takes about 3.5
// minutes and 2 GB at -O2 for the 9 MB source of a 100,000-line program,
// about 1.5 minutes at -O1. -fno-plt: every operation is a call into the
// shared run-time, and calling through the GOT saves the PLT's jump.
constexpr std::streamoff kLargeSourceBytes = 1024 * 1024;

const char* defaultHostFlags(const std::string& cFile)
{
    std::ifstream source(cFile, std::ios::binary | std::ios::ate);
    bool large = !cFile.empty() && source && source.tellg() > kLargeSourceBytes;
    return large ? "-std=c++17 -O1 -w -fno-plt" : "-std=c++17 -O2 -w -fno-plt";
}

// Flags of the host compile (of cFile) and link: EZELTA_CXXFLAGS, else our
// optimising defaults, then whatever the run-time was built with that its
// users must repeat (the sanitizers), from lib/hostflags.txt.
std::string hostFlags(const std::string& desk, const std::string& cFile = "")
{
    const char* env = std::getenv("EZELTA_CXXFLAGS");
    std::string flags = env ? env : defaultHostFlags(cFile);
    std::ifstream extra(desk + "/lib/hostflags.txt");
    std::string line;
    while (std::getline(extra, line))
        if (!line.empty())
            flags += " " + line;
    return flags;
}

bool isCeTarget(tTarget target) { return target == tTarget::POCKETPC || target == tTarget::DOTNET; }

// The device compile templates, one row per CPU. Two shapes of slots: the
// tool path spelled with the separator ("%s%sbin%s": directory, separator,
// separator, then the directory twice for the includes) or with a fixed
// "\bin\" (the directory three times); the source comes last in both.
enum class tSlots { separated, fixed };

struct tCeCompile {
    tCpu cpu;
    tSlots slots;
    const char* text;
};

const char kCompileArmv4i[] =
    "%s\\bin\\clarm /nologo     /I \"%s/include/wce\" /I \"%s/include\" /D \"_WIN32_WCE=502\" /D \"ARM\" /D "
    "\"ARMV4\" /D \"ZELTA_DOT_NET_EXPORTS\" /D \"_ARM_\" /D \"UNDER_CE\" /D \"WIN32_PLATFORM_PSPC\"  /D "
    "\"UNICODE\" /D \"_UNICODE\" /D \"NDEBUG\" /D \"_USRDLL\" /D \"ZELTACE_EXPORTS\"  /O2 /MC  /c %s";

const tCeCompile kCeCompiles[] = {
    {tCpu::SH3, tSlots::separated,
     "%s%sbin%sshcl /nologo /Zp4 /W3 /I \"%s/include/wce\" /I \"%s/include\" /D _WIN32_WCE=300 /D "
     "\"WIN32_PLATFORM_PSPC\" /D \"SHx\" /D \"SH3\" /D \"_SH3_\" /D UNDER_CE=300 /D \"UNICODE\" /D \"_UNICODE\" "
     "/D \"NDEBUG\" /YX /Oxs /MC /c %s"},
    {tCpu::ARM, tSlots::fixed,
     "%s\\bin\\clarm /nologo     /I \"%s/include/wce\" /I \"%s/include\" /D _WIN32_WCE=300 /D \"ARM\" /D "
     "\"_ARM_\" /D UNDER_CE=300 /D \"UNICODE\" /D \"_UNICODE\" /D \"NDEBUG\" /D \"_USRDLL\" /D "
     "\"ZELTACE_EXPORTS\"  /Oxs /MC /YX /Ox  /c %s"},
    {tCpu::MIPS, tSlots::separated,
     "%s%sbin%sclmips /nologo /W3 /I \"%s/include/wce\" /I \"%s/include\" /D _WIN32_WCE=300 /D \"MIPS\" /D "
     "\"_MIPS_\" /D UNDER_CE=300 /D \"UNICODE\" /D \"_UNICODE\" /D \"NDEBUG\" /YX /Oxs /MC /c %s"},
    {tCpu::x86, tSlots::separated,
     "%s%sbin%scl /nologo /W3 /I \"%s/include/wce\" /I \"%s/include\" /D _WIN32_WCE=300 /D \"WIN32\" /D "
     "\"STRICT\" /D \"_WIN32_WCE_EMULATION\" /D UNDER_CE=300 /D \"INTERNATIONAL\" /D \"USA\" /D "
     "\"INTLMSG_CODEPAGE\" /D \"i486\" /D \"UNICODE\" /D \"_UNICODE\" /D \"_X86_\" /D \"x86\" /D \"NDEBUG\" /D "
     "\"_USRDLL\" /D \"zeltaCE_EXPORTS\" /YX /Gz /Oxs /c %s"},
    {tCpu::ARMV4, tSlots::fixed,
     "%s\\bin\\clarm /nologo     /I \"%s/include/wce\" /I \"%s/include\" /D _WIN32_WCE=420 /D \"ARM\" /D "
     "\"ARMV4\" /D \"ZELTA_DOT_NET_EXPORTS\" /D \"_ARM_\" /D UNDER_CE=420 /D \"WIN32_PLATFORM_PSPC=400\"  /D "
     "\"UNICODE\" /D \"_UNICODE\" /D \"NDEBUG\" /D \"_USRDLL\" /D \"ZELTACE_EXPORTS\"  /O2 /MC  /c %s"},
    {tCpu::ARMV4ISRT, tSlots::fixed, kCompileArmv4i},
    {tCpu::ARMV4IPPC, tSlots::fixed, kCompileArmv4i},
    {tCpu::ARMV4ISTD, tSlots::fixed, kCompileArmv4i},
    {tCpu::ARMV4IPRO, tSlots::fixed,
     "%s\\bin\\clarm /nologo     /I \"%s/include/wce\" /I \"%s/include\" /D _WIN32_WCE=502 /D \"ARM\" /D "
     "\"ARMV4\" /D \"ZELTA_DOT_NET_EXPORTS\" /D \"_ARM_\" /D UNDER_CE=420 /D \"WIN32_PLATFORM_PSPC=400\"  /D "
     "\"UNICODE\" /D \"_UNICODE\" /D \"NDEBUG\" /D \"_USRDLL\" /D \"ZELTACE_EXPORTS\"  /O2 /MC  /c %s"},
};

// The device link and librarian templates, one row per CPU; the last row
// (any other CPU: ARMV4) is the default. Link slots: install directory,
// import name, output, version; librarian slots: install directory, output.
struct tCeLink {
    tCpu cpu;
    const char* link;
    const char* librarian;
};

const char kLinkArmv4i[] =
    "%s\\bin\\link  %s  commctrl.lib coredll.lib aygshell.lib corelibc.lib zeltaCE.lib  /nologo "
    "/base:\"0x00010000\" /stack:0x10000,0x1000 /entry:\"WinMainCRTStartup\" /incremental:no /out:\"%s\" "
    "/subsystem:windowsce,5.02 /align:\"4096\" /MACHINE:THUMB  /version:%s";
const char kLibrarianArmv4i[] = "%s\\bin\\lib   /nologo  /out:\"%s\"  /MACHINE:THUMB  /subsystem:WINDOWSCE";

const tCeLink kCeLinks[] = {
    {tCpu::SH3,
     "%s\\bin\\link %s commctrl.lib coredll.lib aygshell.lib /nologo /base:\"0x00010000\" /stack:0x10000,0x1000 "
     "/entry:\"WinMainCRTStartup\" /incremental:no /nodefaultlib:libc.lib /nodefaultlib:libcd.lib "
     "/nodefaultlib:libcmt.lib /nodefaultlib:libcmtd.lib /nodefaultlib:msvcrt.lib /nodefaultlib:msvcrtd.lib "
     "/nodefaultlib:oldnames.lib /out:%s /subsystem:windowsce,3.00 /MACHINE:SH3 /OPT:NOREF  /version:%s",
     "%s\\bin\\lib  /out:%s  /MACHINE:SH3 /subsystem:WINDOWSCE"},
    {tCpu::ARM,
     "%s\\bin\\link  %s corelibc.lib zeltaCE.lib commctrl.lib coredll.lib aygshell.lib /nologo "
     "/base:\"0x00010000\" /stack:0x10000,0x1000 /entry:\"WinMainCRTStartup\" /incremental:no /out:\"%s\" "
     "/subsystem:windowsce,3.00 /align:\"4096\" /MACHINE:ARM  /version:%s",
     "%s\\bin\\lib   /nologo  /out:\"%s\"  /MACHINE:ARM  /subsystem:WINDOWSCE"},
    {tCpu::MIPS,
     "%s\\bin\\link %s corelibc.lib zeltaCE.lib commctrl.lib coredll.lib aygshell.lib /nologo "
     "/base:\"0x00010000\" /stack:0x10000,0x1000 /entry:\"WinMainCRTStartup\" /incremental:no "
     "/nodefaultlib:libc.lib /nodefaultlib:libcd.lib /nodefaultlib:libcmt.lib /nodefaultlib:libcmtd.lib "
     "/nodefaultlib:msvcrt.lib /nodefaultlib:msvcrtd.lib /out:%s /subsystem:WINDOWSCE /MACHINE:MIPS  "
     "/version:%s",
     "%s\\bin\\lib   /nologo  /out:%s /MACHINE:MIPS /subsystem:WINDOWSCE"},
    {tCpu::x86,
     "%s\\bin\\link   %s /nologo /stack:0x10000,0x1000 /subsystem:windows /incremental:no "
     "/nodefaultlib:\"OLDNAMES.lib\"  /nodefaultlib:\"libc.lib\" /out:\"%s\" /windowsce:emulation /MACHINE:IX86 "
     "/version:%s",
     "%s\\bin\\lib   /nologo  /out:\"%s\"  /MACHINE:IX86 /subsystem:WINDOWSCE"},
    {tCpu::ARMV4ISRT, kLinkArmv4i, kLibrarianArmv4i},
    {tCpu::ARMV4IPPC, kLinkArmv4i, kLibrarianArmv4i},
    {tCpu::ARMV4ISTD, kLinkArmv4i, kLibrarianArmv4i},
    {tCpu::ARMV4IPRO, kLinkArmv4i, kLibrarianArmv4i},
    {tCpu::ARMV4,
     "%s\\bin\\link  %s  commctrl.lib coredll.lib aygshell.lib corelibc.lib zeltaCE.lib  /nologo "
     "/base:\"0x00010000\" /stack:0x10000,0x1000 /entry:\"WinMainCRTStartup\" /incremental:no /out:\"%s\" "
     "/subsystem:windowsce,4.20 /align:\"4096\" /MACHINE:ARM  /version:%s",
     "%s\\bin\\lib   /nologo  /out:\"%s\"  /MACHINE:ARM  /subsystem:WINDOWSCE"},
};

std::string ceCompileCommand(tCpu cpu, const std::string& dir, const std::string& c)
{
    const char* d = dir.c_str();
    for (const tCeCompile& row : kCeCompiles) {
        if (row.cpu != cpu)
            continue;
        if (row.slots == tSlots::separated)
            return formatText(row.text, d, S, S, d, d, c.c_str());
        return formatText(row.text, d, d, d, c.c_str());
    }
    return {};
}

const tCeLink& ceLinkRow(tCpu cpu)
{
    for (const tCeLink& row : kCeLinks)
        if (row.cpu == cpu)
            return row;
    return kCeLinks[std::size(kCeLinks) - 1];
}

std::string ceLinkCommand(tCpu cpu, const char* d, const char* import, const char* out, const char* version)
{
    return formatText(ceLinkRow(cpu).link, d, import, out, version);
}

std::string ceLibrarianCommand(tCpu cpu, const char* d, const char* out)
{
    return formatText(ceLinkRow(cpu).librarian, d, out);
}

bool fileExists(const std::string& path) { return static_cast<bool>(std::ifstream(path)); }

}  // namespace

const char* targetDefine(tTarget target)
{
    if (target == tTarget::PALMOS)
        return "__PALM__";
    if (target == tTarget::WIN32EXE)
        return "__WINEMUL__";
    return "__POCKETPC__";
}

const char* objectExtension(const tBuildSettings& settings)
{
    return settings.target == tTarget::PALMOS || settings.target == tTarget::GCCDEBUG ? "o" : "obj";
}

std::string objectFor(const tBuildSettings& settings, const std::string& cFile)
{
    return withExtension(cFile, objectExtension(settings));
}

std::string contextFile(const tBuildSettings& settings, int k, const char* ext)
{
    return splitPath(settings.sources.front()).dir + formatText("ctx%03i.%s", settings.contextBase + k, ext);
}

std::string outputFile(const tBuildSettings& settings)
{
    const char* ext = settings.libraryMode == tLibraryMode::generate ? "lib"
                      : settings.target == tTarget::WIN32DLL         ? "dll"
                                                                     : "exe";
    return withExtension(settings.sources.front(), ext);
}

bool buildsSharedLibrary(const tBuildSettings& settings, const tBuildOutputs& outputs)
{
    return settings.target == tTarget::GCCDEBUG && settings.libraryMode != tLibraryMode::generate &&
           !outputs.moduleDefinitions.empty();
}

std::string sharedLibraryFile(const tBuildSettings& settings)
{
    tPathParts first = splitPath(settings.sources.front());
    return first.dir + "lib" + lowerCase(first.name) + ".so";
}

std::string exportScriptFile(const tBuildSettings& settings)
{
    return splitPath(settings.sources.front()).name + "-exports.ld";
}

std::vector<std::string> definitionExports(const std::string& text)
{
    std::vector<std::string> names;
    std::size_t at = text.find("EXPORTS");
    if (at == std::string::npos)
        return names;
    std::string word;
    for (std::size_t i = at + 7; i <= text.size(); ++i) {
        char c = i < text.size() ? text[i] : ' ';
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (!word.empty())
                names.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return names;
}

int tToolchain::run(const std::string& commandLine, tChildOutput output) { return runner_.run(commandLine, output); }

bool tToolchain::preprocess(const std::string& source)
{
    const std::string& base = baseDirectory(settings_);
    std::string tool = formatText("%s%sbin%szelta16", base.c_str(), S, S);
    std::string include = base + S + "include";
    if (settings_.target != tTarget::WIN32EXE && settings_.target != tTarget::WIN32DLL)
        runner_.setEnvironment("INCLUDE", include);

    std::string define = targetDefine(settings_.target);
    bool present = false;
    for (const std::string& d : settings_.defines)
        present |= d == define;
    if (!present)
        settings_.defines.push_back(define);

    if (!writeDefinesFile("defines.ch", settings_.defines)) {
        out_ << message(tMessage::errorCreating, "defines.ch");
        return false;
    }
    std::string command = quoteArgument(tool) + " " + quoteArgument(sourceWithExtension(source)) + " /i" +
                          quoteArgument(include) + " " + " /n /s /p /udefines.ch";
    int code = run(command, tChildOutput::toStderr);
    preprocessorStatus_ = code;
    if (code == kNotStarted)
        out_ << message(tMessage::toolNotStarted, tool);
    return code == 0;
}

std::string tToolchain::compileCommand(const std::string& cFile)
{
    const char* d = settings_.installDir.c_str();
    switch (settings_.target) {
    case tTarget::PALMOS: {
        std::string object = objectFor(settings_, cFile);
        bool old = settings_.sdk == tSdk::PALM35;
        return formatText(
            "%s%sbin%sm68k-palmos-gcc -c %s -o %s -I%s%sinclude -I%s%sinclude%smath -D__PALM__  -Os -fno-function-cse "
            "-Wall -frepo  -fno-exceptions -fno-rtti -fvtable-thunks -fcheck-new %s ",
            d, S, S, cFile.c_str(), object.c_str(), d, S, d, S, S, old ? "-D__VERSION_3_5__" : "-D__VERSION_5_3__");
    }
    case tTarget::POCKETPC: {
        std::string command = ceCompileCommand(settings_.cpu, settings_.installDir, cFile);
        runner_.setEnvironment("INCLUDE", settings_.installDir + S + "PocketPC" + S + "include");
        return command;
    }
    case tTarget::DOTNET: {
        std::string command;
        if (settings_.cpu == tCpu::ARMV4)
            command = ceCompileCommand(tCpu::ARMV4, settings_.installDir, cFile);
        else
            out_ << message(tMessage::dotnetNeedsArmv4);
        runner_.setEnvironment("INCLUDE", settings_.installDir + S + "Dotnet" + S + "include");
        return command;
    }
    case tTarget::WIN32EXE:
    case tTarget::WIN32DLL:
        return formatText(
            "cl /nologo /W3 /EHsc /O2 /I\"%s/include\"  /I \".\" /D \"NDEBUG\" /D \"_WINDOWS\"  /D \"_WINEMUL_\" /D "
            "\"WIN32\"  /D \"_CONSOLE\" /D \"_WINEMULZELTA_\" /D \"_WIN32_WCE\" /D \"_WINEMUL_\" /D \"_MBCS\"   /D "
            "\"_USRDLL\"  /D \"_WINDLL\" /D \"__ON_MARHOLD__\" /FD /Zm400 /c %s",
            settings_.desktopInstallDir.c_str(), cFile.c_str());
    case tTarget::GCCDEBUG:
        return formatText("%s -c %s -o %s -I. -I%s/include %s%s", hostCompiler().c_str(), quoted(cFile).c_str(),
                          quoted(objectFor(settings_, cFile)).c_str(), quoted(settings_.desktopInstallDir).c_str(),
                          hostFlags(settings_.desktopInstallDir, cFile).c_str(), sharedLibrary_ ? " -fPIC" : "");
    }
    return {};
}

bool tToolchain::compile(const std::string& cFile)
{
    if (!isDesktopTarget(settings_.target))
        runner_.setEnvironment("PATH", settings_.installDir + S + "bin");
    if (settings_.target == tTarget::PALMOS) {
        if (!palmPrepared_) {
            const char* sdk = settings_.sdk == tSdk::PALM35 ? "3.5" : "5r3";
            if (run(formatText("%s%sbin%spalmdev-prep -dsdk-%s", settings_.installDir.c_str(), S, S, sdk)) != 0)
                return false;
            palmPrepared_ = true;
        }
        out_ << message(tMessage::compilingFile, cFile);
    }
    int code = run(compileCommand(cFile));
    if (code == 0)
        return true;
    // The host compiler is there, so its failure is one of the generated code.
    if (settings_.target == tTarget::GCCDEBUG && code != kNotStarted) {
        out_ << message(tMessage::hostCompileError, cFile, code);
        settings_.keepGeneratedC = true;
        return false;
    }
    out_ << message(tMessage::compileError, code);
    return false;
}

bool tToolchain::compileResources(std::string& resources)
{
    out_ << message(tMessage::compilingResources);
    std::string icon = settings_.iconFile;
    if (icon.empty()) {
        icon = "zelta.ico";
        if (!writeDefaultIcon(icon)) {
            out_ << message(tMessage::errorCreating, icon);
            return false;
        }
    }
    std::string script = withExtension(settings_.sources.front(), "rc");
    if (!appendIconLine(script, icon)) {
        out_ << message(tMessage::errorCreating, script);
        return false;
    }
    if (settings_.target == tTarget::GCCDEBUG) {
        out_ << message(tMessage::hostResourcesKept, script);
        return true;
    }
    std::string command;
    if (isCeTarget(settings_.target))
        command = formatText("%s%sbin%src /l 0x409 /fo\"ezelta.res\" /r %s", settings_.installDir.c_str(), S, S,
                             script.c_str());
    else
        command = formatText("rc /l 0x409  /fo\"ezelta.res\"   /r %s", script.c_str());
    if (run(command) != 0) {
        out_ << message(tMessage::resourceError);
        return false;
    }
    resources = " ezelta.res ";
    return true;
}

std::string tToolchain::objectList(const tBuildOutputs& outputs) const
{
    std::string list;
    for (const std::string& source : settings_.sources)
        list += objectFor(settings_, source) + " ";
    for (int k = 1; k <= outputs.contextCount; ++k)
        list += contextFile(settings_, k, objectExtension(settings_)) + " ";
    return list;
}

std::string tToolchain::linkCommand(const tBuildOutputs& outputs) const
{
    bool library = settings_.libraryMode == tLibraryMode::generate;
    std::string output = outputFile(settings_);
    const char* out = output.c_str();
    if (isCeTarget(settings_.target)) {
        const char* d = settings_.installDir.c_str();
        tCpu cpu = settings_.target == tTarget::DOTNET ? tCpu::ARMV4 : settings_.cpu;
        if (library)
            return ceLibrarianCommand(cpu, d, out);
        const char* import = settings_.libraryMode == tLibraryMode::import ? settings_.importName.c_str() : "";
        return ceLinkCommand(cpu, d, import, out, settings_.version.empty() ? "0" : settings_.version.c_str());
    }
    const char* desk = settings_.desktopInstallDir.c_str();
    const char* dll = settings_.target == tTarget::WIN32DLL ? " /DLL " : "";
    if (library)
        return formatText("lib    /out:\"%s\"  /libpath:\"%s/lib/windll\" /libpath:\"%s/lib/zlib32\" %s", out, desk,
                          desk, dll);
    std::string defFile = outputs.moduleName + ".def";
    std::string def = fileExists(defFile) ? formatText("/def:\"%s\"", defFile.c_str()) : " ";
    return formatText(
        "link  %s %s /nologo  /incremental:no  /machine:X86   /out:\"%s\"  /libpath:\"%s/lib/windll\" "
        "/libpath:\"%s/lib/zlib32\" %s /version:%s %s ",
        settings_.libraryMode == tLibraryMode::import ? settings_.importName.c_str() : "", kLibraryList, out, desk,
        desk, dll, settings_.version.empty() ? "1" : settings_.version.c_str(), def.c_str());
}

// The host build links the objects with the run-time's start-up object and
// shared library, with an rpath so the program runs from anywhere; library
// mode 1 makes a static archive instead.
std::string tToolchain::hostLinkCommand(const tBuildOutputs& outputs) const
{
    const std::string& desk = settings_.desktopInstallDir;
    std::string output = quoted(outputFile(settings_));
    if (settings_.libraryMode == tLibraryMode::generate)
        return "ar rcs " + output + " " + objectList(outputs);
    std::string import = settings_.libraryMode == tLibraryMode::import ? quoted(settings_.importName) + " " : "";
    // A program with exports is a library of C functions: only what its
    // module definitions list leaves it.
    if (buildsSharedLibrary(settings_, outputs))
        return formatText("%s -shared -o %s %s%s-L%s/lib -lzeltace -Wl,-rpath,%s/lib -Wl,--version-script=%s %s",
                          hostCompiler().c_str(), quoted(sharedLibraryFile(settings_)).c_str(),
                          objectList(outputs).c_str(), import.c_str(), quoted(desk).c_str(), quoted(desk).c_str(),
                          quoted(exportScriptFile(settings_)).c_str(), hostFlags(desk).c_str());
    return formatText("%s -o %s %s%s%s/lib/zeltamain.o -L%s/lib -lzeltace -Wl,-rpath,%s/lib %s", hostCompiler().c_str(),
                      output.c_str(), objectList(outputs).c_str(), import.c_str(), quoted(desk).c_str(),
                      quoted(desk).c_str(), quoted(desk).c_str(), hostFlags(desk).c_str());
}

// A host program carries its -version= text in a section of its own, where
// GetMyVersion and a sync session's installs read it ("ZELTAVER:" + text).
bool tToolchain::stampHostVersion()
{
    if (settings_.version.empty())
        return true;
    const std::string program = outputFile(settings_);
    const std::string record = program + ".zver";
    {
        std::ofstream file(record, std::ios::binary);
        file << "ZELTAVER:" << settings_.version << '\0';
        if (!file)
            return false;
    }
    int code = run(formatText("objcopy --add-section .zelta_version=%s %s", quoted(record).c_str(),
                              quoted(program).c_str()));
    std::remove(record.c_str());
    return code == 0;
}

bool tToolchain::writeExportScript(const tBuildOutputs& outputs)
{
    std::string script = "{\n  global:\n";
    for (const std::string& definition : outputs.moduleDefinitions) {
        std::ifstream file(definition, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        for (const std::string& name : definitionExports(text))
            script += "    " + name + ";\n";
    }
    script += "  local:\n    *;\n};\n";
    std::ofstream out(exportScriptFile(settings_), std::ios::binary | std::ios::trunc);
    out << script;
    if (out.flush())
        return true;
    out_ << message(tMessage::errorCreating, exportScriptFile(settings_));
    return false;
}

bool tToolchain::linkPalm(const tBuildOutputs& outputs)
{
    const char* d = settings_.installDir.c_str();
    tPathParts first = splitPath(settings_.sources.front());
    std::string objects = objectList(outputs);
    std::string output = outputFile(settings_);
    if (settings_.libraryMode == tLibraryMode::generate)
        return run(formatText("%s%sbin%sm68k-palmos-ar rcs %s ", d, S, S, output.c_str()) + objects) == 0;

    std::string def = first.dir + first.name + ".def";
    const char* stem = first.name.c_str();
    if (run(formatText("%s%sbin%sm68k-palmos-multigen %s", d, S, S, def.c_str())) != 0)
        return false;
    if (run(formatText("%s%sbin%sm68k-palmos-as -o %s-sections.o %s-sections.s", d, S, S, stem, stem)) != 0)
        return false;
    std::string image = first.dir + first.name + ".000";
    std::string library =
        formatText("%s%slib%s%s", d, S, S, settings_.sdk == tSdk::PALM35 ? "libzelta35.a" : "libzelta53.a");
    std::string link = formatText("%s%sbin%sm68k-palmos-gcc ", d, S, S) + objects + library + " " +
                       formatText("%s-sections.o %s-sections.ld -o %s ", stem, stem, image.c_str()) +
                       "/usr/lib/libScanMgr.a /usr/lib/libPalmOSGlue.a ";
    if (run(link) != 0)
        return false;
    // build-prc would otherwise read "--backup" as the version.
    const char* version = settings_.version.empty() ? "0" : settings_.version.c_str();
    return run(formatText("%s%sbin%sbuild-prc %s %s *.bin -o %s -v %s --backup", d, S, S, def.c_str(), image.c_str(),
                          output.c_str(), version)) == 0;
}

bool tToolchain::resourcesAndLink(const tBuildOutputs& outputs)
{
    bool palm = settings_.target == tTarget::PALMOS;
    std::string resources;
    if (!palm && !compileResources(resources))
        return false;
    bool library = settings_.libraryMode == tLibraryMode::generate;
    out_ << message(tMessage::stepHeader, messageText(library ? tMessage::generatingLib : tMessage::linking));
    if (palm) {
        if (!linkPalm(outputs))
            return false;
    } else {
        if (isCeTarget(settings_.target))
            runner_.setEnvironment(
                "LIB", formatText("%s%slib%s%s", settings_.installDir.c_str(), S, S, cpuName(settings_.cpu)));
        if (buildsSharedLibrary(settings_, outputs) && !writeExportScript(outputs))
            return false;
        std::string command = settings_.target == tTarget::GCCDEBUG
                                  ? hostLinkCommand(outputs)
                                  : linkCommand(outputs) + objectList(outputs) + "zeltace.lib " + resources;
        int code = run(command);
        if (code != 0 && settings_.target == tTarget::GCCDEBUG && code != kNotStarted) {
            out_ << message(tMessage::hostLinkError, outputFile(settings_), code);
            settings_.keepGeneratedC = true;
        }
        if (code != 0)
            return false;
        if (settings_.target == tTarget::GCCDEBUG && !library && !buildsSharedLibrary(settings_, outputs) &&
            !stampHostVersion())
            return false;
    }
    if (buildsSharedLibrary(settings_, outputs)) {
        out_ << message(tMessage::targetWindowsLib);
        out_ << message(tMessage::generated, sharedLibraryFile(settings_));
        return true;
    }
    switch (settings_.target) {
    case tTarget::POCKETPC: out_ << message(tMessage::targetPocketPc, cpuName(settings_.cpu)); break;
    case tTarget::DOTNET: out_ << message(tMessage::targetDotNet, cpuName(settings_.cpu)); break;
    case tTarget::WIN32DLL: out_ << message(tMessage::targetWindowsLib); break;
    case tTarget::WIN32EXE:
    case tTarget::GCCDEBUG: out_ << message(tMessage::targetWindowsExe); break;
    case tTarget::PALMOS: out_ << message(tMessage::targetPalmOs); break;
    }
    out_ << message(tMessage::generated, outputFile(settings_));
    return true;
}
