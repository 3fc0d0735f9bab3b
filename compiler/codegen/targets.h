// The build targets, by the numeric codes the command line, the tool
// templates and code generation all select on. The codes are part of the
// build (library definitions and the codegen cases carry them): 3 and 4 are
// unused.
#pragma once

enum class tTarget { PALMOS = 0, POCKETPC = 1, DOTNET = 2, WIN32EXE = 5, WIN32DLL = 6, GCCDEBUG = 7 };
