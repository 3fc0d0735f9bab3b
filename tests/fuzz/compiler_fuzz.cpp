// libFuzzer target: the scanner, the parser and the code generator over any
// preprocessed text, as ezelta runs them on one source, up to the program's
// name checks. The writers' files go to a scratch folder; the compiler's
// messages to nowhere.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

#include "codegen/emit_program.h"
#include "frontend/grammar_actions.h"
#include "frontend/orvic_lex.h"

namespace {

// The scratch folder, by absolute path: libFuzzer's own paths are relative
// to the current directory, which stays as it is.
std::string prepare()
{
    char pattern[] = "/tmp/zelta_compiler_fuzz_XXXXXX";
    if (!mkdtemp(pattern) || !std::freopen("/dev/null", "w", stdout))
        std::abort();
    return pattern;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string folder = prepare();
    const std::string source = folder + "/fuzz.prg";
    tProgram program;
    program.autoPublicPauseMs = 0;
    program.options.target = tTarget::GCCDEBUG;
    program.options.moduleName = "FUZZ";
    program.options.sourcePath = source;
    program.options.headerName = folder + "/zelta.h";
    program.activate();
    tProgramWriter writer(program);
    program.beginSource();
    std::unique_ptr<tInstruction> root;
    try {
        SSLexStringConsumer consumer(std::string(reinterpret_cast<const char*>(data), size) + "\n");
        OrvicLexClass scanner(&consumer);
        OrvicYaccClass parser(&scanner, &zeltaYaccTable());
        if (parser.parse() != 0)
            return 0;
        root.reset(parser.takeRoot());
    } catch (const SSException&) {
        return 0;
    }
    if (root && writer.generateTree(*root))
        writer.writeSource(source);
    root.reset();
    program.checkProgramNames();
    int contexts = 0;
    writer.writeFirstSource();
    writer.writeInitAndContexts(contexts);
    writer.writeSharedHeader(contexts);
    return 0;
}
