// Reading what libzeltace.so exports (nm -D, demangled) and what the public
// headers declare with ZELTA_EXPORT.
#ifndef ZELTA_TESTS_EXPORTS_SUPPORT_H
#define ZELTA_TESTS_EXPORTS_SUPPORT_H

#include <map>
#include <set>
#include <string>
#include <vector>

namespace exports {

// One defined dynamic symbol: its demangled text ("__Len(Obj_Node*)"), the
// name before the parameters ("__Len") and the parameter list ("Obj_Node*").
struct Symbol {
  std::string text;
  std::string name;
  std::string parameters;
};

// The defined dynamic symbols of the shared library at `path`; empty when
// nm cannot read it.
std::vector<Symbol> exportedSymbols(const std::string& path);

// The names declared with ZELTA_EXPORT in every header of `dir`, with the
// header that declares each.
std::map<std::string, std::string> declaredExports(const std::string& dir);

}  // namespace exports

#endif
