// ORDER PLAIN_RUNTIME_CALLS: the compiler's list of run-time functions that
// programs call by their plain names, against the declarations in the
// run-time's public headers. A function whose name is all capitals is
// callable so (generated code upper-cases the names it calls), and the
// compiler must know it and how many arguments it takes.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "codegen/program.h"

namespace {

struct tCounts {
    int fewest;
    int most;
    bool operator==(const tCounts& o) const { return fewest == o.fewest && most == o.most; }
};

std::string readAll(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The argument counts of a parameter list: those with a default can be left out.
tCounts countsOf(const std::string& parameters)
{
    std::string list = std::regex_replace(parameters, std::regex(R"(\s+)"), " ");
    if (list.find_first_not_of(" ") == std::string::npos || list == " void" || list == "void")
        return {0, 0};
    tCounts c{0, 0};
    std::stringstream items(list);
    for (std::string item; std::getline(items, item, ',');) {
        ++c.most;
        if (item.find('=') == std::string::npos)
            c.fewest = c.most;
    }
    return c;
}

TEST(RuntimeCalls, TheListMatchesThePublicHeaders)
{
    std::map<std::string, tCounts> declared;
    const std::regex declaration(
        R"(ZELTA_EXPORT\s+[A-Za-z_][A-Za-z0-9_]*\s*\**\s*([A-Z][A-Z0-9_]*)\s*\(([^;]*)\)\s*;)");
    for (const auto& entry : std::filesystem::directory_iterator(RUNTIME_HEADERS)) {
        if (entry.path().extension() != ".h")
            continue;
        std::string text = readAll(entry.path());
        // The headers' parameter macros, as the compiler would see them.
        text = std::regex_replace(text, std::regex(R"(ZELTA_ARG\((\w+)\))"), "pObj_Node $1 = NULL");
        std::string outputs;
        for (int i = 1; i <= 16; ++i)
            outputs += std::string(i > 1 ? ", " : "") + "pObj_Node a" + std::to_string(i) + " = NULL";
        text = std::regex_replace(text, std::regex(R"(\bZELTA_OUTPUT_PARAMS\b)"), outputs);
        for (std::sregex_iterator m(text.begin(), text.end(), declaration), end; m != end; ++m)
            declared[(*m)[1]] = countsOf((*m)[2]);
    }
    ASSERT_GT(declared.size(), 4u) << "no declarations found in " << RUNTIME_HEADERS;
    int count = 0;
    const tRuntimeCall* calls = runtimeCalls(count);
    std::map<std::string, tCounts> known;
    for (int i = 0; i < count; ++i)
        known[calls[i].name] = {calls[i].fewest, calls[i].most};
    for (const auto& [name, counts] : declared) {
        auto it = known.find(name);
        if (it == known.end()) {
            ADD_FAILURE() << name << " is declared in the run-time's headers; add {\"" << name << "\", "
                          << counts.fewest << ", " << counts.most
                          << "} to kRuntimeCalls (compiler/codegen/program.cpp)";
            continue;
        }
        EXPECT_TRUE(it->second == counts) << name << ": the headers take " << counts.fewest << " to " << counts.most
                                          << " arguments, the list " << it->second.fewest << " to " << it->second.most;
    }
    for (const auto& [name, counts] : known)
        EXPECT_TRUE(declared.count(name)) << name << " is in kRuntimeCalls but no public header declares it";
}

}  // namespace
