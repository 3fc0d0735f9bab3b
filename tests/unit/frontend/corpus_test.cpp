// Every program under tests/programs and examples parses without error. The
// sources are preprocessed with our zelta16 when it has been built; a
// program that fails there is the preprocessor's business and is skipped.
#include "frontend_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> corpus()
{
    std::vector<fs::path> files;
    for (const char* dir : {"tests/programs", "examples"}) {
        fs::path root = fs::path(ZELTA_SOURCE_DIR) / dir;
        if (!fs::exists(root))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(root))
            if (entry.is_regular_file() && (entry.path().extension() == ".prg" || entry.path().extension() == ".ppo"))
                files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The .ppo text of a source: as it is for a .ppo, else zelta16's output in a
// scratch directory; empty when it cannot be had.
fs::path scratchDirectory()
{
    // One directory per process: other builds of the tree run this test too.
    return fs::path(::testing::TempDir()) / ("frontend_corpus_" + std::to_string(getpid()));
}

std::string preprocessed(const fs::path& source)
{
    if (source.extension() == ".ppo") {
        std::ifstream in(source, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    if (!fs::exists(ZELTA16_PATH))
        return "";
    fs::path work = scratchDirectory();
    fs::create_directories(work);
    fs::path copy = work / source.filename();
    fs::copy_file(source, copy, fs::copy_options::overwrite_existing);
    // The driver's defines file, which brings in the command header.
    std::ofstream(work / "defines.ch", std::ios::binary) << "#include \"ezelta.ch\"\n\r";
    std::string command = std::string("cd '") + work.string() + "' && INCLUDE='" + ZELTA_INCLUDE_DIR + "' '" +
                          ZELTA16_PATH + "' '" + copy.string() + "' /i" + ZELTA_INCLUDE_DIR +
                          " /n /s /p /udefines.ch >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return "";
    std::ifstream in(fs::path(copy).replace_extension(".ppo"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Corpus, EveryProgramParses)
{
    int parsed = 0;
    for (const fs::path& source : corpus()) {
        std::string text = preprocessed(source);
        if (text.empty())
            continue;
        try {
            EXPECT_EQ(parseText(text).status, 0) << source;
        } catch (const SSException& e) {
            ADD_FAILURE() << source << ": " << e.message() << " at .ppo line " << e.line() << " near \""
                          << e.tokenText() << "\"";
        }
        ++parsed;
    }
    fs::remove_all(scratchDirectory());
    if (parsed == 0)
        GTEST_SKIP() << "no preprocessed programs (zelta16 not built, or no programs yet)";
}

}  // namespace
