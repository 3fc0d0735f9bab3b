// The pipeline's order, its stops and its exit statuses, over phases that
// record their calls; and the host phases' own part of parse and generate.
#include "pipeline.h"

#include "host_phases.h"
#include "test_support.h"

#include <sstream>

namespace {

class tFakePhases : public tPhases {
public:
    tStepResult writeUserBitmaps() override { return step("bitmaps"); }
    tStepResult prepareInstallDir() override { return step("installdir"); }
    tStepResult preprocess(const std::string& source) override { return step("pp " + source); }
    tStepResult parseAndGenerate(const tSourceJob& job) override
    {
        jobs.push_back(job);
        return step("gen " + job.source);
    }
    tStepResult writeProgram(tBuildOutputs& outputs) override
    {
        outputs.contextCount = contexts;
        return step("program");
    }
    tStepResult writePalmFiles(const tBuildOutputs&, int sectionIndex) override
    {
        return step("palm " + std::to_string(sectionIndex));
    }
    tStepResult compile(const std::string& cFile) override { return step("cc " + cFile); }
    tStepResult resourcesAndLink(const tBuildOutputs& outputs) override { return step("link " + outputs.moduleName); }
    void restoreMounts() override { calls.push_back("restore"); }
    void cleanUp(const tBuildOutputs&) override { calls.push_back("clean"); }

    tStepResult step(const std::string& name)
    {
        calls.push_back(name);
        return name == failing ? failure : tStepResult::ok;
    }

