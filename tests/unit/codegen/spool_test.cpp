// tSpool: text read back in any range is the text written, whether it lies
// in memory, in the temporary file or across the two, and the temporary file
// leaves nothing in its folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "codegen/spool.h"

namespace fs = std::filesystem;

namespace {

std::string copied(tSpool& spool, std::size_t from, std::size_t to)
{
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&data, &size);
    EXPECT_TRUE(spool.copyTo(out, from, to));
    std::fclose(out);
    std::string text(data, size);
    std::free(data);
    return text;
}

TEST(Spool, RangesReadBackAcrossMemoryAndFile)
{
    char pattern[] = "/tmp/spool_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string expected;
    {
        tSpool spool(10);  // ten bytes in memory, the rest in the file
        spool.setFolder(pattern);
        for (int i = 0; i < 2000; ++i) {
            std::string piece = std::to_string(i) + (i % 7 ? "," : "\n");
            spool.append(piece.data(), piece.size());
            expected += piece;
        }
        ASSERT_EQ(spool.size(), expected.size());
        struct {
            std::size_t from, to;
        } ranges[] = {{0, 4},      {0, 10},
                      {3, 25},     {10, 11},
                      {500, 7000}, {0, expected.size()},
                      {7, 7},      {expected.size() - 3, expected.size() + 50}};
        for (const auto& r : ranges) {
            std::size_t to = std::min(r.to, expected.size());
            EXPECT_EQ(copied(spool, r.from, r.to), expected.substr(r.from, to - r.from)) << r.from << "-" << r.to;
        }
        // Writing goes on at the end after a read.
        spool.append("end", 3);
        expected += "end";
        EXPECT_EQ(spool.text(), expected);
        EXPECT_TRUE(fs::is_empty(pattern)) << "the temporary file has no name";
        spool.clear();
        EXPECT_EQ(spool.size(), 0u);
        EXPECT_EQ(spool.text(), "");
    }
    EXPECT_TRUE(fs::is_empty(pattern));
    fs::remove_all(pattern);
}

TEST(Spool, AFolderThatCannotHoldTheFileKeepsTheTextInMemory)
{
    tSpool spool(4);
    spool.setFolder("/nonexistent/folder");
    std::string text = "more than four bytes of text";
    spool.append(text.data(), text.size());
    EXPECT_EQ(spool.text(), text);
    EXPECT_EQ(copied(spool, 2, 9), text.substr(2, 7));
}

}  // namespace
