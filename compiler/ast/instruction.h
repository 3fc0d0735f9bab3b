// tInstruction: the base of every syntax-tree node. Every node class has the
// same eighteen virtual slots; a class overrides the few that mean something
// for it, and the defaults below answer for the rest. Nodes own their
// children (std::unique_ptr members, with raw accessors where other code
// reads them); any child may be null.
#pragma once

#include "containers.h"

#include <cstddef>
#include <memory>
#include <typeinfo>
#include <vector>

// What kind() answers; assignments and the field forms select their text on it.
enum tNodeKind : int {
    kindPlain = 0,
    kindConstant = 1,
    kindNot = 2,
    kindSumAssign = 3,
    kindSubAssign = 4,
    kindDivAssign = 5,
    kindMulAssign = 6,
    kindArrayElement = 7,
    kindField = 8,
};

class tInstruction {
public:
    tInstruction();
    tInstruction(const tInstruction&) = delete;
    static void* operator new(std::size_t size) { return tRecycler::take(size); }
    static void operator delete(void* block, std::size_t size) { tRecycler::give(block, size); }
    tInstruction& operator=(const tInstruction&) = delete;

    virtual ~tInstruction();
    virtual void generate();
    virtual void collectBlockVars(int flag);
    virtual const char* getName();
    virtual void declareLocal();
    virtual void declarePublic();
    virtual void declareStatic();
    virtual void emitDecl(int toHeader, int nameOnly);
    virtual void declareParam();
    virtual int hasItems();
    virtual int kind();
    virtual int argCount(int countEmpty);
    virtual int itemCount();
    virtual tInstruction* inner();
    virtual void markTarget();
    virtual void emitNameConst();
    virtual void setAlias(tInstruction* alias);
    virtual tInstruction* lastItem();

    unsigned int sourceLine() const { return line_; }
    // The lists that are walked in loops, and the block wrapper: they add no
    // level to the nesting a source may hold. A flag, not a type test, as the
    // parser asks for every node it builds.
    bool addsNoLevel() const { return addsNoLevel_; }

    // The grammar actions set this from the lexeme being reduced; each node
    // copies it when it is constructed.
    static void setConstructionLine(unsigned int line) { constructionLine_ = line; }
    static unsigned int constructionLine() { return constructionLine_; }

protected:
    void markAddsNoLevel() { addsNoLevel_ = true; }

private:
    unsigned int line_;
    bool addsNoLevel_ = false;
    static unsigned int constructionLine_;
};

// The end of an operand's inner() chain: the first node whose inner() is null
// or itself. Null when the operand or its own inner() is null.
tInstruction* innermost(tInstruction* operand);

// Calls a slot on a child that may be missing: most nodes hand the declare
// slots and their kin on to the one child they wrap.
template <class... Params, class... Args>
void forward(const std::unique_ptr<tInstruction>& child, void (tInstruction::*slot)(Params...), Args... args)
{
    if (child)
        ((*child).*slot)(args...);
}

// Lists (statements, arguments, declarations, ELSEIF and CASE clauses) lean
// on the list so far: (a, b, c) is L(L(L(a), b), c). A list is as long as the
// source makes it, so its links are walked in loops, never by recursion.
// The links of the list that ends with `last`, innermost (first written)
// first, found through each link's member `previous` while that is a link
// of the same class.
template <class List>
std::vector<List*> chainOf(List* last, std::unique_ptr<tInstruction> List::*previous)
{
    std::vector<List*> links{last};
    for (tInstruction* p = (last->*previous).get(); p && typeid(*p) == typeid(List);
         p = (links.back()->*previous).get())
        links.push_back(static_cast<List*>(p));
    return std::vector<List*>(links.rbegin(), links.rend());
}

// Deletes the links behind `self` one at a time, then what the innermost
// held in `previous`: each link is taken apart from its predecessor before
// it goes, so no destructor recurses down the chain.
template <class List>
void unchain(List* self, std::unique_ptr<tInstruction> List::*previous)
{
    std::unique_ptr<tInstruction> rest = std::move(self->*previous);
    for (tInstruction* link = rest.get(); link && typeid(*link) == typeid(List); link = rest.get()) {
        std::unique_ptr<tInstruction> behind = std::move(static_cast<List*>(link)->*previous);
        rest = std::move(behind);
    }
}
