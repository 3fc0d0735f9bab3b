// The program's entry point, one text per target: DllMain for WIN32DLL,
// PilotMain for PALMOS, WinMain for the rest. Each opens the global state,
// runs the initialisation functions and calls the main function inside one
// context.
#include <cstdarg>
#include <cstdio>

#include "emit_text.h"

namespace emit {

std::string format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    int length = std::vsnprintf(nullptr, 0, fmt, args);
    va_end(args);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    va_start(args, fmt);
    std::vsnprintf(&text[0], text.size(), fmt, args);
    va_end(args);
    text.pop_back();
    return text;
}

namespace {

const char* const kDllMain[] = {
    "BOOL APIENTRY DllMain( HANDLE hModule, DWORD  ul_reason_for_call, LPVOID lpReserved)",
    "{",
    "\t__SetBackWindow(False);",
    "\tSetCheckBuffer(True);\n",
    "\tswitch (ul_reason_for_call){",
    "\tcase DLL_PROCESS_ATTACH:",
    "\t    __LoadLIB();",
    "\t\tbreak;",
    "\tcase DLL_THREAD_ATTACH:",
    "\t\tbreak;",
    "\tcase DLL_THREAD_DETACH:",
    "\t\tbreak;",
    "\tcase DLL_PROCESS_DETACH:",
    "\t    __UnloadLIB();",
    "\tbreak;}",
    "return TRUE;",
    "}",
    "",
};

const char* const kMissingMain = "FALTA ENTRY POINT;";

void pilotMain(const tProgram& p, const std::string& creatorId, std::vector<std::string>& lines, bool& complete)
{
    bool import = p.options.libraryMode == codegen::kLibraryImport;
    lines.insert(lines.end(),
                 {"extern UInt16 MathLibRef;", "DWord PilotMain (Word cmd, Ptr cmdPBP, Word launchFlags)", "{",
                  "  if (cmd == sysAppLaunchCmdNormalLaunch)", "  {", "    if(__BeginGlobal())", "    {"});
    if (import)
        lines.push_back(format("__const_set_amount(%i);", p.constants.count() + p.options.constantBase));
    lines.push_back("      __begin_context();");
    lines.push_back("      __initStatics();");
    if (import)
        lines.push_back("__initPE();");
    if (p.options.scanner)
        lines.push_back("      StartScan();");
    lines.push_back(format("__SetCrtID(\"%s\");", creatorId.c_str()));
    lines.insert(lines.end(), {"if(!MathLibRef)", "{", "\tAlert2(\"MathLib not found!\");",
                               "\t__DoSync(NULL,NULL,NULL,NULL,NULL,NULL,NULL);", "}", "else", "{"});
    // A call of a nameless function would not compile either; say why instead.
    complete = !p.mainFunction.empty();
    lines.push_back(complete ? format("      %s();", p.mainFunction.text()) : kMissingMain);
    lines.push_back("}");
    if (p.options.scanner)
        lines.push_back("      StopScan();");
    lines.insert(lines.end(), {"      __end_context(NULL);", "      __EndGlobal();", "    }", "    else",
                               "      Alert2(\"ZELTA: Init Failure!\");", "  }", "  return 0;", "}", ""});
}

void winMain(const tProgram& p, std::vector<std::string>& lines, bool& complete)
{
    bool import = p.options.libraryMode == codegen::kLibraryImport;
    if (import && !p.mainFunction.empty())
        lines.push_back(format("pObj_Node %s();", p.mainFunction.text()));
    lines.insert(lines.end(),
                 {"int WINAPI WinMain(\tHINSTANCE hInstance,HINSTANCE hPrevInstance,LPTSTR lpCmdLine,int nCmdShow)",
                  "{", "#ifdef _WINEMUL_", "  HANDLE hWnd = FindWindow(OOW_NAME, NULL);", "#else",
                  "  HANDLE hWnd = FindWindow(_T(OOW_NAME), NULL);", "#endif", "  if (hWnd)", "  {",
                  "    SetForegroundWindow ((HWND) (((DWORD)hWnd) | 0x01));", "    return 0;", "   }",
                  "   RegisterInstance(hInstance);", "  if(__BeginGlobal())", "  {", "      __begin_context();"});
    if (import)
        lines.push_back(format("__const_set_amount(%i);", p.constants.count() + p.options.constantBase));
    lines.push_back("    __initStatics();");
    if (import)
        lines.push_back("__initPE();");
    complete = !p.mainFunction.empty();
    if (!complete) {
        lines.push_back(kMissingMain);
        return;
    }
    lines.insert(lines.end(),
                 {format("      %s();", p.mainFunction.text()), "      __end_context(NULL);", "    __EndGlobal();",
                  "  }", "  else", "    Alert2(\"ZELTA: Init Failure!\");", "  return 0;", "}", ""});
}

}  // namespace

bool entryPointLines(const tProgram& p, const std::string& creatorId, std::vector<std::string>& lines)
{
    bool complete = true;
    switch (p.options.target) {
    case tTarget::WIN32DLL: lines.insert(lines.end(), std::begin(kDllMain), std::end(kDllMain)); break;
    case tTarget::PALMOS: pilotMain(p, creatorId, lines, complete); break;
    default: winMain(p, lines, complete); break;
    }
    return complete;
}

}  // namespace emit
