// The target toolchains: the preprocessor call, the compile of one generated
// file, and the resource compile and link, each as the command lines of the
// target's own tools run through a tCommandRunner.
#pragma once

#include "process.h"
#include "settings.h"

#include <ostream>
#include <string>
#include <vector>

// Fills the "%s" separators of the tool templates; the rest of each template
// is kept as its tools expect it.
constexpr char kToolSeparator[] = "/";

// The names of the generated files of a run, for the compile, link and clean-up.
struct tBuildOutputs {
    int contextCount = 0;    // constant-pool context files written
    std::string moduleName;  // upper-cased name of the last source compiled
    // The module definition files the program's exports wrote; with any,
    // the host build makes a shared library of the program.
    std::vector<std::string> moduleDefinitions = {};
};

// The target define the preprocessor sees: "__PALM__", "__WINEMUL__" or "__POCKETPC__".
const char* targetDefine(tTarget target);

// "o" for PALMOS and GCCDEBUG, "obj" for the rest.
const char* objectExtension(const tBuildSettings& settings);

// The object a generated file compiles to.
std::string objectFor(const tBuildSettings& settings, const std::string& cFile);

// Context file k (1-based) of this run, beside the first source: "ctx%03i"
// numbered from the context base, with the given extension.
std::string contextFile(const tBuildSettings& settings, int k, const char* ext);

// The program, library or DLL the link makes.
std::string outputFile(const tBuildSettings& settings);

// The host build of a program with exports: "lib<first source>.so" beside
// the first source, its name in lower case.
bool buildsSharedLibrary(const tBuildSettings& settings, const tBuildOutputs& outputs);
std::string sharedLibraryFile(const tBuildSettings& settings);
// The linker's version script of that library, listing what the module
// definition files export: "<first source>-exports.ld".
std::string exportScriptFile(const tBuildSettings& settings);
// The names after EXPORTS in a module definition file's text.
std::vector<std::string> definitionExports(const std::string& text);

class tToolchain {
public:
    tToolchain(tBuildSettings& settings, tCommandRunner& runner, std::ostream& out)
        : settings_(settings), runner_(runner), out_(out)
    {
    }

    // Writes "defines.ch" (adding the target define) and runs zelta16 on the
    // source, the tool's messages going to our standard error.
    bool preprocess(const std::string& source);
    // zelta16's exit status from the last preprocess: 1 means the source
    // has errors (reported with their places), anything else a tool failure.
    int preprocessorStatus() const { return preprocessorStatus_; }
    bool compile(const std::string& cFile);
    bool resourcesAndLink(const tBuildOutputs& outputs);
    // The host build compiles position-independent code for a shared library.
    void setSharedLibrary(bool shared) { sharedLibrary_ = shared; }

private:
    std::string compileCommand(const std::string& cFile);
    bool compileResources(std::string& resources);
    std::string objectList(const tBuildOutputs& outputs) const;
    bool linkPalm(const tBuildOutputs& outputs);
    std::string linkCommand(const tBuildOutputs& outputs) const;
    std::string hostLinkCommand(const tBuildOutputs& outputs) const;
    bool writeExportScript(const tBuildOutputs& outputs);
    bool stampHostVersion();
    int run(const std::string& commandLine, tChildOutput output = tChildOutput::inherit);

    tBuildSettings& settings_;
    tCommandRunner& runner_;
    std::ostream& out_;
    bool palmPrepared_ = false;
    int preprocessorStatus_ = 0;
    bool sharedLibrary_ = false;
};
