// Helpers the nodes' generate() share: append text to the current function,
// generate a child, and insist on a child that the grammar may have left
// empty.
//
// Empty children. The grammar prints the productions it does not support
// (macros, objects, memvar, BEGIN SEQUENCE ...) and builds no node for them,
// so the construct around them arrives with a null child. Where a child is
// optional (an ELSE part, a blank line in a statement list or between CASEs,
// an absent argument list) nothing is written for it. Where it is required
// (an operand, a name, a condition, an assignment target) the node writes
// nothing, and the construct and its line are reported through
// tProgram::report; the error count then stops the source from being built,
// so no C that cannot compile is ever handed to the compiler.
#pragma once

#include "../ast/instruction.h"
#include "program.h"

#include <initializer_list>

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
