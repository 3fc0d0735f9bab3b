// The ".dat" reader and writer's first step. Lines look like
//     CONST_AMNT=120\r\n
// keys are matched case-blind; unknown lines are skipped.
#include "lib_definition.h"

#include "paths.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <strings.h>

namespace {

using tApply = void (*)(tBuildSettings&, const char*);

const struct {
    const char* key;
    tApply apply;
} kKeys[] = {
    {"CONST_AMNT=", [](tBuildSettings& s, const char* v) { s.constantBase = std::atoi(v); }},
    {"CTX_AMNT=", [](tBuildSettings& s, const char* v) { s.contextBase = std::atoi(v); }},
    {"CTX_SECTION=", [](tBuildSettings& s, const char* v) { s.sectionBase = std::atoi(v); }},
    {"PUBLIC=", [](tBuildSettings& s, const char* v) { s.importedPublics.emplace_back(v); }},
    {"IMPORT_FUNCDEF=", [](tBuildSettings& s, const char* v) { s.importedFunctionDefs.emplace_back(v); }},
    {"MAIN_FUNC=", [](tBuildSettings& s, const char* v) { s.mainFunction = v; }},
    {"NUM_VALIDS=", [](tBuildSettings& s, const char* v) { s.validBase = std::atoi(v); }},
};

void applyLine(const std::string& line, tBuildSettings& settings)
{
    for (const auto& k : kKeys) {
        std::size_t n = std::char_traits<char>::length(k.key);
        if (strncasecmp(line.c_str(), k.key, n) == 0) {
            k.apply(settings, line.c_str() + n);
            return;
        }
    }
}

}  // namespace

std::string definitionFilePath(const tBuildSettings& settings)
{
    if (settings.libraryMode == tLibraryMode::none || settings.sources.empty())
        return {};
    tPathParts first = splitPath(settings.sources.front());
    std::string name = settings.libraryMode == tLibraryMode::generate ? first.name : settings.importName;
    return first.dir + name.substr(0, name.find('.')) + ".dat";
}

bool createDefinitionFile(const std::string& path)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(file);
}

tDefinitionRead readDefinition(std::istream& in, tBuildSettings& settings)
{
    std::string line;
    bool afterCr = false;
    for (int c; (c = in.get()) != std::char_traits<char>::eof();) {
        if (std::isprint(c)) {
            if (line.size() == kMaxDefinitionLine)
                return tDefinitionRead::lineTooLong;
            line += static_cast<char>(c);
            afterCr = false;
            continue;
        }
        // The LF of a CR LF pair is the same line end, not an empty line.
        if (!(afterCr && c == '\n'))
            applyLine(line, settings);
        afterCr = c == '\r';
        line.clear();
    }
    applyLine(line, settings);  // a last line without its line end still counts
    return tDefinitionRead::ok;
}
