// Parse and generate one source. The tables are read once per run from the
// blocks built into the compiler; each source gets its own scanner and
// parser over its ".ppo", and its tree lives only until its files are written.
#include "parse_source.h"

#include <cstdio>
#include <memory>

#include "grammar_actions.h"
#include "line_map.h"
#include "orvic_lex.h"

std::string parseErrorText(const SSException& e, const std::string& ppoPath, const std::string& sourcePath)
{
    return "\n" + e.message() + "\n" + describeErrorPlace(e, ppoPath, sourcePath) + "\n";
}

bool parseAndGenerate(tProgramWriter& writer, const tSourceFiles& files, std::string& error)
{
    tProgram& program = writer.program();
    program.beginSource();
    int errorsBefore = program.errorCount();
    std::unique_ptr<tInstruction> root;
    tSourcePosition position;
    try {
        SSLexFileConsumer consumer(files.ppoPath);
        OrvicLexClass scanner(&consumer);
        OrvicYaccClass parser(&scanner, &zeltaYaccTable());
        std::printf("Parsing %s.\n", files.ppoPath.c_str());
        std::fflush(stdout);
        if (parser.parse() != 0)
            ssRaise(SSError::Yacc0105);
        position = parser.position();
        root.reset(parser.takeRoot());
    } catch (const SSException& e) {
        error = parseErrorText(e, files.ppoPath, files.source);
        return false;
    }
    // The last line directive leaves the offset that line markers add.
    program.lineOffset = position.directiveSeen ? static_cast<int>(position.directiveLine) : 0;

    std::printf("Generating C source %s.\n", files.cppPath.c_str());
    std::fflush(stdout);
    bool generated = !root || writer.generateTree(*root);
    std::printf("WriteSource %s.\n", files.cppPath.c_str());
    std::fflush(stdout);
    bool written = writer.writeSource(files.source);
    root.reset();
    std::printf("\n");
    std::fflush(stdout);
    (void)written;  // a file that could not be created has been reported; the run goes on
    return generated && program.errorCount() == errorsBefore;
}
