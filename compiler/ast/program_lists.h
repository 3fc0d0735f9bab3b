// The tree root and the statement lists. A source is one tMain over a
// left-leaning chain of tStatList; blank lines and directives leave null
// statements in the chain, which generate nothing.
#pragma once

#include "instruction.h"

class tMain : public tInstruction {
public:
    explicit tMain(tInstruction* statements);
    void generate() override;

private:
    std::unique_ptr<tInstruction> statements_;
};

// (list so far, next statement): the grammar passes the list first.
class tStatList : public tInstruction {
public:
    explicit tStatList(tInstruction* first, tInstruction* rest = nullptr);
    ~tStatList() override;
    void generate() override;

    // The node as a link of a chain, or null when it is not a tStatList.
    static tStatList* link(tInstruction* node);

private:
    std::unique_ptr<tInstruction> first_;
    std::unique_ptr<tInstruction> rest_;
};

class tBlockStmt : public tInstruction {
public:
    explicit tBlockStmt(tInstruction* statement);
    void generate() override;

private:
    std::unique_ptr<tInstruction> statement_;
};

// An expression used as a statement: line marker, the expression, ";\n".
class tSourceLine : public tInstruction {
public:
    explicit tSourceLine(tInstruction* statement);
    void generate() override;

private:
    std::unique_ptr<tInstruction> statement_;
};
