// Construction of the declaration nodes and the identifiers, and the
// structural slots; the declare slots that fill tables are in codegen.
#include "declarations.h"

#include <cctype>
#include <cstring>

tLocal::tLocal(tInstruction* list) : list_(list) {}
tLocal::~tLocal() { delete list_; }

tPublic::tPublic(tInstruction* list) : list_(list) {}
tPublic::~tPublic() { delete list_; }

tStatic::tStatic(tInstruction* list) : list_(list) {}
tStatic::~tStatic() { delete list_; }

tVarDefList::tVarDefList(tInstruction* item, tInstruction* previous) : item_(item), previous_(previous) {}
tVarDefList::~tVarDefList()
{
    unchain(this, &tVarDefList::previous_);
    delete item_;
}

void tVarDefList::forEach(void (tInstruction::*declare)())
{
    std::vector<tVarDefList*> links = chainOf(this, &tVarDefList::previous_);
    if (tInstruction* first = links.front()->previous_)
        (first->*declare)();
    for (tVarDefList* link : links)
        if (link->item_)
            (link->item_->*declare)();
}

void tVarDefList::declareLocal() { forEach(&tInstruction::declareLocal); }
void tVarDefList::declarePublic() { forEach(&tInstruction::declarePublic); }
void tVarDefList::declareStatic() { forEach(&tInstruction::declareStatic); }

tVarDefAssign::tVarDefAssign(tInstruction* assignment) : assignment_(assignment) {}
tVarDefAssign::~tVarDefAssign() { delete assignment_; }

void tVarDefAssign::declareLocal()
{
    if (assignment_)
        assignment_->declareLocal();
}

void tVarDefAssign::declarePublic()
{
    if (assignment_)
        assignment_->declarePublic();
}

void tVarDefAssign::declareStatic()
{
    if (assignment_)
        assignment_->declareStatic();
}

tVarDefIdent::tVarDefIdent(tInstruction* identifier) : identifier_(identifier) {}
tVarDefIdent::~tVarDefIdent() { delete identifier_; }

void tVarDefIdent::declareLocal()
{
    if (identifier_)
        identifier_->declareLocal();
}

void tVarDefIdent::declarePublic()
{
    if (identifier_)
        identifier_->declarePublic();
}

void tVarDefIdent::declareStatic()
{
    if (identifier_)
        identifier_->declareStatic();
}

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
tIdentifier::~tIdentifier() { delete name_; }

void tIdentifier::collectBlockVars(int flag)
{
    if (name_)
        name_->collectBlockVars(flag);
}

const char* tIdentifier::getName() { return name_ ? name_->getName() : nullptr; }

// A declaration reaches its name through the identifier; LOCAL x := 1 holds
// x as a tIdentifier, and x must become a local, not an automatic public.
void tIdentifier::declareLocal()
{
    if (name_)
        name_->declareLocal();
}

void tIdentifier::declarePublic()
{
    if (name_)
        name_->declarePublic();
}

void tIdentifier::declareStatic()
{
    if (name_)
        name_->declareStatic();
}

tInstruction* tIdentifier::inner() { return name_; }
