// libzeltace.so exports every entry point its public headers declare, and
// nothing of the run-time's own namespaces or of the standard library.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "exports_support.h"

namespace {

const std::vector<exports::Symbol>& librarySymbols() {
  static const std::vector<exports::Symbol> symbols = exports::exportedSymbols(ZELTACE_PATH);
  return symbols;
}

}  // namespace

TEST(ExportsTest, NoInternalNamespaceLeavesTheLibrary) {
  ASSERT_GT(librarySymbols().size(), 100u) << "nm could not read " << ZELTACE_PATH;
  const std::regex internal(R"((^|[^\w])(core|lib|data|sync|ui|std|__gnu_cxx)::|\(anonymous namespace\))");
  std::string leaked;
  for (const exports::Symbol& s : librarySymbols()) {
    if (std::regex_search(s.text, internal)) leaked += "  " + s.text + "\n";
  }
  EXPECT_EQ(leaked, "") << "internal symbols exported:\n" << leaked;
}

TEST(ExportsTest, EveryDeclaredExportIsExported) {
  const auto declared = exports::declaredExports(PUBLIC_HEADERS_DIR);
  ASSERT_GT(declared.size(), 100u);
  std::set<std::string> exported;
  for (const exports::Symbol& s : librarySymbols()) exported.insert(s.name);
  std::string missing;
  for (const auto& [name, header] : declared) {
    if (!exported.count(name)) missing += "  " + name + " (" + header + ")\n";
  }
  EXPECT_EQ(missing, "") << "declared with ZELTA_EXPORT but not exported (is the definition's file including its "
                            "header?):\n"
                         << missing;
}

TEST(ExportsTest, TheSupportReadsDeclarationsAndSymbols) {
  // The readers themselves, on text of a known shape.
  const auto declared = exports::declaredExports(PUBLIC_HEADERS_DIR);
  EXPECT_EQ(declared.count("zelta_glob"), 1u) << "the state record, by its link name";
  EXPECT_EQ(declared.count("__RuntimeError"), 1u) << "after [[noreturn]]";
  EXPECT_EQ(declared.count("__AScan"), 1u) << "a declaration over two lines";
  EXPECT_EQ(declared.count("WinMain"), 0u) << "the program defines it";
  bool found = false;
  for (const exports::Symbol& s : librarySymbols()) {
    if (s.name == "__SubStr") {
      found = true;
      EXPECT_EQ(s.parameters, "Obj_Node*, Obj_Node*, Obj_Node*");
    }
  }
  EXPECT_TRUE(found);
}
