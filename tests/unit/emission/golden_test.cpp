// Whole programs against their expected files. Each folder of tests/codegen
// is one program: its ".prg" sources (compiled in name order, fed to the
// parser as they are, so they use no preprocessor commands), an options.txt
// (target=, debug=, fulldebug=, creator=) and expected/ with every file the
// run writes (the module definition files of exports among them). GOLDEN_UPDATE=1 rewrites expected/; review the diff.
//
// Host-target programs are also compiled with g++ -fsyntax-only against the
// run-time headers of the install tree, so generated text and run-time
// declarations cannot drift apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "codegen/emit_program.h"
#include "frontend/parse_source.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct CaseOptions {
    tTarget target = tTarget::PALMOS;
    bool debug = false;
    bool fullDebug = false;
    std::string creator;
};

CaseOptions readOptions(const fs::path& file)
{
    CaseOptions options;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        std::string key = line.substr(0, line.find('='));
        std::string value = line.find('=') == std::string::npos ? "" : line.substr(line.find('=') + 1);
        if (key == "target")
            options.target = static_cast<tTarget>(std::atoi(value.c_str()));
        else if (key == "debug")
            options.debug = value == "1";
        else if (key == "fulldebug")
            options.fullDebug = value == "1";
        else if (key == "creator")
            options.creator = value;
    }
    return options;
}

std::string upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

class GoldenProgram : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenProgram, WritesItsExpectedFiles)
{
    fs::path caseDir = fs::path(ZELTA_CODEGEN_DIR) / GetParam();
    CaseOptions options = readOptions(caseDir / "options.txt");
    std::vector<std::string> sources;
    for (const auto& entry : fs::directory_iterator(caseDir))
        if (entry.path().extension() == ".prg")
            sources.push_back(entry.path().filename().string());
    std::sort(sources.begin(), sources.end());
    ASSERT_FALSE(sources.empty());

    char pattern[] = "/tmp/golden_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    fs::path work = pattern;
    fs::path oldDir = fs::current_path();
    fs::current_path(work);

    tProgram program;
    program.autoPublicPauseMs = 0;
    program.activate();
    tProgramWriter writer(program);
    bool ok = true;
    for (std::size_t i = 0; i < sources.size() && ok; ++i) {
        std::string stem = fs::path(sources[i]).stem().string();
        fs::copy_file(caseDir / sources[i], work / sources[i]);
        fs::copy_file(caseDir / sources[i], work / (stem + ".ppo"));
        tCodegenOptions& o = program.options;
        o.target = options.target;
        o.moduleName = upper(stem);
        o.sourcePath = sources[i];
        o.creatorId = options.creator;
        o.sectionIndex = static_cast<int>(i) + 1;
        o.lineTracking = options.debug;
        o.fullDebug = options.fullDebug;
        std::string error;
        testing::internal::CaptureStdout();
        ok = parseAndGenerate(writer, {sources[i], stem + ".ppo", stem + ".cpp"}, error);
        testing::internal::GetCapturedStdout();
        EXPECT_TRUE(ok) << sources[i] << error;
    }
    int contexts = 0;
    ASSERT_TRUE(writer.writeFirstSource());
    ASSERT_TRUE(writer.writeInitAndContexts(contexts));
    ASSERT_TRUE(writer.writeSharedHeader(contexts));

    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(work)) {
        std::string ext = entry.path().extension().string();
        if (ext == ".cpp" || ext == ".hpp" || ext == ".h" || ext == ".def")
            written.push_back(entry.path().filename().string());
    }
    std::sort(written.begin(), written.end());

    fs::path expected = caseDir / "expected";
    if (std::getenv("GOLDEN_UPDATE")) {
        fs::remove_all(expected);
        fs::create_directories(expected);
        for (const std::string& name : written)
            fs::copy_file(work / name, expected / name);
    }
    ASSERT_TRUE(fs::exists(expected)) << "run with GOLDEN_UPDATE=1 to create " << expected;
    std::vector<std::string> wanted;
    for (const auto& entry : fs::directory_iterator(expected))
        wanted.push_back(entry.path().filename().string());
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(written, wanted);
    for (const std::string& name : written)
        if (fs::exists(expected / name)) {
            EXPECT_EQ(readFile(work / name), readFile(expected / name)) << GetParam() << "/" << name;
        }

    fs::path include = ZELTA_DIST_INCLUDE;
    if (options.target == tTarget::GCCDEBUG && fs::exists(include / "zeltaobjs.h")) {
        for (const std::string& name : written) {
            if (fs::path(name).extension() != ".cpp")
                continue;
            std::string command = "g++ -std=c++17 -fsyntax-only -I. -I'" + include.string() + "' " + name + " 2>&1";
            FILE* pipe = popen(command.c_str(), "r");
            ASSERT_NE(pipe, nullptr);
            std::string output;
            char buffer[512];
            while (fgets(buffer, sizeof buffer, pipe))
                output += buffer;
            EXPECT_EQ(pclose(pipe), 0) << GetParam() << "/" << name << "\n" << output;
        }
    }
    fs::current_path(oldDir);
    fs::remove_all(work);
}

std::vector<std::string> goldenCases()
{
    std::vector<std::string> cases;
    for (const auto& entry : fs::directory_iterator(ZELTA_CODEGEN_DIR))
        if (entry.is_directory())
            cases.push_back(entry.path().filename().string());
    std::sort(cases.begin(), cases.end());
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Programs, GoldenProgram, ::testing::ValuesIn(goldenCases()),
                         [](const testing::TestParamInfo<std::string>& param) { return param.param; });

}  // namespace
