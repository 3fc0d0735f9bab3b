// Construction of the control statements.
#include "control.h"

tIf::tIf(tInstruction* condition, tInstruction* thenPart, tInstruction* elseIfs, tInstruction* elsePart)
    : condition_(condition), then_(thenPart), elseIfs_(elseIfs), else_(elsePart)
{
}

tElseIfList::tElseIfList(tInstruction* first, tInstruction* next) : first_(first), next_(next) {}

// Stored the other way round from the constructor's order.
tAssignFor::tAssignFor(tInstruction* variable, tInstruction* start) : start_(start), variable_(variable) {}

tFor::tFor(tInstruction* init, tInstruction* limit, tInstruction* step, tInstruction* statements)
    : init_(init), limit_(limit), step_(step), statements_(statements)
{
}

tCase::tCase(tInstruction* cases, tInstruction* otherwise) : cases_(cases), otherwise_(otherwise) {}

tCaseList::tCaseList(tInstruction* entry, tInstruction* previous) : entry_(entry), previous_(previous) {}

bool tCaseList::hasCase() const
{
    if (entry_)
        return true;
    const tCaseList* before = dynamic_cast<const tCaseList*>(previous_.get());
    return before && before->hasCase();
}

tOtherWise::tOtherWise(tInstruction* statements) : statements_(statements) {}

tReturn::tReturn(tInstruction* value) : value_(value) {}
