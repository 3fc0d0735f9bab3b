// Byte blocks built into the program under a name, as the tables are
// (ZELTA_DFA, the scanner's; ZELTA_LLR, the parser's). The build generates
// one definition per block from the table files.
#pragma once

#include <cstddef>
#include <string>

struct SSResource {
    const char* name;
    const unsigned char* data;
    size_t size;
};

// The block of that name, or null.
const SSResource* ssFindResource(const std::string& name);
