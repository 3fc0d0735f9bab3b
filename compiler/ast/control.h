// Control statements. Each maps one-to-one onto a C statement whose
// condition is a run-time value tested with __GET_BOOL; DO CASE becomes an
// if / else if chain, LOOP and EXIT become continue and break.
#pragma once

#include "instruction.h"

class tIf : public tInstruction {
public:
    tIf(tInstruction* condition, tInstruction* thenPart, tInstruction* elseIfs, tInstruction* elsePart);
    ~tIf() override;
    void generate() override;

private:
    tInstruction* condition_;
    tInstruction* then_;
    tInstruction* elseIfs_;
    tInstruction* else_;
};

// (list so far, next clause).
class tElseIfList : public tInstruction {
public:
    tElseIfList(tInstruction* first, tInstruction* next);
    ~tElseIfList() override;
    void generate() override;

private:
    tInstruction* first_;
    tInstruction* next_;
};

class tElseIf : public tInstruction {
public:
    tElseIf(tInstruction* condition, tInstruction* statements);
    ~tElseIf() override;
    void generate() override;

private:
    tInstruction* condition_;
    tInstruction* statements_;
};

class tWhile : public tInstruction {
public:
    tWhile(tInstruction* condition, tInstruction* statements);
    ~tWhile() override;
    void generate() override;

private:
    tInstruction* condition_;
    tInstruction* statements_;
};

// FOR's initial assignment. Takes (control variable, start value).
class tAssignFor : public tInstruction {
public:
    tAssignFor(tInstruction* variable, tInstruction* start);
    ~tAssignFor() override;
    void generate() override;

    tInstruction* variable() const { return variable_; }
    tInstruction* start() const { return start_; }

private:
    tInstruction* start_;
    tInstruction* variable_;
};

class tFor : public tInstruction {
public:
    tFor(tInstruction* init, tInstruction* limit, tInstruction* step, tInstruction* statements);
    ~tFor() override;
    void generate() override;

private:
    tInstruction* init_;
    tInstruction* limit_;
    tInstruction* step_;
    tInstruction* statements_;
};

class tCase : public tInstruction {
public:
    tCase(tInstruction* cases, tInstruction* otherwise);
    ~tCase() override;
    void generate() override;

private:
    tInstruction* cases_;
    tInstruction* otherwise_;
};

// (new entry, list so far). Blank lines between the cases leave null entries.
class tCaseList : public tInstruction {
public:
    tCaseList(tInstruction* entry, tInstruction* previous);
    ~tCaseList() override;
    void generate() override;

    // Whether this list, or any list before it, holds a case.
    bool hasCase() const;

private:
    tInstruction* entry_;
    tInstruction* previous_;
};

class tCaseEntry : public tInstruction {
public:
    tCaseEntry(tInstruction* condition, tInstruction* statements);
    ~tCaseEntry() override;
    void generate() override;

private:
    tInstruction* condition_;
    tInstruction* statements_;
};

class tOtherWise : public tInstruction {
public:
    explicit tOtherWise(tInstruction* statements);
    ~tOtherWise() override;
    void generate() override;

    // The statements in a plain block, for a DO CASE with no case before it.
    void generateAlone();

private:
    tInstruction* statements_;
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
    ~tReturn() override;
    void generate() override;

private:
    tInstruction* value_;
};
