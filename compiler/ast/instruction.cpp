// The default answers of the eighteen slots.
#include "instruction.h"

unsigned int tInstruction::constructionLine_ = 0;

tInstruction::tInstruction() : line_(constructionLine_) {}

tInstruction::~tInstruction() = default;
void tInstruction::generate() {}

void tInstruction::collectBlockVars(int) {}

const char* tInstruction::getName() { return nullptr; }
void tInstruction::declareLocal() {}

void tInstruction::declarePublic() {}

void tInstruction::declareStatic() {}

void tInstruction::emitDecl(int, int) {}

void tInstruction::declareParam() {}

int tInstruction::hasItems() { return 0; }
int tInstruction::kind() { return kindPlain; }
int tInstruction::argCount(int) { return 1; }
int tInstruction::itemCount() { return 1; }
tInstruction* tInstruction::inner() { return nullptr; }
void tInstruction::markTarget() {}

void tInstruction::emitNameConst() {}

void tInstruction::setAlias(tInstruction*) {}

tInstruction* tInstruction::lastItem() { return nullptr; }

tInstruction* innermost(tInstruction* operand)
{
    if (!operand)
        return nullptr;
    tInstruction* node = operand->inner();
    if (!node)
        return nullptr;
    for (;;) {
        tInstruction* next = node->inner();
        if (!next || next == node)
            return node;
        node = next;
    }
}
