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

namespace {

// An argument list's text in argument order (see tInOrder); anything but a
// tParmList is one item.
void generateArguments(tInstruction* args, codegen::tInOrder& order)
{
    if (!args)
        return;
    if (tParmList* list = dynamic_cast<tParmList*>(args)) {
        list->generateItems(&order);
        return;
    }
    order.beginItem();
    args->generate();
    order.endItem();
}

int itemsOf(tInstruction* args) { return args ? args->itemCount() : 0; }

}  // namespace

void tFunctionCall::generate()
{
    if (!require(this, "function call", name_))
        return;
    tProgram& p = program();
    p.noteCall(name_->getName(), itemsOf(args_.get()), sourceLine());
    codegen::tInOrder order(itemsOf(args_.get()));
    name_->generate();
    append("(");
    generateArguments(args_.get(), order);
    append(")");
    order.finish();
    ++p.effects;
}

void tParmList::generate() { generateItems(nullptr); }

void tParmList::generateItems(codegen::tInOrder* order)
{
    auto item = [order](tInstruction* node) {
        if (order)
            order->beginItem();
        gen(node);
        if (order)
            order->endItem();
    };
    std::vector<tParmList*> links = chainOf(this, &tParmList::first_);
    if (links.front()->first_.get())
        item(links.front()->first_.get());
    for (tParmList* link : links) {
        if (link->item_) {
            append(", ");
            item(link->item_.get());
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

// The argument parts of the built-ins follow their entry point; a built-in
// passes the tInOrder that has seen the entry point written.
void tFixedCall::generate() { writeArguments(nullptr); }

void tFixedCall::writeArguments(codegen::tInOrder* order)
{
    append("(");
    if (arity_ > 0) {
        if (order)
            generateArguments(operand_.get(), *order);
        else
            gen(operand_);
        pad(operand_ ? operand_->itemCount() : 0, arity_);
    }
    append(")");
}

void tVariantCall::generate() { writeArguments(nullptr); }

void tVariantCall::writeArguments(codegen::tInOrder* order)
{
    append("(");
    if (operand_) {
        if (order)
            generateArguments(operand_.get(), *order);
        else
            operand_->generate();
        if (operand_->hasItems())
            append(",");
    }
    append("__INIT_NUL())");
}

void tDbOper::generate() { writeArguments(nullptr); }

void tDbOper::writeArguments(codegen::tInOrder* order)
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
        if (order)
            generateArguments(args_.get(), *order);
        else
            gen(args_);
    }
    pad(args_ ? args_->argCount(1) : 0, arity_);
    append(")");
}

void tAlias::generate()
{
    if (!require(this, "alias", alias_, operation_))
        return;
    operation_->setAlias(alias_.get());
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
