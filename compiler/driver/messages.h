// Every text the driver prints, in one table indexed by tMessage. Texts are
// printf formats; message() fills them.
#pragma once

#include <string>

enum class tMessage {
    bannerTitle,
    bannerVersion,
    bannerMaker,
    usage,
    invalidTarget,
    invalidCpu,
    unknownArgument,
    versionTooLong,
    definitionMissing,
    definitionLineTooLong,
    sourceMissing,
    invalidRegistryKeys,
    generating,
    ppoMissing,
    parsing,
    generatingC,
    writeSource,
    parseError,
    notBuiltYet,
    toolNotStarted,
    makingDefFile,
    madeDefFile,
    errorCreating,
    compilingPalmResources,
    compilingFile,
    compileError,
    dotnetNeedsArmv4,
    compilingResources,
    resourceError,
    generatingLib,
    linking,
    stepHeader,
    targetPocketPc,
    targetDotNet,
    targetWindowsLib,
    targetWindowsExe,
    targetPalmOs,
    generated,
    outOfMemory,
    hostResourcesKept,
    hostCompileError,
    hostLinkError,
    hostRuntimeMissing,
    count  // ORDER tMessage: keep last, and keep kTexts in messages.cpp in step
};

// The format text of one message.
const char* messageText(tMessage id);

// printf into a string; command templates use it directly.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The message with its printf arguments filled in; use message() below.
std::string formatMessage(tMessage id, ...);

namespace driver {
inline const char* printfArg(const std::string& s) { return s.c_str(); }
inline const char* printfArg(const char* s) { return s; }
inline int printfArg(int n) { return n; }
}  // namespace driver

// The message with its arguments filled in; strings may be std::string.
template <class... Args>
std::string message(tMessage id, const Args&... args)
{
    return formatMessage(id, driver::printfArg(args)...);
}
