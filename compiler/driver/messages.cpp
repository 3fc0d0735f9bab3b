// The driver's message table. Portuguese texts are kept as the compiler has
// always printed them, in UTF-8.
#include "messages.h"

#include <cstdarg>
#include <cstdio>

namespace {

// ORDER tMessage
const char* const kTexts[] = {
    "Embedded ZELTA Compiler - for Windows and Linux\n",
    "Version %s - %s %s\n",
    "The Zelta toolchain: compiler, run-time and installer\n\n",
    "Usage:\n\n"
    "ezelta <source1.prg><source2.prg>...<sourceN.prg>\n"
    "        [-target=<TARGET> -cpu=<CPU> -sdk=<sdk version>]\n"
    "       [-icon=<IconFileName>] [-ID=<CreatorID>] [-version=<Version>\n"
    "       [-name=<AppName>] [-g] [-d<DEFINE_EXPR>\n\n"
    "Valid Targets: PALMOS (Default)\n"
    "               POCKETPC\n"
    "               DOTNET\n"
    "               GCCDEBUG\n"
    "               WIN32DLL\n\n"
    "Ponto de Entrada:\n"
    "                 -genlib=<name>\n"
    "                 -implib=<name>\n"
    "Generic parameters:\n"
    "       -g : Generate debug info\n"
    "       -d<DEFINE_EXPR> : Specifies an #define directive\n"
    "PalmOS parameters:\n"
    "       -ID=<CreatorID> : Specifies an Creator ID provided by Palm Inc.\n"
    "       -icon=<IconFileName> : Specifies an Standard 256 colors 22x22, 32x22, or 32x32 Bitmap\n"
    "       -version=<Version> : Specifies Version Number. Ex.: 102\n"
    "       -name=<AppName> : Specifies Application Display Name\n\n"
    "       -scanner : Specifies the use of scanner library\n"
    "PalmOS SDK Versions:\n"
    "       -sdk=3.5 - PalmOS 3.5\n"
    "       -sdk=5   - PalmOS 5.0 or Higher (Default)\n\n"
    "PocketPC CPU's : ARM (Default)\n"
    "                 ARMV4\n"
    "                 ARMV4ISTD\n"
    "                 ARMV4IPRO\n"
    "Example: ezelta teste.prg -target=PALMOS -icon=icon.bmp (Palm/OS) or icon.ico(WinCE) -ID=1234\n"
    "         ezelta teste.prg -target=POCKETPC -cpu=ARM\n"
    "         ezelta teste.prg teste1.prg -target=PALMOS\n",
    "Invalid target!\n\n",
    "Invalid CPU!\n\n",
    "Unknown argument : %s\n\n",
    "Version text too long (at most %d characters): %s\n\n",
    "\nArquivo de definições %s não encontrado.",
    "\nLine too long in definition file %s (at most %d characters).\n",
    "File %s does not exists!\n",
    "Invalid Registry Keys!\nPlease re-install ezelta software.\n",
    "Generating %s.\n",
    "\nArquivo %s não encontrado.\n",
    "Parsing %s.\n",
    "Generating C source %s.\n",
    "WriteSource %s.\n",
    "\n%s\n",
    "%s: not built yet\n",
    "\nCould not start %s\n",
    "\nGerando def file",
    "\nGerado def file",
    "Error creating %s\n",
    "Compiling Resources...\n",
    "\nCompiling %s",
    "\nERROR ON COMPILE:\nError Code = %d \nCheck if compiler for this plataform is installed.\n",
    "\nTarget DOTNET just support ARMV4 Cpu. Check your compilation command.",
    "Compiling resources...\n",
    "Error compiling resources.\n",
    "Generating Lib...",
    "Linking...",
    "\n%s\n",
    "Target = PocketPC\nCPU = %s\n",
    "Target = DotNet\nCPU = %s\n",
    "Target =  Windows Shared Lib\n",
    "Target =  Windows Executable\n",
    "Target = PalmOS\n",
    "%s generated!\n",
    "\nfalhou alocando mem",
    "Resource script %s written; the host build has no resource compiler, so it is not compiled.\n",
    "\nERROR ON COMPILE:\nThe C++ code generated for %s failed to compile (exit code %d). The compiler should have "
    "reported what in the program causes this; please report it, with the generated files, which are kept.\n",
    "\nERROR ON LINK:\nThe objects generated for %s failed to link (exit code %d). The compiler should have "
    "reported what in the program causes this; please report it, with the generated files, which are kept.\n",
    "\nThe run-time is not installed beside ezelta: %s is missing.\n",
};

static_assert(sizeof kTexts / sizeof kTexts[0] == static_cast<std::size_t>(tMessage::count),
              "kTexts and tMessage are out of step");

}  // namespace

const char* messageText(tMessage id) { return kTexts[static_cast<int>(id)]; }

namespace {

std::string vformat(const char* format, std::va_list args)
{
    std::va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(nullptr, 0, format, args);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

}  // namespace

std::string formatText(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::string text = vformat(format, args);
    va_end(args);
    return text;
}

std::string formatMessage(tMessage id, ...)
{
    std::va_list args;
    va_start(args, id);
    std::string text = vformat(messageText(id), args);
    va_end(args);
    return text;
}
