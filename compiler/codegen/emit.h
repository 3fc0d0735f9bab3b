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
#include <vector>

namespace codegen {

inline tProgram& program() { return tProgram::active(); }
inline void append(const char* text) { program().append(text); }

// Generates the child when there is one.
inline void gen(tInstruction* child)
{
    if (child)
        child->generate();
}
template <class Node>
void gen(const std::unique_ptr<Node>& child)
{
    gen(child.get());
}

// True when every child is present; otherwise reports the construct at the
// node's line, once, and the caller writes nothing for it.
bool require(const tInstruction* node, const char* construct, std::initializer_list<const tInstruction*> children);
template <class... Children>
bool require(const tInstruction* node, const char* construct, const std::unique_ptr<Children>&... children)
{
    return require(node, construct, {static_cast<const tInstruction*>(children.get())...});
}

// "__const_get_el(%i)" with a reference.
void appendConst(int reference);

// The language evaluates a call's arguments (and an operator's operands)
// left to right; C++ leaves their order open. A call is written as usual,
// its items marked as they are written; when two or more of them have
// effects (calls, assignments, increments), finish() rewrites it so that
// every one of those but the last is stored first in the function's
// _args_ slots, each sequenced by a comma:
//
//   F(A(), x, B(), C())  ->  (_args_[0]=A(),_args_[1]=B(),F(_args_[0], x, _args_[1], C()))
//
// Slots are reserved for every item while the call is written, so the
// calls inside its arguments take slots above them.
class tInOrder {
public:
    // Before the call's first text; `items` is how many it will mark.
    explicit tInOrder(int items);
    ~tInOrder();
    tInOrder(const tInOrder&) = delete;
    tInOrder& operator=(const tInOrder&) = delete;

    void beginItem();
    void endItem();
    // After the call's last text.
    void finish();

private:
    struct tItem {
        int from, to;
        bool effects;
    };
    tProgram& program_;
    tFunctionDefinition* function_;
    int start_;
    int base_;
    int reserved_;
    unsigned long effectsBefore_ = 0;
    std::vector<tItem> items_;
};

}  // namespace codegen
