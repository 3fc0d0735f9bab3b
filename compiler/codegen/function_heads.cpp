// Function switching and parameter declarations. A head opens a new function
// record that receives the fragments of the statements after it; its
// parameters are written later, in the prototype (to the header, with
// "=__INIT_NIL()" defaults) and in the definition and __LockStack call.
#include "../ast/function_heads.h"

#include "emit.h"

using codegen::append;
using codegen::program;

void tFunction::open(bool procedure)
{
    tProgram& p = program();
    const char* name = name_ ? name_->getName() : nullptr;
    if (!name)
        p.report(tCodegenMessage::incomplete, sourceLine(), procedure ? "PROCEDURE" : "FUNCTION");
    // The function before is finished: its text shrinks to what the file receives.
    if (p.currentFunction)
        p.currentFunction->body.seal();
    // A nameless head still opens a record, so its body is not taken for
    // the previous function's.
    tFunctionDefinition* f = p.openFunction(name ? name : "", procedure);
    if (!p.firstFunctionSeen) {
        p.firstFunctionSeen = 1;
        p.lineOffset = p.lineOffset ? p.lineOffset - static_cast<int>(sourceLine()) : 0;
    }
    f->parmDef = parms_.get();
    if (parms_) {
        ++p.treeReferences;
        parms_->declareParam();
    }
    append("\n");
}

void tFunction::generate() { open(false); }
void tProcedure::generate() { open(true); }

void tStaticFunc::generate()
{
    if (flag_)
        append("static ");
}

namespace {

void write(int toHeader, const char* text)
{
    if (toHeader)
        program().writeHeader(text);
    else
        program().writeText(text);
}

}  // namespace

void tParmDef::emitDecl(int toHeader, int nameOnly)
{
    if (!nameOnly)
        write(toHeader, "(");
    if (list_)
        list_->emitDecl(toHeader, nameOnly);
    if (!nameOnly)
        write(toHeader, ")");
}

void tParmDef::declareParam() { forward(list_, &tInstruction::declareParam); }

void tIdentList::emitDecl(int toHeader, int nameOnly)
{
    std::vector<tIdentList*> links = chainOf(this, &tIdentList::previous_);
    if (tInstruction* first = links.front()->previous_.get())
        first->emitDecl(toHeader, nameOnly);
    // A separator follows whatever came before an item, written or not.
    bool before = links.front()->previous_ != nullptr;
    for (tIdentList* link : links) {
        if (link->item_) {
            if (before)
                write(toHeader, ",");
            link->item_->emitDecl(toHeader, nameOnly);
        }
        before = true;
    }
}

void tIdentList::declareParam()
{
    std::vector<tIdentList*> links = chainOf(this, &tIdentList::previous_);
    if (tInstruction* first = links.front()->previous_.get())
        first->declareParam();
    for (tIdentList* link : links) {
        if (link->item_)
            link->item_->declareParam();
        else
            program().report(tCodegenMessage::incomplete, link->sourceLine(), "parameter list");
    }
}

void tIdentEle::emitDecl(int toHeader, int nameOnly)
{
    if (!identifier_)
        return;
    identifier_->emitDecl(toHeader, nameOnly);
    if (toHeader)
        write(toHeader, "=__INIT_NIL()");
}

void tIdentEle::declareParam()
{
    if (identifier_)
        identifier_->declareParam();
    else
        program().report(tCodegenMessage::incomplete, sourceLine(), "parameter list");
}
