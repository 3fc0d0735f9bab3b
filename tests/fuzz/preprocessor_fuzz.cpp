// libFuzzer target: zelta16's preprocessor over any text, with the standard
// header, as a source and again as a header of rules.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "preprocessor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::ostringstream console;
    pp::Options options;
    options.header = "ezelta.ch";
    options.includeDirs.push_back(ZELTA_INCLUDE_DIR);
    options.console = &console;
    pp::Preprocessor withHeader(options);
    std::string out;
    withHeader.runText("fuzz.prg", text, out);

    // The same text as rules of its own, so that malformed #command lines
    // meet statements that use them.
    pp::Options bare;
    bare.console = &console;
    pp::Preprocessor alone(bare);
    alone.runText("fuzz.prg", text + "\n" + text, out);
    return 0;
}
