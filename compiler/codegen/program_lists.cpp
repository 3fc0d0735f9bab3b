// The text of the root and the statement lists.
#include "../ast/program_lists.h"

#include "emit.h"

#include <vector>

using codegen::append;
using codegen::gen;
using codegen::program;
using codegen::require;

void tMain::generate()
{
    program().beginStatements();
    gen(statements_);
}

// The chain is as long as the source: walk it in a loop, not by recursion,
// so its length costs no stack.
void tStatList::generate()
{
    tProgram& p = program();
    std::vector<tStatList*> chain{this};
    while (tStatList* inner = tStatList::link(chain.back()->first_.get())) {
        p.statementLine = inner->sourceLine();
        chain.push_back(inner);
    }
    if (tInstruction* first = chain.back()->first_.get()) {
        p.statementLine = first->sourceLine();
        first->generate();
    }
    for (auto link = chain.rbegin(); link != chain.rend(); ++link) {
        if (tInstruction* rest = (*link)->rest_.get()) {
            p.statementLine = rest->sourceLine();
            rest->generate();
        }
    }
}

void tBlockStmt::generate() { gen(statement_); }

void tSourceLine::generate()
{
    if (!require(this, "statement", statement_))
        return;
    program().lineMarker(sourceLine());
    statement_->generate();
    append(";\n");
}
