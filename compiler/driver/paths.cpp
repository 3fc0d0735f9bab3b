// Path splitting for sources and the files made beside them.
#include "paths.h"

#include <cctype>

tPathParts splitPath(const std::string& path)
{
    tPathParts parts;
    std::size_t slash = path.find_last_of("/\\");
    std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    parts.dir = path.substr(0, nameStart);
    std::string file = path.substr(nameStart);
    std::size_t dot = file.rfind('.');
    if (dot == std::string::npos) {
        parts.name = file;
    } else {
        parts.name = file.substr(0, dot);
        parts.ext = file.substr(dot);
    }
    return parts;
}

std::string withExtension(const std::string& path, const std::string& ext)
{
    tPathParts parts = splitPath(path);
    return parts.dir + parts.name + "." + ext;
}

std::string sourceWithExtension(const std::string& path) { return splitPath(path).ext.empty() ? path + ".prg" : path; }

std::string upperCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
