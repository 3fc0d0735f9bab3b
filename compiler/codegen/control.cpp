// The text of control statements.
//
//   FOR v := s TO l STEP p
//     for ( V=__SET_OBJECT(V,s); __GET_BOOL(__GTE(p,0))?__GET_BOOL(__LSE(V,l))
//           :__GET_BOOL(__GTE(V,l));V=__SET_OBJECT(V,__SUM(V,p)))
//
// A step of 0 or more counts up, a negative one counts down; limit and step
// are evaluated again on every pass. DO CASE is an if / else if chain.
#include "../ast/control.h"

#include "emit.h"

using codegen::append;
using codegen::gen;
using codegen::program;
using codegen::require;

void tIf::generate()
{
    if (!require(this, "IF", condition_))
        return;
    program().lineMarker(sourceLine());
    append("if ( __GET_BOOL(");
    condition_->generate();
    append(" ))\n{\n");
    gen(then_);
    append("}\n");
    gen(elseIfs_);
    if (else_) {
        append("else\n{\n");
        else_->generate();
        append("}\n");
    }
}

void tElseIfList::generate()
{
    gen(first_);
    gen(next_);
}

void tElseIf::generate()
{
    if (!require(this, "ELSEIF", condition_))
        return;
    append("else if ( __GET_BOOL(");
    condition_->generate();
    append(" ))\n{\n");
    gen(statements_);
    append("}\n");
}

void tWhile::generate()
{
    if (!require(this, "WHILE", condition_))
        return;
    program().lineMarker(sourceLine());
    append("while ( __GET_BOOL(");
    condition_->generate();
    append(" ))\n{\n");
    gen(statements_);
    append("\n}\n");
}

void tAssignFor::generate()
{
    if (!require(this, "FOR", variable_, start_))
        return;
    program().resolveTarget(variable_->getName());
    variable_->generate();
    append("=__SET_OBJECT(");
    variable_->generate();
    append(",");
    start_->generate();
    append(")");
}

void tFor::generate()
{
    tAssignFor* init = dynamic_cast<tAssignFor*>(init_.get());
    if (!require(this, "FOR", {init, limit_.get(), step_.get()}) ||
        !require(this, "FOR", {init->variable(), init->start()}))
        return;
    tInstruction* variable = init->variable();
    tProgram& p = program();
    append("for ( ");
    init->generate();
    append("; __GET_BOOL(__GTE(");
    step_->generate();
    append(",");
    codegen::appendConst(p.constNumber(0));
    append("))?__GET_BOOL(__LSE(");
    variable->generate();
    append(",");
    limit_->generate();
    append(")):__GET_BOOL(__GTE(");
    variable->generate();
    append(",");
    limit_->generate();
    append("));");
    variable->generate();
    append("=__SET_OBJECT(");
    variable->generate();
    append(",__SUM(");
    variable->generate();
    append(",");
    step_->generate();
    append(")))\n{\n");
    gen(statements_);
    append("\n}\n");
}

void tCase::generate()
{
    tCaseList* cases = dynamic_cast<tCaseList*>(cases_.get());
    bool hasCase = cases && cases->hasCase();
    if (hasCase)
        cases->generate();
    if (!otherwise_)
        return;
    tOtherWise* otherwise = dynamic_cast<tOtherWise*>(otherwise_.get());
    // With no case before it there is no if for an else to follow.
    if (!hasCase && otherwise)
        otherwise->generateAlone();
    else
        otherwise_->generate();
}

void tCaseList::generate()
{
    const tCaseList* before = dynamic_cast<const tCaseList*>(previous_.get());
    bool caseBefore = before && before->hasCase();
    gen(previous_);
    if (!entry_)
        return;
    if (caseBefore)
        append("else ");
    entry_->generate();
}

void tCaseEntry::generate()
{
    if (!require(this, "CASE", condition_))
        return;
    append("if (__GET_BOOL(");
    condition_->generate();
    append("))\n{\n");
    gen(statements_);
    append("}\n");
}

void tOtherWise::generate()
{
    append("else\n{\n");
    gen(statements_);
    append("}\n");
}

void tOtherWise::generateAlone()
{
    append("{\n");
    gen(statements_);
    append("}\n");
}

void tLoop::generate()
{
    program().lineMarker(sourceLine());
    append("continue;\n");
}

void tExit::generate()
{
    program().lineMarker(sourceLine());
    append("break;\n");
}

void tBreak::generate() { append("break;"); }

void tReturn::generate()
{
    tProgram& p = program();
    if (!p.needFunction())
        return;
    tFunctionDefinition* f = p.currentFunction;
    if (f->suppressReturn) {
        p.lineMarker(sourceLine());
        f->endedWithReturn = 1;
        return;
    }
    bool library = p.options.libraryMode == codegen::kLibraryImport;
    if (f->procedure) {
        // A procedure returns nothing, but RETURN still leaves it.
        p.lineMarker(sourceLine());
        if (value_) {
            value_->generate();
            append(";");
        }
        append(library ? "return;\n" : "__end_context(NULL);return;\n");
        f->endedWithReturn = 1;
        return;
    }
    p.lineMarker(sourceLine());
    if (library) {
        append("return ");
        if (value_) {
            append("(");
            value_->generate();
            append(");\n");
        } else {
            append("NULL;\n");
        }
    } else {
        append("return __end_context(");
        if (value_) {
            append("(");
            value_->generate();
            append(")");
        } else {
            append("NULL");
        }
        append(");\n");
    }
    f->endedWithReturn = 1;
}
