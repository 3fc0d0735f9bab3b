// Clean-up. Deletions ignore errors: a file a failed run never made is simply
// not there.
#include "cleanup.h"

#include "paths.h"

#include <cstdio>
#include <filesystem>

std::vector<std::string> cleanupFiles(const tBuildSettings& settings, const tBuildOutputs& outputs)
{
    std::vector<std::string> files;
    bool keepC = settings.keepGeneratedC;
    bool desktopWindows = settings.target == tTarget::WIN32EXE || settings.target == tTarget::WIN32DLL;
    for (std::size_t i = 0; i < settings.sources.size(); ++i) {
        tPathParts p = splitPath(settings.sources[i]);
        std::string stem = p.dir + p.name + ".";
        if (i == 0) {
            files.push_back(stem + "def");
            files.push_back(stem + "000");
        }
        if (!keepC) {
            files.push_back(stem + "cpp");
            files.push_back(stem + "hpp");
        }
        files.push_back(stem + "ppo");
        files.push_back(stem + objectExtension(settings));
        if (settings.target == tTarget::WIN32EXE && settings.libraryMode == tLibraryMode::none)
            files.push_back(stem + "lib");
        if (desktopWindows) {
            files.push_back(stem + "exp");
            files.push_back("vc60.idb");
            files.push_back(outputs.moduleName + ".def");
        }
    }
    tPathParts first = splitPath(settings.sources.front());
    const std::string& name = first.name;
    for (const char* suffix : {"-sections.ld", "-sections.o", "-sections.s", "-exports.ld"})
        files.push_back(name + suffix);
    // The host build's module definitions are intermediate: the export
    // script made from them is what the linker read.
    if (settings.target == tTarget::GCCDEBUG)
        for (const std::string& definition : outputs.moduleDefinitions)
            files.push_back(definition);
    // The resource scripts are written beside the first source.
    files.push_back(first.dir + name + ".rcp");
    files.push_back("passfont.pfn");
    files.push_back("symbols.pfn");
    for (const std::string& picture : {name, std::string("left"), std::string("right")})
        files.push_back(picture + ".pbitm");
    files.push_back(first.dir + name + ".rc");
    if (!keepC)
        files.push_back(settings.headerName);
    for (const char* support : {"ezelta.res", "zelta.ico", "resincl.h", "vc60.pch", "defines.ch"})
        files.push_back(support);
    for (int k = 1; k <= outputs.contextCount; ++k) {
        if (!keepC)
            files.push_back(contextFile(settings, k, "cpp"));
        files.push_back(contextFile(settings, k, objectExtension(settings)));
    }
    return files;
}

std::set<std::string> binFiles()
{
    std::set<std::string> bins;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(".", error))
        if (entry.path().extension() == ".bin")
            bins.insert(entry.path().filename().string());
    return bins;
}

void cleanUp(const tBuildSettings& settings, const tBuildOutputs& outputs, const std::set<std::string>& binsBefore)
{
    for (const std::string& file : cleanupFiles(settings, outputs))
        std::remove(file.c_str());
    // Only the tools' own: a user's data files of that name stay.
    for (const std::string& bin : binFiles())
        if (!binsBefore.count(bin))
            std::remove(bin.c_str());
}
