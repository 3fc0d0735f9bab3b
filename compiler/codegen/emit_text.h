// Small text helpers shared by the file writers (emit_*.cpp).
#pragma once

#include <string>
#include <vector>

#include "program.h"

namespace emit {

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The entry point's lines for the program's target (write-line each). False
// when a WinMain or PilotMain would have to call a main function that is not
// known: the call is then replaced by "FALTA ENTRY POINT;".
bool entryPointLines(const tProgram& program, const std::string& creatorId, std::vector<std::string>& lines);

}  // namespace emit
