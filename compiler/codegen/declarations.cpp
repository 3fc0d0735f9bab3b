// The declaration walk and the identifiers' tables. LOCAL and PUBLIC declare
// their names and then write their initial values where they stand; STATIC
// only declares, and its list is generated later inside the source's
// initialisation function.
#include "../ast/declarations.h"

#include "emit.h"

using codegen::append;
using codegen::gen;
using codegen::program;
using codegen::require;

void tLocal::generate()
{
    if (!require(this, "LOCAL", list_))
        return;
    list_->declareLocal();
    list_->generate();
    append("\n");
}

void tPublic::generate()
{
    if (!require(this, "PUBLIC", list_))
        return;
    list_->declarePublic();
    list_->generate();
    append("\n");
}

void tStatic::generate()
{
    if (!require(this, "STATIC", list_))
        return;
    list_->declareStatic();
    program().staticInitialisers.add(list_.get());
    ++program().treeReferences;
}

void tVarDefList::generate()
{
    std::vector<tVarDefList*> links = chainOf(this, &tVarDefList::previous_);
    gen(links.front()->previous_.get());
    for (tVarDefList* link : links)
        if (require(link, "declaration", link->item_))
            link->item_->generate();
}

void tVarDefAssign::generate()
{
    if (!require(this, "declaration", assignment_))
        return;
    assignment_->generate();
    append(";\n");
}

void tVarDefIdent::generate() { require(this, "declaration", identifier_); }

void tIdentName::generate()
{
    tProgram& p = program();
    if (p.capturing) {
        p.capturedArgs.add(new String(written_.text()));
        return;
    }
    append(upper_);
}

void tIdentName::collectBlockVars(int)
{
    tProgram& p = program();
    tFunctionDefinition::addName(p.blockVars, upper_);
    if (p.currentFunction)
        p.currentFunction->addBlockVar(upper_);
}

void tIdentName::declareLocal()
{
    tProgram& p = program();
    if (p.currentFunction)
        p.currentFunction->addLocal(upper_);
}

void tIdentName::declarePublic() { tFunctionDefinition::addName(program().publics, upper_); }

void tIdentName::declareStatic() { tFunctionDefinition::addName(program().statics, upper_); }

void tIdentName::declareParam()
{
    tProgram& p = program();
    if (p.currentFunction)
        p.currentFunction->addParam(upper_);
}

void tIdentName::emitDecl(int toHeader, int nameOnly)
{
    tProgram& p = program();
    String text(nameOnly ? "" : "pObj_Node ");
    text.append(upper_);
    if (toHeader)
        p.writeHeader(text.text());
    else
        p.writeText(text.text());
}

void tIdentifier::generate()
{
    if (!require(this, "identifier", name_))
        return;
    program().noteRead(name_->getName(), sourceLine());
    name_->generate();
}
