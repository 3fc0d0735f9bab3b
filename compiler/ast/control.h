// Control statements. Each maps one-to-one onto a C statement whose
// condition is a run-time value tested with __GET_BOOL; DO CASE becomes an
// if / else if chain, LOOP and EXIT become continue and break.
#pragma once

#include "instruction.h"

class tIf : public tInstruction {
public:
    tIf(tInstruction* condition, tInstruction* thenPart, tInstruction* elseIfs, tInstruction* elsePart);
    void generate() override;

private:
    std::unique_ptr<tInstruction> condition_;
    std::unique_ptr<tInstruction> then_;
    std::unique_ptr<tInstruction> elseIfs_;
    std::unique_ptr<tInstruction> else_;
};

// (list so far, next clause).
class tElseIfList : public tInstruction {
public:
    tElseIfList(tInstruction* first, tInstruction* next);
    void generate() override;

private:
    std::unique_ptr<tInstruction> first_;
    std::unique_ptr<tInstruction> next_;
};

// (condition, statements): the shape of ELSEIF, WHILE and CASE.
class tGuardedBlock : public tInstruction {
protected:
    tGuardedBlock(tInstruction* condition, tInstruction* statements) : condition_(condition), statements_(statements) {}

    std::unique_ptr<tInstruction> condition_;
    std::unique_ptr<tInstruction> statements_;
};

class tElseIf : public tGuardedBlock {
public:
    tElseIf(tInstruction* condition, tInstruction* statements) : tGuardedBlock(condition, statements) {}
    void generate() override;
};

class tWhile : public tGuardedBlock {
public:
    tWhile(tInstruction* condition, tInstruction* statements) : tGuardedBlock(condition, statements) {}
    void generate() override;
};

// FOR's initial assignment. Takes (control variable, start value).
class tAssignFor : public tInstruction {
public:
    tAssignFor(tInstruction* variable, tInstruction* start);
    void generate() override;

    tInstruction* variable() const { return variable_.get(); }
    tInstruction* start() const { return start_.get(); }

private:
    std::unique_ptr<tInstruction> start_;
    std::unique_ptr<tInstruction> variable_;
};

class tFor : public tInstruction {
public:
    tFor(tInstruction* init, tInstruction* limit, tInstruction* step, tInstruction* statements);
    void generate() override;

private:
    std::unique_ptr<tInstruction> init_;
    std::unique_ptr<tInstruction> limit_;
    std::unique_ptr<tInstruction> step_;
    std::unique_ptr<tInstruction> statements_;
};

class tCase : public tInstruction {
public:
    tCase(tInstruction* cases, tInstruction* otherwise);
    void generate() override;

private:
    std::unique_ptr<tInstruction> cases_;
    std::unique_ptr<tInstruction> otherwise_;
};

// (new entry, list so far). Blank lines between the cases leave null entries.
class tCaseList : public tInstruction {
public:
    tCaseList(tInstruction* entry, tInstruction* previous);
    void generate() override;

    // Whether this list, or any list before it, holds a case.
    bool hasCase() const;

private:
    std::unique_ptr<tInstruction> entry_;
    std::unique_ptr<tInstruction> previous_;
};

class tCaseEntry : public tGuardedBlock {
public:
    tCaseEntry(tInstruction* condition, tInstruction* statements) : tGuardedBlock(condition, statements) {}
    void generate() override;
};

class tOtherWise : public tInstruction {
public:
    explicit tOtherWise(tInstruction* statements);
    void generate() override;

    // The statements in a plain block, for a DO CASE with no case before it.
    void generateAlone();

private:
    std::unique_ptr<tInstruction> statements_;
};

class tExit : public tInstruction {
public:
    void generate() override;
};

class tLoop : public tInstruction {
public:
    void generate() override;
};

class tBreak : public tInstruction {
public:
    void generate() override;
};

class tReturn : public tInstruction {
public:
    explicit tReturn(tInstruction* value = nullptr);
    void generate() override;

private:
    std::unique_ptr<tInstruction> value_;
};
