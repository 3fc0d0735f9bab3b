// Construction of the assignment nodes and their forwarding slots.
#include "assignments.h"

tAssignExpression::tAssignExpression(tInstruction* value, tInstruction* target) : value_(value), target_(target) {}
tAssignExpression::~tAssignExpression()
{
    delete value_;
    delete target_;
}

void tAssignExpression::collectBlockVars(int flag)
{
    if (target_)
        target_->collectBlockVars(flag);
}

void tAssignExpression::declareLocal()
{
    if (target_)
        target_->declareLocal();
}

void tAssignExpression::declarePublic()
{
    if (target_)
        target_->declarePublic();
}

void tAssignExpression::declareStatic()
{
    if (target_)
        target_->declareStatic();
}

tAssign::tAssign(tInstruction* target) : target_(target) {}
tAssign::~tAssign() { delete target_; }

void tAssign::collectBlockVars(int flag)
{
    if (target_)
        target_->collectBlockVars(flag);
}

void tAssign::declareLocal()
{
    if (target_)
        target_->declareLocal();
}

void tAssign::declarePublic()
{
    if (target_)
        target_->declarePublic();
}

void tAssign::declareStatic()
{
    if (target_)
        target_->declareStatic();
}

int tAssign::kind() { return target_ ? target_->kind() : kindPlain; }

void tAssign::markTarget()
{
    if (target_)
        target_->markTarget();
}

void tAssign::emitNameConst()
{
    if (target_)
        target_->emitNameConst();
}

int tSumAssign::kind() { return kindSumAssign; }
int tSubAssign::kind() { return kindSubAssign; }
int tDivAssign::kind() { return kindDivAssign; }
int tMulAssign::kind() { return kindMulAssign; }

tAsnList::tAsnList(tInstruction* item, tInstruction* previous) : item_(item), previous_(previous) {}
tAsnList::~tAsnList()
{
    delete item_;
    delete previous_;
}

void tAsnList::declareLocal()
{
    if (previous_)
        previous_->declareLocal();
    if (item_)
        item_->declareLocal();
}

void tAsnList::declarePublic()
{
    if (previous_)
        previous_->declarePublic();
    if (item_)
        item_->declarePublic();
}

void tAsnList::declareStatic()
{
    if (previous_)
        previous_->declareStatic();
    if (item_)
        item_->declareStatic();
}

int tAsnList::kind() { return item_ ? item_->kind() : kindPlain; }

tEqualExpr::tEqualExpr(tInstruction* left, tInstruction* right)
    : target_(left ? new tAssign(left) : nullptr), right_(right)
{
}

tEqualExpr::~tEqualExpr()
{
    delete target_;
    delete right_;
}
