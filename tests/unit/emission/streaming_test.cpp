// Generating each statement as soon as it is parsed must write what
// generating the whole tree after the parse writes: the same files and the
// same messages in the same order, for sources whose records point into the
// tree (parameters, code blocks, STATIC lists), whose line directive comes
// late, or that hold errors. A parse that fails late prints none of the
// generator's messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "codegen/emit_program.h"
#include "frontend/grammar_actions.h"
#include "frontend/orvic_lex.h"
#include "frontend/parse_source.h"

namespace fs = std::filesystem;

namespace {

struct tRun {
    bool ok = false;
    std::string console;  // what the run printed
    std::string files;    // every file written, named and in order of name
};

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The generation as it was before statements were streamed: the whole tree
// first, then generated from its root.
bool wholeTree(tProgramWriter& writer, const tSourceFiles& files)
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
        if (parser.parse() != 0)
            return false;
        position = parser.position();
        root.reset(parser.takeRoot());
    } catch (const SSException&) {
        return false;
    }
    program.lineOffset = position.directiveSeen ? static_cast<int>(position.directiveLine) : 0;
    bool generated = writer.generateTree(*root);
    writer.writeSource(files.source);
    return generated && program.errorCount() == errorsBefore;
}

tRun compile(const std::string& source, bool streamed)
{
    char pattern[] = "/tmp/streaming_XXXXXX";
    EXPECT_NE(mkdtemp(pattern), nullptr);
    fs::path work = pattern;
    fs::path oldDir = fs::current_path();
    fs::current_path(work);
    tRun run;
    {
        tProgram program;
        program.autoPublicPauseMs = 0;
        program.activate();
        program.options.moduleName = "APP";
        program.options.sourcePath = "app.prg";
        program.options.sectionIndex = 1;
        program.options.lineTracking = true;
        tProgramWriter writer(program);
        std::ofstream("app.ppo") << source << "\n";
        testing::internal::CaptureStdout();
        std::string error;
        tSourceFiles files{"app.prg", "app.ppo", "app.cpp"};
        run.ok = streamed ? parseAndGenerate(writer, files, error) : wholeTree(writer, files);
        if (run.ok) {
            int contexts = 0;
            writer.writeFirstSource();
            writer.writeInitAndContexts(contexts);
            writer.writeSharedHeader(contexts);
        }
        run.console = testing::internal::GetCapturedStdout();
    }
    std::vector<fs::path> written;
    for (const auto& entry : fs::directory_iterator(work))
        if (entry.path().extension() != ".ppo")
            written.push_back(entry.path());
    std::sort(written.begin(), written.end());
    for (const fs::path& path : written)
        run.files += "== " + path.filename().string() + "\n" + readAll(path);
    fs::current_path(oldDir);
    fs::remove_all(work);
    return run;
}

// Only the generator's messages: the streamed run also prints its progress.
std::string messages(const std::string& console)
{
    std::string kept;
    std::istringstream lines(console);
    for (std::string line; std::getline(lines, line);)
        if (line.find("Parsing ") != 0 && line.find("Generating C source") != 0 && line.find("WriteSource") != 0 &&
            !line.empty())
            kept += line + "\n";
    return kept;
}

TEST(Streaming, WritesWhatTheWholeTreeWrites)
{
    const char* const sources[] = {
        // Top-level statements, then functions with parameters and LOCALs.
        "x := 1\nQOut(x)\nFUNCTION Main()\nLOCAL a := 2\nQOut(F(a, 3))\nRETURN NIL\n"
        "FUNCTION F(p, q)\nRETURN p + q\n",
        // Code blocks, a block inside a block, a STATIC list with values.
        "FUNCTION Main()\nSTATIC s := 5, t\nLOCAL b := {|x| x + s}\nLOCAL c := {|| Eval({|y| y * 2}, 4)}\n"
        "QOut(Eval(b, 1), Eval(c))\nRETURN NIL\n",
        // A line directive after the first statements moves every marker.
        "FUNCTION Main()\nQOut(1)\n#line 40 \"app.prg\"\nQOut(2)\nRETURN NIL\nFUNCTION G()\nRETURN 3\n",
        // Errors the generator reports, with an automatic public between them.
        "FUNCTION Main()\nundeclared := 1\n1 := 2\nQOut(nowhere)\nRETURN NIL\n",
        // Statements outside any function once one was written.
        "QOut('top')\nFUNCTION Main()\nRETURN NIL\n",
        // Public definitions, declared and automatic, go in at the mark.
        "FUNCTION Main()\nPUBLIC pa := 1, pb\nauto := 2\nQOut(pa, pb, auto)\nRETURN NIL\n",
        // Percent signs as a file receives them.
        "FUNCTION Main()\nQOut(7 % 3, '100%%')\nRETURN NIL\n",
    };
    for (const char* source : sources) {
        tRun whole = compile(source, false);
        tRun streamed = compile(source, true);
        EXPECT_EQ(streamed.ok, whole.ok) << source;
        EXPECT_EQ(streamed.files, whole.files) << source;
        EXPECT_EQ(messages(streamed.console), messages(whole.console)) << source;
        EXPECT_FALSE(streamed.files.empty()) << source << streamed.console;
    }
}

// The scan ahead reads the file in blocks of 64 KiB and five bytes: a
// directive that straddles the first block's end still counts.
TEST(Streaming, ALineDirectiveAcrossTheScanBlocksIsFound)
{
    std::string source = "FUNCTION Main()\n";
    while (source.size() < 65000)
        source += "QOut(1)\n";
    source += std::string(65539 - source.size() - 1, ' ') + "\n";
    ASSERT_EQ(source.size(), 65539u);
    source += "#line 900 \"app.prg\"\nQOut(2)\nRETURN NIL\n";
    tRun whole = compile(source, false);
    tRun streamed = compile(source, true);
    ASSERT_TRUE(whole.ok);
    EXPECT_EQ(streamed.files, whole.files);
}

TEST(Streaming, ALateSyntaxErrorPrintsNoGeneratorMessage)
{
    tRun run = compile("FUNCTION Main()\n1 := 2\nundeclared := 1\nQOut(\n", true);
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.console.find("app.prg("), std::string::npos) << run.console;
    EXPECT_EQ(run.console.find("Generating C source"), std::string::npos) << run.console;
    EXPECT_EQ(run.files, "");
}

TEST(Streaming, GeneratorMessagesFollowTheParse)
{
    tRun run = compile("FUNCTION Main()\n1 := 2\nRETURN NIL\n", true);
    EXPECT_FALSE(run.ok);
    std::size_t parsing = run.console.find("Parsing app.ppo.");
    std::size_t generating = run.console.find("Generating C source app.cpp.");
    std::size_t message = run.console.find("app.prg(2): ");
    ASSERT_NE(message, std::string::npos) << run.console;
    EXPECT_LT(parsing, generating);
    EXPECT_LT(generating, message);
}

}  // namespace
