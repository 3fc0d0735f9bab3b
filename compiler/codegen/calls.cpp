// The text of calls: user function calls and argument lists, the argument
// parts of the three built-in shapes, aliases and fields.
//
//   fixed arity n:    "(" args, then ",NULL" up to n     __SubStr(X, c,NULL)
//   variable arity:   "(" args "," "__INIT_NUL())"       __Array(a, b,__INIT_NUL())
//   work area, n:     "(" alias "," args ",NULL"... ")"  __TBL_Skip(__INIT_NUL(),NULL)
//
// Arguments from the list are separated by ", ", padding by ",".
#include "../ast/calls.h"

#include "emit.h"

using codegen::append;
using codegen::gen;
using codegen::program;
using codegen::require;

void tFunctionCall::generate()
{
    if (!require(this, "function call", {name_}))
        return;
    program().noteCall(name_->getName(), args_ ? args_->itemCount() : 0, sourceLine());
    name_->generate();
    append("(");
    gen(args_);
    append(")");
}

void tParmList::generate()
{
    std::vector<tParmList*> links = chainOf(this, &tParmList::first_);
    gen(links.front()->first_);
    for (tParmList* link : links) {
        if (link->item_) {
            append(", ");
            link->item_->generate();
        }
    }
}

void tParmNull::generate() { append("NULL"); }

namespace {

// NULL for each position from present+1 up to arity; the first piece takes
// no comma when nothing was written before it.
void pad(int present, int arity)
{
    for (int position = present + 1; position <= arity; ++position)
        append(position == 1 && present == 0 ? "NULL" : ",NULL");
}

}  // namespace

void tFixedCall::generate()
{
    append("(");
    if (arity_ > 0) {
        gen(operand_);
        pad(operand_ ? operand_->itemCount() : 0, arity_);
    }
    append(")");
}

void tVariantCall::generate()
{
    append("(");
    if (operand_) {
        operand_->generate();
        if (operand_->hasItems())
            append(",");
    }
    append("__INIT_NUL())");
}

void tDbOper::generate()
{
    tProgram& p = program();
    append("(");
    if (alias_ && alias_->getName())
        codegen::appendConst(p.constString(alias_->getName()));
    else if (alias_)
        p.report(tCodegenMessage::incomplete, sourceLine(), "alias");
    else
        append("__INIT_NUL()");
    if (arity_ > 0) {
        append(",");
        gen(args_);
    }
    pad(args_ ? args_->argCount(1) : 0, arity_);
    append(")");
}

void tAlias::generate()
{
    if (!require(this, "alias", {alias_, operation_}))
        return;
    operation_->setAlias(alias_);
    operation_->generate();
}

void tField::generate()
{
    const char* alias = alias_ ? alias_->getName() : nullptr;
    const char* field = fieldName();
    if (!alias || !field) {
        program().report(tCodegenMessage::incomplete, sourceLine(), "field");
        return;
    }
    tProgram& p = program();
    append(positional_ ? "__GetFieldPos(" : "__GetFieldByName(");
    int aliasRef = p.constString(alias);
    int fieldRef = p.constString(field);
    p.appendf("__const_get_el(%i),__const_get_el(%i))", aliasRef, fieldRef);
}

void tField::generateByName()
{
    int positional = positional_;
    positional_ = 0;
    generate();
    positional_ = positional;
}

void tField::emitNameConst()
{
    const char* alias = alias_ ? alias_->getName() : nullptr;
    if (alias)
        codegen::appendConst(program().constString(alias));
}
