// Construction of the assignment nodes and their forwarding slots.
#include "assignments.h"

tAssignExpression::tAssignExpression(tInstruction* value, tInstruction* target) : value_(value), target_(target) {}

void tAssignExpression::collectBlockVars(int flag) { forward(target_, &tInstruction::collectBlockVars, flag); }
void tAssignExpression::declareLocal() { forward(target_, &tInstruction::declareLocal); }
void tAssignExpression::declarePublic() { forward(target_, &tInstruction::declarePublic); }
void tAssignExpression::declareStatic() { forward(target_, &tInstruction::declareStatic); }

tAssign::tAssign(tInstruction* target) : target_(target) {}

void tAssign::collectBlockVars(int flag) { forward(target_, &tInstruction::collectBlockVars, flag); }
void tAssign::declareLocal() { forward(target_, &tInstruction::declareLocal); }
void tAssign::declarePublic() { forward(target_, &tInstruction::declarePublic); }
void tAssign::declareStatic() { forward(target_, &tInstruction::declareStatic); }

int tAssign::kind() { return target_ ? target_->kind() : kindPlain; }

void tAssign::markTarget() { forward(target_, &tInstruction::markTarget); }
void tAssign::emitNameConst() { forward(target_, &tInstruction::emitNameConst); }

int tSumAssign::kind() { return kindSumAssign; }
int tSubAssign::kind() { return kindSubAssign; }
int tDivAssign::kind() { return kindDivAssign; }
int tMulAssign::kind() { return kindMulAssign; }

tAsnList::tAsnList(tInstruction* item, tInstruction* previous) : item_(item), previous_(previous) {}

void tAsnList::declareLocal()
{
    forward(previous_, &tInstruction::declareLocal);
    forward(item_, &tInstruction::declareLocal);
}

void tAsnList::declarePublic()
{
    forward(previous_, &tInstruction::declarePublic);
    forward(item_, &tInstruction::declarePublic);
}

void tAsnList::declareStatic()
{
    forward(previous_, &tInstruction::declareStatic);
    forward(item_, &tInstruction::declareStatic);
}

int tAsnList::kind() { return item_ ? item_->kind() : kindPlain; }

tEqualExpr::tEqualExpr(tInstruction* left, tInstruction* right)
    : target_(left ? new tAssign(left) : nullptr), right_(right)
{
}
