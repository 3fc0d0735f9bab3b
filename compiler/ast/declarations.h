// LOCAL, PUBLIC and STATIC statements, their variable lists, and the two
// identifier nodes. Declaring is a side effect of the generate walk: the
// declare slots travel down a list to the tIdentName at its leaves, which
// adds its name to the current function's or the program's tables.
#pragma once

#include "containers.h"
#include "instruction.h"

class tLocal : public tInstruction {
public:
    explicit tLocal(tInstruction* list);
    void generate() override;

private:
    std::unique_ptr<tInstruction> list_;
};

class tPublic : public tInstruction {
public:
    explicit tPublic(tInstruction* list);
    void generate() override;

private:
    std::unique_ptr<tInstruction> list_;
};

// The list is generated later, inside the source's initialisation function,
// so its initial values are assigned once at start-up.
class tStatic : public tInstruction {
public:
    explicit tStatic(tInstruction* list);
    void generate() override;

private:
    std::unique_ptr<tInstruction> list_;
};

// (new item, list so far).
class tVarDefList : public tInstruction {
public:
    tVarDefList(tInstruction* item, tInstruction* previous);
    ~tVarDefList() override;
    void generate() override;
    void declareLocal() override;
    void declarePublic() override;
    void declareStatic() override;

private:
    // Calls the slot on every item, first written first.
    void forEach(void (tInstruction::*declare)());

    std::unique_ptr<tInstruction> item_;
    std::unique_ptr<tInstruction> previous_;
};

class tVarDefAssign : public tInstruction {
public:
    explicit tVarDefAssign(tInstruction* assignment);
    void generate() override;
    void declareLocal() override;
    void declarePublic() override;
    void declareStatic() override;

private:
    std::unique_ptr<tInstruction> assignment_;
};

class tVarDefIdent : public tInstruction {
public:
    explicit tVarDefIdent(tInstruction* identifier);
    void generate() override;
    void declareLocal() override;
    void declarePublic() override;
    void declareStatic() override;

private:
    std::unique_ptr<tInstruction> identifier_;
};

// A name as the source wrote it. The C name of a variable or function is
// always the upper-cased source name.
class tIdentName : public tInstruction {
public:
    explicit tIdentName(const char* text);
    ~tIdentName() override;
    void generate() override;
    void collectBlockVars(int flag) override;
    const char* getName() override;
    void declareLocal() override;
    void declarePublic() override;
    void declareStatic() override;
    void emitDecl(int toHeader, int nameOnly) override;
    void declareParam() override;

    const char* written() const { return written_.text(); }

private:
    char* upper_;  // from the recycler: a parse makes one per name
    String written_;
};

class tIdentifier : public tInstruction {
public:
    explicit tIdentifier(tInstruction* name);
    void generate() override;
    void collectBlockVars(int flag) override;
    const char* getName() override;
    void declareLocal() override;
    void declarePublic() override;
    void declareStatic() override;
    tInstruction* inner() override;

private:
    std::unique_ptr<tInstruction> name_;
};
