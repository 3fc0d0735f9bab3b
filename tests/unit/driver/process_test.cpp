// Command-line splitting and real child processes.
#include "process.h"

#include "test_support.h"

#include <csignal>

namespace {

TEST(Process, SplitCommandLine)
{
    using V = std::vector<std::string>;
    struct {
        const char* line;
        V args;
    } cases[] = {
        {"", V{}},
        {"   ", V{}},
        {"gcc  -c a.cpp", V{"gcc", "-c", "a.cpp"}},
        {"cl /I \"C:/x y/include\" /c f.cpp", V{"cl", "/I", "C:/x y/include", "/c", "f.cpp"}},
        {"rc /fo\"ezelta.res\" /r a.rc", V{"rc", "/foezelta.res", "/r", "a.rc"}},
        {"D:\\ez\\bin\\clarm x", V{"D:\\ez\\bin\\clarm", "x"}},
        {"a \\\"q\\\" b", V{"a", "\"q\"", "b"}},
        {"a \\\\\"x y\" b", V{"a", "\\x y", "b"}},
        {"a \"\" b", V{"a", "", "b"}},
        {"\tx\t", V{"x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitCommandLine(c.line), c.args) << c.line;
}

TEST(Process, QuoteArgumentRoundTrips)
{
    for (std::string path : {"plain/path.prg", "dir with blank/a.prg", "odd\"quote"}) {
        EXPECT_EQ(splitCommandLine("tool " + quoteArgument(path)), (std::vector<std::string>{"tool", path}));
    }
    EXPECT_EQ(quoteArgument("plain"), "plain");
}

TEST(Process, ExitCodes)
{
    tHostRunner runner;
    EXPECT_EQ(runner.run("true", tChildOutput::inherit, ""), 0);
    EXPECT_EQ(runner.run("sh -c \"exit 7\"", tChildOutput::inherit, ""), 7);
    EXPECT_EQ(runner.run("/nonexistent/tool -x", tChildOutput::inherit, ""), kNotStarted);
    EXPECT_EQ(runner.run("", tChildOutput::inherit, ""), kNotStarted);
    EXPECT_EQ(runner.run("D:\\ez\\bin\\clarm /c a.cpp", tChildOutput::inherit, ""), kNotStarted);
}

TEST(Process, OutputToFileReplacesOldContent)
{
    tScratchDir dir;
    writeFile("log.txt", "old content that is longer than the new\n");
    tHostRunner runner;
    EXPECT_EQ(runner.run("sh -c \"echo out; echo err >&2\"", tChildOutput::toFile, "log.txt"), 0);
    EXPECT_EQ(readFile("log.txt"), "out\nerr\n");
}

TEST(Process, EnvironmentReachesChildren)
{
    tScratchDir dir;
    tHostRunner runner;
    runner.setEnvironment("ZELTA_TEST_VALUE", "seen");
    EXPECT_EQ(runner.run("sh -c \"test $ZELTA_TEST_VALUE = seen\"", tChildOutput::inherit, ""), 0);
}

TEST(Process, ChildrenStillStopOnInterrupt)
{
    ignoreInterrupts();
    tHostRunner runner;
    // The compiler ignores SIGINT; a child must not inherit that.
    EXPECT_NE(runner.run("sh -c \"kill -INT $$; sleep 5\"", tChildOutput::inherit, ""), 0);
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
}

}  // namespace
