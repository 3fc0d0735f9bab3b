// Construction of function heads and parameter lists.
#include "function_heads.h"

tFunction::tFunction(tInstruction* name, tInstruction* parms, tInstruction* modifier, int)
    : name_(name), parms_(parms), modifier_(modifier)
{
}

tFunction::tFunction(tInstruction* name, tInstruction* parms, tInstruction* modifier)
    : name_(name), parms_(parms), modifier_(modifier)
{
}

tProcedure::tProcedure(tInstruction* name, tInstruction* parms, tInstruction* modifier)
    : tFunction(name, parms, modifier)
{
}

tStaticFunc::tStaticFunc(int flag) : flag_(flag) {}

tParmDef::tParmDef(tInstruction* list) : list_(list) {}

int tParmDef::hasItems() { return list_ ? 1 : 0; }

tIdentList::tIdentList(tInstruction* item, tInstruction* previous) : item_(item), previous_(previous)
{
    markAddsNoLevel();
}

tIdentList::~tIdentList() { unchain(this, &tIdentList::previous_); }

tIdentEle::tIdentEle(tInstruction* identifier) : identifier_(identifier) {}
