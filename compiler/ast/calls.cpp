// Construction of the call nodes and the counting slots of argument lists.
#include "calls.h"

#include <cstring>

tFunctionCall::tFunctionCall(tInstruction* name, tInstruction* args) : name_(name), args_(args) {}

void tFunctionCall::collectBlockVars(int flag) { forward(args_, &tInstruction::collectBlockVars, flag); }

tInstruction* tFunctionCall::inner() { return args_.get(); }

tParmList::tParmList(tInstruction* first, tInstruction* item) : first_(first), item_(item) { markAddsNoLevel(); }

tParmList::~tParmList() { unchain(this, &tParmList::first_); }

void tParmList::collectBlockVars(int flag)
{
    std::vector<tParmList*> links = chainOf(this, &tParmList::first_);
    if (tInstruction* first = links.front()->first_.get())
        first->collectBlockVars(flag);
    for (tParmList* link : links)
        if (link->item_)
            link->item_->collectBlockVars(flag);
}

int tParmList::hasItems() { return first_ ? 1 : 0; }

int tParmList::argCount(int countEmpty)
{
    std::vector<tParmList*> links = chainOf(this, &tParmList::first_);
    tInstruction* first = links.front()->first_.get();
    int count = first ? first->argCount(countEmpty) : 0;
    for (tParmList* link : links)
        count += link->item_ ? link->item_->argCount(countEmpty) : 0;
    return count;
}

int tParmList::itemCount()
{
    std::vector<tParmList*> links = chainOf(this, &tParmList::first_);
    tInstruction* first = links.front()->first_.get();
    int count = first ? first->itemCount() : 0;
    for (tParmList* link : links)
        count += link->item_ ? 1 : 0;
    return count;
}

tInstruction* tParmList::inner() { return first_.get(); }
tInstruction* tParmList::lastItem() { return item_.get(); }

int tParmNull::argCount(int countEmpty) { return countEmpty ? 1 : 0; }

tFixedCall::tFixedCall(tInstruction* args, int arity) : tSingleParam(args), arity_(arity) {}

void tFixedCall::collectBlockVars(int flag) { forward(operand_, &tInstruction::collectBlockVars, flag); }

int tFixedCall::argCount(int) { return arity_; }
tInstruction* tFixedCall::inner() { return innermost(operand_.get()); }

tVariantCall::tVariantCall(tInstruction* args) : tSingleParam(args) {}

tInstruction* tVariantCall::inner() { return innermost(operand_.get()); }

tDbOper::tDbOper(tInstruction* args, int arity) : args_(args), arity_(arity) {}

tInstruction* tDbOper::inner() { return innermost(args_.get()); }
void tDbOper::setAlias(tInstruction* alias) { alias_ = alias; }

tAlias::tAlias(tInstruction* alias, tInstruction* operation) : alias_(alias), operation_(operation) {}

tField::tField(tInstruction* alias, tInstruction* field) : alias_(alias), field_(field) {}

tField::tField(tInstruction* alias, tInstruction* field, const char* fieldText) : alias_(alias), field_(field)
{
    if (fieldText) {
        std::size_t length = std::strlen(fieldText);
        fieldText_.reset(new char[length + 1]);
        std::memcpy(fieldText_.get(), fieldText, length + 1);
    }
}

int tField::kind() { return kindField; }
void tField::markTarget() { positional_ = 1; }

const char* tField::fieldName()
{
    if (fieldText_)
        return fieldText_.get();
    return field_ ? field_->getName() : nullptr;
}

tFieldEnd::tFieldEnd(tInstruction* alias, const char* field) : tField(alias, nullptr, field) {}
