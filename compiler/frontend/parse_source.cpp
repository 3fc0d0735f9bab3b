// Parse and generate one source. The tables are read once per run from the
// blocks built into the compiler; each source gets its own scanner and
// parser over its ".ppo", and its tree lives only until its files are written.
#include "parse_source.h"

#include <cstdio>
#include <memory>

#include "grammar_actions.h"
#include "ss_lex.h"
#include "ss_yacc.h"

namespace {

const SSLexTable& scannerTable()
{
    static const SSLexTable table = SSLexTable::fromResource("ZELTA_DFA");
    return table;
}

const SSYaccTable& parserTable()
{
    static const SSYaccTable table = SSYaccTable::fromResource("ZELTA_LLR");
    return table;
}

}  // namespace

std::string parseErrorText(const SSException& e, const std::string& file, long sourceLine)
{
    std::string text = "\n" + e.message() + "\n";
    if (e.hasPlace()) {
        char place[64];
        std::snprintf(place, sizeof place, "(%ld): ", sourceLine);
        text += file + place + "Error near \"" + e.tokenText() + "\".\n";
    }
    return text;
}

bool parseAndGenerate(tProgramWriter& writer, const tSourceFiles& files, std::string& error)
{
    tProgram& program = writer.program();
    program.beginSource();
    int errorsBefore = program.errorCount();
    std::unique_ptr<tInstruction> root;
    tSourcePosition position;
    position.path = files.source;
    try {
        SSLexFileConsumer consumer(files.ppoPath);
        SSLex scanner(&consumer, &scannerTable());
        OrvicYaccClass parser(&scanner, &parserTable());
        parser.position() = position;
        std::printf("Parsing %s.\n", files.ppoPath.c_str());
        std::fflush(stdout);
        try {
            parser.parse();
        } catch (...) {
            position = parser.position();
            throw;
        }
        position = parser.position();
        root.reset(parser.takeRoot());
    } catch (const SSException& e) {
        const std::string& file = position.directiveFile.empty() ? files.source : position.directiveFile;
        error = parseErrorText(e, file, position.sourceLine(static_cast<unsigned long>(e.line())));
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
