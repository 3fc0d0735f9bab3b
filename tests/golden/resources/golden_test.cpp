// The Palm build-support files against their expected text. Each folder of
// cases/ is one build: options.txt (sources=, sdk=, icon=, name=, id=,
// category=, installdir=, bitmaps= the lines of a -bmp= list separated by
// '|', sections=, contexts=), and expected/ with every file the Palm step
// writes, the preprocessor's "defines.ch" among them. GOLDEN_UPDATE=1
// rewrites expected/; review the diff.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "resources.h"
#include "resources_palm.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

struct Case {
    tBuildSettings settings;
    std::string bitmapLines;
    int sections = 1;
    int contexts = 1;
};

Case readCase(const fs::path& file)
{
    Case c;
    c.settings.target = tTarget::PALMOS;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "sources")
            c.settings.sources = split(value, ' ');
        else if (key == "sdk")
            c.settings.sdk = value == "3.5" ? tSdk::PALM35 : tSdk::PALM5;
        else if (key == "icon")
            c.settings.iconFile = value;
        else if (key == "name")
            c.settings.appName = value;
        else if (key == "id")
            c.settings.creatorId = value;
        else if (key == "category")
            c.settings.category = value;
        else if (key == "installdir")
            c.settings.installDir = value;
        else if (key == "bitmaps")
            c.bitmapLines = value;
        else if (key == "sections")
            c.sections = std::stoi(value);
        else if (key == "contexts")
            c.contexts = std::stoi(value);
    }
    return c;
}

class PalmFiles : public ::testing::TestWithParam<std::string> {};

TEST_P(PalmFiles, WritesItsExpectedFiles)
{
    fs::path caseDir = fs::path(ZELTA_RESOURCE_CASES) / GetParam();
    Case c = readCase(caseDir / "options.txt");
    ASSERT_FALSE(c.settings.sources.empty());

    char pattern[] = "/tmp/palm_golden_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    fs::path work = pattern;
    fs::path oldDir = fs::current_path();
    fs::current_path(work);

    if (!c.bitmapLines.empty()) {
        std::string list;
        for (const std::string& line : split(c.bitmapLines, '|'))
            list += line + "\r\n";
        std::ofstream("bitmaps.txt", std::ios::binary) << list;
        c.settings.bitmapListFile = "bitmaps.txt";
        ASSERT_EQ(writeUserBitmaps(c.settings), tBitmapResult::ok);
        fs::remove("bitmaps.txt");
    }
    c.settings.defines.push_back("__PALM__");
    ASSERT_TRUE(writeDefinesFile("defines.ch", c.settings.defines));
    ASSERT_TRUE(writePalmDefinition(c.settings, c.sections, c.contexts));
    ASSERT_EQ(writePalmResourceFiles(c.settings), "");

    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(work))
        written.push_back(entry.path().filename().string());
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
    for (const std::string& name : written) {
        if (fs::exists(expected / name)) {
            EXPECT_EQ(readFile(work / name), readFile(expected / name)) << GetParam() << "/" << name;
        }
    }

    fs::current_path(oldDir);
    fs::remove_all(work);
}

std::vector<std::string> cases()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(ZELTA_RESOURCE_CASES))
        if (entry.is_directory())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Builds, PalmFiles, ::testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<std::string>& param) { return param.param; });

}  // namespace
