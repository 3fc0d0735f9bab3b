// Construction and ownership of the root and the statement lists.
#include "program_lists.h"

#include <typeinfo>

tMain::tMain(tInstruction* statements) : statements_(statements) {}

tStatList::tStatList(tInstruction* first, tInstruction* rest) : first_(first), rest_(rest) { markAddsNoLevel(); }

tStatList* tStatList::link(tInstruction* node)
{
    // A type comparison, not a cast search: there is a link per statement.
    return node && typeid(*node) == typeid(tStatList) ? static_cast<tStatList*>(node) : nullptr;
}

// The chain is as long as the source: its length must cost no stack.
tStatList::~tStatList() { unchain(this, &tStatList::first_); }

tBlockStmt::tBlockStmt(tInstruction* statement) : statement_(statement) { markAddsNoLevel(); }

tSourceLine::tSourceLine(tInstruction* statement) : statement_(statement) {}
