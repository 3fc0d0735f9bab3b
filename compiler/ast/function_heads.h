// FUNCTION and PROCEDURE heads and their parameter lists. A head switches
// code generation to a new function record; the statements after it, up to
// the next head, are its body.
#pragma once

#include "instruction.h"

// (name, parameters, STATIC marker, variant flag). The flag is not kept.
class tFunction : public tInstruction {
public:
    tFunction(tInstruction* name, tInstruction* parms, tInstruction* modifier, int variant);
    void generate() override;

protected:
    tFunction(tInstruction* name, tInstruction* parms, tInstruction* modifier);
    void open(bool procedure);

private:
    std::unique_ptr<tInstruction> name_;
    std::unique_ptr<tInstruction> parms_;
    std::unique_ptr<tInstruction> modifier_;
};

class tProcedure : public tFunction {
public:
    tProcedure(tInstruction* name, tInstruction* parms, tInstruction* modifier);
    void generate() override;
};

// Writes "static " when its flag is set; no head asks it to.
class tStaticFunc : public tInstruction {
public:
    explicit tStaticFunc(int flag);
    void generate() override;

private:
    int flag_;
};

class tParmDef : public tInstruction {
public:
    explicit tParmDef(tInstruction* list = nullptr);
    void emitDecl(int toHeader, int nameOnly) override;
    void declareParam() override;
    int hasItems() override;

private:
    std::unique_ptr<tInstruction> list_;
};

// (new item, list so far).
class tIdentList : public tInstruction {
public:
    tIdentList(tInstruction* item, tInstruction* previous);
    ~tIdentList() override;
    void emitDecl(int toHeader, int nameOnly) override;
    void declareParam() override;

private:
    std::unique_ptr<tInstruction> item_;
    std::unique_ptr<tInstruction> previous_;
};

class tIdentEle : public tInstruction {
public:
    explicit tIdentEle(tInstruction* identifier);
    void emitDecl(int toHeader, int nameOnly) override;
    void declareParam() override;

private:
    std::unique_ptr<tInstruction> identifier_;
};
