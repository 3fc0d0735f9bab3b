// The ".dat" reader: keys, line ends, the bounded line, and the file's path.
#include "lib_definition.h"

#include <sstream>

#include <gtest/gtest.h>

namespace {

tBuildSettings read(const std::string& text, tDefinitionRead expected = tDefinitionRead::ok)
{
    tBuildSettings s;
    std::istringstream in(text);
    EXPECT_EQ(readDefinition(in, s), expected);
    return s;
}

TEST(LibDefinition, KeysAndValues)
{
    tBuildSettings s = read(
        "CONST_AMNT=120\r\nctx_amnt=3\r\nCTX_SECTION=2\r\nPUBLIC=NTOTAL\r\nPUBLIC=CNAME\r\n"
        "IMPORT_FUNCDEF=pObj_Node SOMA(pObj_Node a);\r\nMAIN_FUNC=FIRST\r\nMAIN_FUNC=MAIN\r\n"
        "NUM_VALIDS=7\r\nSOMETHING=else\r\n\r\n");
    EXPECT_EQ(s.constantBase, 120);
    EXPECT_EQ(s.contextBase, 3);
    EXPECT_EQ(s.sectionBase, 2);
    EXPECT_EQ(s.validBase, 7);
    EXPECT_EQ(s.importedPublics, (std::vector<std::string>{"NTOTAL", "CNAME"}));
    EXPECT_EQ(s.importedFunctionDefs, (std::vector<std::string>{"pObj_Node SOMA(pObj_Node a);"}));
    EXPECT_EQ(s.mainFunction, "MAIN");
}

TEST(LibDefinition, LineEnds)
{
    struct {
        const char* text;
        std::vector<std::string> publics;
    } cases[] = {
        {"PUBLIC=A\r\nPUBLIC=B\r\n", {"A", "B"}},
        {"PUBLIC=A\nPUBLIC=B\n", {"A", "B"}},  // regression: LF alone must not eat the next line's first byte
        {"PUBLIC=A\r\nPUBLIC=B", {"A", "B"}},  // a last line without its end
        {"PUBLIC=A\rPUBLIC=B\r", {"A", "B"}},
        {"", {}},
        {"\r\n\r\n", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(c.text).importedPublics, c.publics) << ::testing::PrintToString(c.text);
}

TEST(LibDefinition, BoundedLine)
{
    std::string longest = "PUBLIC=" + std::string(kMaxDefinitionLine - 7, 'X');
    EXPECT_EQ(read(longest + "\r\n").importedPublics.at(0).size(), kMaxDefinitionLine - 7);
    read(longest + "Y\r\n", tDefinitionRead::lineTooLong);
}

TEST(LibDefinition, FilePath)
{
    tBuildSettings s;
    s.sources = {"dir/app.prg", "other.prg"};
    EXPECT_EQ(definitionFilePath(s), "");
    s.libraryMode = tLibraryMode::generate;
    EXPECT_EQ(definitionFilePath(s), "dir/app.dat");
    s.libraryMode = tLibraryMode::import;
    s.importName = "base.lib.x";
    EXPECT_EQ(definitionFilePath(s), "dir/base.dat");
}

}  // namespace
