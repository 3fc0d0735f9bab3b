// Golden .ppo tests: each source in cases/ is preprocessed with the standard
// header and compared with the .ppo beside it (.err for sources that must
// fail, holding the diagnostics and the #stdout text). GOLDEN_UPDATE=1
// rewrites the expected files; review the diff before committing them.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "preprocessor.h"

namespace {

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct GoldenCase {
    const char* name;
    bool fails;
};

class PreprocessorGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(PreprocessorGolden, MatchesExpected)
{
    const GoldenCase& c = GetParam();
    // #line and error texts name files as found from the cases folder.
    ASSERT_EQ(chdir(ZELTA_GOLDEN_CASES), 0);
    std::ostringstream console;
    pp::Options options;
    options.header = "ezelta.ch";
    options.includeDirs.push_back(ZELTA_INCLUDE_DIR);
    options.console = &console;
    pp::Preprocessor pre(options);
    std::string out;
    const std::string source = std::string(c.name) + ".prg";
    bool ok = pre.run(source, out);

    std::string actual = out;
    std::string expectedFile = std::string(c.name) + (c.fails ? ".err" : ".ppo");
    if (c.fails) {
        actual.clear();
        for (const std::string& e : pre.errors())
            actual += e + "\n";
    }
    if (!console.str().empty())
        actual += "--- stdout\n" + console.str();
    EXPECT_EQ(ok, !c.fails);
    if (std::getenv("GOLDEN_UPDATE")) {
        std::ofstream(expectedFile, std::ios::binary) << actual;
        return;
    }
    EXPECT_EQ(actual, readText(expectedFile)) << "for " << source;
}

const GoldenCase kCases[] = {
    {"directives", false},      {"markers", false},        {"results", false},           {"text", false},
    {"commands", false},        {"missing_include", true}, {"unterminated_ifdef", true}, {"error_directive", true},
    {"endless_rule", true},     {"bad_rule", true},        {"unmatched", false},         {"bad_markers", true},
    {"unclosed_comment", true},
};

INSTANTIATE_TEST_SUITE_P(Cases, PreprocessorGolden, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& p) { return std::string(p.param.name); });

}  // namespace
