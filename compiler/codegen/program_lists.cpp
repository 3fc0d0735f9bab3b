// The text of the root and the statement lists.
#include "../ast/program_lists.h"

#include "emit.h"

using codegen::append;
using codegen::gen;
using codegen::program;
using codegen::require;

void tMain::generate()
{
    tProgram& p = program();
    freeStrings(p.foreignDeclarations);
    freeStrings(p.foreignBodies);
    gen(statements_);
}

void tStatList::generate()
{
    tProgram& p = program();
    if (first_) {
        p.statementLine = first_->sourceLine();
        first_->generate();
    }
    if (rest_) {
        p.statementLine = rest_->sourceLine();
        rest_->generate();
    }
}

void tBlockStmt::generate() { gen(statement_); }

void tSourceLine::generate()
{
    if (!require(this, "statement", {statement_}))
        return;
    program().lineMarker(sourceLine());
    statement_->generate();
    append(";\n");
}
