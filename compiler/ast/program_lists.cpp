// Construction and ownership of the root and the statement lists.
#include "program_lists.h"

#include <typeinfo>

tMain::tMain(tInstruction* statements) : statements_(statements) {}
tMain::~tMain() { delete statements_; }

tStatList::tStatList(tInstruction* first, tInstruction* rest) : first_(first), rest_(rest) {}

tStatList* tStatList::link(tInstruction* node)
{
    // A type comparison, not a cast search: there is a link per statement.
    return node && typeid(*node) == typeid(tStatList) ? static_cast<tStatList*>(node) : nullptr;
}
tStatList::~tStatList()
{
    // Unlinks the chain a link at a time, so its length costs no stack.
    tInstruction* inner = first_;
    while (tStatList* list = link(inner)) {
        inner = list->first_;
        list->first_ = nullptr;
        delete list;
    }
    delete inner;
    delete rest_;
}

tBlockStmt::tBlockStmt(tInstruction* statement) : statement_(statement) {}
tBlockStmt::~tBlockStmt() { delete statement_; }

tSourceLine::tSourceLine(tInstruction* statement) : statement_(statement) {}
tSourceLine::~tSourceLine() { delete statement_; }
