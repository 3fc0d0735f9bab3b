// Parse and generate one source. The tables are read once per run from the
// blocks built into the compiler; each source gets its own scanner and
// parser over its ".ppo". Each statement of the source's outermost list is
// generated as soon as it is parsed and then freed, unless a record still
// points into it (a function's parameters, a code block, a STATIC list):
// those few live until the source's files are written.
//
// What generating early must not change: the generator's messages follow
// the parse's own (they are held until the parse has succeeded, and dropped
// with the output when it fails), and line markers use the offset of the
// source's last line directive, which a scan ahead finds first.
#include "parse_source.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <strings.h>
#include <vector>

#include "grammar_actions.h"
#include "line_map.h"
#include "orvic_lex.h"

namespace {

constexpr long kLineToken = 160;   // "#line"
constexpr long kNumberToken = 97;  // number

// True when the file holds "#line" in any case anywhere, even in a string
// or a comment: only then can the scanner produce a line directive.
bool mentionsLineDirective(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    static const char kWord[] = "#line";
    constexpr std::size_t kWordLength = sizeof kWord - 1;
    std::vector<char> chunk(64 * 1024 + kWordLength);
    std::size_t kept = 0;
    bool found = false;
    for (;;) {
        std::size_t got = std::fread(chunk.data() + kept, 1, chunk.size() - kept, file);
        if (got == 0)
            break;
        std::size_t size = kept + got;
        const char* end = chunk.data() + size;
        for (const char* at = chunk.data();
             (at = static_cast<const char*>(std::memchr(at, '#', static_cast<std::size_t>(end - at)))); ++at) {
            if (static_cast<std::size_t>(end - at) < kWordLength)
                break;
            if (strncasecmp(at, kWord, kWordLength) == 0) {
                found = true;
                break;
            }
        }
        if (found)
            break;
        kept = size < kWordLength - 1 ? size : kWordLength - 1;
        std::memmove(chunk.data(), chunk.data() + size - kept, kept);
    }
    std::fclose(file);
    return found;
}

// The number of the source's last line directive ("#line" number ...), as
// the grammar reads it; false when there is none. A parse that succeeds
// reduces every "#line" token as such a directive, so the tokens alone tell.
bool lastLineDirective(const std::string& ppoPath, long& line)
{
    if (!mentionsLineDirective(ppoPath))
        return false;
    bool seen = false;
    try {
        SSLexFileConsumer consumer(ppoPath);
        OrvicLexClass scanner(&consumer);
        bool afterLine = false;
        while (SSRef<SSLexLexeme> lexeme = scanner.next()) {
            long token = lexeme->parseToken();
            if (afterLine && token == kNumberToken) {
                line = std::strtol(lexeme->text().c_str(), nullptr, 10);
                seen = true;
            }
            afterLine = token == kLineToken;
        }
    } catch (const SSException&) {
        // The parse meets the same fault and reports it.
    }
    return seen;
}

class tStreamedStatements : public tStatementSink {
public:
    explicit tStreamedStatements(tProgramWriter& writer) : writer_(writer) {}

    void statement(std::unique_ptr<tInstruction> node) override
    {
        tProgram& program = writer_.program();
        unsigned long references = program.treeReferences;
        writer_.generateStatement(node.get());
        if (program.treeReferences != references)
            kept_.push_back(std::move(node));
    }

private:
    tProgramWriter& writer_;
    std::vector<std::unique_ptr<tInstruction>> kept_;
};

}  // namespace

std::string parseErrorText(const SSException& e, const std::string& ppoPath, const std::string& sourcePath)
{
    return "\n" + e.message() + "\n" + describeErrorPlace(e, ppoPath, sourcePath) + "\n";
}

bool parseAndGenerate(tProgramWriter& writer, const tSourceFiles& files, std::string& error)
{
    tProgram& program = writer.program();
    program.beginSource();
    int errorsBefore = program.errorCount();
    long directiveLine = 0;
    program.lineOffset = lastLineDirective(files.ppoPath, directiveLine) ? static_cast<int>(directiveLine) : 0;
    std::unique_ptr<tInstruction> root;
    // Declared before the parser, which may still hold statements when it goes.
    tStreamedStatements statements(writer);
    try {
        SSLexFileConsumer consumer(files.ppoPath);
        OrvicLexClass scanner(&consumer);
        OrvicYaccClass parser(&scanner, &zeltaYaccTable());
        std::printf("Parsing %s.\n", files.ppoPath.c_str());
        std::fflush(stdout);
        program.holdMessages();
        writer.beginTree();
        program.beginStatements();
        parser.streamStatements(&statements);
        if (parser.parse() != 0)
            ssRaise(SSError::Yacc0105);
        root.reset(parser.takeRoot());
    } catch (const SSException& e) {
        program.dropMessages();
        program.releaseSource();
        error = parseErrorText(e, files.ppoPath, files.source);
        return false;
    }

    std::printf("Generating C source %s.\n", files.cppPath.c_str());
    std::fflush(stdout);
    program.releaseMessages();
    bool generated = writer.finishTree();
    std::printf("WriteSource %s.\n", files.cppPath.c_str());
    std::fflush(stdout);
    bool written = writer.writeSource(files.source);
    root.reset();
    std::printf("\n");
    std::fflush(stdout);
    (void)written;  // a file that could not be created has been reported; the run goes on
    return generated && program.errorCount() == errorsBefore;
}
