// Splitting and rebuilding source paths. Both '/' and '\' end a directory,
// so a path typed either way splits the same; there are no drive letters here.
#pragma once

#include <string>

struct tPathParts {
    std::string dir;   // with its trailing separator, or empty
    std::string name;  // no directory, no extension
    std::string ext;   // from the last '.' of the file name, with the dot; may be empty
};

tPathParts splitPath(const std::string& path);

// dir + name + "." + ext: the sibling of a source with another extension.
std::string withExtension(const std::string& path, const std::string& ext);

// The source as the tools see it: ".prg" added when it has no extension.
std::string sourceWithExtension(const std::string& path);

std::string upperCase(std::string text);
std::string lowerCase(std::string text);
