// Operators and the other expression nodes: binary and unary operators with
// their marker nodes, increments, IIF, constants, NIL, @ by reference, array
// elements and literals, code blocks and their parameter nodes. A marker
// (tSum, tGte ...) has no fields; it writes the run-time function's name.
#pragma once

#include "instruction.h"

class tMultiParam : public tInstruction {
public:
    void collectBlockVars(int flag) override;
    tInstruction* inner() override;

protected:
    tMultiParam(tInstruction* left, tInstruction* right);
    std::unique_ptr<tInstruction> left_;
    std::unique_ptr<tInstruction> right_;
};

class tOr : public tMultiParam {
public:
    tOr(tInstruction* left, tInstruction* right);
    void generate() override;
};

class tAnd : public tMultiParam {
public:
    tAnd(tInstruction* left, tInstruction* right);
    void generate() override;
};

// (left, operator marker, right): the shape of relations and arithmetic,
// which write the same text (the marker names the run-time function).
class tMarkedOperation : public tMultiParam {
public:
    void generate() override;

protected:
    // construct: what an error calls the node.
    tMarkedOperation(tInstruction* left, tInstruction* op, tInstruction* right, const char* construct);

private:
    std::unique_ptr<tInstruction> op_;
    const char* construct_;
};

class tRelation : public tMarkedOperation {
public:
    tRelation(tInstruction* left, tInstruction* op, tInstruction* right) : tMarkedOperation(left, op, right, "relation")
    {
    }
};

class tOperation : public tMarkedOperation {
public:
    tOperation(tInstruction* left, tInstruction* op, tInstruction* right)
        : tMarkedOperation(left, op, right, "operation")
    {
    }
};

#define ZELTA_MARKER(cls)             \
    class cls : public tInstruction { \
    public:                           \
        void generate() override;     \
    };
ZELTA_MARKER(tExactEqual)
ZELTA_MARKER(tEqual)
ZELTA_MARKER(tDiff)
ZELTA_MARKER(tGt)
ZELTA_MARKER(tLs)
ZELTA_MARKER(tGte)
ZELTA_MARKER(tLse)
ZELTA_MARKER(tInStr)
ZELTA_MARKER(tSum)
ZELTA_MARKER(tSub)
ZELTA_MARKER(tDiv)
ZELTA_MARKER(tMult)
ZELTA_MARKER(tMod)
ZELTA_MARKER(tPow)
ZELTA_MARKER(tUnaryPlus)
ZELTA_MARKER(tUnaryMinus)
#undef ZELTA_MARKER

class tSingleParam : public tInstruction {
public:
    tInstruction* operand() const { return operand_.get(); }

protected:
    explicit tSingleParam(tInstruction* operand);
    std::unique_ptr<tInstruction> operand_;
};

class tUnaryNot : public tSingleParam {
public:
    explicit tUnaryNot(tInstruction* operand);
    void generate() override;
    int kind() override;
    tInstruction* inner() override;
};

class tUnaryOperation : public tInstruction {
public:
    tUnaryOperation(tInstruction* op, tInstruction* operand);
    void generate() override;

private:
    std::unique_ptr<tInstruction> op_;
    std::unique_ptr<tInstruction> operand_;
};

// The four increments share one shape; each names its run-time function.
class tIncDec : public tInstruction {
public:
    void generate() override;

protected:
    tIncDec(tInstruction* operand, const char* function);

private:
    std::unique_ptr<tInstruction> operand_;
    const char* function_;
};

class tPreIncrement : public tIncDec {
public:
    explicit tPreIncrement(tInstruction* operand);
};
class tPostIncrement : public tIncDec {
public:
    explicit tPostIncrement(tInstruction* operand);
};
class tPreDecrement : public tIncDec {
public:
    explicit tPreDecrement(tInstruction* operand);
};
class tPostDecrement : public tIncDec {
public:
    explicit tPostDecrement(tInstruction* operand);
};

class tIif : public tInstruction {
public:
    tIif(tInstruction* condition, tInstruction* ifTrue, tInstruction* ifFalse);
    void generate() override;

private:
    std::unique_ptr<tInstruction> condition_;
    std::unique_ptr<tInstruction> ifTrue_;
    std::unique_ptr<tInstruction> ifFalse_;
};

class tNil : public tInstruction {
public:
    void generate() override;
};

// A literal. Kind 0 number, 1 logical, 2 character string.
class tConst : public tInstruction {
public:
    enum : int { kNumber = 0, kLogical = 1, kString = 2 };

    tConst(int kind, const char* text);
    // A number written in two lexemes (integer and fraction, or sign and
    // number): their concatenation is parsed.
    tConst(int kind, const char* first, const char* second);
    void generate() override;
    void collectBlockVars(int flag) override;
    int kind() override;

    int constKind() const { return kind_; }
    double number() const { return number_; }
    int logical() const { return logical_; }
    const char* text() const { return text_.get(); }

private:
    void set(int kind, const char* text);

    int kind_;
    double number_ = 0;
    int logical_ = 0;
    std::unique_ptr<char[]> text_;
};

class tByRef : public tInstruction {
public:
    explicit tByRef(tInstruction* operand);
    void generate() override;

private:
    std::unique_ptr<tInstruction> operand_;
};

class tArrayElement : public tInstruction {
public:
    tArrayElement(tInstruction* array, tInstruction* index);
    void generate() override;
    void collectBlockVars(int flag) override;
    const char* getName() override;
    int kind() override;

private:
    std::unique_ptr<tInstruction> array_;
    std::unique_ptr<tInstruction> index_;
};

class tDeclArray : public tInstruction {
public:
    explicit tDeclArray(tInstruction* elements = nullptr);
    void generate() override;

private:
    std::unique_ptr<tInstruction> elements_;
};

// {|| expression}: becomes a function vld_NNN of its own (tValidFunction).
class tCodeBlock : public tInstruction {
public:
    explicit tCodeBlock(tInstruction* expression);
    void generate() override;

private:
    std::unique_ptr<tInstruction> expression_;
};

// The variables a code block takes from its caller: names them in the
// caller's call and makes them the current code block's parameters.
class tValidParam : public tInstruction {
public:
    // kindLetter: 'X' as first character selects kind 1, anything else kind 2.
    tValidParam(tInstruction* list, const char* kindLetter);
    // The grammar's shape {|params| expression}: the parameter list is kept
    // (and owned) but the kind is 2, as for any letter other than 'X'.
    tValidParam(tInstruction* list, tInstruction* params);
    void generate() override;
    int argCount(int countEmpty) override;

private:
    std::unique_ptr<tInstruction> list_;
    std::unique_ptr<char[]> kindLetter_;
    std::unique_ptr<tInstruction> params_;
};

class tSetVldParam : public tInstruction {
public:
    explicit tSetVldParam(tInstruction* args);
    void generate() override;

private:
    std::unique_ptr<tInstruction> args_;
};
