// nm -D output and header scanning for the export tests.
#include "exports_support.h"

#include <dirent.h>
#include <stdio.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace exports {

std::vector<Symbol> exportedSymbols(const std::string& path) {
  std::vector<Symbol> symbols;
  const std::string command = "nm -D --defined-only -C '" + path + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return symbols;
  char line[4096];
  while (fgets(line, sizeof line, pipe)) {
    // "<address> <type> <demangled text>"
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const size_t first = text.find(' ');
    const size_t second = first == std::string::npos ? first : text.find(' ', first + 1);
    if (second == std::string::npos) continue;
    Symbol s;
    s.text = text.substr(second + 1);
    const size_t open = s.text.find('(');
    s.name = s.text.substr(0, open);
    if (open != std::string::npos) {
      const size_t close = s.text.rfind(')');
      s.parameters = s.text.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
    }
    symbols.push_back(s);
  }
  pclose(pipe);
  return symbols;
}

std::map<std::string, std::string> declaredExports(const std::string& dir) {
  std::map<std::string, std::string> names;
  DIR* d = opendir(dir.c_str());
  if (!d) return names;
  // The name right before the first "(" of the declaration; a variable
  // names its link name in __asm__("...").
  const std::regex function(R"(ZELTA_EXPORT\s+[^;(]*?(\w+)\s*\()");
  const std::regex variable(R"(ZELTA_EXPORT\s+[^;(]*__asm__\s*\(\s*"(\w+)\")");
  while (dirent* e = readdir(d)) {
    const std::string file = e->d_name;
    if (file.size() < 3 || file.compare(file.size() - 2, 2, ".h") != 0) continue;
    std::ifstream in(dir + "/" + file);
    for (std::string line; std::getline(in, line);) {
      if (line.find("#define") != std::string::npos) continue;
      std::smatch m;
      if (std::regex_search(line, m, variable) || std::regex_search(line, m, function)) names[m[1]] = file;
    }
  }
  closedir(d);
  return names;
}

}  // namespace exports
