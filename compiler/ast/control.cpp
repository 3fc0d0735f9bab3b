// Construction of the control statements.
#include "control.h"

tIf::tIf(tInstruction* condition, tInstruction* thenPart, tInstruction* elseIfs, tInstruction* elsePart)
    : condition_(condition), then_(thenPart), elseIfs_(elseIfs), else_(elsePart)
{
}

tIf::~tIf()
{
    delete condition_;
    delete then_;
    delete elseIfs_;
    delete else_;
}

tElseIfList::tElseIfList(tInstruction* first, tInstruction* next) : first_(first), next_(next) {}
tElseIfList::~tElseIfList()
{
    delete first_;
    delete next_;
}

tElseIf::tElseIf(tInstruction* condition, tInstruction* statements) : condition_(condition), statements_(statements) {}
tElseIf::~tElseIf()
{
    delete condition_;
    delete statements_;
}

tWhile::tWhile(tInstruction* condition, tInstruction* statements) : condition_(condition), statements_(statements) {}
tWhile::~tWhile()
{
    delete condition_;
    delete statements_;
}

// Stored the other way round from the constructor's order.
tAssignFor::tAssignFor(tInstruction* variable, tInstruction* start) : start_(start), variable_(variable) {}
tAssignFor::~tAssignFor()
{
    delete start_;
    delete variable_;
}

tFor::tFor(tInstruction* init, tInstruction* limit, tInstruction* step, tInstruction* statements)
    : init_(init), limit_(limit), step_(step), statements_(statements)
{
}

tFor::~tFor()
{
    delete init_;
    delete limit_;
    delete step_;
    delete statements_;
}

tCase::tCase(tInstruction* cases, tInstruction* otherwise) : cases_(cases), otherwise_(otherwise) {}
tCase::~tCase()
{
    delete cases_;
    delete otherwise_;
}

tCaseList::tCaseList(tInstruction* entry, tInstruction* previous) : entry_(entry), previous_(previous) {}
tCaseList::~tCaseList()
{
    delete entry_;
    delete previous_;
}

bool tCaseList::hasCase() const
{
    if (entry_)
        return true;
    const tCaseList* before = dynamic_cast<const tCaseList*>(previous_);
    return before && before->hasCase();
}

tCaseEntry::tCaseEntry(tInstruction* condition, tInstruction* statements)
    : condition_(condition), statements_(statements)
{
}
tCaseEntry::~tCaseEntry()
{
    delete condition_;
    delete statements_;
}

tOtherWise::tOtherWise(tInstruction* statements) : statements_(statements) {}
tOtherWise::~tOtherWise() { delete statements_; }

tReturn::tReturn(tInstruction* value) : value_(value) {}
tReturn::~tReturn() { delete value_; }
