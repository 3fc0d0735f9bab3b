// Helpers the nodes' generate() share: append text to the current function,
// generate a child, and insist on a child that the grammar may have left
// empty (a construct it printed instead of building).
#pragma once

#include <initializer_list>

#include "../ast/instruction.h"
#include "program.h"

namespace codegen {

inline tProgram& program() { return tProgram::active(); }
inline void append(const char* text) { program().append(text); }

// Generates the child when there is one.
inline void gen(tInstruction* child)
{
    if (child)
        child->generate();
}

// True when every child is present; otherwise reports the construct at the
// node's line, once, and the caller writes nothing for it.
bool require(const tInstruction* node, const char* construct, std::initializer_list<const tInstruction*> children);

// "__const_get_el(%i)" with a reference.
void appendConst(int reference);

}  // namespace codegen
