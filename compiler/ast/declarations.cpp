// Construction of the declaration nodes and the identifiers, and the
// structural slots; the declare slots that fill tables are in codegen.
#include "declarations.h"

#include <cctype>
#include <cstring>

tLocal::tLocal(tInstruction* list) : list_(list) {}

tPublic::tPublic(tInstruction* list) : list_(list) {}

tStatic::tStatic(tInstruction* list) : list_(list) {}

tVarDefList::tVarDefList(tInstruction* item, tInstruction* previous) : item_(item), previous_(previous)
{
    markAddsNoLevel();
}

tVarDefList::~tVarDefList() { unchain(this, &tVarDefList::previous_); }

void tVarDefList::forEach(void (tInstruction::*declare)())
{
    std::vector<tVarDefList*> links = chainOf(this, &tVarDefList::previous_);
    if (tInstruction* first = links.front()->previous_.get())
        (first->*declare)();
    for (tVarDefList* link : links)
        if (link->item_)
            (link->item_.get()->*declare)();
}

void tVarDefList::declareLocal() { forEach(&tInstruction::declareLocal); }
void tVarDefList::declarePublic() { forEach(&tInstruction::declarePublic); }
void tVarDefList::declareStatic() { forEach(&tInstruction::declareStatic); }

tVarDefAssign::tVarDefAssign(tInstruction* assignment) : assignment_(assignment) {}

void tVarDefAssign::declareLocal() { forward(assignment_, &tInstruction::declareLocal); }
void tVarDefAssign::declarePublic() { forward(assignment_, &tInstruction::declarePublic); }
void tVarDefAssign::declareStatic() { forward(assignment_, &tInstruction::declareStatic); }

tVarDefIdent::tVarDefIdent(tInstruction* identifier) : identifier_(identifier) {}

void tVarDefIdent::declareLocal() { forward(identifier_, &tInstruction::declareLocal); }
void tVarDefIdent::declarePublic() { forward(identifier_, &tInstruction::declarePublic); }
void tVarDefIdent::declareStatic() { forward(identifier_, &tInstruction::declareStatic); }

tIdentName::tIdentName(const char* text) : written_(text)
{
    std::size_t length = std::strlen(written_.text());
    upper_ = static_cast<char*>(tRecycler::take(length + 1));
    for (std::size_t i = 0; i <= length; ++i)
        upper_[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(written_.text()[i])));
}

tIdentName::~tIdentName() { tRecycler::give(upper_, written_.length() + 1); }

const char* tIdentName::getName() { return upper_; }

tIdentifier::tIdentifier(tInstruction* name) : name_(name) {}

void tIdentifier::collectBlockVars(int flag) { forward(name_, &tInstruction::collectBlockVars, flag); }

const char* tIdentifier::getName() { return name_ ? name_->getName() : nullptr; }

// A declaration reaches its name through the identifier; LOCAL x := 1 holds
// x as a tIdentifier, and x must become a local, not an automatic public.
void tIdentifier::declareLocal() { forward(name_, &tInstruction::declareLocal); }
void tIdentifier::declarePublic() { forward(name_, &tInstruction::declarePublic); }
void tIdentifier::declareStatic() { forward(name_, &tInstruction::declareStatic); }

tInstruction* tIdentifier::inner() { return name_.get(); }