    std::vector<std::string> calls;
    std::vector<tSourceJob> jobs;
    std::string failing;
    tStepResult failure = tStepResult::failed;
    int contexts = 2;
};

struct tRun {
    int status;
    std::vector<std::string> calls;
    std::string output;
};

tRun run(tBuildSettings s, const std::string& failing = "", tStepResult failure = tStepResult::failed)
{
    tFakePhases phases;
    phases.failing = failing;
    phases.failure = failure;
    std::ostringstream out;
    int status = runPipeline(s, phases, out);
    return {status, phases.calls, out.str()};
}

tBuildSettings twoSources(tTarget target)
{
    writeFile("a.prg", "");
    writeFile("b.prg", "");
    tBuildSettings s;
    s.target = target;
    s.sources = {"a.prg", "b"};
    return s;
}

using V = std::vector<std::string>;

TEST(Pipeline, FullPalmRunInOrder)
{
    tScratchDir dir;
    tRun r = run(twoSources(tTarget::PALMOS));
    EXPECT_EQ(r.status, kExitBuilt);
    EXPECT_EQ(r.calls, (V{"installdir", "pp a.prg", "gen a.prg", "pp b", "gen b", "program", "palm 2", "cc a.cpp",
                          "cc b.cpp", "cc ctx001.cpp", "cc ctx002.cpp", "link B", "restore", "clean"}));
}

TEST(Pipeline, DesktopRunSkipsRegistryAndMounts)
{
    tScratchDir dir;
    tBuildSettings s = twoSources(tTarget::WIN32EXE);
    s.clean = false;
    s.bitmapListFile = "bmp.txt";
    tRun r = run(s);
    EXPECT_EQ(r.status, kExitBuilt);
    EXPECT_EQ(r.calls, (V{"bitmaps", "pp a.prg", "gen a.prg", "pp b", "gen b", "program", "cc a.cpp", "cc b.cpp",
                          "cc ctx001.cpp", "cc ctx002.cpp", "link B"}));
}

TEST(Pipeline, StopsAndStatuses)
{
    struct {
        tTarget target;
        const char* failing;
        tStepResult failure;
        int status;
        V tail;  // the calls after the failing one
    } cases[] = {
        {tTarget::PALMOS, "installdir", tStepResult::failed, kExitToolchainError, {"restore", "clean"}},
        {tTarget::PALMOS, "pp a.prg", tStepResult::failed, kExitToolchainError, {"restore", "clean"}},
        {tTarget::POCKETPC, "gen b", tStepResult::sourceFailed, kExitSourceError, {"restore", "clean"}},
        {tTarget::WIN32DLL, "gen a.prg", tStepResult::failed, kExitToolchainError, {"clean"}},
        {tTarget::PALMOS, "program", tStepResult::failed, kExitToolchainError, {"restore", "clean"}},
        {tTarget::PALMOS, "palm 2", tStepResult::failed, kExitToolchainError, {"restore", "clean"}},
        {tTarget::DOTNET, "cc b.cpp", tStepResult::failed, kExitToolchainError, {"restore", "clean"}},
        {tTarget::WIN32EXE, "cc ctx001.cpp", tStepResult::failed, kExitToolchainError, {"clean"}},
        {tTarget::GCCDEBUG, "link B", tStepResult::failed, kExitToolchainError, {"clean"}},
    };
    for (const auto& c : cases) {
        tScratchDir dir;
        tRun r = run(twoSources(c.target), c.failing, c.failure);
        EXPECT_EQ(r.status, c.status) << c.failing;
        auto at = std::find(r.calls.begin(), r.calls.end(), c.failing);
        ASSERT_NE(at, r.calls.end()) << c.failing;
        EXPECT_EQ(V(at + 1, r.calls.end()), c.tail) << c.failing;
    }
}

TEST(Pipeline, MissingSource)
{
    tScratchDir dir;
    tBuildSettings s = twoSources(tTarget::PALMOS);
    s.sources = {"a.prg", "gone", "b.prg"};
    tRun r = run(s);
    EXPECT_EQ(r.status, kExitSourceError);
    EXPECT_EQ(r.output, "File gone does not exists!\n");
    EXPECT_EQ(r.calls, (V{"restore", "clean"}));
}

TEST(Pipeline, SourceJobs)
{
    tScratchDir dir;
    std::filesystem::create_directory("sub");
    writeFile("sub/main.prg", "");
    writeFile("b.prg", "");
    writeFile("base.dat", "CTX_SECTION=4\r\n");
    tBuildSettings s;
    s.target = tTarget::WIN32EXE;
    s.sources = {"sub/main.prg", "b.prg"};
    s.libraryMode = tLibraryMode::import;
    s.importName = "base";
    tFakePhases phases;
    std::ostringstream out;
    phases.failing = "sub/base.dat";  // never a step: the run goes through
    writeFile("sub/base.dat", "CTX_SECTION=4\r\nCONST_AMNT=9\r\n");
    ASSERT_EQ(runPipeline(s, phases, out), kExitBuilt);
    ASSERT_EQ(phases.jobs.size(), 2u);
    EXPECT_EQ(phases.jobs[0].ppoPath, "sub/main.ppo");
    EXPECT_EQ(phases.jobs[0].cppPath, "sub/main.cpp");
    EXPECT_EQ(phases.jobs[0].moduleName, "MAIN");
    EXPECT_EQ(phases.jobs[0].sectionIndex, 5);
    EXPECT_TRUE(phases.jobs[0].importPending);
    EXPECT_EQ(phases.jobs[1].sectionIndex, 6);
    EXPECT_FALSE(phases.jobs[1].importPending);
    EXPECT_EQ(s.constantBase, 9);
    EXPECT_EQ(s.definitionPath, "sub/base.dat");
}

TEST(Pipeline, LibraryDefinitionFiles)
{
    tScratchDir dir;
    tBuildSettings gen = twoSources(tTarget::WIN32EXE);
    gen.libraryMode = tLibraryMode::generate;
    writeFile("a.dat", "stale");
    EXPECT_EQ(run(gen).status, kExitBuilt);
    EXPECT_EQ(readFile("a.dat"), "");

    tBuildSettings imp = twoSources(tTarget::WIN32EXE);
    imp.libraryMode = tLibraryMode::import;
    imp.importName = "missing";
    tRun r = run(imp);
    EXPECT_EQ(r.status, kExitSourceError);
    EXPECT_EQ(r.output, "\nArquivo de definições missing.dat não encontrado.");
    EXPECT_EQ(r.calls, (V{"clean"}));

    writeFile("long.dat", std::string(300, 'A') + "\r\n");
    imp.importName = "long";
    r = run(imp);
    EXPECT_EQ(r.status, kExitSourceError);
    EXPECT_EQ(r.output, "\nLine too long in definition file long.dat (at most 255 characters).\n");
}

TEST(HostPhases, ParseAndGenerateChecksThePpo)
{
    tScratchDir dir;
    tBuildSettings s;
    s.sources = {"a.prg"};
    tRecordingRunner runner;
    tRegistry registry("reg.txt");
    std::ostringstream out;
    tHostPhases phases(s, runner, registry, out);
    tSourceJob job = makeSourceJob(s, 0);

    EXPECT_EQ(phases.parseAndGenerate(job), tStepResult::sourceFailed);
    EXPECT_EQ(out.str(), "Generating a.cpp.\n\nArquivo a.ppo não encontrado.\n");

    writeFile("a.ppo", "? 1");
    out.str("");
    phases.parseAndGenerate(job);
    EXPECT_EQ(readFile("a.ppo"), "? 1\n");  // the last line is always ended
}

TEST(HostPhases, InstallDirFromTheRegistry)
{
    tScratchDir dir;
    tBuildSettings s;
    s.sources = {"a.prg"};
    tRecordingRunner runner;
    tRegistry registry("reg.txt");
    std::ostringstream out;
    {
        tHostPhases phases(s, runner, registry, out);
        EXPECT_EQ(phases.prepareInstallDir(), tStepResult::failed);
        EXPECT_EQ(out.str(), "Invalid Registry Keys!\nPlease re-install ezelta software.\n");
    }
    writeFile("reg.txt", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Sardel\\ezelta]\nInstallDir=sz:/opt/ez\n");
    s.target = tTarget::POCKETPC;
    tHostPhases phases(s, runner, registry, out);
    EXPECT_EQ(phases.prepareInstallDir(), tStepResult::ok);
    EXPECT_EQ(s.installDir, "/opt/ez");
    EXPECT_EQ(readFile("reg.txt"), "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Sardel\\ezelta]\nInstallDir=sz:/opt/ez\n");
}

// The script is compiled and then deleted whatever pilrc answered; a pilrc
// that cannot be started (it is not on this host) fails the step by name.
TEST(HostPhases, PalmStepWritesEveryFileThenRunsPilrc)
{
    struct {
        int exitCode;
        tStepResult result;
        const char* tail;
    } cases[] = {
        {0, tStepResult::ok, "Compiling Resources...\n"},
        {1, tStepResult::failed, "Compiling Resources...\n"},
        {kNotStarted, tStepResult::failed, "Compiling Resources...\n\nCould not start /opt/ez/bin/pilrc\n"},
    };
    for (const auto& c : cases) {
        tScratchDir dir;
        std::filesystem::create_directory("src");
        tBuildSettings s;
        s.sources = {"src/shop.prg"};
        s.installDir = "/opt/ez";
        tRecordingRunner runner;
        runner.exitCode = c.exitCode;
        tRegistry registry("reg.txt");
        std::ostringstream out;
        tHostPhases phases(s, runner, registry, out);
        tBuildOutputs outputs;
        outputs.contextCount = 1;
        EXPECT_EQ(phases.writePalmFiles(outputs, 1), c.result);
        EXPECT_EQ(out.str(), std::string("\nGerando def file\nGerado def file") + c.tail);
        EXPECT_EQ(runner.commands, std::vector<std::string>{"/opt/ez/bin/pilrc -q src/shop.rcp"});
        EXPECT_FALSE(exists("src/shop.rcp"));
        for (const char* file :
             {"src/shop.def", "resincl.h", "passfont.pfn", "left.pbitm", "right.pbitm", "shop.pbitm"})
            EXPECT_TRUE(exists(file)) << file;
    }
}

TEST(HostPhases, PalmStepStopsAtAFileItCannotWrite)
{
    tScratchDir dir;
    std::filesystem::create_directory("resincl.h");  // a directory where the header goes
    tBuildSettings s;
    s.sources = {"shop.prg"};
    tRecordingRunner runner;
    tRegistry registry("reg.txt");
    std::ostringstream out;
    tHostPhases phases(s, runner, registry, out);
    EXPECT_EQ(phases.writePalmFiles(tBuildOutputs(), 1), tStepResult::failed);
    EXPECT_EQ(out.str(), "\nGerando def file\nGerado def fileError creating resincl.h\n");
    EXPECT_TRUE(runner.commands.empty());
}

}  // namespace
