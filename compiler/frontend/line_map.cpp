// .ppo lines to source lines.
#include "line_map.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// Reads `#line <n> "<file>"` (any case, blanks allowed around the parts).
bool parseDirective(const std::string& text, long& line, std::string& file)
{
    size_t p = text.find_first_not_of(" \t");
    if (p == std::string::npos || text.compare(p, 1, "#") != 0)
        return false;
    p = text.find_first_not_of(" \t", p + 1);
    if (p == std::string::npos || text.size() - p < 4)
        return false;
    std::string word = text.substr(p, 4);
    for (char& c : word)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    if (word != "line")
        return false;
    char* end = nullptr;
    const char* digits = text.c_str() + p + 4;
    long n = std::strtol(digits, &end, 10);
    if (end == digits)
        return false;
    line = n;
    size_t open = text.find('"', size_t(end - text.c_str()));
    size_t close = open == std::string::npos ? open : text.find('"', open + 1);
    if (close != std::string::npos)
        file = text.substr(open + 1, close - open - 1);
    return true;
}

}  // namespace

tSourcePlace mapPpoLine(const std::string& ppoText, long ppoLine)
{
    tSourcePlace place{"", ppoLine};
    std::istringstream in(ppoText);
    std::string text;
    for (long n = 1; n < ppoLine && std::getline(in, text); ++n) {
        long line = 0;
        std::string file = place.file;
        if (parseDirective(text, line, file)) {
            place.file = file;
            place.line = line + (ppoLine - n - 1);
        }
    }
    return place;
}

tSourcePlace mapPpoFileLine(const std::string& ppoPath, long ppoLine)
{
    std::ifstream in(ppoPath, std::ios::binary);
    if (!in)
        return {"", ppoLine};
    std::ostringstream text;
    text << in.rdbuf();
    return mapPpoLine(text.str(), ppoLine);
}

std::string describeErrorPlace(const SSException& e, const std::string& ppoPath, const std::string& sourcePath)
{
    if (!e.hasPlace())
        return sourcePath + ": " + e.message();
    tSourcePlace place = mapPpoFileLine(ppoPath, e.line());
    std::string file = place.file.empty() ? sourcePath : place.file;
    const std::string& token = e.tokenText();
    std::string near = token == "eof"                     ? ": at end of file"
                       : token == "\n" || token == "\r\n" ? ": at end of line"
                       : token.empty()                    ? ""
                                                          : ": near \"" + token + "\"";
    return file + "(" + std::to_string(place.line) + ")" + near;
}
